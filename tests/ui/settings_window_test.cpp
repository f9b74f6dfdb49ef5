// Frm_RefWd: the options go into the controls when the window loads and come
// back out, into Control.ini, however the window is closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <fstream>
#include <sstream>

#include "app/dispatch.h"
#include "app/shell.h"
#include "app/word_engine.h"
#include "tests/ui/fake_desktop.h"
#include "text/codec.h"
#include "ui/settings_window.h"

namespace qp::ui {
namespace {

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    run_.SettingsFolder = Utf8ToText(folder_.path().toStdString());
    run_.ProgramFolder = Utf8ToText(QP_BINARY_DIR "/ui");
  }

  std::string IniPath() const { return folder_.path().toStdString() + "/Control.ini"; }
  void WriteIni(const std::string& bytes) { std::ofstream(IniPath(), std::ios::binary) << bytes; }
  // Start-up's part: the file as the user left it, the options loaded from it.
  void LoadOptions(const std::string& bytes) {
    WriteIni(bytes);
    app::Get_Opt_Inf(run_);
  }
  static void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  std::string ReadIni() const {
    std::ifstream in(IniPath(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::string Saved(const char16_t* key) const {
    return TextToUtf8(app::GetINIVal(run_, key, u"SYSTEM"));
  }

  template <class T>
  static T* Control(QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  static int Value(QWidget& window, const char* name) {
    return Control<OptionCheckBox>(window, name)->Value();
  }
  static bool Selected(QWidget& window, const char* name) {
    return Control<QRadioButton>(window, name)->isChecked();
  }

  QTemporaryDir folder_;
  gen::RunState run_;
  testing::FakeDesktop desktop_;
};

TEST_F(SettingsWindowTest, DefaultsOfAnEmptyFileGoIntoTheControls) {
  LoadOptions("");
  Frm_RefWd window(run_, desktop_);

  EXPECT_EQ(Value(window, "FCk_SetCt"), 0);
  EXPECT_EQ(Value(window, "FCk_SetPW"), 0);
  EXPECT_EQ(Value(window, "FCk_LGrid"), 1);
  EXPECT_EQ(Value(window, "FCk_Prevw"), 1);
  EXPECT_EQ(Value(window, "FCk_AddSS"), 0);
  EXPECT_TRUE(Selected(window, "FOp_Chrset_0"));
  EXPECT_FALSE(Selected(window, "FOp_Chrset_1"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("「Quillpage」 for Word"));
  EXPECT_EQ(Control<QLabel>(window, "FLb_Version")->text(), QStringLiteral("Version：1.0.4"));
  EXPECT_EQ(desktop_.boxes, 0);
  // Loading shows nothing and writes nothing.
  EXPECT_EQ(ReadIni(), "");
}

TEST_F(SettingsWindowTest, HandEditedFileIncludingAGreyedBoxLoadsAsWritten) {
  LoadOptions("[system]\r\n setct = 1 \r\nSetPW=2\r\nLGrid=0\r\nPrevw=0\r\nEncod=1\r\nAddSS=2\r\n");
  Frm_RefWd window(run_, desktop_);

  EXPECT_EQ(Value(window, "FCk_SetCt"), 1);
  EXPECT_EQ(Control<OptionCheckBox>(window, "FCk_SetPW")->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(Value(window, "FCk_LGrid"), 0);
  EXPECT_EQ(Value(window, "FCk_Prevw"), 0);
  EXPECT_EQ(Value(window, "FCk_AddSS"), 2);
  EXPECT_FALSE(Selected(window, "FOp_Chrset_0"));
  EXPECT_TRUE(Selected(window, "FOp_Chrset_1"));
}

TEST_F(SettingsWindowTest, ClosingByTheCloseBoxSavesTheChangedControls) {
  LoadOptions("[SYSTEM]\r\nSetPW=2\r\n");
  Frm_RefWd window(run_, desktop_);
  QSignalSpy unloaded(&window, &Frm_RefWd::Unloaded);
  ShowAndWait(window);

  QTest::mouseClick(Control<OptionCheckBox>(window, "FCk_AddSS"), Qt::LeftButton);
  QTest::mouseClick(Control<QRadioButton>(window, "FOp_Chrset_1"), Qt::LeftButton);
  // The close box: the window system asks the window to close.
  window.windowHandle()->close();

  EXPECT_EQ(unloaded.count(), 1);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(Saved(u"AddSS"), "1");
  EXPECT_EQ(Saved(u"Encod"), "1");
  // The greyed box was not touched and keeps its value; the rest are saved too.
  EXPECT_EQ(Saved(u"SetPW"), "2");
  EXPECT_EQ(Saved(u"SetCt"), "0");
  EXPECT_EQ(Saved(u"LGrid"), "1");
  EXPECT_EQ(Saved(u"Prevw"), "1");
  EXPECT_EQ(run_.Opt.AddSS, 1);
  EXPECT_EQ(run_.Opt.Encod, 1);
}

TEST_F(SettingsWindowTest, TheCloseButtonSavesOnceAndClicksNeverGreyABox) {
  LoadOptions("");
  Frm_RefWd window(run_, desktop_);
  QSignalSpy unloaded(&window, &Frm_RefWd::Unloaded);
  ShowAndWait(window);

  auto* centre = Control<OptionCheckBox>(window, "FCk_SetCt");
  QTest::mouseClick(centre, Qt::LeftButton);
  EXPECT_EQ(centre->Value(), 1);
  QTest::mouseClick(centre, Qt::LeftButton);
  EXPECT_EQ(centre->Value(), 0);
  QTest::mouseClick(centre, Qt::LeftButton);
  QTest::keyClick(centre, Qt::Key_Space);  // the keyboard toggles the same way
  EXPECT_EQ(centre->Value(), 0);
  QTest::keyClick(centre, Qt::Key_Space);

  QTest::mouseClick(Control<QPushButton>(window, "FBt_Close"), Qt::LeftButton);
  window.close();  // a second close must not save again
  EXPECT_EQ(unloaded.count(), 1);
  EXPECT_EQ(Saved(u"SetCt"), "1");
  EXPECT_EQ(Saved(u"Encod"), "0");
}

TEST_F(SettingsWindowTest, LayoutFollowsTheTwipsDesign) {
  Frm_RefWd window(run_, desktop_);
  // 4035 x 7170 twips at 15 twips a pixel, not resizable.
  EXPECT_EQ(window.size(), QSize(269, 478));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

  // Positions are relative to the parent the design names.
  auto* options = Control<QWidget>(window, "FFr_Word");
  EXPECT_EQ(options->parentWidget()->objectName(), QStringLiteral("FPc_Quillpg"));
  EXPECT_EQ(options->geometry(), QRect(2, 139, 249, 234));
  auto* utf8 = Control<QRadioButton>(window, "FOp_Chrset_1");
  EXPECT_EQ(utf8->parentWidget(), options);
  EXPECT_EQ(utf8->geometry(), QRect(110, 174, 75, 13));
  EXPECT_EQ(Control<QPushButton>(window, "FBt_Close")->geometry(), QRect(187, 381, 63, 23));
  EXPECT_EQ(Control<QLabel>(window, "FPc_DesIcP")->parentWidget()->objectName(),
            QStringLiteral("FPc_GuideP"));
  EXPECT_EQ(Control<QLabel>(window, "FLb_GuideP")->font().pointSizeF(), 11.25);
  EXPECT_TRUE(Control<QLabel>(window, "FLb_GuideP")->font().bold());
  EXPECT_EQ(Control<OptionCheckBox>(window, "FCk_SetCt")->toolTip(),
            QStringLiteral("ページの表示位置を画面中央に設定します"));
  EXPECT_EQ(Control<OptionCheckBox>(window, "FCk_SetPW")->font().pointSizeF(), 9.0);
  EXPECT_TRUE(Control<QLabel>(window, "FPc_DesIcP")->pixmap().size() == QSize(32, 32));
}

TEST_F(SettingsWindowTest, TabOrderRunsFromTheButtonsThroughTheOptions) {
  Frm_RefWd window(run_, desktop_);
  const char* expected[] = {"FBt_PHelp", "FBt_Close",    "FCk_SetCt",    "FCk_SetPW", "FCk_LGrid",
                            "FCk_Prevw", "FOp_Chrset_0", "FOp_Chrset_1", "FCk_AddSS", "FBt_PHelp"};
  QWidget* at = Control<QWidget>(window, expected[0]);
  for (std::size_t i = 1; i < std::size(expected); ++i) {
    // Labels, frames and panels take no focus; skip them as Tab does.
    do {
      at = at->nextInFocusChain();
    } while (at->focusPolicy() == Qt::NoFocus || !(at->focusPolicy() & Qt::TabFocus));
    EXPECT_EQ(at->objectName().toStdString(), expected[i]) << "after " << expected[i - 1];
  }
}

// A stand-in for xdg-open, first on PATH, that writes down what it was given.
class FakeBrowser {
 public:
  explicit FakeBrowser(const QString& folder) : log_(folder + QStringLiteral("/opened.txt")) {
    const QString script = folder + QStringLiteral("/xdg-open");
    QFile file(script);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nprintf '%s|%s' \"$1\" \"$LC_ALL\" > \"$0.tmp\" && mv \"$0.tmp\" \"" +
               log_.toUtf8() + "\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    oldPath_ = qgetenv("PATH");
    qputenv("PATH", folder.toUtf8() + ":" + oldPath_);
  }
  ~FakeBrowser() { qputenv("PATH", oldPath_); }
  void Forget() const { QFile::remove(log_); }

  // What the browser was asked to open, once it has been started.
  QString Opened() const {
    QFile file(log_);
    for (int i = 0; i < 100 && !file.exists(); ++i) QTest::qWait(50);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
  }

 private:
  QString log_;
  QByteArray oldPath_;
};

TEST_F(SettingsWindowTest, HelpButtonOpensTheLocalPageAndLeavesTheWindowOpen) {
  LoadOptions("");
  FakeBrowser browser(folder_.path());
  Frm_RefWd window(run_, desktop_);
  ShowAndWait(window);

  // The page in the reader's language: Japanese, then any other.
  const QByteArray oldAll = qgetenv("LC_ALL");
  qputenv("LC_ALL", "ja_JP.UTF-8");
  QTest::mouseClick(Control<QPushButton>(window, "FBt_PHelp"), Qt::LeftButton);
  const QString opened = browser.Opened();
  EXPECT_TRUE(opened.startsWith(QStringLiteral("file:///"))) << opened.toStdString();
  EXPECT_TRUE(opened.contains(QStringLiteral("/share/quillpage/help/index.html|")))
      << opened.toStdString();
  qputenv("LC_ALL", "C.UTF-8");
  browser.Forget();
  QTest::mouseClick(Control<QPushButton>(window, "FBt_PHelp"), Qt::LeftButton);
  EXPECT_TRUE(browser.Opened().contains(QStringLiteral("/share/quillpage/help/index.en.html|")))
      << browser.Opened().toStdString();
  if (oldAll.isNull()) {
    qunsetenv("LC_ALL");
  } else {
    qputenv("LC_ALL", oldAll);
  }
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(desktop_.boxes, 0);
  EXPECT_EQ(ReadIni(), "");  // nothing is saved while the window is open
}

TEST_F(SettingsWindowTest, HelpButtonWithoutABrowserSaysSoAndLeavesTheWindowOpen) {
  LoadOptions("");
  Frm_RefWd window(run_, desktop_);
  ShowAndWait(window);
  const QByteArray oldPath = qgetenv("PATH");
  // xdg-open as it ends when it finds no browser; then no xdg-open at all.
  const QString bin = folder_.path() + QStringLiteral("/bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  QFile script(bin + QStringLiteral("/xdg-open"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\nexit 3\n");
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  qputenv("PATH", bin.toUtf8() + ":/usr/bin:/bin");
  QTest::mouseClick(Control<QPushButton>(window, "FBt_PHelp"), Qt::LeftButton);
  qputenv("PATH", folder_.path().toUtf8());
  QTest::mouseClick(Control<QPushButton>(window, "FBt_PHelp"), Qt::LeftButton);
  qputenv("PATH", oldPath);

  const std::vector<std::string> expected = {
      "最新情報のページを表示できませんでした。(Code=3)    ",
      "最新情報のページを表示できませんでした。(Code=127)    "};
  EXPECT_EQ(desktop_.texts, expected);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadIni(), "");
}

TEST_F(SettingsWindowTest, HelpButtonWithoutItsPageEndsInTheFailureReportUnsaved) {
  LoadOptions("[SYSTEM]\r\nSetCt=1\r\n");
  run_.ProgramFolder = Utf8ToText(folder_.path().toStdString());  // no page beside it
  EXPECT_EXIT(
      {
        Frm_RefWd window(run_, desktop_);
        window.findChild<OptionCheckBox*>(QStringLiteral("FCk_SetCt"))->SetValue(0);
        window.FBt_PHelp_Click();
      },
      ::testing::ExitedWithCode(app::kExitFailure), "Frm_RefWd -> FBt_PHelp_Click.*Code=53");
  EXPECT_EQ(ReadIni(), "[SYSTEM]\r\nSetCt=1\r\n");
}

// Files dropped on the open window: the launcher's refusals, or a run of its
// own with the options the window shows; the window stays open, unsaved.
class DropTest : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    ASSERT_TRUE(home_.isValid());
    ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral("Desktop")));
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"}) {
      saved_.emplace_back(name, qgetenv(name));
    }
    qputenv("HOME", home_.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DESKTOP_DIR");
    run_.Engine = &engine_;
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value.isNull()) {
        qunsetenv(name);
      } else {
        qputenv(name, value);
      }
    }
  }
  // Drags `data` over the window and drops it there, then lets the run that
  // the drop queued happen.
  static void Drop(QWidget& window, QMimeData& data) {
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents();
  }
  static void DropFiles(QWidget& window, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    Drop(window, data);
  }
  QString DesktopFile(const char* name) const {
    return home_.path() + QStringLiteral("/Desktop/") + QString::fromUtf8(name);
  }

  QTemporaryDir home_;
  app::ProcessWordEngine engine_;
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

