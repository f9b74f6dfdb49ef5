#include "app/settings.h"

#include "app/profile.h"
#include "app/shell.h"
#include "text/codec.h"
#include "text/number.h"

namespace qp::app {

Text SettingsFilePath(const gen::RunState& run) {
  return run.SettingsFolder + u"/Control.ini";
}

const std::array<OptionKey, 6>& OptionKeys() {
  static constexpr std::array<OptionKey, 6> kKeys = {{
      {u"SetCt", &gen::Options::SetCt, u"0"},
      {u"SetPW", &gen::Options::SetPW, u"0"},
      {u"LGrid", &gen::Options::LGrid, u"1"},
      {u"Prevw", &gen::Options::Prevw, u"1"},
      {u"Encod", &gen::Options::Encod, u"0"},
      {u"AddSS", &gen::Options::AddSS, u"0"},
  }};
  return kKeys;
}

std::uint8_t OptionByte(TextView value) {
  const std::optional<double> number = ParseDecimal(value);
  if (!number) Raise(err::kTypeMismatch, u"型が一致しません。");
  const double whole = RoundHalfEven(*number);
  if (whole < -32768 || whole > 32767 || whole < 0 || whole > 255) {
    Raise(err::kOverflow, u"オーバーフローしました。");
  }
  return static_cast<std::uint8_t>(whole);
}

void Get_Opt_Inf(gen::RunState& run) {
  Trap trap("Mod_Main -> Get_Opt_Inf");
  try {
    int step = 0;
    for (const OptionKey& option : OptionKeys()) {
      trap.Step(++step);
      Text value = GetINIVal(run, option.key, kSettingsSection);
      if (value == kMissingValue) value = option.fallback;
      // A value that does not read as a byte (empty, letters, negative, 256
      // or more) takes the key's default, as a missing key does: one bad
      // line must not end every start, the settings window's included,
      // which then saves a good value. Readable values are kept as they are.
      std::uint8_t byte = 0;
      if (IgnoreFailures([&] { byte = OptionByte(value); }) != 0) {
        byte = OptionByte(option.fallback);
      }
      run.Opt.*option.field = byte;
    }
  } catch (...) {
    trap.Fail();
  }
}

void Sav_Opt_Fil(gen::RunState& run) {
  // Saving never reports a failure: a settings file that cannot be written
  // keeps its old values and the options in memory are unchanged.
  for (const OptionKey& option : OptionKeys()) {
    IgnoreFailures([&] {
      SetINIVal(run, FormatInteger(run.Opt.*option.field), option.key, kSettingsSection);
    });
  }
}

Text GetINIVal(const gen::RunState& run, TextView key, TextView section) {
  Trap trap("Mod_Sub -> GetINIVal");
  try {
    trap.Step(1);
    return ReadProfileString(ToPath(SettingsFilePath(run)), section, key, kMissingValue);
  } catch (...) {
    trap.Fail();
  }
}

bool SetINIVal(const gen::RunState& run, TextView value, TextView key, TextView section) {
  Trap trap("Mod_Sub -> SetINIVal");
  try {
    trap.Step(1);
    return WriteProfileString(ToPath(SettingsFilePath(run)), section, key, value);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::app
