// The product picture: the 32 x 32 image in both windows, and the window icon.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QPixmap>

namespace qp::ui {

QPixmap ProductPicture();  // 32 x 32
QIcon ProductIcon();       // every size the desktop may ask for

// A picture box holding the product picture, named and placed by the caller.
QLabel* MakeProductPictureBox(QWidget* parent);

}  // namespace qp::ui
