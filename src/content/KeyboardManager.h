#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

// A fixed model of the physical keyboard, six rows of key codes from the top,
// used to tell a child in which direction the wanted key lies from the key
// just pressed. It does not read the system's real layout.
class KeyboardManager : public QObject
{
    Q_OBJECT
public:
    enum Orientation { NoAnswer = 0, SameKey = 1, Left = 2, Right = 3, Up = 4, Down = 5 };
    // Where a letter or digit key is, as a child is taught to find it: its
    // row, and the hand that types it.
    enum Row { NoRow = 0, NumberRow = 2, TopRow = 3, HomeRow = 4, BottomRow = 5 };
    struct Place
    {
        Row row = NoRow;
        bool leftHand = false;
    };

    explicit KeyboardManager(QObject *parent = nullptr);

    // "A" … "Z", "Ñ" and "0" … "9"; any other string, lower case included, gives 0.
    int keyCode(const QString &key) const;
    // Row (1 … 6) and column (from 0) of the first place that holds the code;
    // (0, 0) when no row does.
    QPair<int, int> keyPosition(int code) const;
    // Where the target key lies as seen from the pressed one (Orientation).
    int orientation(const QString &target, const QString &pressed) const;
    // The place of "A" … "Z", "Ñ" or "0" … "9"; NoRow for anything else.
    Place place(const QString &key) const;

    // Shift, Control, Alt, the lock keys and the accent (dead) keys: they
    // only change what the next key types, and their release asks for
    // nothing (releasing Shift after a capital must not cut its clip off).
    static bool typesNothingAlone(int key);

    const QList<QList<int>> &rows() const { return m_rows; }

private:
    QList<QList<int>> m_rows;
};
