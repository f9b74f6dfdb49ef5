// The help page: found beside the program, opened with a UTF-8 locale.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "text/codec.h"
#include "text/failure.h"
#include "ui/help_page.h"

namespace qp::ui {
namespace {

TEST(HelpPage, IsFoundFromTheProgramsFolderOrReportedMissing) {
  // The build puts the page where the installed program finds it.
  const QString page = HelpPagePath(Utf8ToText(QP_BINARY_DIR "/ui"));
  EXPECT_TRUE(page.endsWith(QStringLiteral("/share/quillpage/help/index.html")))
      << page.toStdString();
  EXPECT_TRUE(HelpPagePath(Utf8ToText(QP_BINARY_DIR "/ui/")) == page);

  QTemporaryDir elsewhere;
  try {
    HelpPagePath(Utf8ToText(elsewhere.path().toStdString()));
    ADD_FAILURE() << "a missing page must raise";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::kFileNotFound);
  }
}

TEST(HelpPage, DescribesEveryOptionOfTheSettingsWindow) {
  QFile file(QStringLiteral(QP_SOURCE_DIR "/data/help/index.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString page = QString::fromUtf8(file.readAll());
  for (const char* caption :
       {"画面中央に表示", "表示幅を指定", "レイアウトグリッドを指定", "作成後ブラウザに表示",
        "shift_jis", "utf-8", "外部スタイルシートを使用", "Image", "LibreOffice"}) {
    EXPECT_TRUE(page.contains(QString::fromUtf8(caption))) << caption;
  }
}

TEST(BrowserEnvironment, GivesTheBrowserAUtf8Locale) {
  auto localeOf = [](std::initializer_list<std::pair<const char*, const char*>> vars) {
    QProcessEnvironment env;
    for (const auto& [name, value] : vars)
      env.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    const QProcessEnvironment out = BrowserEnvironment(env);
    return out.value(QStringLiteral("LC_ALL")).toStdString() + "|" +
           out.value(QStringLiteral("LANG")).toStdString();
  };
  EXPECT_EQ(localeOf({{"LANG", "ja_JP.UTF-8"}}), "|ja_JP.UTF-8");
  EXPECT_EQ(localeOf({{"LANG", "en_US.utf8"}}), "|en_US.utf8");
  EXPECT_EQ(localeOf({}), "C.UTF-8|");
  EXPECT_EQ(localeOf({{"LANG", "C"}}), "C.UTF-8|C");
  // LC_ALL outranks LANG, whatever LANG says.
  EXPECT_EQ(localeOf({{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "ja_JP.UTF-8"}}), "C.UTF-8|ja_JP.UTF-8");
  EXPECT_EQ(localeOf({{"LC_CTYPE", "ja_JP.UTF-8"}, {"LANG", "C"}}), "|C");
}

}  // namespace
}  // namespace qp::ui
