// Window geometry is designed in twips (1/1440 inch). Qt lays widgets out in
// device-independent pixels of 1/96 inch, which it multiplies by the screen's
// device pixel ratio itself, so one such pixel is always 15 twips here.
#pragma once

#include <QRect>
#include <QSize>

namespace qp::ui {

constexpr double kTwipsPerPixel = 15.0;

// twips / twipsPerPixel in floating point, rounded to the nearest whole
// number with halves going to the even one. A quotient that is not a finite
// number in int range raises (division by zero, overflow).
int PixelsFromTwips(double twips, double twipsPerPixel);

// The size in pixels of a window `widthTwips` x `heightTwips` on a screen
// with the given twips per pixel, each side rounded as above: the size of the
// guide window's rounded region.
QSize PixelSizeFromTwips(double widthTwips, double heightTwips, double twipsPerPixelX,
                         double twipsPerPixelY);

// A control's rectangle (left, top, width, height in twips) in layout pixels.
QRect TwipsRect(int left, int top, int width, int height);

}  // namespace qp::ui
