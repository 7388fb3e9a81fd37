#pragma once
// The first image of a GIF (87a or 89a), decoded here rather than by Qt's GIF plugin: loading the
// plugin means scanning Qt's image format plugins and loading a library before the window can show
// its banner.

#include <QByteArrayView>
#include <QImage>

namespace quillomat {

// The image at the size of the GIF's logical screen: RGB32, or ARGB32 when the image has a
// transparent colour, where transparent pixels and any part of the screen the image does not
// cover are transparent. A colour index beyond the colour table is black. A null image if the
// data is not a GIF or ends before the image's last pixel.
QImage ReadGif(QByteArrayView data);

// Whether the data starts as a GIF does.
bool IsGif(QByteArrayView data);

}  // namespace quillomat
