// The help page: found beside the program, and telling every option.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include "text/codec.h"
#include "text/failure.h"
#include "ui/help_page.h"
#include "ui/window_catalogue.h"

namespace qp::ui {
namespace {

TEST(HelpPage, IsFoundFromTheProgramsFolderOrReportedMissing) {
  // The build puts the page where the installed program finds it.
  const QString page = HelpPagePath(Utf8ToText(QP_BINARY_DIR "/ui"));
  EXPECT_TRUE(page.endsWith(QStringLiteral("/share/quillpage/help/index.html")))
      << page.toStdString();
  EXPECT_TRUE(HelpPagePath(Utf8ToText(QP_BINARY_DIR "/ui/")) == page);
  // Readers of other languages get the English page beside it.
  const QString english = HelpPagePath(Utf8ToText(QP_BINARY_DIR "/ui"), false);
  EXPECT_TRUE(english.endsWith(QStringLiteral("/share/quillpage/help/index.en.html")))
      << english.toStdString();

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
  // The English page names the options as the English window does.
  QFile englishFile(QStringLiteral(QP_SOURCE_DIR "/data/help/index.en.html"));
  ASSERT_TRUE(englishFile.open(QIODevice::ReadOnly));
  const QString englishPage = QString::fromUtf8(englishFile.readAll());
  QTranslator translator;
  const std::string_view qm = EnglishWindowCatalogue();
  ASSERT_TRUE(
      translator.load(reinterpret_cast<const uchar*>(qm.data()), static_cast<int>(qm.size())));
  for (const char* caption : {"画面中央に表示", "表示幅を指定", "レイアウトグリッドを指定",
                              "作成後ブラウザに表示", "外部スタイルシートを使用"}) {
    const QString shown = translator.translate("Frm_RefWd", caption);
    EXPECT_FALSE(shown.isEmpty()) << caption;
    EXPECT_TRUE(englishPage.contains(shown)) << shown.toStdString();
  }
}

}  // namespace
}  // namespace qp::ui
