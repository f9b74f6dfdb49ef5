#include "draw/emf_records.h"

#include <cstdint>

#include "draw/metafile_kind.h"

namespace qp::draw {

namespace {

constexpr std::uint32_t kHeader = 1, kEof = 14;
// The header's fields, by their offset in the record.
constexpr std::size_t kBytesAt = 48, kRecordsAt = 52, kDescriptionCountAt = 60, kDescriptionAt = 64,
                      kPixelFormatSizeAt = 88, kPixelFormatAt = 92;
constexpr std::size_t kBaseHeader = 88, kHeaderWithPixelFormat = 100;

void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// Zeroes a (count, offset) pair of header fields whose data would lie
// outside the header's `size` bytes; `unit` is the size of one item.
void KeepInside(std::string& header, std::size_t countAt, std::size_t offsetAt,
                std::uint64_t unit) {
  std::uint64_t end = Le32(header, offsetAt) + Le32(header, countAt) * unit;
  if (Le32(header, countAt) != 0 && end > header.size()) {
    Put32(header, countAt, 0);
    Put32(header, offsetAt, 0);
  }
}

}  // namespace

std::string SoundEmf(std::string_view bytes) {
  std::size_t at = 0;
  std::uint32_t records = 0;
  bool ended = false;
  while (!ended && bytes.size() - at >= 8) {
    std::uint32_t type = Le32(bytes, at), size = Le32(bytes, at + 4);
    if (size < 8 || size % 4 != 0 || size > bytes.size() - at) break;
    if (at == 0 && (type != kHeader || size < kBaseHeader)) return {};
    ended = type == kEof;
    at += size;
    ++records;
  }
  if (records == 0) return {};
  std::string sound(bytes.substr(0, at));
  if (!ended) {
    // EMR_EOF: no palette entries, their offset, and its own size last.
    for (std::uint32_t field : {kEof, 20u, 0u, 16u, 20u}) {
      sound.append(4, '\0');
      Put32(sound, sound.size() - 4, field);
    }
    ++records;
  }
  std::string header = sound.substr(0, Le32(sound, 4));
  KeepInside(header, kDescriptionCountAt, kDescriptionAt, 2);
  if (header.size() >= kHeaderWithPixelFormat) {
    KeepInside(header, kPixelFormatSizeAt, kPixelFormatAt, 1);
  }
  Put32(header, kBytesAt, static_cast<std::uint32_t>(sound.size()));
  Put32(header, kRecordsAt, records);
  sound.replace(0, header.size(), header);
  return sound;
}

}  // namespace qp::draw
