#pragma once

#include <QString>

struct Mix_Chunk;

// One clip, decoded entirely into memory. Lives only while it plays.
class AudioClip
{
public:
    // Decodes the file. A file that cannot be decoded is fatal: the log
    // record is written and the process ends with status 1. A file that no
    // longer exists leaves the clip empty.
    explicit AudioClip(const QString &path);
    ~AudioClip();

    bool isEmpty() const { return chunk == nullptr; }

    // Starts the clip once on the voice channel. A refusal is logged and the
    // caller goes on.
    void play();

    AudioClip(const AudioClip &) = delete;
    AudioClip &operator=(const AudioClip &) = delete;

private:
    Mix_Chunk *chunk = nullptr;
};
