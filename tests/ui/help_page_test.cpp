// The help page: found beside the program, and telling every option.
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

}  // namespace
}  // namespace qp::ui
