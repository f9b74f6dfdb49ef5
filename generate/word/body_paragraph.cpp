// Paragraphs and runs.
#include <cctype>
#include <utility>

#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/list_labels.h"
#include "generate/word/math_text.h"
#include "generate/word/paragraph_box.h"
#include "generate/word/style_fonts.h"
#include "generate/word/symbol_fonts.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

bool HasEastAsian(TextView text) {
  for (char16_t c : text) {
    if (IsEastAsian(c)) return true;
  }
  return false;
}

bool HasLatin(TextView text) {
  for (char16_t c : text) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) {
      return true;
    }
  }
  return false;
}

// Letters Word sets in the complex-script font: Hebrew, Arabic, Syriac,
// Thaana, Thai and Arabic presentation forms.
bool HasComplexScript(TextView text) {
  for (char16_t c : text) {
    if ((c >= 0x0590 && c <= 0x07BF) || (c >= 0x0E00 && c <= 0x0E7F) ||
        (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)) {
      return true;
    }
  }
  return false;
}

// The text a run shows, for choosing its font and language.
Text RunSample(const pugi::xml_node& r) {
  Text sample;
  for (pugi::xml_node c : r.children()) {
    if (LocalName(c) == "t") sample += U(c.text().get());
  }
  return sample;
}

// Word's tab stops where the paragraph sets none (w:defaultTabStop), in points.
double DefaultTabPoints(const pugi::xml_document& settings) {
  long twips = AttrLong(Child(settings.document_element(), "defaultTabStop"), "val", 720);
  return twips > 0 ? static_cast<double>(twips) / 20.0 : 36.0;
}

bool CompressesPunctuation(const pugi::xml_document& settings) {
  std::string control =
      ChildVal(settings.document_element(), "characterSpacingControl", "doNotCompress");
  return control != "doNotCompress";
}

Text SymbolChar(const pugi::xml_node& sym) {
  std::string code = Attr(sym, "char").value();
  unsigned long value = std::strtoul(code.c_str(), nullptr, 16);
  if (value >= 0xF000 && value <= 0xF0FF) value -= 0xF000;
  if (value == 0 || value > 0xFFFF) return {};
  return Text(1, static_cast<char16_t>(value));
}

}  // namespace

Text BookmarkAnchor(const pugi::xml_node& bookmarkStart) {
  std::string name = Attr(bookmarkStart, "name").value();
  if (name.empty() || name == "_GoBack") return {};
  return u"<a name=\"" + EscapeAttributeValue(U(name)) + u"\"></a>";
}

void RunFrame::Add(Text content, bool visible) const {
  if (!pieces.empty() && pieces.back().open == open && pieces.back().close == close &&
      !open.empty()) {
    pieces.back().content += content;
    pieces.back().visible = pieces.back().visible || visible;
    return;
  }
  pieces.push_back({open, std::move(content), close, visible});
}

Text BodyWriter::JoinPieces(const std::vector<InlinePiece>& pieces) {
  Text out;
  for (const InlinePiece& p : pieces) out += p.open + p.content + p.close;
  return out;
}

