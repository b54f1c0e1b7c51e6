#include "app/TopWidget.h"

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
    static const char *const letters[] = {
        "Sonidos de Las Letras - Te presento sonidos",
        "Sonidos de Las Letras - Como suena",
        "Sonidos de Las Letras - Como empieza",
        "Nombres de Las Letras - Te presento nombres",
        "Nombres de Las Letras - Letras escondidas",
        "Nombres de Las Letras - Objetos escondidos",
        "Numeros - Te presento numeros",
        "Numeros - Numeros escondidos",
    };
    // The same six activities on the braille cell and on the brailler.
    static const char *const braille[] = {
        "Exploracion Cajetin",
        "Puntos escondidos",
        "Formemos letras",
        "Letras escondidas",
        "Te presento numeros",
        "Numeros escondidos",
    };
    switch (activity) {
    case 0:
        if (sub >= 0 && sub <= 7)
            return QString::fromLatin1(letters[sub]);
        break;
    case 1:
        if (sub >= 0 && sub <= 5)
            return QStringLiteral("Cajetin - ") + QLatin1String(braille[sub]);
        // The brailler's first activity is spelt with a small c.
        if (sub == 6)
            return QStringLiteral("Perkins - Exploracion cajetin");
        if (sub >= 7 && sub <= 11)
            return QStringLiteral("Perkins - ") + QLatin1String(braille[sub - 6]);
        break;
    case 2:
        return QStringLiteral("Lenguage");
    case 3:
        return QStringLiteral("Escribir");
    default:
        break;
    }
    return QString();
}

void TopWidget::setActivity(int activity, int sub)
{
    const QString text = titleFor(activity, sub);
    if (!text.isEmpty())
        m_label->setText(text);
}
