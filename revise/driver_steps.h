// The driver's own steps. Each works on the buffers of one RevisionState and
// is run by Rev_Html_State at its place in the order; failures raised here
// are located by the driver's trap. Declared here so that each step can be
// tested on its own.
#pragma once

#include <vector>

#include "revise/state.h"

namespace qp::revise {

// driver.cpp: pre-clean of SourceText and its split into the three buffers.
void PreClean(Text& source);
void SplitSource(RevisionState& st);

// style_rules.cpp
std::vector<Text> StyleBlockToRules(Text& styleSheet);  // rule lines of Word's block
void BodyRule(RevisionState& st);                       // body tag colours/margins into a rule
bool IsCheckedRule(TextView piece);                     // not empty, at-rule, comment, section
void KeepUsedRules(RevisionState& st, const std::vector<Text>& rules);
void TidyStyleRules(RevisionState& st);       // default properties out, spacing
void NormalParagraphRule(RevisionState& st);  // p.MsoNormal becomes the rule for p

// class_index.cpp: KeepUsedRules with every rule through Check_Class itself,
// the direct form the indexed one must match.
void KeepUsedRulesDirect(RevisionState& st, const std::vector<Text>& rules);

// rule_values.cpp: the default values of step 23 that are defaults for the
// rule's element go; declarations with unbalanced quotes or quoted ";" are
// mended or dropped.
void ReviseRuleValues(Text& sheet);
// The first "}" at or after `from` outside a quoted value. A quote counts
// only when its partner stands on the same line, so one stray quote cannot
// carry a rule into the next.
Pos BraceOutsideQuotes(TextView text, Pos from);
// Every "}" inside such a quoted value overwritten with NUL.
void MarkQuotedBraces(Text& text);

// sections.cpp
void DropUnkeptClasses(RevisionState& st);
void RewriteSections(RevisionState& st);
void CentreBody(RevisionState& st);

// cleanup.cpp
void DropEmptyStyles(Text& page);
void UnwrapSpans(Text& page);
void DropBlanksInTags(Text& page);
void KeepRunningBlanks(Text& page);
void WidenKatakana(Text& page);

// head.cpp
void AssemblePage(RevisionState& st);

}  // namespace qp::revise
