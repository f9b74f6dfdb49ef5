// Equations as pictures of their own size, as Word's page shows them: the
// layout (draw/math_layout.h) gives the size here, the drawing worker draws
// it, and the linear text is the picture's alternative text. Where nothing
// can be drawn the linear text itself stays on the page.
#include "draw/math_layout.h"
#include "generate/word/body_writer.h"
#include "generate/word/math_text.h"
#include "generate/word/xml_part.h"
#include "text/ustring.h"

namespace qp::word {

namespace {

// The linear HTML as plain text for an attribute: scripts as ^ and _
// (in brackets when longer than one character), other tags dropped,
// quotes escaped.
Text AltText(const Text& html) {
  Text out;
  std::size_t scriptAt = Text::npos;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html[i] == u'<') {
      std::size_t end = html.find(u'>', i);
      if (end == Text::npos) break;
      TextView tag(html.data() + i, end - i + 1);
      if (tag == u"<sup>" || tag == u"<sub>") {
        out += tag == u"<sup>" ? u"^(" : u"_(";
        scriptAt = out.size();
      } else if ((tag == u"</sup>" || tag == u"</sub>") && scriptAt != Text::npos) {
        if (out.size() - scriptAt == 1) {
          out.erase(scriptAt - 1, 1);  // one character needs no brackets
        } else {
          out += u')';
        }
        scriptAt = Text::npos;
      }
      i = end;
    } else if (html[i] == u'"') {
      out += u"&quot;";
    } else {
      out += html[i];
    }
  }
  return out;
}

}  // namespace

Text DisplayEquationAlignment(const pugi::xml_node& p) {
  pugi::xml_node para;
  for (pugi::xml_node child : p.children()) {
    std::string_view local = LocalName(child);
    if (local == "oMathPara") {
      if (para) return {};
      para = child;
    } else if (local != "pPr" && local != "bookmarkStart" && local != "bookmarkEnd") {
      return {};
    }
  }
  if (!para) return {};
  // Word centres a display equation unless its justification says otherwise.
  std::string jc = Attr(Child(Child(para, "oMathParaPr"), "jc"), "val").value();
  if (jc == "left") return u"left";
  if (jc == "right") return u"right";
  return u"center";
}

void BodyWriter::Equation(const pugi::xml_node& math, std::vector<InlinePiece>& pieces) {
  Text linear = MathHtml(math);
  if (linear.empty()) return;
  std::string xml = FragmentXml(math);
  draw::MathSize size = draw::MeasureMath(xml);
  draw::Picture drawn;
  if (size.ok) {
    drawn = state_.pictures.Drawings().Shape(xml, state_.doc.palette, size.width, size.height);
  }
  if (!size.ok || !drawn.note.empty() || drawn.png.empty()) {
    pieces.push_back({{}, linear, {}, true});
    return;
  }
  Text file = state_.pictures.AddDrawn(drawn, "equation");
  long w = static_cast<long>(size.width), h = static_cast<long>(size.height);
  // On the text's baseline: the picture's bottom sinks by the equation's
  // depth below it.
  long sink = static_cast<long>(size.descent + 0.5);
  Text img = u"<img width=" + T(std::to_string(w)) + u" height=" + T(std::to_string(h)) +
             u" src=\"" + state_.stem + u".files/" + file + u"\"" +
             (sink > 0 ? u" style='vertical-align:-" + T(std::to_string(sink)) + u"px'" : Text()) +
             u" alt=\"" + AltText(linear) + u"\" v:shapes=\"_x0000_i" +
             T(std::to_string(state_.shapeId++)) + u"\">";
  pieces.push_back({{}, img, {}, true});
}

}  // namespace qp::word
