#pragma once

#include <QRect>

class QPainter;

// The 16 pictures of the selection margin, drawn as shapes so that they stay crisp at any
// scale: execution line, disabled and enabled breakpoint, a spare mark, numbered bookmarks 1 to
// 9 and 0, the plain bookmark and a marked line.
namespace MarginPictures {

void Draw(QPainter& painter, const QRectF& box, int picture);

} // namespace MarginPictures
