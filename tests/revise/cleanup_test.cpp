#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/driver_steps.h"
#include "text/failure.h"

namespace qp::revise {
namespace {

using test::S;
using test::V;

struct Example {
  const char* in;
  const char* out;
};

template <class Step>
void ExpectAll(Step step, std::initializer_list<Example> examples) {
  for (const Example& ex : examples) {
    Text page = V(ex.in);
    step(page);
    EXPECT_EQ(S(page), S(V(ex.out))) << "input: " << ex.in;
  }
}

TEST(EmptyStyles, RemovedWithTheirBlankOnlyInsideTags) {
  ExpectAll(DropEmptyStyles,
            {
                {"<p style=''>x</p>", "<p>x</p>"},
                {"<p style='   ' class=a>x</p>", "<p class=a>x</p>"},
                {"<p style=\"\">x</p>", "<p>x</p>"},
                {"<p style='color:red'>x</p>", "<p style='color:red'>x</p>"},
                {"<p>a style='' b</p>", "<p>a style='' b</p>"},    // running text
                {"<p style='x>y'>z</p>", "<p style='x>y'>z</p>"},  // quote after the tag end
                {"<p class=a␀␀␀>x</p>", "<p class=a>x</p>"},       // marks of the class step
            });
}

TEST(EmptyStyles, StyleWithoutTagEndIsAStructureFailure) {
  Text page = V("<p style='' ");
  try {
    DropEmptyStyles(page);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::kStructure);
  }
}

TEST(Spans, UnwrappedOrDroppedInsideParagraphsHeadingsAndLists) {
  ExpectAll(
      UnwrapSpans,
      {
          {"<p class=a><span>x</span></p>", "<p class=a>x</p>"},
          {"<p class=a><span style=b></span></p>", "<p class=a></p>"},
          {"<p class=a><span style=b>x</span></p>", "<p class=a><span style=b>x</span></p>"},
          // the inner empty span goes, then the outer one holds nothing
          {"<p class=a><span class=o><span class=i></span></span></p>", "<p class=a></p>"},
          // a kept inner span keeps its enclosing span
          {"<h1><span class=o><span class=i>x</span></span></h1>",
           "<h1><span class=o><span class=i>x</span></span></h1>"},
          {"<li><span>x</span></li>", "<li>x</li>"},
          {"<div><span>x</span></div>", "<div><span>x</span></div>"},  // not an element of the step
          {"<p><span>x</span></p>", "<p><span>x</span></p>"},          // "<p" without attributes
          {"<p class=a><b></b>x⏎</span></p>", "<p class=a>x</span></p>"},
      });
}

TEST(Spans, FailuresOnBrokenStructure) {
  for (const char* in : {"<p class=a><span>x</span>", "<p class=a><span x</span></p>"}) {
    Text page = V(in);
    try {
      UnwrapSpans(page);
      ADD_FAILURE() << in;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.code(), err::kStructure) << in;
    }
  }
}

TEST(Spans, KeptSpanMarksDoNotLeak) {
  Text page =
      V("<p class=a><span class=x>1</span><span class=y>2</span></p>⏎<h2>"
        "<span class=z>3</span></h2>");
  const Text before = page;
  UnwrapSpans(page);
  EXPECT_EQ(S(page), S(before));
}

TEST(BlanksInTags, AtMostEightAfterColonAndSemicolonInsideTags) {
  ExpectAll(DropBlanksInTags,
            {
                {"<p style='a: 1;  b:2'>c: d;  e</p>", "<p style='a:1;b:2'>c: d;  e</p>"},
                {"<p style='a:         1'>", "<p style='a: 1'>"},  // nine blanks leave one
            });
}

