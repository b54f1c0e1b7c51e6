#include "audio/ClipCheck.h"

#include <QFile>
#include <vorbis/vorbisfile.h>

namespace ClipCheck {

bool decodes(const QString &path)
{
    OggVorbis_File file;
    // Opened by the platform's file-name encoding, as the players open clips.
    if (ov_fopen(QFile::encodeName(path).constData(), &file) != 0)
        return false;
    char buffer[16 * 1024];
    bool sound = false;
    long got = 0;
    int section = 0;
    // SDL_mixer gives up on any negative answer, a hole in the data included.
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0)
        sound = true;
    ov_clear(&file);
    return got == 0 && sound;
}

} // namespace ClipCheck
