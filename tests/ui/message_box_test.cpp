// The style values the shell passes, decoded the way the Windows box reads them.
#include <gtest/gtest.h>

#include "ui/message_box.h"

namespace qp::ui {
namespace {

using namespace button;

struct StyleCase {
  int style;
  BoxIcon icon;
  std::vector<int> buttons;
  int defaultIndex;
  int escapeCode;
};

TEST(MessageBoxStyle, IconButtonsDefaultAndEscape) {
  const StyleCase cases[] = {
      // The shell's notices (warning, OK) and its error notice (information, OK).
      {48, BoxIcon::Warning, {kOk}, 0, kOk},
      {64, BoxIcon::Information, {kOk}, 0, kOk},
      // The failure report.
      {16, BoxIcon::Stop, {kOk}, 0, kOk},
      {0, BoxIcon::None, {kOk}, 0, kOk},
      {1, BoxIcon::None, {kOk, kCancel}, 0, kCancel},
      {2 + 512, BoxIcon::None, {kAbort, kRetry, kIgnore}, 2, 0},
      {32 + 3 + 256, BoxIcon::Question, {kYes, kNo, kCancel}, 1, kCancel},
      // Question, Yes/No, No the default: nothing but a choice closes it.
      {32 + 4 + 256, BoxIcon::Question, {kYes, kNo}, 1, 0},
      {5, BoxIcon::None, {kRetry, kCancel}, 0, kCancel},
      // A fourth default button where there are two falls back to the first.
      {4 + 768, BoxIcon::None, {kYes, kNo}, 0, 0},
      // Button sets the box does not know show OK alone.
      {48 + 9, BoxIcon::Warning, {kOk}, 0, kOk},
  };
  for (const StyleCase& c : cases) {
    const BoxLayout layout = DecodeMessageBoxStyle(c.style);
    EXPECT_EQ(layout.icon, c.icon) << c.style;
    EXPECT_EQ(layout.buttons, c.buttons) << c.style;
    EXPECT_EQ(layout.defaultIndex, c.defaultIndex) << c.style;
    EXPECT_EQ(layout.escapeCode, c.escapeCode) << c.style;
  }
}

}  // namespace
}  // namespace qp::ui
