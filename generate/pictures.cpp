// The page's pictures: moved from Word's export into the desktop Image
// folder under the page's name, and the earlier run's pictures cleared.
#include <string>

#include "generate/assembly_steps.h"
#include "generate/file_patterns.h"
#include "generate/generation.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

// "-000": a minus sign and at least three digits.
Text PictureNumber(int counter) {
  std::string digits = std::to_string(counter);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return u"-" + T(digits);
}

bool IsPictureExtension(TextView extension) {
  // Exact: a picture whose extension is in capitals stays where it is.
  return extension == u".png" || extension == u".jpg" || extension == u".gif";
}

// One folder of the export. The long form finds a picture as
// "STEM.files/NAME" (letter case kept); the short form, for pictures Word put
// beside the page, as the bare name without regard to letter case.
struct PictureSource {
  fs::path folder;
  Compare compare;
  Text searchPrefix;
};

int MoveFrom(RunState& run, Text& page, const PictureSource& source) {
  const fs::path imageFolder = ToPath(run.OutputFolder + u"Image");
  int counter = 0;
  for (const fs::path& file :
       ListMatching(source.folder, NamePattern{{}, u"*.*"}, EntryKind::kRegularFile)) {
    const Text name = FromPath(file.filename());
    const Pos dot = InStrRev(name, u".");
    const Text extension = dot > 0 ? Mid(name, dot) : Text();
    if (!IsPictureExtension(extension) || InStr(page, name, source.compare) == 0) continue;

    ++counter;
    const Text newName = run.PageName + PictureNumber(counter) + extension;
    MoveFileNoReplace(file, imageFolder / ToPath(newName));
    ReplaceAll(page, source.searchPrefix + name, u"Image/" + newName, source.compare);
  }
  return counter;
}

}  // namespace

int MovePictures(RunState& run, Text& page, const Text& docStem) {
  const fs::path work = ToPath(run.WorkFolder);
  const fs::path files = ToPath(run.WorkFolder + docStem + u".files");
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(files, ec))) {
    return MoveFrom(run, page, {files, Compare::Binary, docStem + u".files/"});
  }
  const bool jpg = AnyFileMatches(work, {{}, u"*.jpg"});
  const bool png = AnyFileMatches(work, {{}, u"*.png"});
  const bool gif = AnyFileMatches(work, {{}, u"*.gif"});
  if (jpg || png || gif) return MoveFrom(run, page, {work, Compare::TextCompare, {}});
  return 0;
}

// "Mod_HtmlRev -> Del_Img_Fil": removes OutputFolder/Image/STEM-xxx.ext, the
// pictures an earlier run of the same stem left (exactly three characters
// between the minus sign and the dot).
void Del_Img_Fil(RunState& run, const Text& stem) {
  Trap trap("Mod_HtmlRev -> Del_Img_Fil");
  try {
    trap.Step(1);
    const fs::path imageFolder = ToPath(run.OutputFolder + u"Image");
    // A symbolic link under a picture's name goes too, as a link (its target
    // stays): left there it would block that name, and so every later run.
    const std::vector<fs::path> listed =
        ListMatching(imageFolder, {stem + u"-", u"*.*"}, EntryKind::kFileOrLink);

    trap.Step(2);
    std::vector<fs::path> doomed;
    for (const fs::path& file : listed) {
      const Text name = FromPath(file.filename());
      if (MatchAt(name, Len(stem) + 5, u".") && !IsWordDocumentName(name)) doomed.push_back(file);
    }
    // What a run killed while copying a picture in left: ".STEM-001.png.XXXXXX".
    for (const fs::path& file : ListMatching(imageFolder, {u"." + stem + u"-", u"???.*.??????"},
                                             EntryKind::kRegularFile)) {
      doomed.push_back(file);
    }

    trap.Step(3);
    for (const fs::path& file : doomed) {
      std::error_code ec;
      fs::remove(file, ec);
      if (ec) RaiseFileError(ec, file);
    }
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
