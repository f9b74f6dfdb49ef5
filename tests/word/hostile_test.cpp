// Inputs made to hurt: each ends in a documented error number, never in a
// crash, and nothing is written outside the output folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "generate/word/doc_convert.h"
#include "generate/word/docx_content.h"
#include "generate/word/engine_document.h"
#include "generate/word/html_export.h"
#include "tests/word/docx_builder.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::test {
namespace {

const std::string kDocument =
    "<?xml version=\"1.0\"?><w:document xmlns:w=\"http://schemas.openxmlformats.org/"
    "wordprocessingml/2006/main\"><w:body><w:p><w:r><w:t>x</w:t></w:r></w:p></w:body>"
    "</w:document>";

// The error number opening (and exporting) `bytes` raises; 0 when it works.
int OpenError(const std::string& bytes) {
  try {
    word::DocxContent content(bytes);
    word::RenderHtml(content, {}, u"x", u"utf-8");
    return 0;
  } catch (const RuntimeError& e) {
    return e.code();
  }
}

TEST(WordHostile, BrokenPackagesRaiseDocumentedErrors) {
  EXPECT_EQ(OpenError("this is plain text, not a package"), word::err::kFileOpenFailed);
  EXPECT_EQ(OpenError(""), word::err::kFileOpenFailed);
  EXPECT_EQ(OpenError(ZipOf({{"word/other.xml", kDocument}})), word::err::kFileCorrupt);
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", "<w:document><w:body>"}})),
            word::err::kFileCorrupt);
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", "<?xml version=\"1.0\"?><root/>"}})),
            word::err::kFileCorrupt);
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", kDocument}})), 0);
}

TEST(WordHostile, ABrokenPartIsNamedWithWhereAndWhy) {
  try {
    word::DocxContent content(ZipOf({{"word/document.xml", "<w:document><w:body>"}}));
    ADD_FAILURE() << "opened";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.description(),
              u"The part word/document.xml of the document is not well-formed XML "
              u"(at byte 19: Start-end tags mismatch).");
  }
}

TEST(WordHostile, DoctypeIsRefusedInAnyPart) {
  std::string withDoctype =
      "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" +
      kDocument.substr(21);
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", withDoctype}})), word::err::kFileCorrupt);
  DocxBuilder b;
  b.Body("<w:p/>").Styles("<w:style w:styleId=\"a\"/>");
  std::string ok = b.Build();
  EXPECT_EQ(OpenError(ok), 0);
  std::string styles = "<?xml version=\"1.0\"?><!doctype x><w:styles/>";
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", kDocument},
                             {"word/styles.xml", styles},
                             {"word/_rels/document.xml.rels",
                              "<Relationships><Relationship Id=\"r\" Type=\"x/styles\" "
                              "Target=\"styles.xml\"/></Relationships>"}})),
            word::err::kFileCorrupt);
  // After a comment in the prolog, and in UTF-16, it is still found.
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", "<?xml version=\"1.0\"?><!-- c --><!DOCTYPE w>" +
                                                       kDocument.substr(21)}})),
            word::err::kFileCorrupt);
  std::string utf16 = "\xFF\xFE";
  for (char c : withDoctype) utf16 += std::string{c, '\0'};
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", utf16}})), word::err::kFileCorrupt);
  // The words in a comment or in the text's CDATA declare nothing.
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", "<?xml version=\"1.0\"?><!-- <!DOCTYPE x> -->" +
                                                       kDocument.substr(21)}})),
            0);
  DocxBuilder text;
  text.Body("<!-- <!DOCTYPE x> --><w:p><w:r><w:t><![CDATA[<!DOCTYPE y>]]></w:t></w:r></w:p>");
  EXPECT_EQ(OpenError(text.Build()), 0);
}

TEST(WordHostile, EntryNamesOutsideThePackageAreRefused) {
  for (const char* name :
       {"../evil.txt", "word/../../evil.txt", "/etc/evil", "C:evil", "word\\..\\..\\evil"}) {
    EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", kDocument}, {name, "x"}})),
              word::err::kFileCorrupt)
        << name;
  }
}

TEST(WordHostile, PartOverTheCapStopsWhileInflating) {
  // Zeros deflate to almost nothing: the archive is small, the part is not.
  std::string huge(word::ZipArchive::kMaxPartBytes + 1024, '\0');
  std::string bomb = ZipOf({{"word/document.xml", kDocument}, {"word/media/image1.png", huge}});
  huge.clear();
  huge.shrink_to_fit();
  ASSERT_LT(bomb.size(), 2u << 20);
  word::ZipArchive zip(bomb);
  try {
    zip.Read("word/media/image1.png");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), word::err::kFileCorrupt);
  }

  // The XML of a document's parts has a cap of its own, far below a part's:
  // megabytes of paragraphs from a small zip would take gigabytes to render.
  std::string paragraphs = kDocument.substr(0, kDocument.find("<w:p>"));
  while (paragraphs.size() <= word::DocxPackage::kMaxXmlBytes) {
    paragraphs += "<w:p><w:r><w:t>A paragraph of plain words.</w:t></w:r></w:p>";
  }
  paragraphs += "</w:body></w:document>";
  EXPECT_EQ(OpenError(ZipOf({{"word/document.xml", paragraphs}})), word::err::kFileCorrupt);
}

// Sets `mask` in the byte at `offset` of every local header ("PK\3\4") and
// at `offset + 2` of every central directory entry ("PK\1\2"), whose fields
// sit two bytes further on.
std::string Patched(std::string zip, std::size_t offset, unsigned char mask) {
  for (const auto& [signature, shift] :
       {std::pair{std::string("PK\3\4", 4), 0}, std::pair{std::string("PK\1\2", 4), 2}}) {
    for (std::size_t at = zip.find(signature); at != std::string::npos;
         at = zip.find(signature, at + 4)) {
      zip[at + offset + shift] = static_cast<char>(zip[at + offset + shift] ^ mask);
    }
  }
  return zip;
}

