#pragma once

#include "content/MediaPaths.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QWidget;

namespace ActivityFixture {

const QString empty = QStringLiteral("-"); // a step that plays the empty clip

// Clips as the child hears them: instructions by file name, word files from
// the language folder down, letter and dot clips as "letters/…".
QString shortName(const QString &path, const QString &language);

// The activity widgets' draws, replayed: the same generator and seed, and
// the same formula low + r / 32768 × (high − low + 1).
class Draws
{
public:
    explicit Draws(unsigned int seed);
    int draw(int low, int high);
    // A question's item: drawn again while it is the previous question's,
    // as the widgets do (every selection here holds more than one item, or
    // exactly one).
    QString letter();
    QString digit();
    int dot();
    // Letters until one is in the selection (given as the dialog gives it).
    QString letterIn(const QString &selection);
    // The item the widget asked last, when draws were passed over since.
    void asked(const QString &item) { m_previous = item; }
    QString praise();
    QString encouragement();

private:
    QString question(const std::function<QString()> &draw, bool only = false);

    QVector<int> m_values;
    int m_next = 0;
    QString m_previous;
};

// The rows of the number-name tests, column "file": the name clip, and the
// clip that held it in trees made before the administrator recorded both.
void nameClipRows();

// While it lives, a number word folder of the tree (relative to its root)
// holds only one of the two name clips; then only "letter_name.ogg" again.
class OnlyNameClip
{
public:
    OnlyNameClip(TestSupport::MediaTree *tree, const QString &wordFolder, const QString &file);
    ~OnlyNameClip();

private:
    TestSupport::MediaTree *m_tree;
    QString m_folder;
};

} // namespace ActivityFixture

// A fixture media tree, an activity widget driven by key releases, and the
// clips it asked for and started, with what was on screen at each request.
// Each test case declares its own initTestCase(), init() and cleanup()
// slots and calls its set-up from there.
class ActivityTestCase : public QObject
{
protected:
    // Starts recording the widget's clips and screens.
    void attach(QWidget *widget);
    virtual QString shortName(const QString &path) const = 0;
    virtual QString screen() const = 0;

    QStringList clips() const;
    // The clips that started to sound, as clips() names them.
    QStringList startedClips() const;
    // Clips requested since the last mark.
    QStringList clipsSinceMark() const { return clips().mid(m_mark); }
    // What the child saw when each of those clips was asked for.
    QStringList screensSinceMark() const { return m_screens.mid(m_mark); }
    void mark() { m_mark = int(m_clips->requested.size()); }
    bool idle() const;
    void waitIdle();
    void release(int key, const QString &text = QString(), bool autoRepeat = false,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    QWidget *m_widget = nullptr;
    QStringList m_screens;
    QList<qint64> m_requestTimes; // ms on m_clock
    QElapsedTimer m_clock;
    int m_mark = 0;
};
