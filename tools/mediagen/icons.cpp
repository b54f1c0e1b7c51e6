// purimba-icons: the menu icon, Mofli drawn at every size the hicolor theme
// is asked for, so that no size is a blurred scaling of another.
//
//   purimba-icons <folder> <name> <size>...
//
// writes <folder>/<size>x<size>/apps/<name>.png for every size.

#include "mediagen/Mascot.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Painting needs a GUI application but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: purimba-icons <folder> <name> <size>...\n");
        return 2;
    }
    const QString folder = arguments.at(1);
    const QString name = arguments.at(2);
    for (const QString &sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 16) {
            std::fprintf(stderr, "purimba-icons: not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        // The waving arm reaches past the body's box; a small margin keeps it in.
        const double margin = size * 0.06;
        Mascot::draw(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
        painter.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "purimba-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
