// Number formats of list labels, the Japanese ones included.
#pragma once

#include <string_view>

#include "text/ustring.h"

namespace qp::word {

// `n` in the w:numFmt format `format` ("decimal", "upperRoman",
// "aiueoFullWidth", "decimalEnclosedCircle", ...). Unknown formats give
// decimal digits, "none" gives "".
Text FormatListNumber(long n, std::string_view format);

// The width in points of the tab after a label `label` in a font of
// `fontPoints`, on a first line that starts `firstStart` points from the
// margin of a paragraph indented `left` points: up to the hanging indent
// when the label ends before it, else up to the next default tab stop
// (every `defaultTab` points). The label's width is estimated: full-width
// characters one em (their punctuation half with `compressPunctuation`, as
// Japanese documents set it), others about half.
struct LabelTab {
  double points = 0;
  bool toIndent = false;  // the tab ends on the hanging indent
};
LabelTab LabelTabAfter(TextView label, double fontPoints, double left, double firstStart,
                       double defaultTab, bool compressPunctuation);

// The blanks Word's pages fill such a tab with: non-breaking spaces in a
// 7 pt font (1.75 pt each), the last one an ordinary blank.
Text LabelTabFiller(double points);

}  // namespace qp::word
