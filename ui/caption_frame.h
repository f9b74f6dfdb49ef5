// A frame with its caption set into the top edge: an etched border that
// starts half a text line down, so that controls placed by the layout keep
// their distance from the caption as designed. QGroupBox draws the caption
// above the border in most styles, which crowds the first row of controls.
#pragma once

#include <QString>
#include <QWidget>

namespace qp::ui {

class CaptionFrame : public QWidget {
  Q_OBJECT

 public:
  CaptionFrame(const QString& caption, QWidget* parent);
  const QString& caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace qp::ui
