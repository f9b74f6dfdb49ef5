// The revision: the driver and every pass it runs. A pass reads and rewrites
// the buffers of RevisionState in place; its failures carry its location text.
#pragma once

#include "revise/state.h"

namespace qp::revise {

// Turns the HTML text that Word saved into the finished page (in `text`).
// Returns the empty text on success; a failure throws a located Failure and
// leaves `text` unchanged.
Text Rev_Html_State(Text& text, const PageInfoRecord& info, const RevisionContext& context);

// Same, with a hook that sees the buffers after every driver step (for
// --dump-steps); `step` is 1..26.
class StepObserver {
 public:
  virtual ~StepObserver() = default;
  virtual void AfterStep(int step, const RevisionState& state) = 0;
};
Text Rev_Html_State(Text& text, const PageInfoRecord& info, const RevisionContext& context,
                    StepObserver* observer);

// Passes, in the order the driver runs them.
void Del_Xml_State(RevisionState& st);
void Del_Std_Property(RevisionState& st, TextView name);
Text Check_Class(RevisionState& st, TextView rule);
void Rev_Class_Fontsize(RevisionState& st, Text& elementOpen, Text& classAttr, Text& ruleText);
void Rev_Font_Size(RevisionState& st, TextView entry);
void Del_Lines(RevisionState& st);
void Rev_IEE_Style(RevisionState& st);
void Toget_Style(RevisionState& st);
void Set_Quote(RevisionState& st);
void Rev_BrTag(RevisionState& st);
void Set_Indent(RevisionState& st);
void Rev_Unit(RevisionState& st);

}  // namespace qp::revise
