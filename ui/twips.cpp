#include "ui/twips.h"

#include <cfenv>
#include <climits>
#include <cmath>

#include "text/failure.h"

namespace qp::ui {

int PixelsFromTwips(double twips, double twipsPerPixel) {
  if (twipsPerPixel == 0.0) Raise(err::kDivisionByZero);
  const double quotient = twips / twipsPerPixel;
  if (!std::isfinite(quotient)) Raise(err::kOverflow);
  // nearbyint follows the rounding mode, which is to-nearest-even unless
  // someone changed it; say so rather than rely on it.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(quotient);
  std::fesetround(saved);
  if (rounded < static_cast<double>(INT_MIN) || rounded > static_cast<double>(INT_MAX)) {
    Raise(err::kOverflow);
  }
  return static_cast<int>(rounded);
}

QSize PixelSizeFromTwips(double widthTwips, double heightTwips, double twipsPerPixelX,
                         double twipsPerPixelY) {
  return QSize(PixelsFromTwips(widthTwips, twipsPerPixelX),
               PixelsFromTwips(heightTwips, twipsPerPixelY));
}

QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(PixelsFromTwips(left, kTwipsPerPixel), PixelsFromTwips(top, kTwipsPerPixel),
               PixelsFromTwips(width, kTwipsPerPixel), PixelsFromTwips(height, kTwipsPerPixel));
}

}  // namespace qp::ui
