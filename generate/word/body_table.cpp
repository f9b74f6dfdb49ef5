// Tables: Word's attributes, borders resolved per cell, the table style's
// conditional formatting (header row, banded rows, first column), merged
// cells as colspan and rowspan, nested tables through the cell's blocks.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "generate/word/body_writer.h"
#include "generate/word/xml_part.h"
#include "text/number.h"

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

// Rows deleted as a tracked change are left out, like the text they held.
std::vector<Row> Layout(const pugi::xml_node& tbl) {
  std::vector<pugi::xml_node> trs;
  CollectChildren(tbl, "tr", trs);
  std::vector<Row> rows;
  for (pugi::xml_node tr : trs) {
    if (Child(Child(tr, "trPr"), "del")) continue;
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

// The first of the table's own properties and its style chain's (nearest
// first) that has the child `local` under tblPr.
pugi::xml_node TableProperty(const pugi::xml_node& tblPr, const std::vector<const StyleDef*>& chain,
                             std::string_view local) {
  if (pugi::xml_node own = Child(tblPr, local)) return own;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (pugi::xml_node p = Child(Child((*it)->node, "tblPr"), local)) return p;
  }
  return {};
}

// Which parts of the table style the table shows (w:tblLook), as the
// attributes of Word 2010 or the bit mask of Word 2007.
struct Look {
  bool firstRow = false, lastRow = false, firstCol = false, lastCol = false;
  bool hBand = true, vBand = true;
};

Look ReadLook(const pugi::xml_node& tblLook) {
  long mask = std::strtol(Attr(tblLook, "val").value(), nullptr, 16);
  auto flag = [&](std::string_view name, long bit) {
    pugi::xml_attribute a = Attr(tblLook, name);
    if (!a) return (mask & bit) != 0;
    std::string_view v = a.value();
    return v == "1" || v == "true" || v == "on";
  };
  Look look;
  look.firstRow = flag("firstRow", 0x20);
  look.lastRow = flag("lastRow", 0x40);
  look.firstCol = flag("firstColumn", 0x80);
  look.lastCol = flag("lastColumn", 0x100);
  look.hBand = !flag("noHBand", 0x200);
  look.vBand = !flag("noVBand", 0x400);
  return look;
}

}  // namespace

// What every cell of one table is written from.
struct TableFrame {
  pugi::xml_node tblPr, borders, cellMar;
  std::vector<const StyleDef*> chain;  // the table style, farthest ancestor first
  std::vector<long> grid;
  std::vector<Row> rows;
  Look look;
  long rowBand = 1, colBand = 1;
};

