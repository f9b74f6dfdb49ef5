// The dispatch of one document: the checks of the argument text, the names
// derived from it, and the run itself.
#pragma once

#include "app/desktop.h"
#include "generate/run_state.h"
#include "text/ustring.h"

namespace qp::app {

inline constexpr char16_t kWordRunningMessage[] =
    u"起動中のＷｏｒｄを終了してから実行してください。    ";
inline constexpr char16_t kSeveralFilesMessage[] = u"複数のファイルは処理できません。    ";
inline constexpr char16_t kNotWordMessage[] = u"Ｗｏｒｄ文書以外は処理できません。    ";
inline constexpr char16_t kQuoteInPathMessage[] =
    u"ファイル名に「\"」を含む文書は処理できません。    ";

// The refusal message for an argument text, or nullptr when it names one
// .doc or .docx file. Every search is case-sensitive.
const char16_t* DocumentRefusal(TextView commandLine);

struct DocumentNames {
  Text DocPath;      // the argument text without its double quotes
  Text DocFileName;  // after the last "/"
  Text PageName;     // DocFileName up to its first "."
};
DocumentNames NamesOf(TextView commandLine);

// Tells that the page at `pagePath` was written and not opened: through the
// desktop's notification, or in a message when no notification could be
// shown.
void AnnounceWrittenPage(Desktop& desktop, TextView pagePath);

// Generate_Dispose, answering the exit status: kExitDone when the page was
// written by this run, kExitRefused otherwise.
int DisposeDocument(gen::RunState& run, Desktop& desktop);

}  // namespace qp::app
