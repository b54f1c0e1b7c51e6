#include "AudioMaker.h"

#include "Tools.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <cstdlib>

namespace {

const int kSoundRate = 22050;

// oggenc otherwise picks a random serial number for every stream.
QString serialFor(const QStringList &params)
{
    const QByteArray digest = QCryptographicHash::hash(
        params.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1);
    quint32 serial = 0;
    for (int i = 0; i < 4; ++i)
        serial = (serial << 8) | quint8(digest.at(i));
    return QString::number(serial & 0x7fffffff);
}

} // namespace

bool AudioMaker::parseWav(const QByteArray &wav, QByteArray *samples, int *rate, QString *error)
{
    // Read through a stream, which stops at the end of the bytes, and not
    // through pointers into them: no size read from the stream is trusted.
    // (Through pointers, GCC 12 with the sanitizers also saw reads past an
    // empty QByteArray's one-byte buffer despite the size check, a false
    // -Warray-bounds positive that broke the sanitizer build.)
    QDataStream in(wav);
    in.setByteOrder(QDataStream::LittleEndian);
    const auto readId = [&in] {
        char id[4] = {};
        in.readRawData(id, 4);
        return QByteArray(id, 4);
    };
    const QByteArray riff = readId();
    quint32 riffSize = 0; // unused: a pipe cannot fill it in either
    in >> riffSize;
    const QByteArray wave = readId();
    if (riff != "RIFF" || wave != "WAVE" || in.status() != QDataStream::Ok) {
        *error = QStringLiteral("not a WAV stream");
        return false;
    }
    // Unsigned 64-bit offsets: a chunk size can be anything up to 2^32 - 1,
    // and must neither wrap nor send the reader back.
    const quint64 end = quint64(wav.size());
    bool haveFormat = false;
    for (quint64 pos = 12; pos + 8 <= end && in.device()->seek(qint64(pos));) {
        const QByteArray id = readId();
        quint32 size32 = 0;
        in >> size32;
        const quint64 size = size32;
        const quint64 body = pos + 8;
        if (id == "data") {
            if (!haveFormat)
                break;
            // espeak-ng writes to a pipe and cannot fill in the data size, so
            // the data runs to the end whatever its size says.
            *samples = wav.mid(qsizetype(body));
            samples->truncate(samples->size() & ~1);
            return true;
        }
        if (size > end - body) {
            *error = QStringLiteral("WAV chunk \"%1\" of %2 bytes at offset %3 runs past the "
                                    "end of the stream (%4 bytes)")
                         .arg(QString::fromLatin1(id))
                         .arg(size)
                         .arg(pos)
                         .arg(end);
            return false;
        }
        if (id == "fmt ") {
            if (size < 16) {
                *error = QStringLiteral("WAV format chunk of %1 bytes is too short").arg(size);
                return false;
            }
            quint16 formatTag = 0, channels = 0, blockAlign = 0, bits = 0;
            quint32 sampleRate = 0, byteRate = 0;
            in >> formatTag >> channels >> sampleRate >> byteRate >> blockAlign >> bits;
            if (channels != 1 || bits != 16) {
                *error = QStringLiteral("expected 16-bit mono speech");
                return false;
            }
            *rate = int(sampleRate);
            haveFormat = true;
        }
        // A chunk of odd size is followed by one pad byte.
        pos = body + size + (size & 1);
    }
    *error = QStringLiteral("WAV stream without format or data");
    return false;
}

QByteArray AudioMaker::trimSilence(const QByteArray &samples, int rate)
{
    const int threshold = 200;
    const int count = int(samples.size() / 2);
    const auto at = [&samples](int i) {
        return std::abs(int(qFromLittleEndian<qint16>(samples.constData() + 2 * i)));
    };
    int first = 0;
    while (first < count && at(first) < threshold)
        ++first;
    int last = count - 1;
    while (last > first && at(last) < threshold)
        --last;
    if (first >= count)
        return samples;
    const int lead = rate / 50; // 20 ms
    const int tail = rate / 12; // about 80 ms, so the last sound dies away
    first = qMax(0, first - lead);
    last = qMin(count - 1, last + tail);
    return samples.mid(2 * first, 2 * (last - first + 1));
}

