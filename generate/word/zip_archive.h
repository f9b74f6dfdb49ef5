// Read-only access to the parts of a zip package held in memory. Entry names
// are only ever used as keys: nothing is extracted under a name taken from
// the archive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qp::word {

class ZipArchive {
 public:
  // A hostile file may claim small sizes in its headers and inflate to far
  // more; the caps are counted on the bytes actually inflated.
  static constexpr std::uint64_t kMaxPartBytes = 256ull << 20;
  static constexpr std::uint64_t kMaxTotalBytes = 1024ull << 20;

  // Raises kFileOpenFailed when the bytes are not a zip archive, and
  // kFileCorrupt when an entry name would climb out of the package
  // ("../x", "/x", "C:x").
  explicit ZipArchive(std::string bytes);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Part names compare without regard to case, as packages require.
  bool Has(std::string_view name) const;
  // Raises kFileCorrupt when the part is missing, broken or over the cap
  // (kMaxPartBytes, or `cap` when smaller).
  std::string Read(std::string_view name, std::uint64_t cap = kMaxPartBytes);
  const std::vector<std::string>& Names() const { return names_; }

 private:
  struct Handle;
  std::string bytes_;
  std::unique_ptr<Handle> handle_;
  std::vector<std::string> names_;
  std::uint64_t inflatedTotal_ = 0;
};

// True for an entry name that cannot escape the package when resolved.
bool IsSafePartName(std::string_view name);

}  // namespace qp::word
