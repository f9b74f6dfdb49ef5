// Frm_Guide: the small borderless notice with rounded corners that stays on
// the screen while a page is made. It takes no input.
#pragma once

#include <QRegion>
#include <QWidget>
#include <optional>

#include "text/failure.h"

namespace qp::ui {

// The visible area of a window of `size` pixels: a rounded rectangle whose
// corner ellipse is 15 x 15 pixels.
QRegion RoundedWindowRegion(QSize size);

class Frm_Guide : public QWidget {
  Q_OBJECT

 public:
  explicit Frm_Guide(QWidget* parent = nullptr);

  // A handler's failure, kept until control is back outside Qt's event
  // loop; throws it (once) when there is one.
  void ThrowPendingFailure();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void Form_Load();
  void Form_Resize();

  std::optional<Failure> pending_;
};

}  // namespace qp::ui
