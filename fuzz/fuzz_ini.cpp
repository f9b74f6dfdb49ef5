// The INI layer on arbitrary bytes: setting a value never loses another
// line, and the value reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qp::app::IniFile ini = qp::app::IniFile::Parse(bytes);
  // an untouched file comes back byte for byte
  if (ini.Serialize() != bytes) std::abort();
  (void)ini.Get(u"SYSTEM", u"SetCt");
  if (!ini.Set(u"SYSTEM", u"SetCt", u"1")) std::abort();
  const qp::Bytes written = ini.Serialize();
  const qp::app::IniFile again = qp::app::IniFile::Parse(written);
  if (again.Get(u"SYSTEM", u"SetCt") != qp::Text(u"1")) std::abort();
  return 0;
}
