// Shows one window as the program shows it, for screenshots:
//   qp_window_preview settings|settings-greyed|guide|report|drop|help SETTINGS_FOLDER
// The settings window saves into SETTINGS_FOLDER when it is closed. "drop"
// drops the files QP_PREVIEW_DROP names (separated by ":") on the settings
// window after a second; "help" presses 最新情報 then.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "app/word_engine.h"
#include "text/codec.h"
#include "ui/qt_desktop.h"
#include "ui/settings_window.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr
        << "usage: qp_window_preview settings|settings-greyed|guide|report|drop|help FOLDER\n";
    return 2;
  }
  const std::string which = argv[1];
  qp::gen::RunState run;
  run.SettingsFolder = qp::Utf8ToText(argv[2]);
  int qtArgc = 1;
  std::unique_ptr<qp::app::Desktop> desktop = qp::ui::MakeQtDesktop(qtArgc, argv);
  // The help page lies where it lies for the program in ui/.
  run.ProgramFolder =
      qp::Utf8ToText(QCoreApplication::applicationDirPath().toStdString() + "/../../ui");

  if (which == "drop" || which == "help") {
    // The settings window, then (after a moment, as a user would) a drop of
    // the files named by QP_PREVIEW_DROP or a click on 最新情報.
    qp::app::ProcessWordEngine engine;
    run.Engine = &engine;
    run.Opt.Prevw = 0;  // no browser under the virtual display: the notice instead
    qp::ui::Frm_RefWd window(run, *desktop);
    window.show();
    QTimer::singleShot(1000, &window, [&] {
      if (which == "help") {
        window.FBt_PHelp_Click();
        return;
      }
      QMimeData data;
      QList<QUrl> urls;
      for (const QString& file : qEnvironmentVariable("QP_PREVIEW_DROP").split(u':'))
        urls.append(QUrl::fromLocalFile(file));
      data.setUrls(urls);
      const QPoint at = window.rect().center();
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&window, &enter);
      QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&window, &drop);
    });
    return QApplication::exec();
  }
  if (which == "settings" || which == "settings-greyed") {
    if (which == "settings-greyed") {
      run.Opt = {.SetCt = 1, .SetPW = 2, .LGrid = 0, .Prevw = 1, .Encod = 1, .AddSS = 1};
    }
    desktop->RunSettingsWindow(run);
    return 0;
  }
  if (which == "guide") {
    desktop->ShowGuideWindow();
    desktop->SetWaitCursor(true);
    return QApplication::exec();
  }
  if (which == "report") {
    // In the reader's language, as the shell shows it.
    desktop->MessageBox(
        desktop->Translate(
            u"次の障害が発生しましたので処理を中断しました。    \r\n"
            u"この障害が続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    \r\n"
            u"\r\n  （障害情報）\r\n     日時 ： 2009年03月05日 14時07分09秒\r\n"
            u"     場所 ： Frm_RefWd -> Form_Load Line=8\r\n     内容 ： Code=9\r\n"),
        16, u"Quillpage");
    return 0;
  }
  std::cerr << "unknown window: " << which << "\n";
  return 2;
}
