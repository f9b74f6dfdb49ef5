// Writes the body of the document as Word's HTML: the section blocks with
// their paragraphs, lists, tables, pictures, links and notes.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "generate/word/css.h"
#include "generate/word/docx_content.h"
#include "generate/word/field_stack.h"
#include "generate/word/note_numbering.h"
#include "generate/word/numbering.h"
#include "generate/word/overlays.h"
#include "generate/word/pending_boxes.h"
#include "generate/word/pictures.h"

namespace qp::word {

struct TableFrame;  // body_table.cpp

// What one export collects while the body is written; the head is written
// afterwards from it.
struct ExportState {
  ExportState(DocxContent& content, Text fileStem, draw::Drawer& drawer)
      : doc(content), stem(std::move(fileStem)), pictures(content.package, notes, drawer) {}
  DocxContent& doc;
  Text stem;    // the file name of the page without extension
  Notes notes;  // what the user is told besides the page
  PictureStore pictures;
  ListCounters counters;
  std::set<std::string> usedStyles;  // style ids the body names
  bool usesHyperlinks = false;
  bool shiftJis = false;  // the page's encoding: style texts keep what it can write
  int shapeId = 1025;
};

// Where a picture sits: in the line (side 0); floating on a side ('l',
// 'r') with the text wrapping round it; or, for Word's objects "in front
// of text" and "behind text" placed from their paragraph, over the text at
// their offset from the paragraph's top left (overlay), where the side is
// only what a text box falls back to.
// A floating object beside its text keeps its distance from its side of
// the text column (inset); one centred in the column (side 'c') or with
// text only above and below it (block) stands on its own between blocks.
// `top` is its offset down from where it is placed, which orders the
// floats of one paragraph.
struct Placement {
  char side = 0;
  bool overlay = false;
  bool block = false;
  bool behind = false;     // an overlay under the text
  long left = 0, top = 0;  // an overlay's offset in px
  long inset = 0;          // a float's or block's distance from its side of the column, px
};

// One piece of a paragraph: the opening tags of its formatting, the content,
// and the closing tags. Neighbours with the same opening tags are merged.
struct InlinePiece {
  Text open, content, close;
  bool visible = false;  // text or a picture (an empty paragraph has none)
};

// Where a run's content goes: inside the opening and closing tags of the
// run's formatting, at the end of its paragraph's pieces.
struct RunFrame {
  Text open, close;
  std::vector<InlinePiece>& pieces;
  // Neighbours in the same formatting become one piece.
  void Add(Text content, bool visible) const;
};

class BodyWriter {
 public:
  explicit BodyWriter(ExportState& state) : state_(state) {}
  // The body element with the section blocks and the note lists.
  Text Write();

 private:
  // Blocks (body_writer.cpp).
  void Blocks(const pugi::xml_node& parent, Text& out);
  void Block(const pugi::xml_node& node, Text& out);
  Text SectionOpen(std::size_t index) const;
  Text PageBackground();

  // Paragraphs and runs (body_paragraph.cpp).
  void Paragraph(const pugi::xml_node& p, Text& out);
  // The label and indents of a numbered paragraph; false when it has none.
  bool ListLabel(const pugi::xml_node& pPr, const StyleDef* style, Declarations& declarations,
                 std::vector<InlinePiece>& pieces);
  // Writes the indents; returns the indent in force (for a list label's tab).
  Indent ParagraphIndent(const pugi::xml_node& pPr, const StyleDef* style, const ListLevel* level,
                         bool levelFromStyle, Declarations& declarations) const;
  void Inlines(const pugi::xml_node& parent, std::vector<InlinePiece>& pieces);
  void Run(const pugi::xml_node& r, std::vector<InlinePiece>& pieces);
  void RunFormat(const pugi::xml_node& rPr, TextView sample, RunFrame& run);
  static Text JoinPieces(const std::vector<InlinePiece>& pieces);
  void FieldChar(const pugi::xml_node& fldChar, std::vector<InlinePiece>& pieces);

  // Form check boxes (check_boxes.cpp).
  static int CheckBoxState(const pugi::xml_node& checkBox);
  void CheckBox(const Field& field, std::vector<InlinePiece>& pieces);

  // Notes (body_notes.cpp).
  void NoteLists(Text& out);
  Text NoteReference(const std::string& id, bool endnote, bool backLink, const RunFrame& run);

