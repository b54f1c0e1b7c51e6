// What the child hears, in figures: read from the clip logs the end-to-end
// scripts keep (tests/e2e), plus the start-up time of the staged program,
// measured here in an X server of our own. Prints "name: value unit".

#include "bench/Bench.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

struct Event
{
    double ms;
    QString kind;
    QString what;
};

QVector<Event> readLog(const QString &path)
{
    QVector<Event> events;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return events;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const QString kind = line.section(QLatin1Char(' '), 1, 1);
        if (!kind.isEmpty())
            events.append({ line.section(QLatin1Char(' '), 0, 0).toDouble(), kind,
                line.section(QLatin1Char(' '), 2) });
    }
    // Player threads write their lines as they go: put them in time order.
    std::stable_sort(
        events.begin(), events.end(), [](const Event &a, const Event &b) { return a.ms < b.ms; });
    return events;
}

double percentile95(QVector<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min<int>(values.size() - 1, int(0.95 * values.size()))];
}

bool isModifier(const QString &key)
{
    return key == QLatin1String("Alt") || key == QLatin1String("Shift")
        || key == QLatin1String("Ctrl");
}

// A clip asked for by a key, a timer or a window, or as the next step of a
// sequence (by the end of the clip before it).
bool isStep(const Event &event)
{
    return event.kind == QLatin1String("step") && !event.what.isEmpty();
}

bool isRequest(const Event &event)
{
    return (event.kind == QLatin1String("request") && !event.what.isEmpty()) || isStep(event);
}

// When the clip asked for at log[request] started; -1 when a newer request
// came first (it was replaced before it could sound).
double startOf(const QVector<Event> &log, int request)
{
    for (int k = request + 1; k < log.size(); ++k) {
        if (log[k].kind == QLatin1String("clip") && log[k].what == log[request].what)
            return log[k].ms;
        if (isRequest(log[k]))
            return -1;
    }
    return -1;
}

// The length of the mixer's buffer in ms, from a "device" line ("22050 Hz
// 128 frames"): a clip is heard up to that much after its start.
double bufferMs(const QString &device)
{
    const double frequency = device.section(QLatin1Char(' '), 0, 0).toDouble();
    const double frames = device.section(QLatin1Char(' '), 2, 2).toDouble();
    return frequency > 0 ? 1000 * frames / frequency : 0;
}

// From a key release to the first clip it asked for: a request after the key
// and before the next key, and that request's start. toEar: to the clip's
// first sample leaving the mixer, one buffer later.
QVector<double> keyToClip(const QVector<Event> &log, bool toEar = false)
{
    QVector<double> delays;
    bool inMenuBar = false;
    // A log without "device" lines comes from a program that always opened
    // the device with 1024 frames at 44100 Hz.
    const double oldBuffer = 1000.0 * 1024 / 44100;
    double buffer = oldBuffer;
    for (int i = 0; i < log.size(); ++i) {
        if (log[i].kind == QLatin1String("start")) {
            inMenuBar = false;
            buffer = oldBuffer;
        }
        if (log[i].kind == QLatin1String("device"))
            buffer = bufferMs(log[i].what);
        if (log[i].kind != QLatin1String("key"))
            continue;
        // The menu bar acts on key presses, logged before their releases:
        // from a modifier on, a request cannot be told to a release.
        inMenuBar = inMenuBar || isModifier(log[i].what);
        if (inMenuBar)
            continue;
        int next = i + 1;
        while (next < log.size() && log[next].kind != QLatin1String("key"))
            ++next;
        if (next < log.size() && isModifier(log[next].what))
            continue;
        // A step still under way from before the key is not its answer.
        for (int j = i + 1; j < next; ++j) {
            if (!isRequest(log[j]) || isStep(log[j]))
                continue;
            const double started = startOf(log, j);
            if (started >= 0)
                delays.append(started - log[i].ms + (toEar ? buffer : 0));
            break;
        }
    }
    return delays;
}