void BodyWriter::Paragraph(const pugi::xml_node& p, Text& out) {
  pugi::xml_node pPr = Child(p, "pPr");
  std::string styleId = ChildVal(pPr, "pStyle");
  const StyleSheet& sheet = state_.doc.styleSheet;
  const StyleDef* style = sheet.Find(styleId);
  if (!style || style->type != 'p') style = sheet.DefaultParagraph();
  if (style) state_.usedStyles.insert(style->id);

  Declarations declarations;
  ParagraphDeclarations(pPr, declarations);
  ParagraphBoxDeclarations(state_.doc, p, style, state_.doc.sections[section_].gridPitch,
                           declarations);
  std::vector<InlinePiece> pieces;
  pendingAnchors_ += HeadingAnchor(p);
  if (!pendingAnchors_.empty())
    pieces.push_back({{}, std::exchange(pendingAnchors_, {}), {}, false});
  tocEntry_ = IsContentsStyle(style);
  tocTarget_.clear();
  if (!ListLabel(pPr, style, declarations, pieces)) {
    ParagraphIndent(pPr, style, nullptr, false, declarations);
  }

  const PendingBoxes::Paragraph boxes(pending_);
  const Overlays::Paragraph overlays(overlays_);
  Inlines(p, pieces);
  if (overlays.Any()) {
    // Pictures over the text are placed from the paragraph's top left. A
    // run of paragraphs that hold nothing but such pictures (drawings made
    // of shapes, one after another) gives each the height its drawing
    // reaches, so that the next drawing does not land on it; before text,
    // they stay over the text as in the document (a frame round a page).
    declarations.Set("position", u"relative");
    if (overlays.Reach() > 0 && !HoldsText(p) && !TextFollows(p)) {
      declarations.Set("min-height", T(std::to_string(overlays.Reach())) + u"px");
    }
  }
  TocEntry(p, pieces);
  // A hyperlink field that began in this paragraph closes with it.
  for (int n = fields_.CloseLinks(); n > 0; --n) pieces.push_back({{}, u"</a>", {}, false});

  int level = style ? style->headingLevel : 0;
  Text tag = level ? u"h" + T(std::to_string(level)) : u"p";
  Text html = u"<" + tag;
  if (!level && style) html += u" class=" + style->className;
  Text align = Alignment(pPr);
  if (Text math = DisplayEquationAlignment(p); !math.empty()) align = math;
  if (align == u"center" || align == u"right") html += u" align=" + align;
  if (!declarations.empty()) html += u" style='" + declarations.Inline() + u"'";
  html += u">";
  bool visible = false;
  for (const InlinePiece& piece : pieces) visible = visible || piece.visible;
  html += JoinPieces(pieces);
  if (!visible) html += u"<o:p>&nbsp;</o:p>";
  html += u"</" + tag + u">\r\n\r\n";
  pending_.Place(Framed(pPr, html), out);
}

Indent BodyWriter::ParagraphIndent(const pugi::xml_node& pPr, const StyleDef* style,
                                   const ListLevel* level, bool levelFromStyle,
                                   Declarations& declarations) const {
  if (!level && !Child(pPr, "ind")) return {};
  // A list's indents give way to those of the style that carries the list,
  // and override those of any other style; the paragraph's own come last.
  const StyleSheet& sheet = state_.doc.styleSheet;
  Indent resolved, own;
  resolved.Overlay(sheet.DefaultParaProps());
  if (level && levelFromStyle) resolved.Overlay(level->pPr);
  if (style) {
    for (const StyleDef* s : sheet.Chain(style->id)) resolved.Overlay(s->pPr);
  }
  if (level && !levelFromStyle) resolved.Overlay(level->pPr);
  resolved.Overlay(pPr);
  if (level) own.Overlay(level->pPr);
  own.Overlay(pPr);
  double charPoints = ResolveStyleFont(state_.doc.Fonts(), style ? style->id : "", {}).Size;
  resolved.Write(charPoints, declarations, &own);
  return resolved;
}

