#pragma once
// A PNG of the program's own resources, read without asking every image format plugin whether it
// knows the file: Qt reads PNG itself, and loading a plugin would delay the window's first paint.

#include <QImage>
#include <QImageReader>
#include <QString>

namespace quillomat {

inline QImage ReadPng(const QString& path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace quillomat
