// Tables: Word's attributes, borders resolved per cell, merged cells as
// colspan and rowspan, nested tables through the cell's blocks.
#include <string>
#include <vector>

#include "generate/word/body_writer.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

struct Cell {
  pugi::xml_node tc;
  int gridStart = 0, span = 1, rowspan = 1;
  bool continued = false;  // the lower part of a vertical merge
};

struct Row {
  pugi::xml_node tr;
  std::vector<Cell> cells;
};

// Rows and cells may be wrapped in content controls or custom XML.
void CollectChildren(const pugi::xml_node& parent, std::string_view local,
                     std::vector<pugi::xml_node>& out) {
  for (pugi::xml_node c : parent.children()) {
    std::string_view name = LocalName(c);
    if (name == local) {
      out.push_back(c);
    } else if (name == "sdt") {
      CollectChildren(Child(c, "sdtContent"), local, out);
    } else if (name == "customXml" || name == "ins" || name == "moveTo") {
      CollectChildren(c, local, out);
    }
  }
}

bool HasOwnCell(const Row& row) {
  for (const Cell& c : row.cells) {
    if (!c.continued) return true;
  }
  return false;
}

std::vector<Row> Layout(const pugi::xml_node& tbl) {
  std::vector<pugi::xml_node> trs;
  CollectChildren(tbl, "tr", trs);
  std::vector<Row> rows;
  for (pugi::xml_node tr : trs) {
    Row row{tr, {}};
    int grid = static_cast<int>(AttrLong(Child(Child(tr, "trPr"), "gridBefore"), "val", 0));
    std::vector<pugi::xml_node> tcs;
    CollectChildren(tr, "tc", tcs);
    for (pugi::xml_node tc : tcs) {
      pugi::xml_node tcPr = Child(tc, "tcPr");
      Cell cell{tc, grid, 1, 1, false};
      long span = AttrLong(Child(tcPr, "gridSpan"), "val", 1);
      cell.span = span > 0 && span < 1000 ? static_cast<int>(span) : 1;
      pugi::xml_node vm = Child(tcPr, "vMerge");
      cell.continued = vm && std::string_view(Attr(vm, "val").value()) != "restart";
      grid += cell.span;
      row.cells.push_back(cell);
    }
    rows.push_back(std::move(row));
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (Cell& cell : rows[r].cells) {
      if (cell.continued) continue;
      for (std::size_t below = r + 1; below < rows.size(); ++below) {
        bool merged = false;
        for (const Cell& c : rows[below].cells) {
          merged = merged || (c.continued && c.gridStart == cell.gridStart);
        }
        if (!merged) break;
        // A row that is nothing but merged continuations is not written
        // (HTML wants a cell in every row), so the span does not count it.
        if (HasOwnCell(rows[below])) ++cell.rowspan;
      }
    }
  }
  std::erase_if(rows, [](const Row& row) { return !HasOwnCell(row); });
  return rows;
}

Text BorderValue(const pugi::xml_node& b) {
  std::string val = Attr(b, "val").value();
  if (val.empty() || val == "nil" || val == "none") return u"none";
  std::string color = Attr(b, "color").value();
  Text colour = color.empty() || color == "auto" ? u"windowtext" : u"#" + U(color);
  double width = static_cast<double>(AttrLong(b, "sz", 4)) / 8.0;
  Text style = val == "double"   ? u"double"
               : val == "dotted" ? u"dotted"
               : val == "dashed" ? u"dashed"
                                 : u"solid";
  return style + u" " + colour + u" " + Pt(width);
}

// The table's own borders, or those of its style (and the style's parents).
pugi::xml_node TableBorders(const pugi::xml_node& tblPr, const StyleSheet& sheet) {
  pugi::xml_node own = Child(tblPr, "tblBorders");
  if (own) return own;
  std::string styleId = ChildVal(tblPr, "tblStyle");
  std::vector<const StyleDef*> chain = sheet.Chain(styleId);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    pugi::xml_node b = Child(Child((*it)->node, "tblPr"), "tblBorders");
    if (b) return b;
  }
  return {};
}

}  // namespace

