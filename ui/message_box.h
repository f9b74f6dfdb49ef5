// The message box in the form the shell asks for it: a Windows message-box
// style value (icon + button set + default button) in, a Windows button code
// out. The decoding is kept apart from Qt so that it can be tested alone.
#pragma once

#include <vector>

namespace qp::ui {

// Button codes, as the shell's callers compare them.
namespace button {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace button

enum class BoxIcon { None, Stop, Question, Warning, Information };

struct BoxLayout {
  BoxIcon icon = BoxIcon::None;
  std::vector<int> buttons;  // button codes, left to right
  int defaultIndex = 0;      // into `buttons`
  int escapeCode = 0;        // what Esc or the close box answers; 0 = they do nothing
};

// Decodes a style value. Unknown button sets fall back to OK alone, and a
// default button beyond the last one falls back to the first, as the Windows
// box does.
BoxLayout DecodeMessageBoxStyle(int style);

}  // namespace qp::ui
