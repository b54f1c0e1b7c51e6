#include "activities/braille/Braille.h"

#include <utility>

namespace {

struct Pattern
{
    const char *name;
    const char *dots; // the raised dots, e.g. "145"
};

const Pattern letterTable[] = {
    { "A", "1" },
    { "B", "12" },
    { "C", "14" },
    { "D", "145" },
    { "E", "15" },
    { "F", "124" },
    { "G", "1245" },
    { "H", "125" },
    { "I", "24" },
    { "J", "245" },
    { "K", "13" },
    { "L", "123" },
    { "M", "134" },
    { "N", "1345" },
    { "Ntilde", "12456" },
    { "O", "135" },
    { "P", "1234" },
    { "Q", "12345" },
    { "R", "1235" },
    { "S", "234" },
    { "T", "2345" },
    { "U", "136" },
    { "V", "1236" },
    { "W", "2456" },
    { "X", "1346" },
    { "Y", "13456" },
    { "Z", "1356" },
};

const Pattern digitTable[] = {
    { "1", "1" },
    { "2", "12" },
    { "3", "14" },
    { "4", "145" },
    { "5", "15" },
    { "6", "124" },
    { "7", "1245" },
    { "8", "125" },
    { "9", "24" },
    { "0", "245" },
};

std::array<bool, 6> dotsOf(const char *raised)
{
    std::array<bool, 6> dots {};
    for (const char *c = raised; *c; ++c)
        dots[size_t(*c - '1')] = true;
    return dots;
}

template <size_t N> QString nameOf(const Pattern (&table)[N], const std::array<bool, 6> &dots)
{
    for (const Pattern &row : table) {
        if (dotsOf(row.dots) == dots)
            return QString::fromLatin1(row.name);
    }
    return QStringLiteral("-1");
}

template <size_t N> const Pattern *find(const Pattern (&table)[N], const QString &name)
{
    for (const Pattern &row : table) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

} // namespace

Braille::Braille() = default;

Braille::Braille(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6)
{
    setDots(d1, d2, d3, d4, d5, d6);
}

void Braille::setDots(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6)
{
    m_dots = { d1, d2, d3, d4, d5, d6 };
}

void Braille::setDot(int dot, bool value)
{
    if (dot >= 1 && dot <= 6)
        m_dots[size_t(dot - 1)] = value;
}

bool Braille::isRaised(int dot) const
{
    return dot >= 1 && dot <= 6 && m_dots[size_t(dot - 1)];
}

bool Braille::equals(bool d1, bool d2, bool d3, bool d4, bool d5, bool d6) const
{
    return m_dots == std::array<bool, 6> { d1, d2, d3, d4, d5, d6 };
}

bool Braille::equals(const Braille &other) const
{
    return m_dots == other.m_dots;
}

QList<bool> Braille::toDotList() const
{
    return QList<bool>(m_dots.begin(), m_dots.end());
}

quint8 Braille::dotMask() const
{
    quint8 mask = 0;
    for (size_t i = 0; i < m_dots.size(); ++i) {
        if (m_dots[i])
            mask |= quint8(1u << i);
    }
    return mask;
}

void Braille::mirror()
{
    for (size_t left = 0; left < 3; ++left)
        std::swap(m_dots[left], m_dots[left + 3]);
}

QString Braille::toLetter() const
{
    return nameOf(letterTable, m_dots);
}

QString Braille::toNumber() const
{
    return nameOf(digitTable, m_dots);
}

void Braille::fromLetter(const QString &letter)
{
    if (const Pattern *row = find(letterTable, letter))
        m_dots = dotsOf(row->dots);
}

void Braille::fromNumber(const QString &digit)
{
    if (const Pattern *row = find(digitTable, digit))
        m_dots = dotsOf(row->dots);
}