namespace {

Text TableTag(const TableFrame& t, const StyleDef* style) {
  bool anyBorder = false;
  for (pugi::xml_node b : t.borders.children()) anyBorder = anyBorder || BorderValue(b) != u"none";
  Text html = u"<table class=" + (style ? style->className : Text(u"MsoNormalTable"));
  html += anyBorder ? u" border=1" : u" border=0";
  html += u" cellspacing=0 cellpadding=0";
  pugi::xml_node tblW = Child(t.tblPr, "tblW");
  if (std::string_view(Attr(tblW, "type").value()) == "dxa" && AttrLong(tblW, "w") > 0) {
    html += u" width=" + T(std::to_string(AttrLong(tblW, "w") / 15));
  }
  std::string jc = ChildVal(t.tblPr, "jc");
  if (jc == "center") html += u" align=center";
  if (jc == "right" || jc == "end") html += u" align=right";
  html += u"\r\n style='border-collapse:collapse;border:none";
  if (pugi::xml_node ind = Child(t.tblPr, "tblInd")) {
    if (AttrLong(ind, "w") != 0) html += u";margin-left:" + TwipsPt(AttrLong(ind, "w"));
  }
  return html + u"'>\r\n";
}

// The parts of the table style that apply to a cell, lowest priority first:
// the whole table, the bands, the first and last column, the first and
// last row, the corner cells. Each part holds tcPr and rPr.
std::vector<pugi::xml_node> StyleLayers(const TableFrame& t, std::size_t r, const Cell& cell) {
  std::size_t columns = t.grid.size();
  bool firstRow = t.look.firstRow && r == 0;
  bool lastRow = t.look.lastRow && r + static_cast<std::size_t>(cell.rowspan) >= t.rows.size();
  bool firstCol = t.look.firstCol && cell.gridStart == 0;
  bool lastCol = t.look.lastCol && static_cast<std::size_t>(cell.gridStart + cell.span) >= columns;
  std::vector<std::string> kinds = {"wholeTable"};
  if (t.look.vBand && !firstCol && !lastCol) {
    long column = cell.gridStart - (t.look.firstCol ? 1 : 0);
    kinds.push_back(column / t.colBand % 2 == 0 ? "band1Vert" : "band2Vert");
  }
  if (t.look.hBand && !firstRow && !lastRow) {
    long row = static_cast<long>(r) - (t.look.firstRow ? 1 : 0);
    kinds.push_back(row / t.rowBand % 2 == 0 ? "band1Horz" : "band2Horz");
  }
  if (firstCol) kinds.push_back("firstCol");
  if (lastCol) kinds.push_back("lastCol");
  if (firstRow) kinds.push_back("firstRow");
  if (lastRow) kinds.push_back("lastRow");
  if (firstRow && firstCol) kinds.push_back("nwCell");
  if (firstRow && lastCol) kinds.push_back("neCell");
  if (lastRow && firstCol) kinds.push_back("swCell");
  if (lastRow && lastCol) kinds.push_back("seCell");

  std::vector<pugi::xml_node> layers;
  for (const std::string& kind : kinds) {
    for (const StyleDef* s : t.chain) {
      if (kind == "wholeTable") layers.push_back(s->node);
      for (pugi::xml_node part : s->node.children()) {
        if (LocalName(part) == "tblStylePr" && kind == Attr(part, "type").value()) {
          layers.push_back(part);
        }
      }
    }
  }
  return layers;
}

// The colour a cell's w:shd shows: the fill, the pattern colour over it for
// "solid", a blend of both for the percentage patterns ("pct25"); "" for
// none. An automatic pattern colour is black, an automatic fill white.
Text ShadingColor(const pugi::xml_node& shd) {
  if (!shd) return {};
  std::string val = Attr(shd, "val").value(), fill = Attr(shd, "fill").value();
  std::string color = Attr(shd, "color").value();
  auto rgb = [](const std::string& hex, long automatic) {
    return hex.size() == 6 ? std::strtol(hex.c_str(), nullptr, 16) : automatic;
  };
  double share = val == "solid" ? 1.0 : 0.0;
  if (val.rfind("pct", 0) == 0)
    share = static_cast<double>(std::strtol(val.c_str() + 3, nullptr, 10)) / 100.0;
  if (val == "nil" || (share == 0.0 && fill.size() != 6)) return {};
  long back = rgb(fill, 0xFFFFFF), front = rgb(color, 0x000000), out = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    double mix = static_cast<double>((back >> shift) & 0xFF) * (1 - share) +
                 static_cast<double>((front >> shift) & 0xFF) * share;
    out |= std::lround(mix) << shift;
  }
  return T(HexRgb(out));
}

// Fill and text look from the style's layers, then the cell's own fill.
// The text look goes on the cell, where the paragraphs inherit it unless
// their own styles say otherwise.
void CellLook(const std::vector<pugi::xml_node>& layers, const pugi::xml_node& tcPr,
              Declarations& style) {
  Text fill;
  for (pugi::xml_node layer : layers) {
    Text f = ShadingColor(Child(Child(layer, "tcPr"), "shd"));
    if (!f.empty()) fill = f;
    pugi::xml_node rPr = Child(layer, "rPr");
    if (int b = Toggle(rPr, "b"); b >= 0) style.Set("font-weight", b ? u"bold" : u"normal");
    if (int i = Toggle(rPr, "i"); i >= 0) style.Set("font-style", i ? u"italic" : u"normal");
    std::string color = ChildVal(rPr, "color");
    if (color.size() == 6) style.Set("color", u"#" + U(color));
  }
  Text own = ShadingColor(Child(tcPr, "shd"));
  if (!own.empty()) fill = own;
  if (!fill.empty()) style.Set("background", fill);
}

