#include "ui/product_picture.h"

// The resources live in the static qp_ui library, whose initialiser the
// linker would drop; referencing it here keeps it.
static void InitResources() {
  Q_INIT_RESOURCE(quillpage);
}

namespace qp::ui {

QPixmap ProductPicture() {
  InitResources();
  return QPixmap(QStringLiteral(":/quillpage/quillpage-32.png"));
}

QIcon ProductIcon() {
  InitResources();
  QIcon icon;
  icon.addFile(QStringLiteral(":/quillpage/quillpage-32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/quillpage/quillpage-256.png"), QSize(256, 256));
  return icon;
}

QLabel* MakeProductPictureBox(QWidget* parent) {
  auto* box = new QLabel(parent);
  // On a scaled screen the large drawing keeps the picture sharp.
  box->setPixmap(ProductIcon().pixmap(QSize(32, 32), box->devicePixelRatioF()));
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return box;
}

}  // namespace qp::ui