  // Pictures (body_objects.cpp).
  void Drawing(const pugi::xml_node& drawing, const RunFrame& run);
  void Vml(const pugi::xml_node& pict, const RunFrame& run);
  void Picture(const std::string& relId, const Crop& crop, const PictureEffects& effects,
               long width, long height, const Placement& place, const Text& alt,
               const RunFrame& run);
  void Image(const Text& file, long width, long height, const Placement& place, const Text& alt,
             const RunFrame& run);
  Placement DrawingPlacement(const pugi::xml_node& frame) const;
  Placement VmlPlacement(const pugi::xml_node& shape) const;
  // Charts, shapes, groups, canvases and SmartArt drawn as one picture each
  // (body_drawings.cpp). True when the object went on the page as a
  // picture; false leaves it to the picture and text-box code.
  bool DrawnObject(const pugi::xml_node& frame, long width, long height, const Placement& place,
                   const Text& alt, const RunFrame& run);
  bool DrawnVml(const pugi::xml_node& pict, const RunFrame& run);
  // An equation drawn as a picture of its size, its linear text the
  // alternative (body_math.cpp).
  void Equation(const pugi::xml_node& math, std::vector<InlinePiece>& pieces);
  // Text boxes (text_boxes.cpp).
  void TextBox(const pugi::xml_node& content, long widthPx, long heightPx, const Placement& place);
  // A paragraph in a frame (w:framePr) that text flows round: the paragraph
  // in a one-cell table floating where the frame stands; others unchanged.
  Text Framed(const pugi::xml_node& pPr, const Text& paragraph) const;
  Text Href(const pugi::xml_node& hyperlink) const;

  // Tables (body_table.cpp).
  void Table(const pugi::xml_node& tbl, Text& out);
  void TableCell(const TableFrame& table, std::size_t row, std::size_t index, Text& html);

  // One level of block or inline containers (tables, content controls,
  // hyperlinks, text boxes) while it is written. The writer recurses per
  // level, so a document nested deeper than any real one is refused with
  // kFileCorrupt instead of running out of stack.
  class Nesting {
   public:
    static constexpr int kMaxDepth = 100;
    explicit Nesting(int& depth);
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    int& depth_;
  };

  // The part being written (the body, a note) while it lives: its
  // relationships answer the links and pictures; the outer part's come
  // back at the end.
  class InPart {
   public:
    InPart(BodyWriter& writer, const Relationships& rels)
        : writer_(writer), outer_(std::exchange(writer.rels_, &rels)) {}
    ~InPart() { writer_.rels_ = outer_; }
    InPart(const InPart&) = delete;
    InPart& operator=(const InPart&) = delete;

   private:
    BodyWriter& writer_;
    const Relationships* outer_;
  };

  ExportState& state_;
  int depth_ = 0;                        // containers open around the one being written
  const Relationships* rels_ = nullptr;  // of the part being written
  FieldStack fields_;
  NoteNumbering notes_;
  Overlays overlays_;
  PendingBoxes pending_;   // text boxes of the paragraph being written
  Text pendingAnchors_;    // bookmarks met between paragraphs, for the next one
  bool tocEntry_ = false;  // the paragraph being written is a contents entry
  Text tocTarget_;         // the bookmark its page number refers to
  // Contents entries (toc_entries.cpp): a link to the heading with the
  // entry's text where the entry names no bookmark the document has.
  struct Heading {
    Text text, anchor;  // anchor: its bookmark, or one made for the entry
    bool written = false;
  };
  void TocEntry(const pugi::xml_node& p, std::vector<InlinePiece>& pieces);
  Text HeadingAnchor(const pugi::xml_node& p);  // "" unless an entry asked for one
  // The body's headings in order, by paragraph, read with the bookmarks.
  std::vector<std::pair<const void*, Heading>> headings_;
  std::set<Text> bookmarks_;  // the names, as written and as in a link
  bool headingsRead_ = false;
  int madeAnchors_ = 0;
  std::size_t section_ = 0;  // the section being written
};

// A DrawingML or VML shape whose outline is a rectangle: a text box whose
// text stays text. Other shapes are drawn as pictures.
bool IsRectangularBox(const pugi::xml_node& shape);

// A tab as the page shows it.
inline constexpr std::u16string_view kTab =
    u"<span style='mso-tab-count:1'>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; </span>";
// Word's styles of contents entries ("toc 1") and LibreOffice's ("Contents 1").
bool IsContentsStyle(const StyleDef* style);

// A bookmark as the anchor links go to, "<a name=...></a>"; "" for Word's
// own "_GoBack" and for a bookmark without a name.
Text BookmarkAnchor(const pugi::xml_node& bookmarkStart);

// The side and inset of an object `width` px wide whose left edge is `x` px
// from the left of a text column `column` px wide.
void PlaceInColumn(double x, double width, double column, Placement& place);

// Whether the paragraph has text of its own (not that of its text boxes);
// whether text comes after it before another drawing does (empty
// paragraphs in between are passed over; a table counts as text).
bool HoldsText(const pugi::xml_node& p);
bool TextFollows(const pugi::xml_node& p);

// How a paragraph that holds only a display equation (m:oMathPara) is
// aligned: as the equation's own justification, centred by default; ""
// for any other paragraph.
Text DisplayEquationAlignment(const pugi::xml_node& p);

// Lengths in pixels from EMU (drawing) and from VML style lengths.
long EmuToPx(long long emu);
long VmlLengthPx(TextView style, TextView property);

}  // namespace qp::word
