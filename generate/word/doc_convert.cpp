#include "generate/word/doc_convert.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "generate/word/word_app.h"
#include "sys/child_process.h"
#include "text/failure.h"
#include "text/file_bytes.h"

namespace qp::word {

namespace {

// A folder under the system's temporary folder, removed with its contents
// when the conversion ends in any way.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillpage-doc-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) Raise(err::kConverterFailed, T("No temporary folder."));
    path_ = buffer.data();
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::filesystem::path FindConverter() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::filesystem::path candidate =
        std::filesystem::path(dirs.substr(start, end - start)) / "soffice";
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

std::string FileUrl(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path.string()) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

std::string ConvertDocToDocx(const std::string& docBytes, Notes& notes,
                             std::chrono::seconds timeLimit) {
  std::filesystem::path soffice = FindConverter();
  if (soffice.empty()) {
    notes.Add(u".doc files need LibreOffice; install the package libreoffice-writer-nogui");
    Raise(err::kConverterMissing, T("LibreOffice is not installed."));
  }
  TempFolder temp;
  std::filesystem::path input = temp.path() / "document.doc";
  std::filesystem::path outDir = temp.path() / "out";
  std::filesystem::create_directory(outDir);
  {
    std::ofstream out(input, std::ios::binary);
    out.write(docBytes.data(), static_cast<std::streamsize>(docBytes.size()));
    if (!out) Raise(err::kConverterFailed, T("The document cannot be copied for conversion."));
  }
  // A profile of its own: one shared with a running LibreOffice would hand
  // the job to that instance and return at once.
  std::vector<std::string> args = {
      soffice.string(), "-env:UserInstallation=" + FileUrl(temp.path() / "profile"),
      "--headless",     "--norestore",
      "--convert-to",   "docx",
      "--outdir",       outDir.string(),
      input.string()};
  // Its own process group, so that a converter out of time is killed with
  // every helper it started.
  const sys::ChildEnd end = sys::RunWithin(
      {args, sys::ChildEnvironment({"HOME=" + temp.path().string()}), sys::ChildSetup::Group::Own},
      timeLimit);
  if (end.how == sys::ChildEnd::How::Running) {
    Raise(err::kConverterTimedOut, T("LibreOffice did not convert the document in time."));
  }
  // soffice exits 0 even when it made nothing: the output decides.
  std::error_code ec;
  std::string bytes = ReadFileBytes(outDir / "document.docx", ec).value_or(std::string());
  if (bytes.size() < 4 || bytes.compare(0, 2, "PK") != 0) {
    Raise(err::kConverterFailed, T("LibreOffice made nothing of the document."));
  }
  return bytes;
}

}  // namespace qp::word
