// Frm_RefWd: the window shown when the program starts without a document. It
// tells how the program is used and holds the six conversion options; closing
// it, by its button or by the close box, saves them.
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QWidget>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "generate/run_state.h"

class QLabel;
class QPushButton;

namespace qp::ui {

// The text on FLb_Version for a version number.
QString VersionCaption(int major, int minor, int revision);

// A check box whose value is 0 (clear), 1 (ticked) or 2 (greyed). The greyed
// state is shown and kept, but clicking only ever ticks or clears.
class OptionCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;
  int Value() const;
  // Raises err::kInvalidArgument for anything but 0, 1 or 2.
  void SetValue(int value);

 protected:
  void nextCheckState() override;
};

class Frm_RefWd : public QWidget {
  Q_OBJECT

 public:
  // Builds the window and runs Form_Load, which puts run.Opt into the
  // controls; options no control can show end in the failure report.
  Frm_RefWd(gen::RunState& run, app::Desktop& desktop, QWidget* parent = nullptr);

  void FBt_Close_Click();
  void FBt_PHelp_Click();
  // Files dropped on the window: converted as a drop on the launcher would
  // convert them, with the options the window shows; the window stays open.
  // Each entry is a local path, or empty for an item that is no local file.
  void Form_OLEDragDrop(const std::vector<std::string>& paths);

 signals:
  // Form_Unload has run; the window is gone for the user.
  void Unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildBanner();
  QWidget* BuildUsageFrame(QWidget* panel);
  QWidget* BuildOptionFrame(QWidget* panel);
  void Form_Load();
  void Form_Unload();
  // The controls' values into `opt`, each step going on whatever the one
  // before it did; with neither option button selected Encod keeps its value.
  void ReadControls(gen::Options& opt) const;

  gen::RunState& run_;
  app::Desktop& desktop_;
  bool unloaded_ = false;
  bool converting_ = false;  // a dropped document's run is going on

  QWidget* FPc_Quillpg_ = nullptr;
  QLabel* FLb_Version_ = nullptr;
  OptionCheckBox* FCk_SetCt_ = nullptr;
  OptionCheckBox* FCk_SetPW_ = nullptr;
  OptionCheckBox* FCk_LGrid_ = nullptr;
  OptionCheckBox* FCk_Prevw_ = nullptr;
  OptionCheckBox* FCk_AddSS_ = nullptr;
  QRadioButton* FOp_Chrset_[2] = {nullptr, nullptr};
  QPushButton* FBt_PHelp_ = nullptr;
  QPushButton* FBt_Close_ = nullptr;
};

}  // namespace qp::ui
