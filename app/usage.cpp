#include "app/usage.h"

#include "app/settings.h"
#include "text/codec.h"
#include "text/number.h"

#ifndef QP_VERSION
#error "QP_VERSION comes from the project's version in CMake"
#endif

namespace qp::app {

std::string VersionText() {
  return QP_VERSION;
}

Text SettingsUsageText(const gen::RunState& run) {
  const gen::Options& o = run.Opt;
  auto option = [](const char16_t* key, std::uint8_t value, const char16_t* label) {
    return u"  " + Text(key) + u"=" + FormatInteger(value) + u"  " + label + u"\n";
  };
  Text t;
  t += u"「Quillpage」 for Word  Version：" + Utf8ToText(VersionText()) + u"\n\n";
  t += u" 使い方 \n";
  t += u"このソフトのデスクトップアイコンにエクスプロ－ラなどからワード文書をドロップしてください。"
       u"\n";
  t += u"次の処理を実行します。\n";
  t += u"　①ＨＴＭＬファイルをデスクトップに作成\n";
  t += u"　②ＨＴＭＬファイルをブラウザに表示\n";
  t += u"端末からは quillpage ワード文書 で実行できます。\n\n";
  t += u" オプション （" + SettingsFilePath(run) + u"）\n";
  t += u"【ページ表示関連】\n";
  t += option(u"SetCt", o.SetCt, u"画面中央に表示");
  t += option(u"SetPW", o.SetPW, u"表示幅を指定");
  t += u"【行間調整】\n";
  t += option(u"LGrid", o.LGrid, u"レイアウトグリッドを指定");
  t += u"【表示】\n";
  t += option(u"Prevw", o.Prevw, u"作成後ブラウザに表示");
  t += u"【文字セット】\n";
  t += option(u"Encod", o.Encod, u"0 = shift_jis、1 = utf-8");
  t += u"【その他】\n";
  t += option(u"AddSS", o.AddSS, u"外部スタイルシートを使用");
  return t;
}

std::string HelpText() {
  return "使い方: quillpage [ワード文書]\n"
         "       quillpage -h | --help | --version\n"
         "\n"
         "ワード文書（.doc または .docx）を１つ受け取り、HTML 4.01 Transitional のページに\n"
         "変換して、デスクトップに「文書名.htm」として作成します。画像はデスクトップの\n"
         "Image フォルダに入ります。空白を含むパスは１つの引数として渡してください。\n"
         "拡張子は小文字の doc または docx に限ります。\n"
         "\n"
         "文書を指定せずに起動すると設定画面を表示します（画面のない環境では、使い方と\n"
         "６つのオプションの現在の値を表示します）。オプションは\n"
         "~/.config/Vexor/Quillpg_Word/Control.ini に保存されます。\n"
         "\n"
         "終了コード:\n"
         "  0  ページを作成した、または設定画面を閉じた\n"
         "  1  メッセージを表示して終了した（ページは作成されていない）\n"
         "  2  障害が発生し、障害情報を表示した\n";
}

}  // namespace qp::app