TEST_F(DropTest, AnythingButOneWordDocumentGetsTheLaunchersRefusal) {
  LoadOptions("");
  Frm_RefWd window(run_, desktop_);
  ShowAndWait(window);
  const QString sample = QStringLiteral(QP_SOURCE_DIR "/data/sample.docx");

  DropFiles(window, {QStringLiteral(QP_SOURCE_DIR "/data/help/index.html")});
  DropFiles(window, {sample, sample});
  QMimeData text;
  text.setText(QStringLiteral("/tmp/a.docx"));
  Drop(window, text);
  QMimeData remote;
  remote.setUrls({QUrl(QStringLiteral("https://example.com/a.docx"))});
  Drop(window, remote);

  const std::vector<std::string> expected = {
      TextToUtf8(app::kNotWordMessage), TextToUtf8(app::kSeveralFilesMessage),
      TextToUtf8(app::kNotWordMessage), TextToUtf8(app::kNotWordMessage)};
  EXPECT_EQ(desktop_.texts, expected);
  EXPECT_EQ(desktop_.guidesShown, 0);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadIni(), "");
}

TEST_F(DropTest, AWordDocumentBecomesAPageWithTheShownOptionsAndTheWindowStays) {
  LoadOptions("[SYSTEM]\r\nPrevw=1\r\n");
  Frm_RefWd window(run_, desktop_);
  ShowAndWait(window);
  // Not opened afterwards and UTF-8: what the window shows, not the file.
  QTest::mouseClick(Control<OptionCheckBox>(window, "FCk_Prevw"), Qt::LeftButton);
  QTest::mouseClick(Control<QRadioButton>(window, "FOp_Chrset_1"), Qt::LeftButton);

  const QString document = folder_.path() + QStringLiteral("/報告 書.docx");
  ASSERT_TRUE(QFile::copy(QStringLiteral(QP_SOURCE_DIR "/data/sample.docx"), document));
  DropFiles(window, {document});

  EXPECT_EQ(desktop_.texts, std::vector<std::string>{});
  EXPECT_EQ(desktop_.guidesShown, 1);
  EXPECT_EQ(desktop_.guidesUnloaded, 1);
  // Not opened, so announced.
  EXPECT_EQ(desktop_.announced, std::vector<std::string>{DesktopFile("報告 書.htm").toStdString()});
  QFile page(DesktopFile("報告 書.htm"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  EXPECT_TRUE(page.readAll().startsWith("\xEF\xBB\xBF"));  // UTF-8 with its mark
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadIni(), "[SYSTEM]\r\nPrevw=1\r\n");  // saved only when it closes
  EXPECT_EQ(run_.Opt.Prevw, 1);

  // A second drop is a run of its own, as the first was.
  ASSERT_TRUE(page.remove());
  DropFiles(window, {document});
  EXPECT_TRUE(QFile::exists(DesktopFile("報告 書.htm")));
  EXPECT_EQ(desktop_.guidesShown, 2);
}

// The report ends the process: these run in a child, which must die with the
// report's status and name the handler, leaving Control.ini as it was.
TEST_F(SettingsWindowTest, OptionsNoControlCanShowEndInTheFailureReport) {
  const std::string cases[] = {"[SYSTEM]\r\nEncod=5\r\n", "[SYSTEM]\r\nEncod=2\r\n",
                               "[SYSTEM]\r\nSetCt=3\r\n", "[SYSTEM]\r\nAddSS=255\r\n"};
  for (const std::string& ini : cases) {
    LoadOptions(ini);
    EXPECT_EXIT(Frm_RefWd(run_, desktop_), ::testing::ExitedWithCode(app::kExitFailure),
                "Frm_RefWd -> Form_Load")
        << ini;
    EXPECT_EQ(ReadIni(), ini);
  }
}

}  // namespace
}  // namespace qp::ui
