#pragma once

#include <QRectF>
#include <QString>

class QPainter;

// Objects no emoji shows, drawn with Qt: "draw:<name>" in the sources.
// Each fills the square it is given; the picture maker scales and centres
// the result like an emoji.
namespace Drawings {

using Drawing = void (*)(QPainter &, const QRectF &);

// The drawing of that name, or nullptr.
Drawing find(const QString &name);

} // namespace Drawings