// From a clip falling silent to the next step of its sequence sounding: the
// program marks the steps, asked for by the end of the clip before them (a
// step with no file to play hands on at once, and the gap runs across it).
// A clip, a key or a request between the silence and the step means the
// silence was not handed over: the clip before was cut off, or a timer or
// a key started a new sequence.
QVector<double> chainGaps(const QVector<Event> &log)
{
    QVector<double> gaps;
    int silence = -1;
    for (int i = 0; i < log.size(); ++i) {
        const QString &kind = log[i].kind;
        if (kind == QLatin1String("silent"))
            silence = i;
        else if (kind == QLatin1String("clip") || kind == QLatin1String("key")
            || kind == QLatin1String("request"))
            silence = -1;
        if (!isStep(log[i]) || silence < 0)
            continue;
        const double started = startOf(log, i);
        if (started >= 0)
            gaps.append(started - log[silence].ms);
        silence = -1;
    }
    return gaps;
}

// Keys in the activities (from the first activity to the menu bar that
// closes the program) after which nothing was heard or spoken within 1 s.
int unansweredKeys(const QVector<Event> &log)
{
    bool inActivities = false;
    int unanswered = 0;
    for (int i = 0; i < log.size(); ++i) {
        const Event &event = log[i];
        if (event.kind == QLatin1String("start"))
            inActivities = false;
        if (isRequest(event) && event.what.endsWith(QLatin1String("/para menu audible.ogg")))
            inActivities = true;
        if (event.kind != QLatin1String("key") || !inActivities)
            continue;
        if (isModifier(event.what)) {
            inActivities = false;
            continue;
        }
        // Letters typed in the writing activity's word mode are said together
        // at the word's end: a key answered by the speech after the keys that
        // follow it at once is answered too.
        bool answered = false;
        bool typing = false;
        double deadline = event.ms + 1000;
        for (int j = i + 1; j < log.size() && log[j].ms <= deadline; ++j) {
            if (log[j].kind == QLatin1String("speak")
                || (!typing && log[j].kind == QLatin1String("clip"))) {
                answered = true;
                break;
            }
            if (log[j].kind == QLatin1String("key")) {
                typing = true;
                deadline = log[j].ms + 1000;
            }
        }
        if (!answered) {
            std::fprintf(stderr, "unanswered: %.3f key %s\n", event.ms, qPrintable(event.what));
            ++unanswered;
        }
    }
    return unanswered;
}

// The longest stretch of a learner's login, from its window on screen to
// the greeting that follows it, with nothing heard while it waits for the
// child: from the window, the end of a clip or a word handed to the
// synthesizer, to the next clip or word. A tutor's login says nothing by
// design and is left out: only a learner's asks for the welcome. Seconds;
// -1 without a learner's login.
double loginLongestSilence(const QVector<Event> &log)
{
    double longest = -1;
    bool inLogin = false;
    bool learner = false;
    bool sounding = false;
    double quietSince = 0;
    double loginLongest = 0;
    for (const Event &event : log) {
        if (event.kind == QLatin1String("start")) {
            inLogin = false;
            continue;
        }
        if (!inLogin) {
            if (event.kind == QLatin1String("shown")
                && event.what == QLatin1String("InputDialog")) {
                inLogin = true;
                learner = false;
                sounding = false;
                quietSince = event.ms;
                loginLongest = 0;
            }
            continue;
        }
        if (isRequest(event) && event.what.endsWith(QLatin1String("/Bienvenida no vidente.ogg")))
            learner = true;
        const bool over
            = isRequest(event) && event.what.endsWith(QLatin1String("/Saludo de mofli.ogg"));
        const bool heard
            = event.kind == QLatin1String("clip") || event.kind == QLatin1String("speak");
        if ((over || heard) && !sounding)
            loginLongest = std::max(loginLongest, event.ms - quietSince);
        if (over) {
            if (learner)
                longest = std::max(longest, loginLongest);
            inLogin = false;
        } else if (event.kind == QLatin1String("clip")) {
            sounding = true;
        } else if (event.kind == QLatin1String("speak")) {
            // How long the synthesizer speaks is not logged: a word counts
            // as heard when it is asked for.
            quietSince = event.ms;
        } else if (event.kind == QLatin1String("silent")) {
            sounding = false;
            quietSince = event.ms;
        }
    }
    return longest < 0 ? -1 : longest / 1000;
}

