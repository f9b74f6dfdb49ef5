#include "ui/settings_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/catalogue.h"
#include "app/dropped_files.h"
#include "app/shell.h"
#include "ui/caption_frame.h"
#include "ui/design_font.h"
#include "ui/event_trap.h"
#include "ui/help_page.h"
#include "ui/product_picture.h"
#include "ui/text_fit.h"
#include "ui/twips.h"

namespace qp::ui {

namespace {

constexpr QColor kLightCyan(128, 255, 255);
constexpr QColor kBlue(0, 0, 255);

template <class W>
W* Place(W* widget, const char* name, const QRect& rect) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(rect);
  return widget;
}

// Labels keep their text at the top left and cut what does not fit, as the
// layout assumes.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect) {
  auto* label = Place(new QLabel(text, parent), name, rect);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
  if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

// A line shape: a one-pixel strip in its colour.
QWidget* MakeLine(QWidget* parent, const char* name, int y, const QColor& colour) {
  // From x 0 to x 4005 twips: the end point is not drawn.
  auto* line =
      Place(new QWidget(parent), name,
            QRect(0, PixelsFromTwips(y, kTwipsPerPixel), PixelsFromTwips(4005, kTwipsPerPixel), 1));
  SetColour(line, QPalette::Window, colour);
  return line;
}

OptionCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& text,
                             const QString& toolTip, const QRect& rect) {
  auto* box = Place(new OptionCheckBox(text, parent), name, rect);
  box->setTristate(true);
  if (!toolTip.isEmpty()) box->setToolTip(toolTip);
  return box;
}

}  // namespace

QString VersionCaption(int major, int minor, int revision) {
  return QCoreApplication::translate("Frm_RefWd", "Version：%1.%2.%3")
      .arg(major)
      .arg(minor)
      .arg(revision);
}

int OptionCheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    case Qt::Unchecked:
      break;
  }
  return 0;
}

void OptionCheckBox::SetValue(int value) {
  switch (value) {
    case 0:
      setCheckState(Qt::Unchecked);
      return;
    case 1:
      setCheckState(Qt::Checked);
      return;
    case 2:
      setCheckState(Qt::PartiallyChecked);
      return;
    default:
      Raise(err::kInvalidArgument);
  }
}

