#pragma once

#include <QString>

// Whether a clip would play, without opening the sound device: the
// administrator refuses a recording that would end a child's session (an
// undecodable clip is fatal to the player) before copying it into the tree.
namespace ClipCheck {

// True when path is an Ogg Vorbis file that decodes from start to end and
// holds some sound. Decodes the whole file with libvorbisfile, the decoder
// SDL_mixer uses for Ogg Vorbis, and refuses on any error it reports.
bool decodes(const QString &path);

} // namespace ClipCheck
