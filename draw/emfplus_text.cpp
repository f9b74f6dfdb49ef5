// EMF+ text: DrawString laid out in its rectangle by its string format,
// DrawDriverString at its glyph positions.
#include <algorithm>
#include <cmath>

#include "draw/emfplus_player.h"
#include "draw/svg_text.h"
#include "text/codec.h"

namespace qp::draw::emfplus {

namespace {

// The font's em in the user space of `m`; 0 when the text would be too
// small to see or larger than any picture.
double EmSize(const Font& f, const Matrix& m, double dpi, double deviceScale) {
  const double scale = m.Scale();
  if (!(scale > 0)) return 0;
  const double em = f.unit == 0 ? f.emSize : f.emSize * UnitScale(f.unit, dpi) / scale;
  const double emPx = em * scale * deviceScale;
  return emPx > 0.2 && emPx < 2 * kMaxSidePx ? em : 0;
}

// The text element's start tag, open for more attributes.
std::string TextStart(const Font& f, const Matrix& m, double em, const std::string& paint) {
  std::string s = "<text transform=\"" + MatrixText(m) +
                  "\" xml:space=\"preserve\" font-family=\"" + FontFamily(Palette{}, f.family) +
                  "\" font-size=\"" + Number(em) + "\" " + paint;
  if (f.style & 1) s += " font-weight=\"bold\"";
  if (f.style & 2) s += " font-style=\"italic\"";
  if (f.style & 4) s += " text-decoration=\"underline\"";
  if ((f.style & 12) == 8) s += " text-decoration=\"line-through\"";
  return s;
}

}  // namespace

void Player::Text(std::uint16_t flags, Reader& r) {
  const std::uint32_t brush = r.U32(), formatId = r.U32(), length = r.U32();
  const Rect rc = ReadRect(r, false);
  std::string_view raw = r.Bytes(std::min<std::size_t>(length, r.Left() / 2) * 2);
  const Object* font = Slot(flags & 0xFF, 6);
  const Object* format = Slot(formatId, 7);
  if (r.failed || !font || Full()) return;
  const Font& f = *font->font;
  const Matrix m = Current();
  const double em = EmSize(f, m, dpiY_, device_.Scale());
  std::string paint = BrushPaint(flags & kColorBrush, brush, "fill");
  if (em == 0 || paint.empty()) return;

  qp::Text text;
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(raw[i]) |
                                  static_cast<std::uint8_t>(raw[i + 1]) << 8);
  }
  const std::string utf8 = TextToUtf8(text);
  StringFormat sf = format ? *format->format : StringFormat{};
  std::vector<std::string> lines;
  const bool wrap = rc.w > 0 && !(sf.flags & 0x1000);
  std::size_t start = 0;
  while (start <= utf8.size() && lines.size() < kMaxTextLines) {
    std::size_t end = std::min(utf8.find('\n', start), utf8.size());
    std::string line = utf8.substr(start, end - start);
    std::erase(line, '\r');
    if (wrap) {
      for (std::string& l : WrapText(line, em, rc.w, kMaxTextLines - lines.size()))
        lines.push_back(std::move(l));
    } else {
      lines.push_back(std::move(line));
    }
    start = end + 1;
  }
  std::uint32_t align = sf.align;
  if ((sf.flags & 0x1) && align != 1) align = 2 - std::min<std::uint32_t>(align, 2);
  const double lineHeight = em * 1.15;
  const double block = lineHeight * static_cast<double>(lines.size());
  double top = rc.y;
  if (rc.h > 0 && sf.lineAlign == 1) top += (rc.h - block) / 2;
  if (rc.h > 0 && sf.lineAlign == 2) top += rc.h - block;
  double x = rc.x;
  const char* anchor = "start";
  if (align == 1) {
    x += rc.w / 2;
    anchor = "middle";
  } else if (align == 2) {
    x += rc.w;
    anchor = "end";
  }
  OpenClip();
  out_ += TextStart(f, m, em, paint) + " text-anchor=\"" + anchor + "\">";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out_ += "<tspan x=\"" + Number(x) + "\" y=\"" +
            Number(top + em * 0.9 + lineHeight * static_cast<double>(i)) + "\">" +
            Escape(lines[i]) + "</tspan>";
  }
  out_ += "</text>\n";
  drew_ = true;
}

void Player::DriverText(std::uint16_t flags, Reader& r) {
  const std::uint32_t brush = r.U32(), options = r.U32(), hasMatrix = r.U32(), count = r.U32();
  const Object* font = Slot(flags & 0xFF, 6);
  // glyph indices without the character map cannot be drawn as text
  if (r.failed || !font || !(options & 0x1) || count == 0 || count > kMaxGlyphs ||
      count > r.Left() / 10 || Full()) {
    return;
  }
  qp::Text glyphs;
  for (std::uint32_t i = 0; i < count; ++i) glyphs += static_cast<char16_t>(r.U16());
  std::vector<Point> at = ReadPoints(r, count, false, false);
  std::optional<Matrix> extra;
  if (hasMatrix) extra = ReadMatrix(r);
  if (r.failed || at.size() != count) return;
  const Font& f = *font->font;
  const Matrix m = extra ? Then(*extra, Current()) : Current();
  const double em = EmSize(f, m, dpiY_, device_.Scale());
  std::string paint = BrushPaint(flags & kColorBrush, brush, "fill");
  if (em == 0 || paint.empty()) return;
  OpenClip();
  out_ += TextStart(f, m, em, paint) + ">";
  // positions of every glyph, unless the advances are the font's own
  const std::size_t runs = (options & 0x4) ? 1 : glyphs.size();
  for (std::size_t i = 0; i < runs; ++i) {
    const Point p = at[i];
    qp::Text run = (options & 0x4) ? glyphs : glyphs.substr(i, 1);
    // a surrogate pair stays in one run
    if (!(options & 0x4) && run[0] >= 0xD800 && run[0] < 0xDC00 && i + 1 < glyphs.size()) {
      run += glyphs[++i];
    }
    out_ += "<tspan x=\"" + Number(p.x) + "\" y=\"" + Number(p.y) + "\">" +
            Escape(TextToUtf8(run)) + "</tspan>";
  }
  out_ += "</text>\n";
  drew_ = true;
}

}  // namespace qp::draw::emfplus
