#include "app/messages.h"

#include <algorithm>

#include "app/shell.h"
#include "text/number.h"

namespace qp::app {

int MessageStyle(int iconKind, int buttons, int defaultButton) {
  static constexpr int kIconStyles[] = {0, 16, 32, 48, 64};
  static constexpr int kDefaultStyles[] = {0, 0, 256, 512, 768};
  if (iconKind < 0 || iconKind > 4 || defaultButton < 0 || defaultButton > 4) {
    Raise(err::kInvalidArgument, u"プロシージャの呼び出し、または引数が不正です。");
  }
  const long style =
      static_cast<long>(kIconStyles[iconKind]) + buttons + kDefaultStyles[defaultButton];
  if (style < -32768 || style > 32767) Raise(err::kOverflow, u"オーバーフローしました。");
  return static_cast<int>(style);
}

Text NotesMessage(const std::vector<Text>& notes) {
  Text text = u"ページの作成について、次のお知らせがあります。    |";
  const std::size_t shown = std::min(notes.size(), kNotesShown);
  for (std::size_t i = 0; i < shown; ++i) text += u"|" + notes[i];
  if (notes.size() > shown) {
    text += u"|（ほかに " + FormatInteger(static_cast<long long>(notes.size() - shown)) +
            u" 件のお知らせがあります）";
  }
  return text;
}

int Srv_Dsp_Msg(Desktop& desktop, TextView text, int iconKind, int buttons, int defaultButton) {
  Trap trap("Mod_Sub -> Srv_Dsp_Msg");
  try {
    trap.Step(2);
    desktop.SetWaitCursor(false);  // a caller may have left the wait cursor on
    trap.Step(3);
    const Text shown = Replace(text, u"|", u"\r\n");
    trap.Step(4);
    const int style = MessageStyle(iconKind, buttons, defaultButton);
    trap.Step(5);
    return desktop.MessageBox(desktop.Translate(shown), style, desktop.Translate(kMessageCaption));
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::app
