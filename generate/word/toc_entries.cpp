// Contents entries. A web page has no page numbers: an entry shows its label
// and text as a link to its heading. Word's entries link to a bookmark at
// the heading; LibreOffice's conversions of .doc files write entries as
// plain text with the number after a tab, or link to bookmarks they do not
// write. Those link to the heading whose text the entry shows.
#include <string>
#include <utility>

#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

// The text the paragraph shows, blanks folded, without what is hidden from
// the web and without a page number after its last tab.
Text ShownText(const pugi::xml_node& p) {
  Text text;
  for (pugi::xpath_node n : p.select_nodes(".//*[local-name()='t' or local-name()='tab']")) {
    pugi::xml_node run = n.node().parent();
    if (Toggle(Child(run, "rPr"), "webHidden") == 1) continue;
    text += LocalName(n.node()) == "tab" ? Text(u"\t") : U(n.node().text().get());
  }
  std::size_t tab = text.rfind(u'\t');
  if (tab != Text::npos &&
      text.find_first_not_of(u"0123456789ivxlcdmIVXLCDM \u00a0", tab + 1) == Text::npos) {
    text.resize(tab);
  }
  Text folded;
  for (char16_t c : text) {
    bool blank = c == u' ' || c == u'\t' || c == u'\u00a0' || c == u'\u3000';
    if (!blank) {
      folded += c;
    } else if (!folded.empty() && folded.back() != u' ') {
      folded += u' ';
    }
  }
  return Trim(folded);
}

bool IsHeading(const StyleSheet& sheet, const pugi::xml_node& p) {
  pugi::xml_node pPr = Child(p, "pPr");
  if (Attr(Child(pPr, "outlineLvl"), "val").as_int(9) < 9) return true;
  const StyleDef* style = sheet.Find(ChildVal(pPr, "pStyle"));
  if (!style) return false;
  if (style->headingLevel) return true;
  for (const StyleDef* s : sheet.Chain(style->id)) {
    if (Attr(Child(s->pPr, "outlineLvl"), "val").as_int(9) < 9) return true;
  }
  return false;
}

// A plain page number after the entry's last tab, as LibreOffice writes it:
// the tab and what follows it in the pieces that show text.
void DropPageNumber(std::vector<InlinePiece>& pieces) {
  auto number = [](TextView text) {
    return text.find_first_not_of(u"0123456789ivxlcdmIVXLCDM ") == TextView::npos;
  };
  for (std::size_t i = pieces.size(); i-- > 0;) {
    if (!pieces[i].visible) continue;
    std::size_t tab = pieces[i].content.rfind(kTab);
    if (tab == Text::npos) {
      if (!number(pieces[i].content)) return;
      continue;
    }
    if (!number(TextView(pieces[i].content).substr(tab + kTab.size()))) return;
    pieces[i].content.resize(tab);
    for (std::size_t j = pieces.size(); j-- > i + 1;) {
      if (pieces[j].visible) pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j));
    }
    return;
  }
}

}  // namespace

bool IsContentsStyle(const StyleDef* style) {
  if (!style) return false;
  Text name = LowerCase(style->name);
  return name.rfind(u"toc ", 0) == 0 || name.rfind(u"contents ", 0) == 0;
}

Text BodyWriter::HeadingAnchor(const pugi::xml_node& p) {
  for (auto& [node, heading] : headings_) {
    if (node != p.internal_object()) continue;
    heading.written = true;
    if (heading.anchor.rfind(u"_Heading", 0) != 0) return {};  // its own bookmark
    return u"<a name=\"" + heading.anchor + u"\"></a>";
  }
  return {};
}

void BodyWriter::TocEntry(const pugi::xml_node& p, std::vector<InlinePiece>& pieces) {
  if (!tocEntry_) return;
  if (tocTarget_.empty()) DropPageNumber(pieces);
  if (!headingsRead_) {
    headingsRead_ = true;
    pugi::xml_node body = state_.doc.Body();
    for (pugi::xpath_node b : body.select_nodes(".//*[local-name()='bookmarkStart']")) {
      Text name = U(Attr(b.node(), "name").value());
      bookmarks_.insert(EscapeHref(name));
      bookmarks_.insert(std::move(name));
    }
    for (pugi::xml_node c : body.children()) {
      if (LocalName(c) != "p" || !IsHeading(state_.doc.styleSheet, c)) continue;
      Heading h{ShownText(c), {}, false};
      if (pugi::xml_node mark = c.find_child([](const pugi::xml_node& n) {
            return LocalName(n) == "bookmarkStart" &&
                   std::string_view(Attr(n, "name").value()) != "_GoBack";
          })) {
        h.anchor = U(Attr(mark, "name").value());
      }
      if (!h.text.empty()) headings_.emplace_back(c.internal_object(), std::move(h));
    }
  }
  // The link the entry has, and whether it goes anywhere.
  InlinePiece* link = nullptr;
  for (InlinePiece& piece : pieces) {
    if (piece.content.rfind(u"<a href=\"#", 0) == 0) link = &piece;
  }
  auto known = [&](TextView name) { return !name.empty() && bookmarks_.count(Text(name)); };
  Text target;
  if (link) {
    std::size_t end = link->content.find(u'"', 10);
    Text current = link->content.substr(10, end == Text::npos ? 0 : end - 10);
    if (known(current)) return;
  } else if (known(tocTarget_)) {
    target = tocTarget_;
  }
  if (target.empty()) {
    Text text = ShownText(p);
    for (auto& [node, heading] : headings_) {
      bool same = text == heading.text ||
                  (text.size() > heading.text.size() + 1 && text.ends_with(u" " + heading.text));
      if (!same) continue;
      if (heading.anchor.empty() && !heading.written) {
        heading.anchor = u"_Heading" + T(std::to_string(++madeAnchors_));
      }
      target = heading.anchor;
      break;
    }
  }
  if (target.empty()) return;
  Text open = u"<a href=\"#" + EscapeHref(target) + u"\">";
  if (link) {
    link->content = open;
    return;
  }
  auto at = pieces.begin();
  while (at != pieces.end() && at->content.rfind(u"<a name", 0) == 0) ++at;
  pieces.insert(at, {{}, open, {}, false});
  pieces.push_back({{}, u"</a>", {}, false});
  state_.usesHyperlinks = true;
}

}  // namespace qp::word
