#include "audio/AudioClip.h"

#include "audio/Audio.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>

AudioClip::AudioClip(const QString &path)
{
    // The platform's file-name encoding, so that "Español" opens on every locale.
    SDL_RWops *stream = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
    if (stream)
        chunk = Mix_LoadWAV_RW(stream, 1);
    if (!chunk) {
        Audio::writeLogRecord(QStringLiteral("AudioClip::AudioClip"),
                              {QStringLiteral("error opening filename = ") + path,
                               Audio::mixerErrorLine()},
                              QStringLiteral("AudioClip::AudioClip"));
        Audio::fatal();
    }
}

AudioClip::~AudioClip()
{
    if (chunk)
        Mix_FreeChunk(chunk);
}

void AudioClip::play()
{
    if (!chunk)
        return;
    if (Mix_PlayChannelTimed(0, chunk, 0, -1) == -1) {
        Audio::writeLogRecord(QStringLiteral("AudioClip::play (error)"), {Audio::mixerErrorLine()},
                              QStringLiteral("AudioClip::play"));
    }
}