bool BodyWriter::ListLabel(const pugi::xml_node& pPr, const StyleDef* style,
                           Declarations& declarations, std::vector<InlinePiece>& pieces) {
  pugi::xml_node numPr = Child(pPr, "numPr");
  std::string numId = ChildVal(numPr, "numId");
  std::string ilvlText = ChildVal(numPr, "ilvl");
  bool fromStyle = false;
  if (numId.empty() && style) {
    // The paragraph's style may carry the list.
    for (const StyleDef* s : state_.doc.styleSheet.Chain(style->id)) {
      pugi::xml_node styleNum = Child(s->pPr, "numPr");
      if (!ChildVal(styleNum, "numId").empty()) numId = ChildVal(styleNum, "numId");
      if (!ChildVal(styleNum, "ilvl").empty()) ilvlText = ChildVal(styleNum, "ilvl");
    }
    fromStyle = true;
  }
  if (numId.empty() || numId == "0") return false;
  int ilvl = std::atoi(ilvlText.c_str());
  const ListLevel* level = state_.doc.lists.Level(numId, ilvl);
  const ListInstance* inst = state_.doc.lists.Instance(numId);
  if (!level || !inst) return false;
  std::optional<Text> label = state_.counters.Next(state_.doc.lists, numId, ilvl);
  if (!label) return false;

  Indent indent = ParagraphIndent(pPr, style, level, fromStyle, declarations);
  // The label never starts left of the text column, where the window's
  // edge or a cell would cut its first characters (an opening bracket):
  // a hanging indent deeper than the left indent hangs to the margin.
  double charPoints = ResolveStyleFont(state_.doc.Fonts(), style ? style->id : "", {}).Size;
  double left = indent.LeftPoints(charPoints);
  double firstStart = left + indent.FirstPoints(charPoints);
  if (firstStart < 0) {
    declarations.Set("text-indent", Pt(-left));
    firstStart = 0;
  }
  declarations.Set("mso-list", u"l" + T(std::to_string(inst->index)) + u" level" +
                                   T(std::to_string(ilvl + 1)) + u" lfo" + U(numId));
  if (level->format == "none" && label->empty()) return true;

  // The label looks like the paragraph mark (its run properties under
  // w:pPr), then as its level says.
  RunFonts fonts;
  Declarations labelStyle;
  RunLook look;
  double fontPoints = charPoints;
  for (const pugi::xml_node& rPr : {Child(pPr, "rPr"), level->rPr}) {
    ApplyRunFonts(rPr, state_.doc.themeFonts, fonts);
    RunDeclarations(rPr, labelStyle, look);
    long half = AttrLong(Child(rPr, "sz"), "val", 0);
    if (half > 0) fontPoints = static_cast<double>(half) / 2.0;
  }
  LookDeclarations(look, labelStyle);
  SymbolFont symbol = SymbolFontOf(fonts.ascii);
  label = SymbolText(*label, symbol);
  if (IsMappedSymbolFont(symbol)) fonts.ascii.clear();
  if (!fonts.ascii.empty()) {
    labelStyle.Set("font-family", FontFamilyValue(state_.doc.fontTable, fonts.ascii));
  }
  Text html = u"<![if !supportLists]>";
  if (!labelStyle.empty()) html += u"<span style='" + labelStyle.Inline() + u"'>";
  html += u"<span style='mso-list:Ignore'>";
  LabelTab tab;
  if (level->suffix == "tab") {
    tab = LabelTabAfter(*label, fontPoints, left, firstStart, DefaultTabPoints(state_.doc.settings),
                        CompressesPunctuation(state_.doc.settings));
  }
  if (tab.toIndent && left - firstStart > 0.5) {
    // The label fills the hanging indent whatever the browser's font makes
    // of its width, so that the text starts on the indent as in Word.
    html += u"<span style='display:inline-block;text-indent:0;min-width:" + Pt(left - firstStart) +
            u"'>" + EscapeText(*label) + u"</span>";
  } else {
    html += EscapeText(*label);
    if (level->suffix == "tab") {
      html += u"<span style='font:7.0pt \"Times New Roman\"'>" + LabelTabFiller(tab.points) +
              u"</span>";
    } else if (level->suffix == "space") {
      html += u" ";
    }
  }
  html += labelStyle.empty() ? u"</span><![endif]>" : u"</span></span><![endif]>";
  pieces.push_back({{}, html, {}, !label->empty()});
  return true;
}

void BodyWriter::Inlines(const pugi::xml_node& parent, std::vector<InlinePiece>& pieces) {
  const Nesting level(depth_);
  for (pugi::xml_node node : parent.children()) {
    std::string_view local = LocalName(node);
    if (local == "r") {
      Run(node, pieces);
    } else if (local == "hyperlink") {
      Text href = Href(node);
      if (href.empty()) {
        Inlines(node, pieces);
        continue;
      }
      state_.usesHyperlinks = true;
      pieces.push_back({{}, u"<a href=\"" + href + u"\">", {}, false});
      Inlines(node, pieces);
      pieces.push_back({{}, u"</a>", {}, false});
    } else if (local == "bookmarkStart") {
      Text anchor = BookmarkAnchor(node);
      if (!anchor.empty()) pieces.push_back({{}, anchor, {}, false});
    } else if (local == "smartTag" || local == "customXml" || local == "ins" || local == "moveTo" ||
               local == "fldSimple" || local == "dir" || local == "bdo") {
      Inlines(node, pieces);
    } else if (local == "sdt") {
      Inlines(Child(node, "sdtContent"), pieces);
    } else if (local == "oMathPara" || local == "oMath") {
      Equation(node, pieces);
    } else if (local == "AlternateContent") {
      pugi::xml_node choice = Child(node, "Choice");
      Inlines(choice ? choice : Child(node, "Fallback"), pieces);
    }
  }
}

