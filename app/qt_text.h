#pragma once
// The logic's UTF-16 texts as Qt strings.

#include <QString>

#include <string_view>

namespace quillomat {

inline QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// A tooltip with one sentence a line, so that it stays narrow without rich text.
inline QString WrappedToolTip(QString plain) { return plain.replace(QStringLiteral(". "), QStringLiteral(".\n")); }

}  // namespace quillomat