void OptionCheckBox::nextCheckState() {
  setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

Frm_RefWd::Frm_RefWd(gen::RunState& run, app::Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      run_(run),
      desktop_(desktop) {
  BuildControls();
  Form_Load();
}

void Frm_RefWd::BuildControls() {
  setObjectName(QStringLiteral("Frm_RefWd"));
  setWindowIcon(ProductIcon());
  setFont(DesignFont(9.75));
  const QRect client = TwipsRect(0, 0, 4035, 7170);
  setFixedSize(client.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - client.center());
  }

  setAcceptDrops(true);

  BuildBanner();
  MakeLine(this, "FSh_Line2", 840, Qt::white);
  MakeLine(this, "FSh_Line1", 855, QColor(128, 128, 128));

  FPc_Quillpg_ = Place(new QWidget(this), "FPc_Quillpg", TwipsRect(135, 945, 3795, 6120));
  BuildUsageFrame(FPc_Quillpg_);
  BuildOptionFrame(FPc_Quillpg_);
  FBt_PHelp_ =
      Place(new QPushButton(QCoreApplication::translate("Frm_RefWd", "最新情報"), FPc_Quillpg_),
            "FBt_PHelp", TwipsRect(1305, 5715, 1380, 345));
  FBt_Close_ =
      Place(new QPushButton(QCoreApplication::translate("Frm_RefWd", "閉じる"), FPc_Quillpg_),
            "FBt_Close", TwipsRect(2805, 5715, 945, 345));
  connect(FBt_PHelp_, &QPushButton::clicked, this, &Frm_RefWd::FBt_PHelp_Click);
  connect(FBt_Close_, &QPushButton::clicked, this, &Frm_RefWd::FBt_Close_Click);

  QWidget* order[] = {FBt_PHelp_, FBt_Close_,     FCk_SetCt_,     FCk_SetPW_, FCk_LGrid_,
                      FCk_Prevw_, FOp_Chrset_[0], FOp_Chrset_[1], FCk_AddSS_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  WidenTextControlsToFit(this);
  FBt_PHelp_->setFocus();
}

QWidget* Frm_RefWd::BuildBanner() {
  auto* banner = Place(new QWidget(this), "FPc_GuideP", TwipsRect(0, 0, 4020, 825));
  SetColour(banner, QPalette::Window, kLightCyan);
  QLabel* picture = MakeProductPictureBox(banner);
  Place(picture, "FPc_DesIcP", TwipsRect(3255, 165, 480, 480));
  QLabel* title = MakeLabel(banner, "FLb_GuideP",
                            QCoreApplication::translate("Frm_RefWd", "「Quillpage」 for Word"),
                            TwipsRect(270, 180, 2760, 225));
  title->setFont(DesignFont(11.25, true));
  SetColour(title, QPalette::WindowText, kBlue);
  FLb_Version_ = MakeLabel(banner, "FLb_Version", QString(), TwipsRect(1290, 465, 1770, 225));
  return banner;
}

QWidget* Frm_RefWd::BuildUsageFrame(QWidget* panel) {
  auto* frame = Place(new CaptionFrame(QCoreApplication::translate("Frm_RefWd", " 使い方 "), panel),
                      "Frame4", TwipsRect(15, 0, 3750, 2010));
  MakeLabel(frame, "Label7",
            QCoreApplication::translate("Frm_RefWd",
                                        "このソフトのデスクトップアイコンにエクス\n"
                                        "プロ－ラなどからワード文書をドロップして\n"
                                        "ください。"),
            TwipsRect(195, 315, 3345, 615));
  MakeLabel(frame, "Label2_0",
            QCoreApplication::translate("Frm_RefWd",
                                        "次の処理を実行します。\n"
                                        "　①ＨＴＭＬファイルをデスクトップに作成\n"
                                        "　②ＨＴＭＬファイルをブラウザに表示\n"),
            TwipsRect(195, 975, 3240, 615));
  QLabel* hint = MakeLabel(
      frame, "Label2_2",
      QCoreApplication::translate("Frm_RefWd", "このフォームを閉じてから実行してください"),
      TwipsRect(210, 1650, 3390, 270));
  SetColour(hint, QPalette::WindowText, kBlue);
  return frame;
}

QWidget* Frm_RefWd::BuildOptionFrame(QWidget* panel) {
  auto* frame =
      Place(new CaptionFrame(QCoreApplication::translate("Frm_RefWd", " オプション "), panel),
            "FFr_Word", TwipsRect(30, 2085, 3735, 3510));
  MakeLabel(frame, "Label1", QCoreApplication::translate("Frm_RefWd", "【ページ表示関連】"),
            TwipsRect(435, 270, 1590, 225));
  FCk_SetCt_ = MakeCheckBox(
      frame, "FCk_SetCt", QCoreApplication::translate("Frm_RefWd", "画面中央に表示"),
      QCoreApplication::translate("Frm_RefWd", "ページの表示位置を画面中央に設定します"),
      TwipsRect(585, 510, 1560, 315));
  FCk_SetCt_->setFont(DesignFont(9));
  FCk_SetPW_ =
      MakeCheckBox(frame, "FCk_SetPW", QCoreApplication::translate("Frm_RefWd", "表示幅を指定"),
                   QCoreApplication::translate("Frm_RefWd", "表示幅をWord文書の設定値にあわせます"),
                   TwipsRect(585, 840, 1365, 315));
  FCk_SetPW_->setFont(DesignFont(9));
  MakeLabel(frame, "Label3", QCoreApplication::translate("Frm_RefWd", "【行間調整】"),
            TwipsRect(420, 1215, 1590, 225));
  FCk_LGrid_ = MakeCheckBox(
      frame, "FCk_LGrid", QCoreApplication::translate("Frm_RefWd", "レイアウトグリッドを指定"),
      QCoreApplication::translate("Frm_RefWd", "行間隔をWord文書にあわせます"),
      TwipsRect(570, 1440, 2295, 315));
  MakeLabel(frame, "Label4", QCoreApplication::translate("Frm_RefWd", "【表示】"),
            TwipsRect(420, 1800, 660, 225));
  FCk_Prevw_ = MakeCheckBox(
      frame, "FCk_Prevw", QCoreApplication::translate("Frm_RefWd", "作成後ブラウザに表示"),
      QCoreApplication::translate("Frm_RefWd", "作成したHTMLファイルをブラウザに表示します"),
      TwipsRect(585, 1995, 2715, 315));
  MakeLabel(frame, "Label5", QCoreApplication::translate("Frm_RefWd", "【文字セット】"),
            TwipsRect(420, 2340, 2055, 225));
  FOp_Chrset_[0] = Place(new QRadioButton(QStringLiteral("shift_jis"), frame), "FOp_Chrset_0",
                         TwipsRect(555, 2610, 1125, 195));
  FOp_Chrset_[1] = Place(new QRadioButton(QStringLiteral("utf-8"), frame), "FOp_Chrset_1",
                         TwipsRect(1650, 2610, 1125, 195));
  MakeLabel(frame, "Label6", QCoreApplication::translate("Frm_RefWd", "【その他】"),
            TwipsRect(420, 2895, 1215, 225));
  FCk_AddSS_ = MakeCheckBox(frame, "FCk_AddSS",
                            QCoreApplication::translate("Frm_RefWd", "外部スタイルシートを使用"),
                            QString(), TwipsRect(555, 3135, 3045, 300));
  return frame;
}

void Frm_RefWd::Form_Load() {
  Trap trap("Frm_RefWd -> Form_Load");
  try {
    trap.Step(1);
    setWindowTitle(QCoreApplication::translate("Frm_RefWd", "「Quillpage」 for Word"));
    trap.Step(2);
    SetColour(FPc_Quillpg_, QPalette::Window, palette().color(QPalette::Button));
    trap.Step(3);
    FCk_SetCt_->SetValue(run_.Opt.SetCt);
    trap.Step(4);
    FCk_SetPW_->SetValue(run_.Opt.SetPW);
    trap.Step(5);
    FCk_LGrid_->SetValue(run_.Opt.LGrid);
    trap.Step(6);
    FCk_Prevw_->SetValue(run_.Opt.Prevw);
    trap.Step(7);
    FCk_AddSS_->SetValue(run_.Opt.AddSS);
    trap.Step(8);
    // There is one option button per encoding and no other.
    if (run_.Opt.Encod >= std::size(FOp_Chrset_)) Raise(err::kSubscriptOutOfRange);
    FOp_Chrset_[run_.Opt.Encod]->setChecked(true);
    trap.Step(9);
    FLb_Version_->setText(VersionCaption(QP_VERSION_MAJOR, QP_VERSION_MINOR, QP_VERSION_PATCH));
  } catch (...) {
    // The report ends the process; the window is never shown.
    app::Srv_Dsp_Err(LocatedFailure(trap), run_, desktop_);
  }
}

void Frm_RefWd::FBt_Close_Click() {
  Trap trap("Frm_RefWd -> FBt_Close_Click");
  try {
    trap.Step(1);
    close();
  } catch (...) {
    app::Srv_Dsp_Err(LocatedFailure(trap), run_, desktop_);
  }
}

void Frm_RefWd::FBt_PHelp_Click() {
  Trap trap("Frm_RefWd -> FBt_PHelp_Click");
  try {
    trap.Step(1);
    const QString page = HelpPagePath(run_.ProgramFolder, app::UserReadsJapanese());
    trap.Step(2);
    // Without a browser (or without xdg-open) the user is told so and the
    // window stays, with the options not yet saved.
    const int code = OpenInBrowser(page);
    trap.Step(3);
    if (code != 0) app::Srv_Dsp_Msg(desktop_, HelpPageFailureMessage(code), 3, 0, 0);
  } catch (...) {
    app::Srv_Dsp_Err(LocatedFailure(trap), run_, desktop_);
  }
}

void Frm_RefWd::Form_OLEDragDrop(const std::vector<std::string>& paths) {
  Trap trap("Frm_RefWd -> Form_OLEDragDrop");
  try {
    trap.Step(1);
    // The run takes what the window shows; nothing is saved until it closes.
    gen::Options shown = run_.Opt;
    ReadControls(shown);
    trap.Step(2);
    converting_ = true;
    app::DisposeDroppedFiles(run_, shown, desktop_, paths);
    converting_ = false;
  } catch (...) {
    app::Srv_Dsp_Err(LocatedFailure(trap), run_, desktop_);
  }
}

void Frm_RefWd::dragEnterEvent(QDragEnterEvent* event) {
  // Anything may be dropped: what is not one Word document gets the
  // launcher's refusal. One run at a time.
  if (!converting_) event->acceptProposedAction();
}

void Frm_RefWd::dragMoveEvent(QDragMoveEvent* event) {
  if (!converting_) event->acceptProposedAction();
}

void Frm_RefWd::dropEvent(QDropEvent* event) {
  if (converting_) return;
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    paths.push_back(url.isLocalFile() ? QFile::encodeName(url.toLocalFile()).toStdString()
                                      : std::string());
  }
  // Text or anything else without a file in it.
  if (paths.empty()) paths.emplace_back();
  event->acceptProposedAction();
  // The source of the drag waits for the drop to end: the run comes after.
  QTimer::singleShot(0, this, [this, paths] { Form_OLEDragDrop(paths); });
}

void Frm_RefWd::closeEvent(QCloseEvent* event) {
  // Closing is never refused; the options are saved once however the
  // window was closed.
  event->accept();
  if (unloaded_) return;
  unloaded_ = true;
  Form_Unload();
  emit Unloaded();
}

void Frm_RefWd::ReadControls(gen::Options& opt) const {
  auto valueOf = [](const OptionCheckBox* box) { return static_cast<std::uint8_t>(box->Value()); };
  IgnoreFailures([&] { opt.SetCt = valueOf(FCk_SetCt_); });
  IgnoreFailures([&] { opt.SetPW = valueOf(FCk_SetPW_); });
  IgnoreFailures([&] { opt.LGrid = valueOf(FCk_LGrid_); });
  IgnoreFailures([&] { opt.Prevw = valueOf(FCk_Prevw_); });
  IgnoreFailures([&] { opt.AddSS = valueOf(FCk_AddSS_); });
  IgnoreFailures([&] {
    if (FOp_Chrset_[0]->isChecked()) opt.Encod = 0;
  });
  IgnoreFailures([&] {
    if (FOp_Chrset_[1]->isChecked()) opt.Encod = 1;
  });
}

void Frm_RefWd::Form_Unload() {
  try {
    ReadControls(run_.Opt);
    IgnoreFailures([&] { app::Sav_Opt_Fil(run_); });
  } catch (const Failure& failure) {
    // Only a procedure that has already decided on the report throws these.
    app::Srv_Dsp_Err(failure, run_, desktop_);
  }
}

}  // namespace qp::ui
