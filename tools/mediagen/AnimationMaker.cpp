#include "AnimationMaker.h"

#include "Mascot.h"
#include "Tools.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QTemporaryDir>
#include <QtMath>

const QSize AnimationMaker::kIntroSize(600, 450);
const QSize AnimationMaker::kMascotSize(300, 300);

namespace {

const int kIntroFrames = 24;
const int kMascotFrames = 16;

QFont boldFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QImage introFrame(int frame, const QString &title, const QString &subtitle)
{
    // The welcome window's own blue, so the animation has no visible edge.
    QImage image(AnimationMaker::kIntroSize, QImage::Format_RGB32);
    image.fill(QColor(0, 68, 227));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double phase = 2 * M_PI * frame / kIntroFrames;

    // The title's letters bob one after the other.
    painter.setFont(boldFont(78));
    const QFontMetrics metrics(painter.font());
    int x = (image.width() - metrics.horizontalAdvance(title)) / 2;
    for (int i = 0; i < title.size(); ++i) {
        const QString letter = title.mid(i, 1);
        const int y = 100 + qRound(8 * std::sin(phase - i * 0.7));
        painter.setPen(QColor(0, 20, 90));
        painter.drawText(x + 4, y + 4, letter);
        painter.setPen(i % 2 ? QColor(0xff, 0xd4, 0x00) : Qt::white);
        painter.drawText(x, y, letter);
        x += metrics.horizontalAdvance(letter);
    }
    painter.setFont(boldFont(24));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 120, image.width(), 40), Qt::AlignCenter, subtitle);

    // A braille cell on the left shows the letters of the alphabet in turn,
    // a big letter on the right.
    static const int cells[] = { 0x01, 0x03, 0x09, 0x19, 0x11, 0x0b };
    static const char letters[] = "ABCDEF";
    const int shown = (frame / 4) % 6;
    for (int dot = 0; dot < 6; ++dot) {
        const QPointF centre(90 + (dot / 3) * 40, 230 + (dot % 3) * 40);
        const bool raised = cells[shown] & (1 << dot);
        painter.setPen(QPen(raised ? QColor(0xff, 0xd4, 0x00) : QColor(0x9d, 0xb4, 0xf5), 4));
        painter.setBrush(raised ? QColor(0x10, 0x10, 0x10) : QColor(0, 68, 227));
        painter.drawEllipse(centre, 15, 15);
    }
    painter.setFont(boldFont(110));
    painter.setPen(Qt::white);
    painter.drawText(
        QRectF(430, 190, 140, 150), Qt::AlignCenter, QString(QLatin1Char(letters[shown])));

    Mascot::Pose pose;
    pose.wave = 110 + 35 * std::sin(phase * 2);
    pose.hop = 0.03 * std::max(0.0, std::sin(phase));
    pose.eyes = (frame % 12 == 11) ? 0 : 1;
    Mascot::draw(painter, QRectF(195, 175, 230, 230), pose);
    return image;
}

QImage mascotFrame(int frame)
{
    QImage image(AnimationMaker::kMascotSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double phase = 2 * M_PI * frame / kMascotFrames;
    // A soft shadow that shrinks while Mofli is in the air.
    const double hop = 0.06 * std::max(0.0, std::sin(phase));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    const double shadow = 70 - 200 * hop;
    painter.drawEllipse(QPointF(150, 280), shadow, 10);
    Mascot::Pose pose;
    pose.wave = 100 + 40 * std::sin(phase * 2);
    pose.hop = hop;
    pose.eyes = frame == kMascotFrames - 3 ? 0 : 1;
    pose.look = std::sin(phase);
    Mascot::draw(painter, QRectF(20, 20, 260, 260), pose);
    return image;
}

} // namespace

QList<QImage> AnimationMaker::frames(const QStringList &params, int *delayCentiseconds)
{
    QList<QImage> result;
    if (params.value(0) == QLatin1String("intro")) {
        *delayCentiseconds = 12;
        for (int i = 0; i < kIntroFrames; ++i)
            result.append(introFrame(i, params.value(1), params.value(2)));
    } else if (params.value(0) == QLatin1String("mascot")) {
        *delayCentiseconds = 10;
        for (int i = 0; i < kMascotFrames; ++i)
            result.append(mascotFrame(i));
    }
    return result;
}

bool AnimationMaker::make(const QStringList &params, const QString &target,
    const QString &scratchDir, QString *error) const
{
    int delay = 10;
    const QList<QImage> images = frames(params, &delay);
    if (images.isEmpty()) {
        *error = QStringLiteral("unknown animation: %1").arg(params.join(QLatin1Char(' ')));
        return false;
    }
    QTemporaryDir dir(scratchDir + QStringLiteral("/frames-XXXXXX"));
    if (!dir.isValid()) {
        *error = QStringLiteral("no scratch folder in %1").arg(scratchDir);
        return false;
    }
    QStringList args = { QStringLiteral("-delay"), QString::number(delay), QStringLiteral("-loop"),
        QStringLiteral("0") };
    for (int i = 0; i < images.size(); ++i) {
        const QString frame
            = dir.filePath(QStringLiteral("frame%1.png").arg(i, 3, 10, QLatin1Char('0')));
        if (!images.at(i).save(frame, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(frame);
            return false;
        }
        args.append(frame);
    }
    // Dates would make every run's file differ.
    args += { QStringLiteral("-define"), QStringLiteral("png:exclude-chunks=date,time"),
        QStringLiteral("+set"), QStringLiteral("date:create"), QStringLiteral("+set"),
        QStringLiteral("date:modify"), QStringLiteral("MNG:") + target };
    return Tools::run(m_tools.convert, args, error);
}
