#pragma once

#include <QObject>
#include <QVector>
#include <cstdint>
#include <memory>

class QThread;

// The refreshable braille display BRLTTY drives, through its BrlAPI. It
// holds the dots the program wants shown; while the application is active it
// takes the display, shows them and passes the display's braille keys (dots
// and space) on; otherwise the display is BRLTTY's.
//
// Without BRLTTY, or built without BrlAPI, it is silent by design: nothing
// is shown, no key comes, nothing waits.
class BrailleDisplay : public QObject
{
    Q_OBJECT
public:
    explicit BrailleDisplay(QObject *parent = nullptr);
    ~BrailleDisplay() override;

    // Whether this build can talk to BRLTTY at all.
    static bool supported();
    bool isConnected() const;
    // Whether the display is taken and shows what the program wants.
    bool isShowing() const { return m_inTty; }
    // The cells wanted, dot n of a cell being bit n - 1.
    QVector<uint8_t> dots() const { return m_dots; }

public Q_SLOTS:
    // Cells from the left; the rest of the display is blank.
    void setDots(const QVector<uint8_t> &dots);
    void showCell(quint8 dots) { setDots({ dots }); }
    void clear() { setDots({}); }
    // Takes the display (active) or gives it back to BRLTTY.
    void setActive(bool active);

Q_SIGNALS:
    // Once the connection is open (or has failed), whether it is.
    void connectionChecked(bool connected);
    // One per dot pressed, in order, for a key combination of the display's
    // braille keys.
    void dotKey(int dot);
    void spaceKey();

private:
    struct Connection;
    void connected(Connection *connection, const QString &error);
    void takeDisplay();
    void releaseDisplay();
    void write();
    void readKeys();
    void dropConnection();

    std::unique_ptr<Connection> m_connection;
    QThread *m_opener = nullptr;
    QVector<uint8_t> m_dots;
    bool m_active = false;
    bool m_inTty = false;
};
