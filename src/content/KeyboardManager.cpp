#include "content/KeyboardManager.h"

#include <Qt>

KeyboardManager::KeyboardManager(QObject *parent)
    : QObject(parent)
{
    m_rows = {
        { Qt::Key_Escape, Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6,
            Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12 },
        { Qt::Key_AsciiTilde, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6,
            Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0, Qt::Key_Minus, Qt::Key_Plus,
            Qt::Key_Backspace },
        { Qt::Key_Tab, Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_R, Qt::Key_T, Qt::Key_Y, Qt::Key_U,
            Qt::Key_I, Qt::Key_O, Qt::Key_P },
        { Qt::Key_CapsLock, Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_H,
            Qt::Key_J, Qt::Key_K, Qt::Key_L, Qt::Key_Ntilde, Qt::Key_Return },
        { Qt::Key_Shift, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_B, Qt::Key_N,
            Qt::Key_M, Qt::Key_Shift },
        { Qt::Key_Control, Qt::Key_Meta, Qt::Key_Alt, Qt::Key_Space, Qt::Key_Alt, Qt::Key_Control },
    };
}

int KeyboardManager::keyCode(const QString &key) const
{
    if (key.size() != 1)
        return 0;
    const QChar c = key.at(0);
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return Qt::Key_A + (c.unicode() - 'A');
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return Qt::Key_0 + (c.unicode() - '0');
    if (c == QChar(0x00D1))
        return Qt::Key_Ntilde;
    return 0;
}

QPair<int, int> KeyboardManager::keyPosition(int code) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        const int column = int(m_rows.at(row).indexOf(code));
        if (column >= 0)
            return qMakePair(row + 1, column);
    }
    return qMakePair(0, 0);
}

int KeyboardManager::orientation(const QString &target, const QString &pressed) const
{
    const QPair<int, int> want = keyPosition(keyCode(target));
    const QPair<int, int> got = keyPosition(keyCode(pressed));
    if (got.first == 0)
        return NoAnswer;
    if (want.first > got.first)
        return Down;
    if (want.first < got.first)
        return Up;
    if (got.second < want.second)
        return Right;
    if (want.second < got.second)
        return Left;
    return SameKey;
}

KeyboardManager::Place KeyboardManager::place(const QString &key) const
{
    const int code = keyCode(key);
    if (code == 0)
        return {};
    const QPair<int, int> position = keyPosition(code);
    // Touch typing gives the left hand the first five keys of every row,
    // 1 … 5, Q … T, A … G and Z … B.
    return { Row(position.first), position.second <= 5 };
}

bool KeyboardManager::typesNothingAlone(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
    }
}
