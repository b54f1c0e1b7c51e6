#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QDomDocument;
class QDomElement;
class Score;

// The counters of one activity for the logged-in learner: one Score for each
// of the 43 objects (27 letters, 10 digits, 6 braille dots). The kind only
// chooses which of them go to the file and to the reports.
class ScoreManager : public QObject
{
    Q_OBJECT
public:
    enum Kind { Letters = 0, Numbers = 1, Dots = 2 };

    explicit ScoreManager(const QString &name, QObject *parent = nullptr);

    const QString &name() const { return m_name; }
    int kind() const { return m_kind; }
    void setKind(int kind) { m_kind = kind; }

    // The record of a label, found after upper-casing it ("ñ" finds "Ñ",
    // "p3" finds "P3"). A label that names none of the 43 objects has no
    // record: the result is null and the calls below change nothing.
    Score *score(const QString &label) const;
    Score *setScore(const QString &label, int corrects, int total, int consecutive);
    Score *recordCorrect(const QString &label);
    Score *recordWrong(const QString &label);
    // Every counter back to 0.
    void reset();

    // The records of the manager's kind, in the order of files and reports.
    QVector<Score *> scores() const;

    // An "Activity" element named after the manager, holding the records of its kind.
    QDomElement toElement(QDomDocument &doc) const;
    // Takes the counters of every child element of an "Activity" element.
    // Text that is not a number reads as 0; unknown objects are skipped.
    void loadElement(const QDomElement &activity);

    // One section of the rich-text report and of the tab-separated export.
    QString toHtml() const;
    QString toText() const;

    // The labels of a kind, in order: "A" … "N", "Ñ", "O" … "Z"; "0" … "9"; "P1" … "P6".
    static QStringList labels(int kind);
    // All 43 labels: letters, digits, dots.
    static const QStringList &allLabels();

private:
    QString m_name;
    int m_kind = Letters;
    QVector<Score *> m_scores;
};
