#pragma once
// The program's name and version as Qt reports them on every platform (the same as the Windows
// version record), and the desktop entry it belongs to. Call before creating the application.

#include <QCoreApplication>
#include <QGuiApplication>

#include "quillomat_version.h"

namespace quillomat {

inline void DescribeApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Quillomat"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUILLOMAT_VERSION_TEXT));
  QCoreApplication::setOrganizationName(QStringLiteral("Pellnor"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillomat.Quillomat"));
}

}  // namespace quillomat
