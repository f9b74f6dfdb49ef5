// The settings file Control.ini: where it lives and how one option value
// reads. The procedures themselves are declared in app/shell.h.
#pragma once

#include <array>
#include <cstdint>

#include "generate/run_state.h"
#include "text/ustring.h"

namespace qp::app {

inline constexpr char16_t kSettingsSection[] = u"SYSTEM";
inline constexpr char16_t kMissingValue[] = u"%e";  // what GetINIVal returns for a missing key

// SettingsFolder + "/Control.ini".
Text SettingsFilePath(const gen::RunState& run);

// The six options in the order they are read and written.
struct OptionKey {
  const char16_t* key;
  std::uint8_t gen::Options::*field;
  const char16_t* fallback;  // used when the key is missing
};
const std::array<OptionKey, 6>& OptionKeys();

// A value as the option byte: a number, rounded half to even, within a
// signed 16-bit number and then 0 to 255. Raises 13 for a text that is not a
// number, 6 for a number out of range.
std::uint8_t OptionByte(TextView value);

}  // namespace qp::app