void CellBorders(const TableFrame& t, std::size_t r, const Cell& cell,
                 const std::vector<pugi::xml_node>& layers, const pugi::xml_node& tcPr,
                 Declarations& style) {
  pugi::xml_node own = Child(tcPr, "tcBorders");
  bool firstRow = r == 0, lastRow = r + static_cast<std::size_t>(cell.rowspan) >= t.rows.size();
  bool firstCol = cell.gridStart == 0;
  bool lastCol = static_cast<std::size_t>(cell.gridStart + cell.span) >= t.grid.size();
  auto side = [&](std::string_view name, std::string_view alt, std::string_view inner, bool outer) {
    pugi::xml_node b = Child(own, name);
    if (!b) b = Child(own, alt);
    for (auto it = layers.rbegin(); !b && it != layers.rend(); ++it) {
      pugi::xml_node styled = Child(Child(*it, "tcPr"), "tcBorders");
      b = Child(styled, name);
      if (!b && !outer) b = Child(styled, inner);
    }
    if (!b) b = Child(t.borders, outer ? name : inner);
    if (!b && outer) b = Child(t.borders, alt);
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
}

// The cell's margins as Word writes them: the cell's own, else the
// table's (or its style's), else Word's default of 5.4pt left and right.
Text CellPadding(const TableFrame& t, const pugi::xml_node& tcPr) {
  pugi::xml_node own = Child(tcPr, "tcMar");
  auto margin = [&](std::string_view side, std::string_view alt, long fallback) {
    for (pugi::xml_node mar : {own, t.cellMar}) {
      pugi::xml_node m = Child(mar, side);
      if (!m) m = Child(mar, alt);
      if (m) return AttrLong(m, "w", fallback);
    }
    return fallback;
  };
  return TwipsPt(margin("top", "top", 0)) + u" " + TwipsPt(margin("right", "end", 108)) + u" " +
         TwipsPt(margin("bottom", "bottom", 0)) + u" " + TwipsPt(margin("left", "start", 108));
}

}  // namespace

void BodyWriter::Table(const pugi::xml_node& tbl, Text& out) {
  TableFrame t;
  t.rows = Layout(tbl);
  if (t.rows.empty()) return;  // every row deleted, or none at all
  t.tblPr = Child(tbl, "tblPr");
  const StyleSheet& sheet = state_.doc.styleSheet;
  std::string styleId = ChildVal(t.tblPr, "tblStyle");
  const StyleDef* style = sheet.Find(styleId);
  // A table without a style of its own has the document's default one.
  const StyleDef* applied = style ? style : sheet.DefaultOfType('t');
  if (applied && applied->type == 't') t.chain = sheet.Chain(applied->id);
  t.borders = TableProperty(t.tblPr, t.chain, "tblBorders");
  t.cellMar = TableProperty(t.tblPr, t.chain, "tblCellMar");
  t.look = ReadLook(Child(t.tblPr, "tblLook"));
  t.rowBand =
      std::max(1L, AttrLong(TableProperty(t.tblPr, t.chain, "tblStyleRowBandSize"), "val", 1));
  t.colBand =
      std::max(1L, AttrLong(TableProperty(t.tblPr, t.chain, "tblStyleColBandSize"), "val", 1));
  for (pugi::xml_node col : Child(tbl, "tblGrid").children()) {
    if (LocalName(col) == "gridCol") t.grid.push_back(AttrLong(col, "w", 0));
  }

  Text html = TableTag(t, style);
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    html += u" <tr";
    if (pugi::xml_node h = Child(Child(t.rows[r].tr, "trPr"), "trHeight")) {
      html += u" style='height:" + TwipsPt(AttrLong(h, "val")) + u"'";
    }
    html += u">\r\n";
    for (std::size_t c = 0; c < t.rows[r].cells.size(); ++c) {
      if (!t.rows[r].cells[c].continued) TableCell(t, r, c, html);
    }
    html += u" </tr>\r\n";
  }
  out += html + u"</table>\r\n\r\n";
}

void BodyWriter::TableCell(const TableFrame& t, std::size_t r, std::size_t index, Text& html) {
  const Cell& cell = t.rows[r].cells[index];
  pugi::xml_node tcPr = Child(cell.tc, "tcPr");
  long twips = 0;
  pugi::xml_node tcW = Child(tcPr, "tcW");
  if (std::string_view(Attr(tcW, "type").value()) == "dxa") twips = AttrLong(tcW, "w");
  if (twips <= 0) {
    for (int g = cell.gridStart; g < cell.gridStart + cell.span; ++g) {
      if (g >= 0 && static_cast<std::size_t>(g) < t.grid.size()) twips += t.grid[g];
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
  std::vector<pugi::xml_node> layers = StyleLayers(t, r, cell);
  CellBorders(t, r, cell, layers, tcPr, style);
  CellLook(layers, tcPr, style);
  style.Set("padding", CellPadding(t, tcPr));
  html += u" style='" + style.Inline() + u"'>\r\n";
  Text inner;
  Blocks(cell.tc, inner);
  if (inner.empty()) inner = u"<p class=MsoNormal><o:p>&nbsp;</o:p></p>\r\n";
  html += inner + u"  </td>\r\n";
}

}  // namespace qp::word
