#include "app/TopWidget.h"

#include "content/ActivityTable.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>

TopWidget::TopWidget(QWidget *parent)
    : QWidget(parent)
{
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("titleLabel"));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setWeight(QFont::Bold);
    m_label->setFont(font);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_label);
    setMinimumSize(540, 30);
}

QString TopWidget::title() const
{
    return m_label->text();
}

QString TopWidget::titleFor(int activity, int sub)
{
    const ActivityTable::Activity *record = ActivityTable::atAddress(activity, sub);
    return record ? QString::fromUtf8(record->topTitle) : QString();
}

void TopWidget::setActivity(int activity, int sub)
{
    const QString text = titleFor(activity, sub);
    if (!text.isEmpty())
        m_label->setText(text);
}
