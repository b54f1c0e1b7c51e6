#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <array>

// One six-dot braille cell: dots 1, 2, 3 down the left column, 4, 5, 6 down
// the right one. It knows the program's letters ("A" … "Z", "Ntilde") and
// digits ("0" … "9", written as the bare patterns of A … J, without the
// number sign); "-1" stands for a pattern that is none of them.
class Braille : public QObject
{
    Q_OBJECT
public:
    Braille();
    Braille(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6);

    void setDots(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6);
    // Dot numbers outside 1 … 6 change nothing.
    void setDot(int dot, bool value);
    void raiseDot(int dot) { setDot(dot, true); }
    void lowerDot(int dot) { setDot(dot, false); }
    // False for dot numbers outside 1 … 6.
    bool isRaised(int dot) const;

    bool equals(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6) const;
    bool equals(const Braille &other) const;
    QList<bool> toDotList() const;
    // Dot n raised is bit n - 1: the order braille displays and Unicode's
    // braille patterns use.
    quint8 dotMask() const;

    // Swaps the columns (1 with 4, 2 with 5, 3 with 6), as the cell looks
    // when it is written from the back of the paper.
    void mirror();

    QString toLetter() const;
    QString toNumber() const;
    // A name that is no letter (or no digit) leaves the cell as it was.
    void fromLetter(const QString &letter);
    void fromNumber(const QString &digit);

private:
    std::array<bool, 6> m_dots {};
};
