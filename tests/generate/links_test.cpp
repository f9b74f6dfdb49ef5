// Link rewriting of the finished page and the document stem.
#include <gtest/gtest.h>

#include <string>

#include "generate/generation.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {
namespace {

struct LinkCase {
  const char* input;
  const char* expected;
};

void ExpectRewritten(const LinkCase* cases, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    Text text = Utf8ToText(cases[i].input);
    Chg_Htm_Sta(text);
    EXPECT_EQ(TextToUtf8(text), cases[i].expected) << "input: " << cases[i].input;
  }
}

TEST(ChgHtmSta, WebAndLinkElementPathsStay) {
  const LinkCase cases[] = {
      {R"(<a href="http://example.com/a/b.htm">x</a>)",
       R"(<a href="http://example.com/a/b.htm">x</a>)"},
      {R"(<a href="https://example.com/dir/">x</a>)",
       R"(<a href="https://example.com/dir/">x</a>)"},
      // The "http" test minds letter case: a value in capitals is a path.
      {R"(<a href="HTTP://example.com/a/b.htm">x</a>)", R"(<a href="b.htm">x</a>)"},
      // FTP and mail addresses are web addresses too: cut, they would lead
      // nowhere.
      {R"(<a href="ftp://ftp.example.com/pub/f.txt">x</a>)",
       R"(<a href="ftp://ftp.example.com/pub/f.txt">x</a>)"},
      {R"(<a href="mailto:a@example.com?subject=a/b">x</a>)",
       R"(<a href="mailto:a@example.com?subject=a/b">x</a>)"},
      // A link element keeps its path; only phase 2 reaches it.
      {R"(<link rel=stylesheet href="C:\css\site.css">)",
       R"(<link rel=stylesheet href="C:\css\site.css">)"},
      {R"(<link rel=File-List href="../x/doc.doc">)", R"(<link rel=File-List href="x/doc.htm">)"},
      // No separator after the first character: nothing to cut.
      {R"(<a href="#sec2">x</a>)", R"(<a href="#sec2">x</a>)"},
      {R"(<a href="/top">x</a>)", R"(<a href="/top">x</a>)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(ChgHtmSta, FolderPartsAreCutAtTheLastSeparator) {
  const LinkCase cases[] = {
      {R"(<a href="C:\Docs\report.doc#sec2">x</a>)", R"(<a href="report.htm#sec2">x</a>)"},
      {R"(<a href="C:\Docs\report.docx">x</a>)", R"(<a href="report.htm">x</a>)"},
      {R"(<a href="/home/u/Docs/plan.docx#top">x</a>)", R"(<a href="plan.htm#top">x</a>)"},
      {R"(<a href="sub/notes.doc">x</a>)", R"(<a href="notes.htm">x</a>)"},
      // A value with "\" is cut at its last "\" even when "/" follows it.
      {R"(<a href="C:\Docs\a/b.txt">x</a>)", R"(<a href="a/b.txt">x</a>)"},
      // A folder link: everything up to the final separator goes.
      {R"(<a href="/home/u/Docs/">x</a>)", R"(<a href="">x</a>)"},
      // The attribute name in capitals counts too.
      {R"(<A HREF="D:\x\y.pdf">x</A>)", R"(<A HREF="y.pdf">x</A>)"},
      // Two links in one text.
      {R"(<a href="a/b.doc">1</a><a href="c\d.docx#e">2</a>)",
       R"(<a href="b.htm">1</a><a href="d.htm#e">2</a>)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(ChgHtmSta, ImageFolderIsKept) {
  const LinkCase cases[] = {
      {R"(<a href="../Image/photo.png">x</a>)", R"(<a href="Image/photo.png">x</a>)"},
      {R"(<a href="C:\Users\u\Desktop\Image\photo.png">x</a>)",
       R"(<a href="Image/photo.png">x</a>)"},
      {R"(<a href="Image/photo.png">x</a>)", R"(<a href="Image/photo.png">x</a>)"},
      // A folder whose name merely ends in "Image" is an ordinary folder.
      {R"(<a href="/srv/MyImage/p.png">x</a>)", R"(<a href="p.png">x</a>)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(ChgHtmSta, LaterAttributesOfTheTagAreNotPartOfTheValue) {
  const LinkCase cases[] = {
      {R"(<a href="notes.doc" title="a/b">x</a>)", R"(<a href="notes.htm" title="a/b">x</a>)"},
      {R"(<a href="d/notes.doc" target="_blank">x</a>)",
       R"(<a href="notes.htm" target="_blank">x</a>)"},
      // An unterminated value is left as it is, not a failure.
      {R"(<a href="a/b)", R"(<a href="a/b)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(ChgHtmSta, SecondPhaseReachesTheWholeText) {
  const LinkCase cases[] = {
      {R"(<p>see ./here and .\there</p>)", R"(<p>see here and there</p>)"},
      {R"(<p>../up and ..\up</p>)", R"(<p>up and up</p>)"},
      {R"(<p>file "a.doc" or "b.docx"</p>)", R"(<p>file "a.htm" or "b.htm"</p>)"},
      {R"(<img src="Image\p-001.png">)", R"(<img src="Image/p-001.png">)"},
      // ".doc" not followed by a quote or "#" stays.
      {R"(<p>a.doc, b.docx.</p>)", R"(<p>a.doc, b.docx.</p>)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(ChgHtmSta, JapaneseNamesSurvive) {
  const LinkCase cases[] = {
      {R"(<a href="C:\資料\報告書.doc#第2章">報告</a>)", R"(<a href="報告書.htm#第2章">報告</a>)"},
  };
  ExpectRewritten(cases, std::size(cases));
}

TEST(RevObjNm, StemIsBeforeTheLastDot) {
  RunState run;
  run.DocFileName = u"report.final.docx";
  EXPECT_EQ(Rev_ObjNm(run), u"report.final");
  run.DocFileName = u"report.doc";
  EXPECT_EQ(Rev_ObjNm(run), u"report");
  run.DocFileName = u"README";
  EXPECT_EQ(Rev_ObjNm(run), u"README");
  run.DocFileName = u"報告書.docx";
  EXPECT_EQ(Rev_ObjNm(run), u"報告書");
}

}  // namespace
}  // namespace qp::gen