void BodyWriter::RunFormat(const pugi::xml_node& rPr, TextView sample, RunFrame& run) {
  Declarations declarations;
  RunLook look;
  RunFonts fonts;
  ApplyRunFonts(rPr, state_.doc.themeFonts, fonts);
  if (IsMappedSymbolFont(RunSymbolFont(rPr))) {
    fonts.ascii.clear();  // its text is written as the characters the symbols show
  }
  // Characters both scripts share (quotes, dashes) follow the hint.
  bool eastAsian =
      HasEastAsian(sample) || (fonts.hintEastAsia && !sample.empty() && !HasLatin(sample));
  bool complex = HasComplexScript(sample) || Toggle(rPr, "rtl") == 1 || Toggle(rPr, "cs") == 1;
  const FontTable& table = state_.doc.fontTable;
  if (complex && !fonts.cs.empty()) {
    declarations.Set("font-family", FontFamilyValue(table, fonts.cs));
  } else if (eastAsian && !fonts.eastAsia.empty()) {
    declarations.Set("font-family", FontFamilyValue(table, fonts.eastAsia));
    if (!fonts.ascii.empty()) declarations.Set("mso-ascii-font-family", FontValue(fonts.ascii));
  } else if (!fonts.ascii.empty()) {
    declarations.Set("font-family", FontFamilyValue(table, fonts.ascii));
    if (!fonts.eastAsia.empty()) {
      declarations.Set("mso-fareast-font-family", FontValue(fonts.eastAsia));
    }
  }
  RunDeclarations(rPr, declarations, look);
  if (look.bold == 0) declarations.Set("font-weight", u"normal");
  if (look.italic == 0) declarations.Set("font-style", u"normal");
  if (look.underline == 0 || look.strike == 0) declarations.Set("text-decoration", u"none");
  std::string styleId = ChildVal(rPr, "rStyle");
  const StyleDef* style = state_.doc.styleSheet.Find(styleId);
  if (style && style->type == 'c') state_.usedStyles.insert(style->id);

  static constexpr std::pair<int RunLook::*, std::string_view> kTags[] = {
      {&RunLook::bold, "b"},
      {&RunLook::italic, "i"},
      {&RunLook::underline, "u"},
      {&RunLook::strike, "s"}};
  for (const auto& [member, tag] : kTags) {
    if (look.*member == 1) {
      run.open += u"<" + T(tag) + u">";
      run.close.insert(0, u"</" + T(tag) + u">");
    }
  }
  if (look.vertical) {
    Text tag = look.vertical == 1 ? u"sup" : u"sub";
    run.open += u"<" + tag + u">";
    run.close.insert(0, u"</" + tag + u">");
  }
  Text span;
  if (style && style->type == 'c') span += u" class=" + style->className;
  if (state_.doc.japanese && HasLatin(sample) && !eastAsian) span += u" lang=EN-US";
  if (!declarations.empty()) {
    Text text = declarations.Inline();
    span += u" style='" + (state_.shiftJis ? WithoutUnencodable(text) : text) + u"'";
  }
  if (!span.empty()) {
    run.open += u"<span" + span + u">";
    run.close.insert(0, u"</span>");
  }
}

void BodyWriter::FieldChar(const pugi::xml_node& fldChar, std::vector<InlinePiece>& pieces) {
  std::string type = Attr(fldChar, "fldCharType").value();
  Field* f = fields_.Innermost();
  if (type == "begin") {
    fields_.Begin(CheckBoxState(Child(Child(fldChar, "ffData"), "checkBox")));
  } else if (type == "separate" && f) {
    f->inResult = true;
    Text instr = Trim(f->instruction);
    if (instr.rfind(u"PAGEREF", 0) == 0 && (tocEntry_ || fields_.InContents())) {
      // A web page has no page numbers: a contents entry loses its number
      // and the tab (with its leader) before it, and links to its heading.
      f->hidden = true;
      tocEntry_ = true;
      tocTarget_ = FieldTarget(instr);
      if (!pieces.empty() && pieces.back().content.ends_with(kTab)) {
        pieces.back().content.resize(pieces.back().content.size() - kTab.size());
        if (pieces.back().content.empty()) pieces.pop_back();
      }
    }
    if (instr.rfind(u"HYPERLINK", 0) == 0 && !fields_.HidesText()) {
      if (Text href = HyperlinkHref(instr); !href.empty()) {
        pieces.push_back({{}, u"<a href=\"" + href + u"\">", {}, false});
        f->anchorOpen = true;
        state_.usesHyperlinks = true;
      }
    }
  } else if (type == "end" && f) {
    if (f->anchorOpen) pieces.push_back({{}, u"</a>", {}, false});
    CheckBox(*f, pieces);
    fields_.End();
  }
}

