// The last driver step: the page put together from head, rules and body, and
// the head completed from the page's own templates.
#include "revise/driver_steps.h"
#include "text/html_attribute.h"

namespace qp::revise {

namespace {

constexpr TextView kCrLf = u"\r\n";

// Templates are written with single quotes; the page carries double ones.
Text Template(TextView text) {
  return Replace(text, u"'", u"\"");
}

Text Fill(TextView templateText, TextView value) {
  return Replace(Template(templateText), u"★", value);
}

// Every "<style>" gets `element` and a line break in front of it, so the
// head elements stand in the order they are inserted, the style element last.
void InsertBeforeStyle(Text& page, TextView element) {
  ReplaceAll(page, u"<style>", Text(element) + Text(kCrLf) + u"<style>");
}

void PutTitle(Text& page, TextView title) {
  const Text element = u"<title>" + EscapeAttributeValue(title) + u"</title>";
  const Pos open = InStr(page, u"<title>", Compare::TextCompare);
  const Pos close = open == 0 ? 0 : InStr(open, page, u"</title>", Compare::TextCompare);
  if (close == 0) return InsertBeforeStyle(page, element);
  ReplaceAll(page, Mid(page, open, close + 8 - open), element);
}

}  // namespace

void AssemblePage(RevisionState& st) {
  const PageInfoRecord& info = st.PageInfo;
  Text& page = st.SourceText;
  page = st.HeadText + u"<style>\r\n<!--\r\n" + st.StyleSheetText +
         u"-->\r\n</style>\r\n</head>\r\n" + st.PageText;
  ReplaceAll(page, u"<html>",
             Template(u"<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'  "
                      u"'http://www.w3.org/TR/html4/loose.dtd'>\r\n<html lang='ja'>"));
  const TextView charset = st.Context.Encod == 1 ? u"utf-8" : u"shift_jis";
  ReplaceAll(page, u"<head>",
             u"<head>\r\n" +
                 Fill(u"<meta http-equiv='Content-Type' content='text/html; charset=★'>", charset));
  PutTitle(page, info.PageTitle);
  // controls are blanks before the trim, so that a value of controls alone
  // counts as empty
  const Text keywords = Trim(BlankControls(info.PageKeywords));
  if (!keywords.empty()) {
    InsertBeforeStyle(page,
                      Fill(u"<meta name='keywords' content='★'>", EscapeAttributeValue(keywords)));
  }
  const Text description = Trim(BlankControls(info.PageDescription));
  if (!description.empty()) {
    InsertBeforeStyle(
        page, Fill(u"<meta name='description' content='★'>", EscapeAttributeValue(description)));
  }
  InsertBeforeStyle(page,
                    Template(u"<meta http-equiv='Content-Style-Type' content='text/css'>\r\n"
                             u"<meta http-equiv='Content-Script-Type' content='text/javascript'>"));
  if (st.Context.AddSS == 1) {
    InsertBeforeStyle(page, Fill(u"<link rel='stylesheet' href='★' type='text/css'>", u"qp.css"));
  }
  ReplaceAll(page, u"<style>", Template(u"<style type='text/css'>"));
  if (InStr(page, u"<b>") != 0) {
    ReplaceAll(page, u"<b>", u"<strong>");
    ReplaceAll(page, u"</b>", u"</strong>");
  }
  if (InStr(page, u"<i>") != 0) {
    ReplaceAll(page, u"<i>", u"<em>");
    ReplaceAll(page, u"</i>", u"</em>");
  }
  ReplaceAll(page, u"lang=\"JA\"", u"lang=\"ja\"");
}

}  // namespace qp::revise
