#include "ui/message_box.h"

namespace qp::ui {

namespace {

BoxIcon IconOf(int style) {
  switch (style & 0xF0) {
    case 16:
      return BoxIcon::Stop;
    case 32:
      return BoxIcon::Question;
    case 48:
      return BoxIcon::Warning;
    case 64:
      return BoxIcon::Information;
    default:
      return BoxIcon::None;
  }
}

std::vector<int> ButtonsOf(int style) {
  using namespace button;
  switch (style & 0x0F) {
    case 1:
      return {kOk, kCancel};
    case 2:
      return {kAbort, kRetry, kIgnore};
    case 3:
      return {kYes, kNo, kCancel};
    case 4:
      return {kYes, kNo};
    case 5:
      return {kRetry, kCancel};
    default:
      return {kOk};
  }
}

}  // namespace

BoxLayout DecodeMessageBoxStyle(int style) {
  BoxLayout layout;
  layout.icon = IconOf(style);
  layout.buttons = ButtonsOf(style);
  const int wanted = (style >> 8) & 0x0F;  // 256, 512, 768 -> 1, 2, 3
  layout.defaultIndex = wanted < static_cast<int>(layout.buttons.size()) ? wanted : 0;
  // Esc and the close box answer Cancel where there is one, OK where OK is the
  // only choice, and nothing where the user has to decide (Yes/No, Abort/Retry/Ignore).
  for (int code : layout.buttons) {
    if (code == button::kCancel) layout.escapeCode = button::kCancel;
  }
  if (layout.buttons.size() == 1) layout.escapeCode = layout.buttons.front();
  return layout;
}

}  // namespace qp::ui
