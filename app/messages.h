// The message service's pieces: the caption and the style arithmetic.
// Srv_Dsp_Msg itself is declared in app/shell.h.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace qp::app {

inline constexpr char16_t kMessageCaption[] = u"「Quillpage」 for Word";

// Message-box style value: the icon kind's value (0 none, 16 stop, 32
// question, 48 warning, 64 information) + the button code + the default
// button's value (0, 0, 256, 512, 768). Raises 5 for an icon kind or default
// button outside 0 to 4, and 6 when the sum leaves a signed 16-bit number.
int MessageStyle(int iconKind, int buttons, int defaultButton);

// The one message that lists the notes of a run ("|" between the lines):
// the first kNotesShown of them, then how many more there are.
inline constexpr std::size_t kNotesShown = 30;
Text NotesMessage(const std::vector<Text>& notes);

}  // namespace qp::app
