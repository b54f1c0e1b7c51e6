// Opens the device and plays one clip to the end: the cases that end the
// process are tested through it. With "--refuse-below N" first, the device
// refuses buffers smaller than N frames, and the buffer it was opened with is
// printed as "buffer <frames>".
#include "audio/Audio.h"
#include "audio/AudioThread.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool refusing = args.value(0) == QLatin1String("--refuse-below");
    if (refusing) {
        Audio::instance()->refuseBuffersBelowForTesting(args.value(1).toInt());
        args = args.mid(2);
    }
    Audio::instance()->init();
    if (refusing)
        std::printf("buffer %d\n", Audio::instance()->chunkSize());
    AudioThread player;
    player.file = args.value(0);
    QObject::connect(&player, &AudioThread::finished, &app, &QCoreApplication::quit);
    player.start();
    return app.exec();
}
