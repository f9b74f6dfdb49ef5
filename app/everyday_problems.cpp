#include "app/everyday_problems.h"

#include <string>

#include "generate/word/doc_convert.h"
#include "text/number.h"

namespace qp::app {

namespace {

constexpr char kAssembly[] = "Mod_HtmlRev -> Gen_Htm_Pag";
constexpr char kEncoding[] = "Mod_HtmlRev -> Cnv_Encode";

// Page assembly's steps, as its trap numbers them.
constexpr int kStepWorkFolder = 1;
constexpr int kStepDesktopFolder = 2;
constexpr int kStepImageFolder = 3;
constexpr int kStepOpen = 9;
constexpr int kStepExport = 13;
constexpr int kStepPictures = 21;
constexpr int kStepPage = 24;
constexpr int kStepEncoding = 25;

std::optional<Text> DocumentProblem(std::int32_t code, const Text& doc) {
  const Text named = u"「" + doc + u"」";
  switch (code) {
    case err::kFileNotFound:
      return named + u"が見つかりません。    |移動または削除されていないか確かめてください。    ";
    case err::kPermissionDenied:
      return named +
             u"を読み込めません（アクセスが拒否されました）。    |"
             u"ファイルの読み取りの権限を確かめてください。    ";
    case word::err::kFileOpenFailed:
      return named +
             u"はＷｏｒｄ文書ではありません。    |"
             u"Ｗｏｒｄで保存した .doc または .docx のファイルを指定してください。    ";
    case word::err::kEncrypted:
      return named +
             u"はパスワードで保護されています。    |"
             u"パスワードを解除して保存し直してから実行してください。    ";
    case word::err::kConverterMissing:
      return named +
             u"の変換には LibreOffice が必要です。    |"
             u"libreoffice-writer をインストールしてください。    ";
    case word::err::kConverterUnconfined:
      return named +
             u"の変換に使う LibreOffice を、ここではサンドボックスの中で実行できません。    |"
             u"bubblewrap をインストールしてください（環境変数 QUILLPAGE_DOC_WITHOUT_SANDBOX=1 "
             u"でサンドボックスなしでも変換できますが、文書があなたのファイルを読み込むおそれがあり"
             u"ます）。    ";
    case word::err::kConverterTimedOut:
      return named + u"の変換が " +
             FormatInteger(static_cast<long long>(word::kConverterTimeLimit.count())) +
             u" 秒を過ぎても終わらないため中止しました。    |"
             u"LibreOffice で開けるか確かめてから、もう一度実行してください。    ";
    default:
      return std::nullopt;
  }
}

// The folder a step of page assembly writes into, or nothing for a step
// that writes nowhere.
std::optional<Text> FolderOfStep(const Failure& failure, const gen::RunState& run) {
  auto withoutSlash = [](const Text& folder) {
    return folder.empty() ? Text() : Left(folder, Len(folder) - 1);
  };
  const Text desktop = withoutSlash(run.OutputFolder);
  if (failure.location() == kEncoding) return desktop;
  if (failure.location() != kAssembly) return std::nullopt;
  switch (failure.step()) {
    case kStepWorkFolder:
    case kStepExport:
      return withoutSlash(run.WorkFolder);
    case kStepDesktopFolder:
    case kStepPage:
    case kStepEncoding:
      return desktop;
    case kStepImageFolder:
    case kStepPictures:
      return run.OutputFolder + u"Image";
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<Text> EverydayProblemMessage(const Failure& failure, const gen::RunState& run) {
  if (failure.location() == kAssembly && failure.step() == kStepOpen) {
    return DocumentProblem(failure.code(), run.DocPath);
  }
  if (failure.code() != err::kPermissionDenied) return std::nullopt;
  const std::optional<Text> folder = FolderOfStep(failure, run);
  if (!folder || folder->empty()) return std::nullopt;
  return u"「" + *folder +
         u"」に書き込めません（アクセスが拒否されました）。    |"
         u"フォルダの書き込みの権限を確かめてください。    ";
}

}  // namespace qp::app
