#pragma once
// A PNG of the program's own resources, read without asking every image format plugin whether it
// knows the file: Qt reads PNG itself, and loading a plugin would delay the window's first paint.

#include <QImage>
#include <QImageReader>
#include <QString>

namespace quillomat {

// The file named as `path` up to its extension, then `ending`: "banner.gif" with "@2x.png" is
// "banner@2x.png".
inline QString WithEnding(const QString& path, QStringView ending) {
  return path.left(path.lastIndexOf(u'.')).append(ending);
}

inline QImage ReadPng(const QString& path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace quillomat
