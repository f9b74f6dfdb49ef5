// The EMF record walk on arbitrary bytes: what it hands the player is
// either nothing or a header, sound records and one end record last, with
// the header's counts true. Anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "draw/emf_records.h"

namespace {

std::uint32_t At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string emf = qp::draw::SoundEmf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (emf.empty()) return 0;
  std::size_t at = 0;
  std::uint32_t records = 0, type = 0;
  while (at < emf.size()) {
    if (emf.size() - at < 8) std::abort();
    type = At(emf, at);
    std::uint32_t length = At(emf, at + 4);
    if (length < 8 || length % 4 != 0 || length > emf.size() - at) std::abort();
    if (type == 14 && at + length != emf.size()) std::abort();  // the end record is last
    at += length;
    ++records;
  }
  if (type != 14 || At(emf, 0) != 1 || At(emf, 48) != emf.size() || At(emf, 52) != records) {
    std::abort();
  }
  return 0;
}
