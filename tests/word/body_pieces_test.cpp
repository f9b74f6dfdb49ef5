// The pieces the body writer asks while it walks the document: the note
// marks, the open fields, the overlays and the blocks that go with a
// paragraph.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "generate/word/field_stack.h"
#include "generate/word/note_numbering.h"
#include "generate/word/overlays.h"
#include "generate/word/pending_boxes.h"

namespace qp::word {
namespace {

TEST(NoteNumbering, EachKindCountsInItsOwnFormatAndASectionMayRestartTheLabels) {
  pugi::xml_document settings, restart;
  settings.load_string("<settings><footnotePr><numStart val='5'/></footnotePr></settings>");
  restart.load_string("<sectPr><footnotePr><numRestart val='eachSect'/></footnotePr></sectPr>");
  NoteNumbering notes;
  pugi::xml_node root = settings.document_element(), sectPr = restart.document_element();
  std::vector<NoteNumbering::Mark> marks = {
      notes.Refer("1", false, root, sectPr, 0), notes.Refer("1", true, root, sectPr, 0),
      notes.Refer("2", false, root, sectPr, 0), notes.Refer("3", false, root, sectPr, 1)};
  // The number is the note's place in its list; the label restarts with the section.
  EXPECT_EQ(marks[0].number, 1);
  EXPECT_EQ(marks[0].label, u"5");
  EXPECT_EQ(marks[1].number, 1);
  EXPECT_EQ(marks[1].label, u"i");
  EXPECT_EQ(marks[2].number, 2);
  EXPECT_EQ(marks[2].label, u"6");
  EXPECT_EQ(marks[3].number, 3);
  EXPECT_EQ(marks[3].label, u"5");
  ASSERT_EQ(notes.Referred().size(), 4u);
  EXPECT_TRUE(notes.Referred()[1].endnote);
  EXPECT_EQ(notes.Current(false).number, 0);  // no note's text is being written yet
}

TEST(FieldStack, CodeIsHiddenUntilItsResultAndACheckBoxInOuterCodeIsCode) {
  FieldStack fields;
  fields.Begin(-1);
  fields.AddCode(u" PAGEREF _Toc1 ");
  EXPECT_TRUE(fields.HidesText());
  fields.Begin(1);  // a check box inside the outer field's code
  EXPECT_TRUE(fields.OuterInCode());
  fields.End();
  fields.AddCode(u"\\h");
  EXPECT_EQ(fields.Innermost()->instruction, u" PAGEREF _Toc1 \\h");
  fields.Innermost()->inResult = true;
  fields.AddCode(u"ignored");
  fields.Begin(1);  // a check box in the outer field's result, itself still in its code
  EXPECT_FALSE(fields.OuterInCode());
  fields.End();
  EXPECT_FALSE(fields.HidesText());
  fields.Innermost()->hidden = true;  // a contents entry's page number
  EXPECT_TRUE(fields.HidesText());
  fields.Innermost()->anchorOpen = true;
  EXPECT_EQ(fields.CloseLinks(), 1);
  EXPECT_EQ(fields.CloseLinks(), 0);
}

TEST(FieldStack, HyperlinkTargetAndAnchor) {
  EXPECT_EQ(HyperlinkHref(u"HYPERLINK \"http://a.example/b c\" \\l \"top\""),
            u"http://a.example/b%20c#top");
  EXPECT_EQ(HyperlinkHref(u"HYPERLINK \\l \"_Toc12\""), u"#_Toc12");
  EXPECT_EQ(HyperlinkHref(u"HYPERLINK"), u"");
  EXPECT_EQ(FieldTarget(u"PAGEREF  _Toc3 \\h"), u"_Toc3");
}

TEST(Overlays, ANestedParagraphCountsForTheOuterOneButKeepsItsReach) {
  Overlays overlays;
  Overlays::Paragraph outer(overlays);
  {
    Overlays::Paragraph inner(overlays);  // a text box's paragraph inside the outer one
    overlays.Add(300);
    EXPECT_EQ(inner.Reach(), 300);
  }
  EXPECT_TRUE(outer.Any());
  EXPECT_EQ(outer.Reach(), 0);
  overlays.Add(40);
  EXPECT_EQ(outer.Reach(), 40);
}

TEST(PendingBoxes, FloatsStandDownThePageBeforeTheParagraphAndClearTheOneAbove) {
  PendingBoxes boxes;
  boxes.Add({u"[outer]", false});
  Text out;
  {
    const PendingBoxes::Paragraph paragraph(boxes);
    boxes.Add({u"[after]", false});
    boxes.Add({u"<table align=left>", true, 'l', 100, 150});
    boxes.Add({u"<table align=right style='x'>", true, 'r', 120, 130});
    boxes.Add({u"<table align=left>", true, 'l', 0, 60});
    boxes.Place(u"[p]", out);
  }
  EXPECT_EQ(out,
            u"<table align=left><table align=left style='clear:left;margin-top:40px'>"
            u"<table align=right style='x'>[p][after]");
  out.clear();
  boxes.Place(u"[q]", out);  // the outer paragraph's own blocks come back
  EXPECT_EQ(out, u"[q][outer]");
}

}  // namespace
}  // namespace qp::word
