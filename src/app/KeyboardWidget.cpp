#include "app/KeyboardWidget.h"

#include "content/MediaPaths.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

KeyboardWidget::KeyboardWidget(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Seleccionar letras"));
    setFixedSize(300, 150);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    m_text = new QLineEdit(this);
    m_text->setReadOnly(true);
    m_text->setAccessibleName(tr("Letras seleccionadas"));
    layout->addWidget(m_text);

    for (const QString &letter : MediaPaths::alphabet()) {
        auto *button = new QPushButton(MediaPaths::letterDisplay(letter), this);
        button->setCheckable(true);
        button->setAccessibleName(MediaPaths::letterDisplay(letter));
        connect(button, &QPushButton::clicked, this, &KeyboardWidget::slotState);
        m_letters << button;
    }
    const QString rows[] = { QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKL"),
        QStringLiteral("ZXCVBNM\u00d1") };
    // Tab goes along the rows as they are read, not in the alphabet's order
    // the buttons were made in.
    QWidget *previous = m_text;
    for (const QString &row : rows) {
        auto *line = new QHBoxLayout;
        line->setSpacing(1);
        for (const QChar c : row) {
            QPushButton *button
                = m_letters.at(MediaPaths::alphabet().indexOf(MediaPaths::letterFolderName(c)));
            button->setMinimumWidth(20);
            line->addWidget(button);
            setTabOrder(previous, button);
            previous = button;
        }
        layout->addLayout(line);
    }

    m_select = new QPushButton(tr("Seleccionar"), this);
    m_all = new QPushButton(tr("Todas"), this);
    m_close = new QPushButton(tr("Cerrar"), this);
    m_select->setEnabled(false);
    m_all->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : { m_select, m_all, m_close }) {
        button->setAccessibleName(button->text());
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_select, &QPushButton::clicked, this, &KeyboardWidget::slotSelected);
    connect(m_all, &QPushButton::clicked, this, &KeyboardWidget::slotAll);
    connect(m_close, &QPushButton::clicked, this, &KeyboardWidget::slotClose);
}

void KeyboardWidget::slotState()
{
    m_selection.clear();
    for (QPushButton *button : std::as_const(m_letters)) {
        if (button->isChecked())
            m_selection += button->text() + QLatin1Char(' ');
    }
    m_text->setText(m_selection);
    m_select->setEnabled(!m_selection.isEmpty());
    m_all->setEnabled(!m_selection.isEmpty());
}

void KeyboardWidget::slotAll()
{
    for (QPushButton *button : std::as_const(m_letters))
        button->setChecked(false);
    slotState();
}

void KeyboardWidget::slotClose()
{
    report();
    hide();
}

void KeyboardWidget::slotSelected()
{
    slotClose();
}

void KeyboardWidget::reject()
{
    slotClose();
}

void KeyboardWidget::report()
{
    Q_EMIT signalSelectedLetters(m_selection);
}