void BodyWriter::Run(const pugi::xml_node& r, std::vector<InlinePiece>& pieces) {
  pugi::xml_node rPr = Child(r, "rPr");
  RunFrame run{{}, {}, pieces};
  RunFormat(rPr, RunSample(r), run);
  SymbolFont symbol = RunSymbolFont(rPr);
  // Hidden in a web page, as Word hides a contents entry's leader and number.
  bool webHidden = Toggle(rPr, "webHidden") == 1;
  for (pugi::xml_node c : r.children()) {
    std::string_view local = LocalName(c);
    if (local == "fldChar") {
      FieldChar(c, pieces);
      continue;
    }
    if (local == "instrText") {
      fields_.AddCode(U(c.text().get()));
      continue;
    }
    if (fields_.HidesText() || webHidden) continue;
    if (local == "t") {
      run.Add(EscapeText(SymbolText(U(c.text().get()), symbol)), true);
    } else if (local == "tab" || local == "ptab") {
      run.Add(Text(kTab), true);
    } else if (local == "br" || local == "cr") {
      bool page = std::string_view(Attr(c, "type").value()) == "page";
      run.Add(page ? u"<br clear=all style='page-break-before:always'>" : u"<br>", false);
    } else if (local == "noBreakHyphen") {
      run.Add(u"-", true);
    } else if (local == "softHyphen") {
      // The optional hyphen stays in the word, invisible unless the line
      // breaks there; dropping it would also split the word for searches.
      run.Add(u"&shy;", false);
    } else if (local == "sym") {
      Text ch = SymbolChar(c);
      Text font = U(Attr(c, "font").value());
      SymbolFont known = SymbolFontOf(font);
      if (!ch.empty() && IsMappedSymbolFont(known)) {
        run.Add(EscapeText(SymbolText(ch, known)), true);
      } else if (!ch.empty()) {
        const RunFrame inFont{run.open + u"<span style='font-family:" + FontValue(font) + u"'>",
                              u"</span>" + run.close, pieces};
        inFont.Add(EscapeText(ch), true);
      }
    } else if (local == "drawing") {
      Drawing(c, run);
    } else if (local == "pict" || local == "object") {
      Vml(c, run);
    } else if (local == "AlternateContent") {
      pugi::xml_node choice = Child(c, "Choice");
      pugi::xml_node chosen = choice ? choice : Child(c, "Fallback");
      for (pugi::xml_node d : chosen.children()) {
        if (LocalName(d) == "drawing") Drawing(d, run);
        if (LocalName(d) == "pict" || LocalName(d) == "object") Vml(d, run);
      }
    } else if (local == "footnoteReference" || local == "endnoteReference") {
      Text mark = NoteReference(Attr(c, "id").value(), local == "endnoteReference", false, run);
      pieces.push_back({{}, std::move(mark), {}, true});
    } else if (local == "footnoteRef" || local == "endnoteRef") {
      pieces.push_back({{}, NoteReference({}, local == "endnoteRef", true, run), {}, true});
    } else if (local == "ruby") {
      Text base, ruby;
      for (pugi::xpath_node t : Child(c, "rubyBase").select_nodes(".//*[local-name()='t']")) {
        base += U(t.node().text().get());
      }
      for (pugi::xpath_node t : Child(c, "rt").select_nodes(".//*[local-name()='t']")) {
        ruby += U(t.node().text().get());
      }
      run.Add(u"<ruby>" + EscapeText(base) + u"<rt>" + EscapeText(ruby) + u"</rt></ruby>", true);
    }
  }
}

}  // namespace qp::word