void BodyWriter::Table(const pugi::xml_node& tbl, Text& out) {
  pugi::xml_node tblPr = Child(tbl, "tblPr");
  const StyleSheet& sheet = state_.doc.styleSheet;
  pugi::xml_node borders = TableBorders(tblPr, sheet);
  bool anyBorder = false;
  for (pugi::xml_node b : borders.children()) anyBorder = anyBorder || BorderValue(b) != u"none";

  std::vector<long> grid;
  for (pugi::xml_node col : Child(tbl, "tblGrid").children()) {
    if (LocalName(col) == "gridCol") grid.push_back(AttrLong(col, "w", 0));
  }
  std::vector<Row> rows = Layout(tbl);

  const StyleDef* tableStyle = sheet.Find(ChildVal(tblPr, "tblStyle"));
  Text html = u"<table class=" + (tableStyle ? tableStyle->className : Text(u"MsoNormalTable"));
  html += anyBorder ? u" border=1" : u" border=0";
  html += u" cellspacing=0 cellpadding=0";
  pugi::xml_node tblW = Child(tblPr, "tblW");
  if (std::string_view(Attr(tblW, "type").value()) == "dxa" && AttrLong(tblW, "w") > 0) {
    html += u" width=" + T(std::to_string(AttrLong(tblW, "w") / 15));
  }
  std::string jc = ChildVal(tblPr, "jc");
  if (jc == "center") html += u" align=center";
  if (jc == "right" || jc == "end") html += u" align=right";
  html += u"\r\n style='border-collapse:collapse;border:none";
  if (pugi::xml_node ind = Child(tblPr, "tblInd")) {
    if (AttrLong(ind, "w") != 0) html += u";margin-left:" + TwipsPt(AttrLong(ind, "w"));
  }
  html += u"'>\r\n";

  pugi::xml_node cellMar = Child(tblPr, "tblCellMar");
  auto margin = [&](std::string_view side, std::string_view alt, long fallback) {
    pugi::xml_node m = Child(cellMar, side);
    if (!m) m = Child(cellMar, alt);
    return m ? AttrLong(m, "w", fallback) : fallback;
  };
  Text padding =
      u"padding:" + TwipsPt(margin("top", "top", 0)) + u" " + TwipsPt(margin("right", "end", 108)) +
      u" " + TwipsPt(margin("bottom", "bottom", 0)) + u" " + TwipsPt(margin("left", "start", 108));

  for (std::size_t r = 0; r < rows.size(); ++r) {
    pugi::xml_node trPr = Child(rows[r].tr, "trPr");
    html += u" <tr";
    if (pugi::xml_node h = Child(trPr, "trHeight")) {
      html += u" style='height:" + TwipsPt(AttrLong(h, "val")) + u"'";
    }
    html += u">\r\n";
    for (const Cell& cell : rows[r].cells) {
      if (cell.continued) continue;
      pugi::xml_node tcPr = Child(cell.tc, "tcPr");
      long twips = 0;
      pugi::xml_node tcW = Child(tcPr, "tcW");
      if (std::string_view(Attr(tcW, "type").value()) == "dxa") twips = AttrLong(tcW, "w");
      if (twips <= 0) {
        for (int g = cell.gridStart; g < cell.gridStart + cell.span; ++g) {
          if (g >= 0 && static_cast<std::size_t>(g) < grid.size()) twips += grid[g];
        }
      }
      html += u"  <td";
      if (twips > 0) html += u" width=" + T(std::to_string(twips / 15));
      if (cell.span > 1) html += u" colspan=" + T(std::to_string(cell.span));
      if (cell.rowspan > 1) html += u" rowspan=" + T(std::to_string(cell.rowspan));
      std::string va = ChildVal(tcPr, "vAlign", "top");
      html += u" valign=" + (va == "center" ? Text(u"middle") : U(va));
      Declarations style;
      if (twips > 0) style.Set("width", TwipsPt(twips));
      pugi::xml_node own = Child(tcPr, "tcBorders");
      bool firstRow = r == 0, lastRow = r + static_cast<std::size_t>(cell.rowspan) >= rows.size();
      bool firstCol = cell.gridStart == 0;
      bool lastCol = static_cast<std::size_t>(cell.gridStart + cell.span) >= grid.size();
      auto side = [&](std::string_view name, std::string_view alt, std::string_view inner,
                      bool outer) {
        pugi::xml_node b = Child(own, name);
        if (!b) b = Child(own, alt);
        if (!b) b = Child(borders, outer ? name : inner);
        if (!b && outer) b = Child(borders, alt);
        return b ? BorderValue(b) : Text(u"none");
      };
      Text top = side("top", "top", "insideH", firstRow);
      Text left = side("left", "start", "insideV", firstCol);
      Text bottom = side("bottom", "bottom", "insideH", lastRow);
      Text right = side("right", "end", "insideV", lastCol);
      if (top == left && left == bottom && bottom == right) {
        style.Set("border", top);
      } else {
        style.Set("border-top", top);
        style.Set("border-left", left);
        style.Set("border-bottom", bottom);
        style.Set("border-right", right);
      }
      Text fill = U(Attr(Child(tcPr, "shd"), "fill").value());
      if (fill.size() == 6) style.Set("background", u"#" + fill);
      style.Set("padding", padding.substr(8));
      html += u" style='" + style.Inline() + u"'>\r\n";
      Text inner;
      Blocks(cell.tc, inner);
      if (inner.empty()) inner = u"<p class=MsoNormal><o:p>&nbsp;</o:p></p>\r\n";
      html += inner + u"  </td>\r\n";
    }
    html += u" </tr>\r\n";
  }
  html += u"</table>\r\n\r\n";
  out += html;
}

}  // namespace qp::word
