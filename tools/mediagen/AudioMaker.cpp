#include "AudioMaker.h"

#include "Tools.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <cmath>
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
            // The rate divides lengths and goes to oggenc: one no device
            // plays (0, or past an int) is refused, not wrapped.
            if (sampleRate == 0 || sampleRate > 384000) {
                *error = QStringLiteral("WAV sample rate %1 is out of range").arg(sampleRate);
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

QList<double> AudioMaker::toDoubles(const QByteArray &samples)
{
    QList<double> result(samples.size() / 2);
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = qFromLittleEndian<qint16>(samples.constData() + 2 * i) / 32768.0;
    return result;
}

namespace {

const double kSilenceLevel = 200.0 / 32768.0;

// Gated loudness: blocks quieter than 40 dB below the loudest block are
// pauses and do not count.
double loudnessOf(const QList<double> &x, int rate)
{
    const qsizetype block = qMax(1, rate / 20);
    QList<double> powers;
    for (qsizetype start = 0; start < x.size(); start += block) {
        const qsizetype end = qMin(x.size(), start + block);
        double sum = 0;
        for (qsizetype i = start; i < end; ++i)
            sum += x.at(i) * x.at(i);
        powers.append(sum / double(end - start));
    }
    double loudest = 0;
    for (double p : std::as_const(powers))
        loudest = qMax(loudest, p);
    if (loudest <= 0)
        return -200.0;
    double sum = 0;
    int counted = 0;
    for (double p : std::as_const(powers)) {
        if (p >= loudest * 1e-4) {
            sum += p;
            ++counted;
        }
    }
    return 10.0 * std::log10(sum / counted);
}

} // namespace

QByteArray AudioMaker::level(const QList<double> &samples, int rate)
{
    const double loudness = loudnessOf(samples, rate);
    const double gain
        = loudness <= -199.0 ? 1.0 : std::pow(10.0, (kLoudnessTarget - loudness) / 20.0);
    const qsizetype count = samples.size();
    QList<double> x(count);
    for (qsizetype i = 0; i < count; ++i)
        x[i] = samples.at(i) * gain;
    // The limiter: the gain each sample needs to stay under the ceiling,
    // eased in before a peak and out after it (about 5 ms and 50 ms) so
    // that loud sounds are turned down rather than cut off square.
    const double ceiling = 0.89; // -1 dB
    QList<double> envelope(count, 1.0);
    for (qsizetype i = 0; i < count; ++i) {
        const double a = std::abs(x.at(i));
        envelope[i] = a > ceiling ? ceiling / a : 1.0;
    }
    const double release = 1.0 / (0.05 * rate);
    const double attack = 1.0 / (0.005 * rate);
    for (qsizetype i = 1; i < count; ++i)
        envelope[i] = qMin(envelope.at(i), envelope.at(i - 1) + release);
    for (qsizetype i = count - 2; i >= 0; --i)
        envelope[i] = qMin(envelope.at(i), envelope.at(i + 1) + attack);
    QByteArray result(2 * count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i) {
        const double y = qBound(-ceiling, x.at(i) * envelope.at(i), ceiling);
        qToLittleEndian<qint16>(qint16(std::lround(y * 32767.0)), result.data() + 2 * i);
    }
    return result;
}

AudioMaker::Measure AudioMaker::measure(const QByteArray &samples, int rate)
{
    Measure m;
    const QList<double> x = toDoubles(samples);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < x.size(); ++i) {
        const double a = std::abs(x.at(i));
        if (a >= 32767.0 / 32768.0)
            ++m.clipped;
        if (a >= kSilenceLevel) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return m;
    m.silent = false;
    m.loudness = loudnessOf(x, rate);
    m.leadingSilence = double(first) / rate;
    m.trailingSilence = double(x.size() - 1 - last) / rate;
    return m;
}

QString AudioMaker::checkLevels(const QByteArray &samples, int rate)
{
    const Measure m = measure(samples, rate);
    if (m.silent)
        return QString(); // a pause, on purpose
    if (m.clipped > 0)
        return QStringLiteral("%1 clipped samples").arg(m.clipped);
    if (std::abs(m.loudness - kLoudnessTarget) > 6.0)
        return QStringLiteral("loudness %1 dB, more than 6 dB from %2 dB")
            .arg(m.loudness, 0, 'f', 1)
            .arg(kLoudnessTarget);
    if (m.leadingSilence > 0.3 || m.trailingSilence > 0.3)
        return QStringLiteral("%1 s of silence at the start, %2 s at the end (at most 0.3 s)")
            .arg(m.leadingSilence, 0, 'f', 2)
            .arg(m.trailingSilence, 0, 'f', 2);
    return QString();
}

QString AudioMaker::checkLength(const QByteArray &samples, int rate, double minimum)
{
    const double seconds = double(samples.size() / 2) / rate;
    if (seconds < qMax(0.5, minimum - 0.1))
        return QStringLiteral("lasts %1 s, under %2 s").arg(seconds, 0, 'f', 2).arg(minimum);
    return QString();
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
    const QString problem = checkLevels(samples, rate);
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    return Tools::run(m_tools.oggenc, args, error, nullptr, samples);
}

bool AudioMaker::speech(const QStringList &params, const QString &target, QString *error) const
{
    if (params.size() != 4 && params.size() != 5) {
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
    samples = trimSilence(samples, rate);
    const double minimum = params.value(4).toDouble();
    const double seconds = double(samples.size() / 2) / rate;
    if (minimum > 0 && seconds > 0.05 && seconds < minimum) {
        const QString format
            = QStringLiteral("-t raw -r %1 -e signed-integer -b 16 -c 1 -L").arg(rate);
        QStringList args = format.split(QLatin1Char(' '));
        args += QStringLiteral("-");
        args += format.split(QLatin1Char(' '));
        args += { QStringLiteral("-"), QStringLiteral("tempo"), QStringLiteral("-s"),
            QString::number(seconds / (minimum + 0.05), 'f', 3) };
        QByteArray slower;
        if (!Tools::run(m_tools.sox, args, error, &slower, samples))
            return false;
        samples = slower;
    }
    if (minimum > 0) {
        const QString problem = checkLength(samples, rate, minimum);
        if (!problem.isEmpty()) {
            *error = QStringLiteral("\"%1\": %2").arg(params.at(3), problem);
            return false;
        }
    }
    samples = level(toDoubles(samples), rate);
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
        QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("32"), QStringLiteral("-e"),
        QStringLiteral("floating-point"), QStringLiteral("-L"), QStringLiteral("-t"),
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
    // Floating point, so that sox clips nothing; levelled here like speech.
    QList<double> values(samples.size() / 4);
    for (qsizetype i = 0; i < values.size(); ++i)
        values[i] = double(qFromLittleEndian<float>(samples.constData() + 4 * i));
    QByteArray levelled = level(values, kSoundRate);
    if (measure(levelled, kSoundRate).silent)
        levelled = QByteArray(2 * values.size(), '\0');
    else
        levelled = trimSilence(levelled, kSoundRate);
    return encode(levelled, kSoundRate, params, target, error);
}