QByteArray AudioMaker::normalise(const QByteArray &samples)
{
    const int count = int(samples.size() / 2);
    int peak = 0;
    for (int i = 0; i < count; ++i)
        peak = qMax(peak, std::abs(int(qFromLittleEndian<qint16>(samples.constData() + 2 * i))));
    if (peak == 0)
        return samples;
    // About -2 dB: letter sounds such as "mmm" come out of espeak-ng far
    // quieter than words, and every clip should sound equally loud.
    const double gain = 26000.0 / peak;
    QByteArray result(samples.size(), Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        const int value = qRound(qFromLittleEndian<qint16>(samples.constData() + 2 * i) * gain);
        qToLittleEndian<qint16>(qint16(qBound(-32768, value, 32767)), result.data() + 2 * i);
    }
    return result;
}

bool AudioMaker::encode(const QByteArray &samples, int rate, const QStringList &params,
    const QString &target, QString *error) const
{
    // Raw input: nothing in the stream depends on a header a pipe cannot fill.
    const QStringList args = { QStringLiteral("--quiet"), QStringLiteral("--raw"),
        QStringLiteral("--raw-bits=16"), QStringLiteral("--raw-chan=1"),
        QStringLiteral("--raw-rate=%1").arg(rate), QStringLiteral("--raw-endianness=0"),
        QStringLiteral("-q"), QStringLiteral("3"), QStringLiteral("--serial"), serialFor(params),
        QStringLiteral("-o"), target, QStringLiteral("-") };
    return Tools::run(m_tools.oggenc, args, error, nullptr, samples);
}

bool AudioMaker::speech(const QStringList &params, const QString &target, QString *error) const
{
    if (params.size() != 4) {
        *error = QStringLiteral("speech needs voice, speed, pitch and text");
        return false;
    }
    const QStringList args
        = { QStringLiteral("-v"), params.at(0), QStringLiteral("-s"), params.at(1),
              QStringLiteral("-p"), params.at(2), QStringLiteral("--stdout"), params.at(3) };
    QByteArray wav;
    if (!Tools::run(m_tools.espeak, args, error, &wav))
        return false;
    QByteArray samples;
    int rate = 0;
    if (!parseWav(wav, &samples, &rate, error)) {
        *error = QStringLiteral("espeak-ng for \"%1\": %2").arg(params.at(3), *error);
        return false;
    }
    samples = normalise(trimSilence(samples, rate));
    if (samples.size() < rate / 10) {
        *error = QStringLiteral("espeak-ng said nothing for \"%1\"").arg(params.at(3));
        return false;
    }
    return encode(samples, rate, params, target, error);
}

bool AudioMaker::sound(const QStringList &params, const QString &target, QString *error) const
{
    if (params.size() != 2) {
        *error = QStringLiteral("a sound needs its effects and a repeat count");
        return false;
    }
    const int times = params.at(1).toInt();
    QStringList args = { QStringLiteral("-R"), QStringLiteral("-V1"), QStringLiteral("-n"),
        QStringLiteral("-r"), QString::number(kSoundRate), QStringLiteral("-c"),
        QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-e"),
        QStringLiteral("signed-integer"), QStringLiteral("-L"), QStringLiteral("-t"),
        QStringLiteral("raw"), QStringLiteral("-") };
    args += params.at(0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (times > 1) {
        args += { QStringLiteral("pad"), QStringLiteral("0"), QStringLiteral("0.25"),
            QStringLiteral("repeat"), QString::number(times - 1) };
    }
    QByteArray samples;
    if (!Tools::run(m_tools.sox, args, error, &samples))
        return false;
    if (samples.isEmpty()) {
        *error = QStringLiteral("sox made an empty sound from \"%1\"").arg(params.at(0));
        return false;
    }
    return encode(samples, kSoundRate, params, target, error);
}
