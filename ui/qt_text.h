// Texts cross into Qt here: both sides are UTF-16, so nothing is converted.
#pragma once

#include <QString>

#include "text/ustring.h"

namespace qp::ui {

inline QString ToQString(TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text ToText(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()),
              static_cast<std::size_t>(text.size()));
}

}  // namespace qp::ui
