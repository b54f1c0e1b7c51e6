#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

// Paints the still pictures of the tree with Qt: object pictures from colour
// emoji or a few drawings, pictures of counted objects, illustrated text
// frames, the braille cell and Perkins key pictures, the mascot pictures and
// the credits, saved as JPEG. An object is drawn as large as its picture
// allows, on a light background or, when it is pale, a dark one; a word
// picture whose object is too small or too faint is refused.
class PictureMaker
{
public:
    // Picture sizes the program's screens are laid out for.
    static const QSize kObjectSize;
    static const QSize kFrameSize;
    static const QSize kCellDotSize;
    static const QSize kPerkinsKeySize;
    static const QSize kPerkinsSpaceKeySize;
    static const QSize kMascotSize;
    static const QSize kCreditsSize;
    // The smallest print of a text frame's words: capitals at least 32
    // pixels high.
    static constexpr int kCaptionPixels = 44;

    // params[0] names the picture type: "object" source; "count" emoji n;
    // "frame" scene background caption; "dot" n raised; "key" n pressed;
    // "mascot" n; "credits" line…
    static QImage render(const QStringList &params, QString *error);
    static bool make(const QStringList &params, const QString &target, QString *error);

    // Whether the emoji font has every character of text; missing names the
    // first one it lacks.
    static bool emojiAvailable(const QString &text, QString *missing);
    // A named drawing for objects no emoji shows ("xilofono", "iguana", …).
    static bool hasDrawing(const QString &name);
    // The lettering of every picture, without ligatures.
    static QFont letteringFont(double pixelSize, bool bold = true);
};