TEST(RunningBlanks, OnlyBlanksTheBrowserWouldSwallowBecomeNbsp) {
  ExpectAll(KeepRunningBlanks,
            {
                {"<p>two words here</p>", "<p>two words here</p>"},
                {"<p>a   b</p>", "<p>a&nbsp;&nbsp; b</p>"},  // width kept, still a break
                {"<p> lead and tail </p>", "<p>&nbsp;lead and tail&nbsp;</p>"},
                {"<p>a <br> b</p>", "<p>a&nbsp;<br>&nbsp;b</p>"},
                {"<p>⏎two words</p>", "<p>⏎two words</p>"},  // the run starts a line
                {"<p>tail without tag", "<p>tail without tag"},
                // across inline tags the text beyond them decides
                {"<p><b>a</b> <i>b</i></p>", "<p><b>a</b> <i>b</i></p>"},
                {"<p><span>a </span><span>b</span></p>", "<p><span>a </span><span>b</span></p>"},
                {"<p><span>a </span></p>", "<p><span>a&nbsp;</span></p>"},
                {"<p>a <img src=x> b</p>", "<p>a <img src=x> b</p>"},
                {"<p> </p>", "<p>&nbsp;</p>"},
                // blanks between a table's tags are markup, not text
                {"<tr> <td>a</td> <td>b</td></tr>", "<tr> <td>a</td> <td>b</td></tr>"},
                {"<p><b>a </b> b</p>", "<p><b>a&nbsp;</b> b</p>"},  // two blanks across a tag
                {"<p>日本語 の 文</p>", "<p>日本語 の 文</p>"},
            });
}

TEST(RunningBlanks, UnknownTagsFlowAndFormControlsAreContent) {
  ExpectAll(KeepRunningBlanks,
            {
                // smart tags and other unknown or prefixed tags are inline
                {"<p><st1:place>Tokyo</st1:place> is <label>big</label> <input type=\"checkbox\"> "
                 "x</p>",
                 "<p><st1:place>Tokyo</st1:place> is <label>big</label> <input type=\"checkbox\"> "
                 "x</p>"},
                {"<p>a <st1:PersonName>Ono</st1:PersonName> b</p>",
                 "<p>a <st1:PersonName>Ono</st1:PersonName> b</p>"},
                {"<p>a <select><option>1</select> <textarea></textarea> b</p>",
                 "<p>a <select><option>1</select> <textarea></textarea> b</p>"},
                {"<p>a <!-- c -->b</p>", "<p>a <!-- c -->b</p>"},
            });
}

TEST(RunningBlanks, BlanksAloneBetweenBlockTagsAreMarkupOnEitherSide) {
  ExpectAll(KeepRunningBlanks,
            {
                // between two block tags, opening or closing: markup
                {"<div><p>a</p>  <p>b</p></div>", "<div><p>a</p>  <p>b</p></div>"},
                {"<div> <p>a</p> </div>", "<div> <p>a</p> </div>"},
                {"<td> <p>a</p></td>", "<td> <p>a</p></td>"},
                // the whole content of one element keeps its line
                {"<td> </td><p>  </p>", "<td>&nbsp;</td><p>&nbsp;&nbsp;</p>"},
                // beside text, a block tag is a line edge on both sides alike
                {"<div><p>b</p> <span>c</span></div>", "<div><p>b</p>&nbsp;<span>c</span></div>"},
                {"<div> <span>c</span></div>", "<div>&nbsp;<span>c</span></div>"},
            });
}

TEST(RunningBlanks, ALineEndBetweenInlineTagsIsABlankNotALineEdge) {
  ExpectAll(KeepRunningBlanks,
            {
                {"<p>y <span class=\"c2\">⏎<b>b</b></span></p>",
                 "<p>y <span class=\"c2\">⏎<b>b</b></span></p>"},
                {"<p><b>x</b>⏎<span> y</span></p>", "<p><b>x</b>⏎<span> y</span></p>"},
                {"<p>y <span>⏎<p>b</p>", "<p>y&nbsp;<span>⏎<p>b</p>"},  // a block after it
            });
}

TEST(RunningBlanks, ARunAcrossInlineTagsIsOneRun) {
  ExpectAll(KeepRunningBlanks, {
                                   // starting the block, the whole run is kept wide
                                   {"<p> <span class=\"c2\">  </span>a</p>",
                                    "<p>&nbsp;<span class=\"c2\">&nbsp;&nbsp;</span>a</p>"},
                                   // between words, its last blank still lets the line wrap
                                   {"<p>a <b> </b> b</p>", "<p>a&nbsp;<b>&nbsp;</b> b</p>"},
                               });
}

TEST(Katakana, HalfWidthBecomesFullWidthOneForOne) {
  ExpectAll(WidenKatakana, {
                               {"ｶﾞｷﾞ｡｢ｱ｣､･ｰﾝﾟ", "カ゛キ゛。「ア」、・ーン゜"},
                               {"<p class=ｱ>", "<p class=ア>"},
                               {"ABCｦ", "ABCヲ"},
                           });
}

}  // namespace
}  // namespace qp::revise
