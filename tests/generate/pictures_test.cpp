// The picture pass: referenced pictures move into Image under the page's
// name, in both the long form (STEM.files) and the short form (beside the
// export).
#include <gtest/gtest.h>

#include "generate/assembly_steps.h"
#include "generate/generation.h"
#include "temp_folder.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {
namespace {

using testing::Names;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using V = std::vector<std::string>;

class PicturePass : public ::testing::Test {
 protected:
  void SetUp() override {
    run.WorkFolder = FromPath(tmp.path() / "Wrk") + u"/";
    run.OutputFolder = FromPath(tmp.path() / "Desktop") + u"/";
    run.PageName = u"report";
    std::filesystem::create_directories(image);
    std::filesystem::create_directories(work);
  }
  TempFolder tmp;
  std::filesystem::path work = tmp.path() / "Wrk";
  std::filesystem::path image = tmp.path() / "Desktop" / "Image";
  RunState run;
};

TEST_F(PicturePass, LongFormMovesReferencedPicturesInNameOrder) {
  const auto files = work / "report.files";
  WriteBytes(files / "image001.png", "PNG1");
  WriteBytes(files / "image002.jpg", "JPG2");
  WriteBytes(files / "image003.gif", "GIF3");
  WriteBytes(files / "image004.PNG", "capitals");      // not a picture here
  WriteBytes(files / "image005.png", "unreferenced");  // not in the page
  WriteBytes(files / "filelist.xml", "xml");
  Text page =
      u"<img src=\"report.files/image002.jpg\"><img src=\"report.files/image001.png\">"
      u"<img src=\"report.files/image003.gif\"><img src=\"report.files/image004.PNG\">"
      u"<a href=\"report.files/image001.png\">big</a>";

  EXPECT_EQ(MovePictures(run, page, u"report"), 3);
  EXPECT_EQ(page,
            u"<img src=\"Image/report-002.jpg\"><img src=\"Image/report-001.png\">"
            u"<img src=\"Image/report-003.gif\"><img src=\"report.files/image004.PNG\">"
            u"<a href=\"Image/report-001.png\">big</a>");
  EXPECT_EQ(Names(image), (V{"report-001.png", "report-002.jpg", "report-003.gif"}));
  EXPECT_EQ(ReadBytes(image / "report-002.jpg"), "JPG2");
  EXPECT_EQ(Names(files), (V{"filelist.xml", "image004.PNG", "image005.png"}));
}

TEST_F(PicturePass, LongFormMatchesLetterCase) {
  WriteBytes(work / "report.files" / "Image001.png", "x");
  Text page = u"<img src=\"report.files/image001.png\">";
  EXPECT_EQ(MovePictures(run, page, u"report"), 0);
  EXPECT_EQ(page, u"<img src=\"report.files/image001.png\">");
}

TEST_F(PicturePass, ShortFormFindsPicturesBesideTheExportWithoutLetterCase) {
  WriteBytes(work / "report.htm", "page");
  WriteBytes(work / "pic.png", "P");
  WriteBytes(work / "other.gif", "unreferenced");
  Text page = u"<img src=\"PIC.PNG\"><img src=\"pic.png\">";
  EXPECT_EQ(MovePictures(run, page, u"report"), 1);
  EXPECT_EQ(page, u"<img src=\"Image/report-001.png\"><img src=\"Image/report-001.png\">");
  EXPECT_EQ(Names(work), (V{"other.gif", "report.htm"}));
}

TEST_F(PicturePass, NoPictureLeavesImageFolderAlone) {
  WriteBytes(image / "someone-001.png", "kept");
  Text page = u"<p>text</p>";
  EXPECT_EQ(MovePictures(run, page, u"report"), 0);
  EXPECT_EQ(Names(image), (V{"someone-001.png"}));
}

TEST_F(PicturePass, ThousandthPictureTakesFourDigits) {
  Text page;
  for (int i = 1; i <= 1000; ++i) {
    const std::string name = "p" + std::to_string(10000 + i) + ".gif";
    WriteBytes(work / "report.files" / name, "g");
    page += u"<img src=\"report.files/" + T(name) + u"\">";
  }
  EXPECT_EQ(MovePictures(run, page, u"report"), 1000);
  EXPECT_TRUE(std::filesystem::exists(image / "report-999.gif"));
  EXPECT_TRUE(std::filesystem::exists(image / "report-1000.gif"));
}

TEST_F(PicturePass, ExistingTargetFailsAndKeepsBoth) {
  WriteBytes(work / "report.files" / "image001.png", "new");
  WriteBytes(image / "report-001.png", "old");
  Text page = u"<img src=\"report.files/image001.png\">";
  EXPECT_THROW(MovePictures(run, page, u"report"), RuntimeError);
  EXPECT_EQ(ReadBytes(image / "report-001.png"), "old");
  EXPECT_EQ(ReadBytes(work / "report.files" / "image001.png"), "new");
}

TEST_F(PicturePass, LinkedPictureOutsideIsNotMoved) {
  // A link in the export folder pointing elsewhere is not a picture of ours.
  WriteBytes(tmp.path() / "elsewhere.png", "theirs");
  std::filesystem::create_directories(work / "report.files");
  std::filesystem::create_symlink(tmp.path() / "elsewhere.png", work / "report.files" / "l.png");
  Text page = u"<img src=\"report.files/l.png\">";
  EXPECT_EQ(MovePictures(run, page, u"report"), 0);
  EXPECT_EQ(ReadBytes(tmp.path() / "elsewhere.png"), "theirs");
}

}  // namespace
}  // namespace qp::gen
