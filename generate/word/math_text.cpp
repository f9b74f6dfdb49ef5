#include "generate/word/math_text.h"

#include <string>

#include "generate/word/html_text.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

constexpr int kMaxDepth = 60;  // deeper equations are written flat

Text Inner(const pugi::xml_node& node, int depth);

Text Part(const pugi::xml_node& node, std::string_view local, int depth) {
  return Inner(Child(node, local), depth);
}

// A property's m:val (chr, begChr, ...), or `fallback` when the property is
// missing; a property present with an empty value shows nothing.
Text CharProp(const pugi::xml_node& props, std::string_view local, TextView fallback) {
  pugi::xml_node p = Child(props, local);
  if (!p) return Text(fallback);
  pugi::xml_attribute val = Attr(p, "val");
  return val ? EscapeText(U(val.value())) : Text(fallback);
}

bool On(const pugi::xml_node& props, std::string_view local) {
  pugi::xml_node p = Child(props, local);
  if (!p) return false;
  std::string_view v = Attr(p, "val").value();
  return v.empty() || v == "1" || v == "on" || v == "true";
}

// An operand that is more than one number or letter goes in brackets, so
// that a/b keeps its meaning: (x+1)/2, (2a).
Text Operand(const Text& html) {
  bool number = !html.empty();
  for (char16_t c : html) number = number && ((c >= u'0' && c <= u'9') || c == u'.');
  bool letter = html.size() == 1 || (html.size() == 2 && html[0] >= 0xD800 && html[0] < 0xDC00);
  return number || letter ? html : u"(" + html + u")";
}

Text Scripts(const pugi::xml_node& node, int depth) {
  Text out;
  Text sub = Part(node, "sub", depth), sup = Part(node, "sup", depth);
  if (!sub.empty()) out += u"<sub>" + sub + u"</sub>";
  if (!sup.empty()) out += u"<sup>" + sup + u"</sup>";
  return out;
}

Text Fraction(const pugi::xml_node& f, int depth) {
  Text num = Part(f, "num", depth), den = Part(f, "den", depth);
  std::string type = ChildVal(Child(f, "fPr"), "type");
  if (type == "noBar") return num + u" " + den;  // a binomial inside its brackets
  if (type == "lin" || type == "skw") return num + u"/" + den;
  return Operand(num) + u"/" + Operand(den);
}

Text Delimiter(const pugi::xml_node& d, int depth) {
  pugi::xml_node props = Child(d, "dPr");
  Text sep = CharProp(props, "sepChr", u"|");
  Text out = CharProp(props, "begChr", u"(");
  bool first = true;
  for (pugi::xml_node e : d.children()) {
    if (LocalName(e) != "e") continue;
    if (!first) out += sep;
    out += Inner(e, depth);
    first = false;
  }
  return out + CharProp(props, "endChr", u")");
}

Text Nary(const pugi::xml_node& n, int depth) {
  pugi::xml_node props = Child(n, "naryPr");
  Text out = CharProp(props, "chr", u"∫");
  if (!On(props, "subHide")) {
    Text sub = Part(n, "sub", depth);
    if (!sub.empty()) out += u"<sub>" + sub + u"</sub>";
  }
  if (!On(props, "supHide")) {
    Text sup = Part(n, "sup", depth);
    if (!sup.empty()) out += u"<sup>" + sup + u"</sup>";
  }
  return out + Part(n, "e", depth);
}

Text Radical(const pugi::xml_node& r, int depth) {
  Text out;
  Text degree = Part(r, "deg", depth);
  if (!degree.empty() && !On(Child(r, "radPr"), "degHide")) out += u"<sup>" + degree + u"</sup>";
  return out + u"√" + Operand(Part(r, "e", depth));
}

Text Matrix(const pugi::xml_node& m, int depth) {
  Text out;
  for (pugi::xml_node row : m.children()) {
    if (LocalName(row) != "mr") continue;
    if (!out.empty()) out += u"; ";
    bool first = true;
    for (pugi::xml_node e : row.children()) {
      if (LocalName(e) != "e") continue;
      if (!first) out += u" ";
      out += Inner(e, depth);
      first = false;
    }
  }
  return out;
}

Text Element(const pugi::xml_node& node, int depth) {
  std::string_view local = LocalName(node);
  if (local == "r") {
    Text text;
    for (pugi::xml_node t : node.children()) {
      if (LocalName(t) == "t") text += U(t.text().get());
    }
    return EscapeText(text);
  }
  if (local == "f") return Fraction(node, depth);
  if (local == "sSup" || local == "sSub" || local == "sSubSup") {
    return Part(node, "e", depth) + Scripts(node, depth);
  }
  if (local == "sPre") return Scripts(node, depth) + Part(node, "e", depth);
  if (local == "nary") return Nary(node, depth);
  if (local == "rad") return Radical(node, depth);
  if (local == "d") return Delimiter(node, depth);
  if (local == "m") return Matrix(node, depth);
  if (local == "func") {
    Text name = Part(node, "fName", depth), arg = Part(node, "e", depth);
    return arg.rfind(u"(", 0) == 0 ? name + arg : name + u" " + arg;
  }
  if (local == "limLow")
    return Part(node, "e", depth) + u"<sub>" + Part(node, "lim", depth) + u"</sub>";
  if (local == "limUpp")
    return Part(node, "e", depth) + u"<sup>" + Part(node, "lim", depth) + u"</sup>";
  if (local == "eqArr") {
    Text out;
    for (pugi::xml_node e : node.children()) {
      if (LocalName(e) != "e") continue;
      if (!out.empty()) out += u"<br>";
      out += Inner(e, depth);
    }
    return out;
  }
  if (local == "acc") {
    return Part(node, "e", depth) + CharProp(Child(node, "accPr"), "chr", u"\u0302");
  }
  if (local.size() > 2 && local.substr(local.size() - 2) == "Pr") return {};  // properties
  return Inner(node, depth);  // boxes, bars, phantoms, groups, m:e and the like
}

Text Inner(const pugi::xml_node& node, int depth) {
  Text out;
  if (depth > kMaxDepth) {
    for (pugi::xpath_node t : node.select_nodes(".//*[local-name()='t']")) {
      out += EscapeText(U(t.node().text().get()));
    }
    return out;
  }
  for (pugi::xml_node c : node.children()) out += Element(c, depth + 1);
  return out;
}

}  // namespace

Text MathHtml(const pugi::xml_node& math) {
  if (LocalName(math) != "oMathPara") return Inner(math, 0);
  Text out;
  for (pugi::xml_node m : math.children()) {
    if (LocalName(m) != "oMath") continue;
    if (!out.empty()) out += u"<br>";
    out += Inner(m, 0);
  }
  return out;
}

}  // namespace qp::word
