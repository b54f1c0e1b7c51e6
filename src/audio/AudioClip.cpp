#include "audio/AudioClip.h"

#include "audio/Audio.h"
#include "content/LogRecord.h"

#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <SDL_mixer.h>
#include <mutex>

namespace {
// SDL_mixer's decoders are not safe to run on two threads at once (seen as
// "Unrecognized audio format" and crashes when two players decode together),
// so players take turns decoding; playing needs no such lock.
std::mutex &decoderMutex()
{
    // Never destroyed: a player's thread may still be decoding at exit.
    static std::mutex *mutex = new std::mutex;
    return *mutex;
}
} // namespace

AudioClip::AudioClip(const QString &path)
{
    // The platform's file-name encoding, so that "Español" opens on every locale.
    QString error;
    {
        std::lock_guard<std::mutex> lock(decoderMutex());
        SDL_RWops *stream = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
        // Removed since the player looked for it: a missing clip, which is
        // skipped, not a clip that cannot be decoded.
        if (!stream && !QFileInfo::exists(path))
            return;
        if (stream)
            chunk = Mix_LoadWAV_RW(stream, 1);
        if (!chunk)
            error = Audio::mixerErrorLine();
    }
    if (!chunk) {
        writeLogRecord(QStringLiteral("AudioClip::AudioClip"),
            { QStringLiteral("error opening filename = ") + path, error },
            QStringLiteral("AudioClip::AudioClip"));
        Audio::fatal();
    }
}

AudioClip::~AudioClip()
{
    if (chunk) {
        std::lock_guard<std::mutex> lock(decoderMutex());
        Mix_FreeChunk(chunk);
    }
}

void AudioClip::play()
{
    if (!chunk)
        return;
    if (Mix_PlayChannelTimed(0, chunk, 0, -1) == -1) {
        writeLogRecord(QStringLiteral("AudioClip::play (error)"), { Audio::mixerErrorLine() },
            QStringLiteral("AudioClip::play"));
    }
}
