#pragma once
// The logic's UTF-16 texts as Qt strings.

#include <QString>

#include <string_view>

namespace quillomat {

inline QString ToQString(std::u16string_view text) {
  return QString(QStringView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace quillomat
