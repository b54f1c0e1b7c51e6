#include "content/KeyboardManager.h"

#include <QTest>

class TestKeyboardManager : public QObject
{
    Q_OBJECT

private slots:
    void keyCode_data();
    void keyCode();
    void keyPosition_data();
    void keyPosition();
    void orientation_data();
    void orientation();
};

void TestKeyboardManager::keyCode_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");

    QTest::newRow("A") << "A" << int(Qt::Key_A);
    QTest::newRow("Z") << "Z" << int(Qt::Key_Z);
    QTest::newRow("enye") << "\u00d1" << int(Qt::Key_Ntilde);
    QTest::newRow("0") << "0" << int(Qt::Key_0);
    QTest::newRow("9") << "9" << int(Qt::Key_9);
    QTest::newRow("lower case") << "a" << 0;
    QTest::newRow("lower-case enye") << "\u00f1" << 0;
    QTest::newRow("Ntilde spelled out") << "Ntilde" << 0;
    QTest::newRow("two letters") << "AB" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blank") << " " << 0;
}

void TestKeyboardManager::keyCode()
{
    QFETCH(QString, key);
    QFETCH(int, code);
    QCOMPARE(KeyboardManager().keyCode(key), code);
}

void TestKeyboardManager::keyPosition_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("Escape") << int(Qt::Key_Escape) << 1 << 0;
    QTest::newRow("F12") << int(Qt::Key_F12) << 1 << 12;
    QTest::newRow("1") << int(Qt::Key_1) << 2 << 1;
    QTest::newRow("0") << int(Qt::Key_0) << 2 << 10;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 2 << 13;
    QTest::newRow("Q") << int(Qt::Key_Q) << 3 << 1;
    QTest::newRow("P") << int(Qt::Key_P) << 3 << 10;
    QTest::newRow("A") << int(Qt::Key_A) << 4 << 1;
    QTest::newRow("enye") << int(Qt::Key_Ntilde) << 4 << 10;
    QTest::newRow("Return") << int(Qt::Key_Return) << 4 << 11;
    QTest::newRow("first Shift") << int(Qt::Key_Shift) << 5 << 0;
    QTest::newRow("M") << int(Qt::Key_M) << 5 << 7;
    QTest::newRow("first Alt") << int(Qt::Key_Alt) << 6 << 2;
    QTest::newRow("Space") << int(Qt::Key_Space) << 6 << 3;
    QTest::newRow("not on the model") << int(Qt::Key_Delete) << 0 << 0;
    QTest::newRow("code 0") << 0 << 0 << 0;
}

void TestKeyboardManager::keyPosition()
{
    QFETCH(int, code);
    QFETCH(int, row);
    QFETCH(int, column);
    QCOMPARE(KeyboardManager().keyPosition(code), qMakePair(row, column));
}

void TestKeyboardManager::orientation_data()
{
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("result");

    QTest::newRow("A to Q: up") << "A"
                                << "Q" << 4;
    QTest::newRow("M to N: left") << "M"
                                  << "N" << 2;
    QTest::newRow("L to enye: right") << "L"
                                      << "\u00d1" << 3;
    QTest::newRow("1 to 0: right") << "1"
                                   << "0" << 3;
    QTest::newRow("Q to A: down") << "Q"
                                  << "A" << 5;
    QTest::newRow("Z to 5: up") << "Z"
                                << "5" << 4;
    QTest::newRow("same key") << "K"
                              << "K" << 1;
    QTest::newRow("target off the model") << "A"
                                          << "a" << 4;
    QTest::newRow("target off the model from the top row") << "3"
                                                           << "?" << 4;
    QTest::newRow("pressed off the model") << "a"
                                           << "A" << 0;
    QTest::newRow("both off the model") << "!"
                                        << "?" << 0;
}

void TestKeyboardManager::orientation()
{
    QFETCH(QString, pressed);
    QFETCH(QString, target);
    QFETCH(int, result);
    QCOMPARE(KeyboardManager().orientation(target, pressed), result);
}

QTEST_GUILESS_MAIN(TestKeyboardManager)
#include "tst_keyboardmanager.moc"
