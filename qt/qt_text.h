#pragma once
// The logic's UTF-16 texts as Qt strings.

#include <QString>

#include <string_view>

namespace quillomat {

inline QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// An image the table names, as the program's compiled-in resource.
inline QString ResourcePath(std::u16string_view name) { return QStringLiteral(":/quillomat/") + ToQString(name); }

}  // namespace quillomat