double nowMs()
{
    return std::chrono::duration<double, std::milli>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Process start to the welcome window on screen, median of five runs of the
// staged program, -1 when no X server can be started here.
double startupToWelcome()
{
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
            QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
            QStringLiteral("tcp") });
    if (!xvfb.waitForReadyRead(10000))
        return -1;
    const QString display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine().trimmed());

    QTemporaryDir stage;
    QDir(stage.path()).mkpath(QStringLiteral("data"));
    QProcess::execute(QStringLiteral("cp"),
        { QStringLiteral("-r"), QStringLiteral(PURIMBA_DEMO "/media"), stage.path() });
    QFile::copy(QStringLiteral(PURIMBA_DEMO "/data/activities.xml"),
        stage.filePath(QStringLiteral("data/activities.xml")));
    QFile::copy(QStringLiteral(PURIMBA_EXECUTABLE), stage.filePath(QStringLiteral("purimba")));

    const QString log = stage.filePath(QStringLiteral("clips.log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    env.insert(QStringLiteral("SDL_DISKAUDIODELAY"), QStringLiteral("0"));
    env.insert(QStringLiteral("SDL_DISKAUDIOFILE"), stage.filePath(QStringLiteral("audio.raw")));
    env.insert(QStringLiteral("PURIMBA_CLIP_LOG"), log);

    QVector<double> startups;
    for (int run = 0; run < 5; ++run) {
        QFile::remove(log);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(stage.path());
        const double started = nowMs();
        program.start(stage.filePath(QStringLiteral("purimba")), {});
        double shown = -1;
        for (int wait = 0; wait < 2000 && shown < 0; ++wait) {
            for (const Event &event : readLog(log)) {
                if (event.kind == QLatin1String("shown")
                    && event.what == QLatin1String("WelcomeDialog"))
                    shown = event.ms;
            }
            QThread::msleep(5);
        }
        program.terminate();
        if (!program.waitForFinished(10000))
            program.kill();
        if (shown > 0)
            startups.append(shown - started);
    }
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return startups.size() == 5 ? Bench::median(startups) : -1;
}

// "name value" lines, as the monkey session writes them.
QHash<QByteArray, double> readFigures(const QString &path)
{
    QHash<QByteArray, double> figures;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return figures;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false;
        const double value = fields.value(1).toDouble(&ok);
        if (fields.size() == 2 && ok)
            figures.insert(fields[0], value);
    }
    return figures;
}

} // namespace

void runE2eBench()
{
    const QString logs = QStringLiteral(PURIMBA_E2E_LOGS);
    const QVector<Event> newLearner = readLog(logs + QStringLiteral("/new_learner/clips.log"));
    if (newLearner.isEmpty()) {
        std::fprintf(stderr, "No clip logs in %s: run the end-to-end tests (ctest -L e2e).\n",
            qPrintable(logs));
        return;
    }
    Bench::report("key_to_clip_ms_p95", percentile95(keyToClip(newLearner)), "ms");
    Bench::report("key_to_ear_ms_p95", percentile95(keyToClip(newLearner, true)), "ms");
    QVector<Event> all = newLearner;
    all += readLog(logs + QStringLiteral("/returning_learner/clips.log"));
    Bench::report("chain_gap_ms_p95", percentile95(chainGaps(all)), "ms");
    Bench::report("unanswered_keys", unansweredKeys(all), "keys");
    Bench::report("login_longest_silence_s", loginLongestSilence(all), "s");
    Bench::report("startup_to_welcome_ms", startupToWelcome(), "ms");
    const QHash<QByteArray, double> memory
        = readFigures(logs + QStringLiteral("/monkey/memory.txt"));
    if (memory.contains("rss_kb_after_monkey"))
        Bench::report("rss_mb_after_monkey", memory["rss_kb_after_monkey"] / 1024, "MB");
    // From the long session of the unsanitized program (make bench), over its
    // second half: the first fills Qt's pixmap cache, and a sanitized program
    // keeps growing by the sanitizer's own records where this one stays flat.
    const QHash<QByteArray, double> longRun
        = readFigures(logs + QStringLiteral("/long/monkey/memory.txt"));
    // A thousand steps and more: the scripts above give only a dozen.
    const QVector<Event> longLog = readLog(logs + QStringLiteral("/long/monkey/clips.log"));
    if (!longLog.isEmpty())
        Bench::report("chain_gap_ms_p95_long", percentile95(chainGaps(longLog)), "ms");
    const double keys = longRun.value("keys_after_monkey") - longRun.value("keys_at_half");
    if (keys > 0 && longRun.contains("rss_kb_at_half")) {
        const double kb = longRun["rss_kb_after_monkey"] - longRun["rss_kb_at_half"];
        Bench::report("rss_growth_mb_per_1000_keys", kb / 1024 / keys * 1000, "MB");
    }
}
