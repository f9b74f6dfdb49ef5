#include "generate/word/zip_archive.h"

#include <zip.h>

#include "generate/word/word_app.h"
#include "text/failure.h"

namespace qp::word {

struct ZipArchive::Handle {
  zip_t* zip = nullptr;
  ~Handle() {
    if (zip) zip_discard(zip);
  }
};

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool IsSafePartName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

ZipArchive::ZipArchive(std::string bytes) : bytes_(std::move(bytes)), handle_(new Handle) {
  // An empty archive is a valid zip, but never a document.
  if (bytes_.size() < 22 || bytes_.compare(0, 2, "PK") != 0) {
    Raise(err::kFileOpenFailed, T("The file is not a zip package."));
  }
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
  if (source) {
    handle_->zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!handle_->zip) zip_source_free(source);
  }
  zip_error_fini(&error);
  if (!handle_->zip) Raise(err::kFileOpenFailed, T("The file is not a zip package."));
  zip_int64_t count = zip_get_num_entries(handle_->zip, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(handle_->zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    std::string entry = name ? name : "";
    if (entry.empty() || entry.back() == '/') continue;  // folders
    if (!IsSafePartName(entry)) {
      Raise(err::kFileCorrupt, T("The package holds an entry named outside itself."));
    }
    names_.push_back(std::move(entry));
  }
}

ZipArchive::~ZipArchive() = default;

bool ZipArchive::Has(std::string_view name) const {
  for (const std::string& n : names_) {
    if (SameNoCase(n, name)) return true;
  }
  return false;
}

std::string ZipArchive::Read(std::string_view name) {
  zip_int64_t index = -1;
  zip_int64_t count = zip_get_num_entries(handle_->zip, 0);
  for (zip_int64_t i = 0; i < count && index < 0; ++i) {
    const char* n = zip_get_name(handle_->zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (n && SameNoCase(n, name)) index = i;
  }
  if (index < 0) Raise(err::kFileCorrupt, T("A part of the document is missing."));
  zip_file_t* file = zip_fopen_index(handle_->zip, static_cast<zip_uint64_t>(index), 0);
  if (!file) Raise(err::kFileCorrupt, T("A part of the document cannot be read."));
  std::string out;
  char buffer[65536];
  for (;;) {
    zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
    if (got < 0) {
      zip_fclose(file);
      Raise(err::kFileCorrupt, T("A part of the document cannot be read."));
    }
    if (got == 0) break;
    inflatedTotal_ += static_cast<std::uint64_t>(got);
    if (out.size() + static_cast<std::size_t>(got) > kMaxPartBytes ||
        inflatedTotal_ > kMaxTotalBytes) {
      zip_fclose(file);
      Raise(err::kFileCorrupt, T("A part of the document is larger than the engine reads."));
    }
    out.append(buffer, static_cast<std::size_t>(got));
  }
  // A checksum mismatch shows only when the whole entry has been read.
  if (zip_fclose(file) != 0) Raise(err::kFileCorrupt, T("A part of the document is damaged."));
  return out;
}

}  // namespace qp::word
