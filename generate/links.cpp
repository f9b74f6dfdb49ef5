// Links of the finished page: paths made relative to the page's folder, and
// links to Word documents pointed at the pages made from them.
#include "generate/generation.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

constexpr char16_t kLinkOpener[] = u"href=\"";  // 6 characters
constexpr Pos kOpenerLength = 6;

// Marks the folder part of the link value starting at `v` for removal. The
// value ends at its own closing quote: a later attribute of the same tag
// (title="a/b") is never taken for part of the path.
void CutFolderPart(Text& text, Pos v) {
  const Pos tagStart = InStrRev(text, u"<", v);
  if (tagStart > 0 && MatchAt(text, tagStart, u"<link ")) return;
  // Web addresses stay whole. Besides "http" (which takes in "https"), FTP
  // and mail addresses: cut at their last "/", they would lead nowhere.
  if (MatchAt(text, v, u"http") || MatchAt(text, v, u"ftp:") || MatchAt(text, v, u"mailto:")) {
    return;
  }

  const Pos valueEnd = InStr(v, text, u"\"");
  if (valueEnd == 0) return;  // an unterminated value: nothing to cut
  // A value holding "\" is cut at its last "\" (a Windows path); otherwise at
  // its last "/".
  Pos sep = InStrRev(text, u"\\", valueEnd);
  if (sep < v) sep = InStrRev(text, u"/", valueEnd);
  if (sep <= v) return;

  // A folder named Image just before the file name is kept: that is where
  // the page's pictures live. A value that begins with "Image/" is already
  // relative to the page and stays whole.
  Pos cutEnd = sep + 1;
  const Pos image = sep - 5;
  if (image >= v && MatchAt(text, image, u"Image") &&
      (image == v || MatchAt(text, image - 1, u"/") || MatchAt(text, image - 1, u"\\"))) {
    cutEnd = image;
  }
  if (cutEnd > v) MarkDeleted(text, v, cutEnd - v);
}

}  // namespace

// "Mod_HtmlRev -> Chg_Htm_Sta"
void Chg_Htm_Sta(Text& text) {
  Trap trap("Mod_HtmlRev -> Chg_Htm_Sta");
  try {
    trap.Step(1);
    for (Pos h = InStr(1, text, kLinkOpener, Compare::TextCompare); h > 0;
         h = InStr(h + kOpenerLength, text, kLinkOpener, Compare::TextCompare)) {
      CutFolderPart(text, h + kOpenerLength);
    }

    // Phase 2 runs over the whole text, link elements and body text included.
    trap.Step(2);
    Compact(text);
    ReplaceAll(text, u"Image\\", u"Image/");
    ReplaceAll(text, u".docx#", u".htm#");
    ReplaceAll(text, u".docx\"", u".htm\"");
    ReplaceAll(text, u".doc#", u".htm#");
    ReplaceAll(text, u".doc\"", u".htm\"");
    ReplaceAll(text, u"..\\", u"");
    ReplaceAll(text, u"../", u"");
    ReplaceAll(text, u".\\", u"");
    ReplaceAll(text, u"./", u"");
  } catch (...) {
    trap.Fail();
  }
}

// "Mod_HtmlRev -> Rev_ObjNm": DocStem, the file name before its last ".".
Text Rev_ObjNm(const RunState& run) {
  Trap trap("Mod_HtmlRev -> Rev_ObjNm");
  try {
    trap.Step(1);
    const Pos dot = InStrRev(run.DocFileName, u".");
    return dot > 0 ? Left(run.DocFileName, dot - 1) : run.DocFileName;
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
