// Word's HTML export of the document and the page facts read from it. The
// document's web options and Normal font are changed only for the save and
// put back before it is closed unsaved.
#include "generate/assembly_steps.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

void SetExportOptions(word::WebOptions& web) {
  web.UseLongFileNames = true;
  web.RelyOnCSS = true;
  web.OptimizeForBrowser = false;
  web.RelyOnVML = false;
  web.AllowPNG = true;
  web.Encoding = 932;  // the export is read back as code page 932
}

void RestoreOptions(word::WebOptions& web, const word::WebOptions& saved) {
  web.UseLongFileNames = saved.UseLongFileNames;
  web.RelyOnCSS = saved.RelyOnCSS;
  web.OptimizeForBrowser = saved.OptimizeForBrowser;
  web.RelyOnVML = saved.RelyOnVML;
  web.AllowPNG = saved.AllowPNG;
  web.Encoding = saved.Encoding;
}

void FillPageInfo(RunState& run, word::Document& doc, const Text& docStem) {
  revise::PageInfoRecord& info = run.PageInfo;
  info.DocName = docStem;
  info.PageTitle = doc.BuiltinDocumentProperty(u"Title");
  info.BodyMargin = 1;
  info.MarginTop = 0;
  info.MarginBottom = 0;
  info.MarginLeft = 0;
  info.MarginRight = 0;
  info.LayoutGrid = run.Opt.LGrid;
  info.FixWidth = run.Opt.SetPW;
  info.Centering = run.Opt.SetCt;
  info.PageDescription = doc.BuiltinDocumentProperty(u"Comments");
  info.PageKeywords = doc.BuiltinDocumentProperty(u"KeyWords");
  info.IndentFlag = 1;
  const word::PageSetup setup = doc.SectionPageSetup(1);
  // Single precision, subtracted in this order, as the width is compared later.
  info.TextWidth = ((setup.PageWidth - setup.LeftMargin) - setup.RightMargin) - setup.Gutter;
  info.FontSizeFlag = 1;
}

}  // namespace

void ExportDocument(RunState& run, const Text& docStem, Trap& trap) {
  trap.Step(9);
  word::Application& app = *run.WordApp;
  app.Open(ToPath(run.DocPath), false);
  word::Document& doc = app.ActiveDocument();

  trap.Step(10);
  // The export names the East Asian font for Western text too.
  word::Font& normal = doc.StyleFont(u"標準");
  const Text westernName = normal.Name;
  normal.Name = normal.NameFarEast;

  trap.Step(11);
  word::WebOptions& web = doc.GetWebOptions();
  const word::WebOptions saved = web;
  trap.Step(12);
  SetExportOptions(web);

  trap.Step(13);
  doc.SaveAs(ToPath(run.WorkFolder + docStem + u".htm"), word::kFormatHtml);

  trap.Step(14);
  normal.Name = westernName;
  trap.Step(15);
  RestoreOptions(web, saved);

  trap.Step(16);
  FillPageInfo(run, doc, docStem);

  trap.Step(17);
  doc.SetSaved(true);
  doc.Close();
  if (run.Ui != nullptr) run.Ui->LetMessagesRun();
}

}  // namespace qp::gen
