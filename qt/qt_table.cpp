#include "qt_table.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "qt_text.h"

namespace quillomat::table {

QSize ClientSize(const WindowRow& window) {
  return {Pixels(window.clientWidthTwips), Pixels(window.clientHeightTwips)};
}

QLine PixelLine(const ControlRow& row) {
  return {Pixels(row.line.x1), Pixels(row.line.y1), Pixels(row.line.x2), Pixels(row.line.y2)};
}

QRect PixelRect(const ControlRow& row) {
  if (row.kind == Kind::Line) {
    const QLine line = PixelLine(row);
    return QRect(line.p1(), line.p2()).normalized();
  }
  return {Pixels(row.box.left), Pixels(row.box.top), Pixels(row.box.width), Pixels(row.box.height)};
}

QPalette::ColorRole PaletteRole(SystemColour colour) {
  switch (colour) {
    case SystemColour::ButtonFace: return QPalette::Button;
    case SystemColour::ButtonText: return QPalette::ButtonText;
    case SystemColour::WindowBackground: return QPalette::Base;
    case SystemColour::WindowText: return QPalette::Text;
    case SystemColour::ActiveBorder: break;
  }
  return QPalette::Window;
}

Qt::Alignment QtAlignment(const ControlRow& row) {
  // Labels draw their caption from the top, as single-line boxes centre theirs.
  const Qt::Alignment vertical = row.kind == Kind::Label ? Qt::AlignTop : Qt::AlignVCenter;
  switch (row.align) {
    case Align::Centre: return vertical | Qt::AlignHCenter;
    case Align::Right: return vertical | Qt::AlignRight;
    case Align::Left: break;
  }
  return vertical | Qt::AlignLeft;
}

namespace {

// The designed face where the desktop has it, else the closest substitute it has. Resolved once
// against the installed families, so no font lookup pays for asking after a missing face.
const QString& FontFamily() {
  static const QString family = [] {
    // Liberation Sans and Arial share metrics close to the designed face; DejaVu Sans is wider.
    const QStringList installed = QFontDatabase::families();
    for (const char* candidate : {"MS Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"}) {
      if (installed.contains(QLatin1String(candidate))) return QString::fromLatin1(candidate);
    }
    return QString();  // the style hint then picks the desktop's sans-serif face
  }();
  return family;
}

}  // namespace

QFont QtFont(Font font) {
  QFont qtFont(FontFamily());
  qtFont.setStyleHint(QFont::SansSerif);
  // Pixels, not points: the boxes are fixed in pixels, so text must not follow a desktop's DPI.
  qtFont.setPixelSize(PixelSize(font));
  qtFont.setWeight(static_cast<QFont::Weight>(font.weight));
  return qtFont;
}

QFont FittedFont(const ControlRow& row) {
  QFont font = QtFont(row.font);
  const QString widest = ToQString(row.widest);
  const int room = Pixels(row.box.width);
  const auto fits = [&] {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(widest) <= room && metrics.boundingRect(widest).width() <= room;
  };
  // Letters closer by a twentieth of a pixel at a time, never by more than a pixel.
  for (qreal spacing = -0.05; !fits() && spacing >= -1.0; spacing -= 0.05) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  }
  return font;
}

}  // namespace quillomat::table
