#pragma once

#include <QObject>
#include <QString>

class QDomDocument;
class QDomElement;

// The counters of one object (a letter, a digit or a braille dot) in one
// activity: right answers, answers given, and right answers in a row.
class Score : public QObject
{
    Q_OBJECT
public:
    explicit Score(QObject *parent = nullptr);
    Score(
        const QString &object, int corrects, int total, int consecutive, QObject *parent = nullptr);

    const QString &object() const { return m_object; }
    int corrects() const { return m_corrects; }
    int total() const { return m_total; }
    int consecutive() const { return m_consecutive; }
    void setCounters(int corrects, int total, int consecutive);

    void correct();
    void wrong();

    // corrects / total × 100, and 0 before the first answer.
    double performance() const;
    // performance with two decimals and a point, whatever the locale.
    QString performanceText() const;
    // Three right answers in a row; two are not enough.
    bool isMastered() const { return m_consecutive > 2; }

    // A "Score" element of doc with "Object", "Corrects", "Total", "Consecutive".
    QDomElement toElement(QDomDocument &doc) const;

    // One row of the rich-text report and one tab-separated line of the export.
    QString toHtmlRow() const;
    QString toTextRow() const;

private:
    int m_corrects = 0;
    int m_total = 0;
    int m_consecutive = 0;
    QString m_object;
};
