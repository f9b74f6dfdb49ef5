// Whole-file reads: exact bytes whatever the size the file system reports,
// and an error (never a partial or empty result) for what cannot be read.
#include "text/file_bytes.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/generate/temp_folder.h"

namespace qp {
namespace {

namespace fs = std::filesystem;
using gen::testing::TempFolder;
using gen::testing::WriteBytes;

TEST(ReadFileBytes, GivesEveryByteOfFilesOfAnySize) {
  TempFolder dir;
  std::string large(3 * 65536 + 17, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 % 251);
  for (const std::string& bytes : {std::string(), std::string("\0\r\n\x81\x40", 5), large}) {
    WriteBytes(dir.path() / "f", bytes);
    std::error_code ec;
    const auto read = ReadFileBytes(dir.path() / "f", ec);
    ASSERT_TRUE(read.has_value()) << ec.message();
    EXPECT_EQ(*read, bytes);
    EXPECT_FALSE(ec);
  }
}

TEST(ReadFileBytes, ReadsFilesThatReportNoSize) {
  // /proc files say 0 bytes and hold more.
  std::error_code ec;
  const auto read = ReadFileBytes("/proc/self/status", ec);
  ASSERT_TRUE(read.has_value()) << ec.message();
  EXPECT_NE(read->find("Name:"), std::string::npos);
}

TEST(ReadFileBytes, MissingFilesAndFoldersAreErrors) {
  TempFolder dir;
  std::error_code ec;
  EXPECT_FALSE(ReadFileBytes(dir.path() / "missing", ec).has_value());
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
  EXPECT_FALSE(ReadFileBytes(dir.path(), ec).has_value());
  EXPECT_EQ(ec, std::errc::is_a_directory);
}

}  // namespace
}  // namespace qp
