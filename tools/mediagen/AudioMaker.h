#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class Tools;

// Makes Ogg Vorbis clips: speech from espeak-ng and synthesized sounds or
// silences from sox, both encoded by oggenc. Each clip gets a fixed Ogg
// stream serial number derived from its content, so equal sources give
// equal bytes.
class AudioMaker
{
public:
    explicit AudioMaker(const Tools &tools)
        : m_tools(tools)
    {
    }

    // params: voice, speed (words per minute), pitch (0-99), text and
    // optionally the shortest length in seconds: shorter speech is slowed
    // down (pitch kept) to it, and refused if it still falls short. The
    // text may hold espeak-ng phoneme input in [[...]].
    bool speech(const QStringList &params, const QString &target, QString *error) const;
    // params: sox effect arguments (one string, split at blanks) and a
    // repeat count: the sound is heard that many times with a short gap.
    bool sound(const QStringList &params, const QString &target, QString *error) const;

    // Leading and trailing near-silence shortened to a few milliseconds, so
    // chained clips follow each other without dead air. 16-bit mono samples.
    static QByteArray trimSilence(const QByteArray &samples, int rate);
    // The samples and rate of a 16-bit mono RIFF stream. False with *error
    // set for anything else, a chunk running past the end included.
    static bool parseWav(const QByteArray &wav, QByteArray *samples, int *rate, QString *error);
    // Scaled so that the loudest sample is a little below full scale.
    static QByteArray normalise(const QByteArray &samples);

    // Every clip is levelled to one loudness, so no clip startles a child
    // after a quiet one: the loudness of its sounding parts (RMS over 50 ms
    // blocks, the quiet blocks left out) in dB below full scale.
    static constexpr double kLoudnessTarget = -20.0;
    // Samples as doubles (full scale 1.0) brought to the loudness target,
    // then through a limiter that keeps every peak below full scale.
    static QByteArray level(const QList<double> &samples, int rate);
    static QList<double> toDoubles(const QByteArray &samples);

    struct Measure
    {
        int clipped = 0; // samples at full scale
        double loudness = -200.0; // dB, as levelled
        double leadingSilence = 0.0; // seconds
        double trailingSilence = 0.0;
        bool silent = true;
    };
    static Measure measure(const QByteArray &samples, int rate);
    // Empty when the levels are right, else what is wrong with them.
    static QString checkLevels(const QByteArray &samples, int rate);
    // Empty when the clip lasts at least minimum seconds (0.1 s less is
    // refused whatever it was asked to last: a letter under 0.5 s).
    static QString checkLength(const QByteArray &samples, int rate, double minimum);

private:
    bool encode(const QByteArray &samples, int rate, const QStringList &params,
        const QString &target, QString *error) const;

    const Tools &m_tools;
};
