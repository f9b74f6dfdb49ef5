#include "generate/word/zip_archive.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>

#include "generate/word/word_app.h"
#include "text/failure.h"

namespace qp::word {

namespace {

// The package is read from memory: minizip sees it through these functions
// as if it were a file. minizip reads its headers a byte at a time and takes
// the end of the file for a zero byte unless the stream reports an error, so
// a read that runs past the end (a cut-off package) is reported as one.
struct MemoryStream {
  std::string_view bytes;
  ZPOS64_T at = 0;
  bool readPastEnd = false;
};

voidpf OpenStream(voidpf opaque, const void*, int) {
  return opaque;
}
uLong ReadStream(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* s = static_cast<MemoryStream*>(stream);
  const ZPOS64_T left = s->at < s->bytes.size() ? s->bytes.size() - s->at : 0;
  if (size > left) s->readPastEnd = true;
  const uLong n = static_cast<uLong>(std::min<ZPOS64_T>(size, left));
  if (n > 0) std::memcpy(buffer, s->bytes.data() + s->at, n);
  s->at += n;
  return n;
}
uLong WriteStream(voidpf, voidpf, const void*, uLong) {
  return 0;
}
ZPOS64_T TellStream(voidpf, voidpf stream) {
  return static_cast<MemoryStream*>(stream)->at;
}
long SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* s = static_cast<MemoryStream*>(stream);
  ZPOS64_T base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = s->at;
  if (origin == ZLIB_FILEFUNC_SEEK_END) base = s->bytes.size();
  if (offset > s->bytes.size() - std::min<ZPOS64_T>(base, s->bytes.size())) return -1;
  s->at = base + offset;
  return 0;
}
int CloseStream(voidpf, voidpf) {
  return 0;
}
int StreamError(voidpf, voidpf stream) {
  return static_cast<MemoryStream*>(stream)->readPastEnd ? 1 : 0;
}

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

// Bit 0 of the general purpose flags: the entry is encrypted.
constexpr uLong kEncryptedFlag = 1;

}  // namespace

struct ZipArchive::Handle {
  MemoryStream stream;
  unzFile zip = nullptr;
  std::vector<unz64_file_pos> positions;  // beside names_, entry for entry
  std::vector<bool> encrypted;
  ~Handle() {
    if (zip) unzClose(zip);
  }
};

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
  handle_->stream.bytes = bytes_;
  zlib_filefunc64_def io{OpenStream, ReadStream,  WriteStream, TellStream,
                         SeekStream, CloseStream, StreamError, &handle_->stream};
  handle_->zip = unzOpen2_64("package", &io);
  if (!handle_->zip) Raise(err::kFileOpenFailed, T("The file is not a zip package."));
  for (int status = unzGoToFirstFile(handle_->zip); status != UNZ_END_OF_LIST_OF_FILE;
       status = unzGoToNextFile(handle_->zip)) {
    unz_file_info64 info{};
    if (status != UNZ_OK || unzGetCurrentFileInfo64(handle_->zip, &info, nullptr, 0, nullptr, 0,
                                                    nullptr, 0) != UNZ_OK) {
      Raise(err::kFileOpenFailed, T("The file is not a zip package."));
    }
    std::string entry(info.size_filename, '\0');
    unz64_file_pos position{};
    if (unzGetCurrentFileInfo64(handle_->zip, &info, entry.data(), static_cast<uLong>(entry.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzGetFilePos64(handle_->zip, &position) != UNZ_OK) {
      Raise(err::kFileOpenFailed, T("The file is not a zip package."));
    }
    if (entry.empty() || entry.back() == '/') continue;  // folders
    if (!IsSafePartName(entry)) {
      Raise(err::kFileCorrupt, T("The package holds an entry named outside itself."));
    }
    names_.push_back(std::move(entry));
    handle_->positions.push_back(position);
    handle_->encrypted.push_back((info.flag & kEncryptedFlag) != 0);
  }
}

ZipArchive::~ZipArchive() = default;

bool ZipArchive::Has(std::string_view name) const {
  for (const std::string& n : names_) {
    if (SameNoCase(n, name)) return true;
  }
  return false;
}

std::string ZipArchive::Read(std::string_view name, std::uint64_t cap) {
  const auto found = std::find_if(names_.begin(), names_.end(),
                                  [&](const std::string& n) { return SameNoCase(n, name); });
  if (found == names_.end()) Raise(err::kFileCorrupt, T("A part of the document is missing."));
  const auto index = static_cast<std::size_t>(found - names_.begin());
  // Without the password an encrypted entry would inflate to noise.
  if (handle_->encrypted[index] ||
      unzGoToFilePos64(handle_->zip, &handle_->positions[index]) != UNZ_OK ||
      unzOpenCurrentFile(handle_->zip) != UNZ_OK) {
    Raise(err::kFileCorrupt, T("A part of the document cannot be read."));
  }
  std::string out;
  char buffer[65536];
  for (;;) {
    const int got = unzReadCurrentFile(handle_->zip, buffer, sizeof buffer);
    if (got < 0) {
      unzCloseCurrentFile(handle_->zip);
      Raise(err::kFileCorrupt, T("A part of the document cannot be read."));
    }
    if (got == 0) break;
    inflatedTotal_ += static_cast<std::uint64_t>(got);
    if (out.size() + static_cast<std::size_t>(got) > std::min(cap, kMaxPartBytes) ||
        inflatedTotal_ > kMaxTotalBytes) {
      unzCloseCurrentFile(handle_->zip);
      Raise(err::kFileCorrupt, T("A part of the document is larger than the engine reads."));
    }
    out.append(buffer, static_cast<std::size_t>(got));
  }
  // A checksum mismatch shows only when the whole entry has been read.
  if (unzCloseCurrentFile(handle_->zip) != UNZ_OK) {
    Raise(err::kFileCorrupt, T("A part of the document is damaged."));
  }
  return out;
}

}  // namespace qp::word
