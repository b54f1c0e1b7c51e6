#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;

// The letter selection: the adult restricts the letters the letters and
// braille activities draw from. Letters are laid out as on the keyboard; the
// selection reads in alphabetical order, Ñ after N, each letter followed by a
// blank. An empty selection means every letter.
class KeyboardWidget : public QDialog
{
    Q_OBJECT
public:
    explicit KeyboardWidget(QWidget *parent = nullptr);

    QString selection() const { return m_selection; }

Q_SIGNALS:
    void signalSelectedLetters(const QString &letters);

public Q_SLOTS:
    void slotState();
    void slotClose();
    void slotSelected();
    void slotAll();

protected:
    // Escape and the window frame's close button report the selection too.
    void reject() override;

private:
    void report();

    QString m_selection;
    QList<QPushButton *> m_letters; // alphabetical order
    QLineEdit *m_text;
    QPushButton *m_select;
    QPushButton *m_all;
    QPushButton *m_close;
};
