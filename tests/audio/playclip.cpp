// Opens the device and plays one clip to the end: the cases that end the
// process are tested through it.
#include "audio/Audio.h"
#include "audio/AudioThread.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Audio::instance()->init();
    AudioThread player;
    player.file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QObject::connect(&player, &AudioThread::finished, &app, &QCoreApplication::quit);
    player.start();
    return app.exec();
}
