#pragma once
// The window table's rows in Qt's terms: pixel geometry, palette roles, alignment and fonts.

#include <QFont>
#include <QLine>
#include <QPalette>
#include <QRect>
#include <QSize>

#include "window_table.h"

namespace quillomat::table {

QSize ClientSize(const WindowRow& window);
// The control's rectangle in client pixels; for the line, the rectangle its endpoints span.
QRect PixelRect(const ControlRow& row);
QLine PixelLine(const ControlRow& row);
QPalette::ColorRole PaletteRole(SystemColour colour);
Qt::Alignment QtAlignment(const ControlRow& row);
QFont QtFont(Font font);
// The control's font, its letters drawn closer where its widest text would not fit otherwise.
QFont FittedFont(const ControlRow& row);

}  // namespace quillomat::table