TEST(WordHostile, DamagedOrEncryptedEntriesAreNotRead) {
  const std::string good = ZipOf({{"word/document.xml", kDocument}});
  word::ZipArchive zip(good);
  EXPECT_TRUE(zip.Has("WORD/Document.XML"));
  EXPECT_EQ(zip.Read("WORD/Document.XML"), kDocument);
  const auto readError = [](const std::string& bytes) {
    try {
      word::ZipArchive damaged(bytes);
      damaged.Read("word/document.xml");
      return 0;
    } catch (const RuntimeError& e) {
      return e.code();
    }
  };
  EXPECT_EQ(readError(Patched(good, 14, 0x55)), word::err::kFileCorrupt);  // checksum
  EXPECT_EQ(readError(Patched(good, 6, 0x01)), word::err::kFileCorrupt);   // encrypted
  EXPECT_EQ(readError(good), 0);
}

TEST(WordHostile, EveryPrefixOfARealDocumentFailsCleanly) {
  std::string whole = SampleDocument().Build();
  ASSERT_EQ(OpenError(whole), 0);
  for (std::size_t n = 0; n < whole.size(); n += 97) {
    int code = OpenError(whole.substr(0, n));
    EXPECT_TRUE(code == word::err::kFileOpenFailed || code == word::err::kFileCorrupt)
        << "prefix " << n << " gave " << code;
  }
}

TEST(WordHostile, FileKindsAreTakenFromTheBytes) {
  auto dir = std::filesystem::temp_directory_path() / "qp-word-hostile";
  std::filesystem::create_directories(dir);
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
  };
  auto code = [](const std::filesystem::path& p) {
    try {
      word::Notes notes;
      word::LoadDocumentBytes(p, notes);
      return 0;
    } catch (const RuntimeError& e) {
      return static_cast<int>(e.code());
    }
  };
  std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  std::string encrypted = ole + std::string(504, '\0');
  for (char c : std::string("EncryptedPackage")) encrypted += std::string{c, '\0'};
  EXPECT_EQ(code(write("protected.docx", encrypted)), word::err::kEncrypted);
  EXPECT_EQ(code(write("wordperfect.doc", "\xFFWPC\x10\x00\x00\x00")), word::err::kFileOpenFailed);
  EXPECT_EQ(code(dir / "missing.docx"), err::kFileNotFound);
  EXPECT_EQ(code(write("real.doc", SampleDocument().Build())), 0);  // a .docx named .doc
  std::filesystem::remove_all(dir);
}

// Sets an environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }

 private:
  const char* name_;
  std::string old_;
};

// Without bwrap, LibreOffice is never started: the .doc is refused and the
// note says why and how to go on.
TEST(WordHostile, DocWithoutASandboxIsRefusedWithTheReason) {
  namespace fs = std::filesystem;
  const fs::path bin = fs::temp_directory_path() / ("qp-nobwrap-" + std::to_string(::getpid()));
  fs::create_directories(bin);
  { std::ofstream(bin / "soffice") << "#!/bin/sh\ntouch \"$0.ran\"\n"; }
  fs::permissions(bin / "soffice", fs::perms::owner_all);
  const ScopedVariable path("PATH", bin.c_str());
  const ScopedVariable optIn(word::kNoSandboxVariable, nullptr);
  word::Notes notes;
  try {
    word::ConvertDocToDocx("{\\rtf1 text}", notes);
    ADD_FAILURE() << "converted without a sandbox";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), word::err::kConverterUnconfined);
  }
  ASSERT_EQ(notes.List().size(), 1u);
  const std::string note = TextToUtf8(notes.List()[0]);
  EXPECT_NE(note.find("bubblewrap"), std::string::npos) << note;
  EXPECT_NE(note.find(std::string(word::kNoSandboxVariable) + "=1"), std::string::npos) << note;
  EXPECT_FALSE(fs::exists(bin / "soffice.ran"));
  fs::remove_all(bin);
}

// A killed run's conversion folder goes at the next conversion; a folder a
// living run holds, a young one and other names stay.
TEST(WordHostile, StaleConversionFoldersGoOthersStay) {
  namespace fs = std::filesystem;
  const fs::path tmp = fs::temp_directory_path() / ("qp-stale-" + std::to_string(::getpid()));
  const ScopedVariable tmpdir("TMPDIR", tmp.c_str());
  for (const char* name :
       {"quillpage-doc-killed", "quillpage-doc-held", "quillpage-doc-young", "other-old"}) {
    fs::create_directories(tmp / name / "profile");
    std::ofstream(tmp / name / "document.doc") << "copy of a document";
  }
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const char* name : {"quillpage-doc-killed", "quillpage-doc-held", "other-old"}) {
    fs::last_write_time(tmp / name, old);
  }
  const int held = ::open((tmp / "quillpage-doc-held").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  word::RemoveStaleConversionFolders();
  ::close(held);
  EXPECT_FALSE(fs::exists(tmp / "quillpage-doc-killed"));
  EXPECT_TRUE(fs::exists(tmp / "quillpage-doc-held" / "document.doc"));
  EXPECT_TRUE(fs::exists(tmp / "quillpage-doc-young" / "document.doc"));
  EXPECT_TRUE(fs::exists(tmp / "other-old" / "document.doc"));
  fs::remove_all(tmp);
}

}  // namespace
}  // namespace qp::test
