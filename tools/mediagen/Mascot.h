#pragma once

#include <QRectF>

class QPainter;

// Mofli, the program's mascot: a round, orange, friendly creature drawn with
// plain shapes so it stays clear at any size and on any background.
namespace Mascot {

struct Pose
{
    // Raise of the right arm in degrees (0 hangs down, 140 waves high).
    double wave = 20;
    // 1 open, 0 closed (a blink).
    double eyes = 1;
    // Vertical shift as a fraction of the height, for a little hop.
    double hop = 0;
    // Where the pupils look, -1 (left) … 1 (right).
    double look = 0;
};

// Draws Mofli filling box (kept square and centred).
void draw(QPainter &painter, const QRectF &box, const Pose &pose = Pose());

} // namespace Mascot
