#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;

constexpr auto kSheet = &RevisionState::StyleSheetText;
const auto kPass = [](RevisionState& st) { Rev_Unit(st); };

TEST(RevUnit, LengthsBecomeWholePixels) {
  ExpectExamples(kPass, kSheet,
                 {
                     {"p {font-size:10.5pt;}", "p {font-size:14px;}"},
                     {"p {margin:0mm 0mm 0mm 0mm}", "p {margin:0px 0px 0px 0px}"},
                     {"p {text-indent:1.0gd;}", "p {text-indent:13px;}"},
                     {"p {margin:0.25mm 1mm 0mm 0mm}", "p {margin:1px 4px 0px 0px}"},
                     {"p {a:-1.5pt;b:-0.375pt;c:+3pt;}", "p {a:-2px;b:0px;c:4px;}"},
                     {"p {line-height:12pt", "p {line-height:12pt"},  // no end character
                     {"p {x:a12pt;y:apt ;}", "p {x:a12pt;y:apt ;}"},  // not a number
                     {"p {font-size:10PT;}", "p {font-size:10PT;}"},
                     {"12pt;", "12pt;"},  // neither blank nor colon in front
                     {"p {a:1pt 2pt 3pt;}", "p {a:1px 3px 4px;}"},
                     {"p {a:.5pt;b:5.pt;}", "p {a:1px;b:7px;}"},
                     {"p {text-indent:2gd;}", "p {text-indent:27px;}"},  // base 10, always
                 });
}

}  // namespace
}  // namespace qp::revise
