#include "content/XmlScanner.h"

#include "content/XmlDataFile.h"

#include <QString>
#include <cstring>
#include <utility>
#include <vector>

namespace {

inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// For each ASCII byte: 1 when it may start a name, 2 when it may follow.
struct AsciiNameTable
{
    uchar kind[128] = {};

    constexpr AsciiNameTable()
    {
        for (int c = 0; c < 128; ++c) {
            const bool start = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
            const bool follow = start || (c >= '0' && c <= '9') || c == '-' || c == '.';
            kind[c] = uchar((start ? 1 : 0) | (follow ? 2 : 0));
        }
    }
};

constexpr AsciiNameTable asciiNames;

inline bool isAsciiNameStart(uchar c)
{
    return asciiNames.kind[c] & 1;
}

inline bool isAsciiName(uchar c)
{
    return asciiNames.kind[c] & 2;
}

// Valid UTF-8 of XML characters only: no other control characters, no
// surrogates, no U+FFFE or U+FFFF.
bool isXmlUtf8(const char *data, qsizetype size)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    qsizetype i = 0;
    while (i < size) {
        // Eight bytes at a time while they are printable ASCII.
        if (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, p + i, sizeof word);
            const quint64 high = 0x8080808080808080ULL;
            if ((word & high) == 0 && ((word - 0x2020202020202020ULL) & ~word & high) == 0) {
                i += 8;
                continue;
            }
        }
        const uchar c = p[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return false;
            ++i;
            continue;
        }
        int length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + length > size || p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        }
        if (c == 0xEF && p[i + 1] == 0xBF && (p[i + 2] == 0xBE || p[i + 2] == 0xBF))
            return false;
        i += length;
    }
    return true;
}

// The code point at p, which holds valid UTF-8; length gets its byte count.
uint codePointAt(const uchar *p, int *length)
{
    if (p[0] < 0xE0) {
        *length = 2;
        return (uint(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    }
    if (p[0] < 0xF0) {
        *length = 3;
        return (uint(p[0] & 0x0F) << 12) | (uint(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    }
    *length = 4;
    return (uint(p[0] & 0x07) << 18) | (uint(p[1] & 0x3F) << 12) | (uint(p[2] & 0x3F) << 6)
        | (p[3] & 0x3F);
}

void appendUtf8(QByteArray &out, uint c)
{
    const char32_t codePoint = c;
    out += QString::fromUcs4(&codePoint, 1).toUtf8();
}

// One pass over the bytes; see XmlScanner.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_p(reinterpret_cast<const uchar *>(bytes.constData()))
        , m_size(bytes.size())
        , m_bytes(bytes)
    {
    }

    bool scan(XmlScanner::Parts &out)
    {
        if (!isXmlUtf8(m_bytes.constData(), m_size))
            return false;
        if (at("<?xml") && m_size > 5 && (isSpace(char(m_p[5])) || m_p[5] == '?')) {
            if (!declaration())
                return false;
        }
        if (!misc(&out.prolog) || !at("<"))
            return false;

        qsizetype nameBegin = 0;
        qsizetype nameEnd = 0;
        bool empty = false;
        const qsizetype rootBegin = m_pos;
        if (!startTag(&nameBegin, &nameEnd, &empty, nullptr))
            return false;
        out.rootName = QString::fromUtf8(slice(nameBegin, nameEnd));
        if (empty) {
            out.rootStartTag = '<' + slice(nameBegin, nameEnd) + '>';
        } else {
            out.rootStartTag = slice(rootBegin, m_pos);
            if (!content(nameBegin, nameEnd, out))
                return false;
        }
        return misc(&out.epilog) && m_pos == m_size;
    }

private:
    QByteArray slice(qsizetype begin, qsizetype end) const
    {
        return m_bytes.mid(begin, end - begin);
    }

    bool at(const char *text) const
    {
        const size_t length = std::strlen(text);
        return m_pos + qsizetype(length) <= m_size && std::memcmp(m_p + m_pos, text, length) == 0;
    }

    bool skipSpace()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_size && isSpace(char(m_p[m_pos])))
            ++m_pos;
        return m_pos > start;
    }

    qsizetype find(const char *text, qsizetype from) const
    {
        const qsizetype found = m_bytes.indexOf(text, from);
        return found < 0 ? m_size : found;
    }

    bool name(qsizetype *begin, qsizetype *end)
    {
        *begin = m_pos;
        bool first = true;
        while (m_pos < m_size) {
            const uchar c = m_p[m_pos];
            if (c < 0x80) {
                if (first ? !isAsciiNameStart(c) : !isAsciiName(c))
                    break;
                ++m_pos;
            } else {
                int length = 0;
                const uint codePoint = codePointAt(m_p + m_pos, &length);
                // The toolkit refuses names beyond the first plane: it decides.
                if (codePoint > 0xFFFF)
                    return false;
                if (first ? !XmlDataFile::isNameStartChar(codePoint)
                          : !XmlDataFile::isNameChar(codePoint))
                    return false;
                m_pos += length;
            }
            first = false;
        }
        *end = m_pos;
        // A colon would ask for namespaces: the toolkit decides.
        return !first && m_pos < m_size && m_p[m_pos] != ':';
    }

    // At '&': one of the five predefined entities or a character reference.
    bool reference(QByteArray *decoded)
    {
        const qsizetype semicolon = m_bytes.indexOf(';', m_pos);
        if (semicolon < 0 || semicolon - m_pos > 12)
            return false;
        const QByteArray body = slice(m_pos + 1, semicolon);
        m_pos = semicolon + 1;
        if (body.startsWith('#')) {
            bool ok = false;
            const bool hex = body.startsWith("#x");
            const QByteArray digits = body.mid(hex ? 2 : 1);
            for (char c : digits) {
                if (!(c >= '0' && c <= '9')
                    && !(hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))))
                    return false;
            }
            const uint c = digits.toUInt(&ok, hex ? 16 : 10);
            if (!ok || !XmlDataFile::isXmlChar(c))
                return false;
            if (decoded)
                appendUtf8(*decoded, c);
            return true;
        }
        static const char *const names[] = { "amp", "lt", "gt", "quot", "apos" };
        static const char values[] = { '&', '<', '>', '"', '\'' };
        for (int i = 0; i < 5; ++i) {
            if (body == names[i]) {
                if (decoded)
                    *decoded += values[i];
                return true;
            }
        }
        return false;
    }

    bool comment(QList<QByteArray> *nodes)
    {
        const qsizetype begin = m_pos;
        const qsizetype dashes = find("--", m_pos + 4);
        if (dashes >= m_size || !at("<!--") || dashes + 2 >= m_size || m_p[dashes + 2] != '>')
            return false;
        m_pos = dashes + 3;
        if (nodes)
            nodes->append(slice(begin, m_pos));
        return true;
    }

    // Blanks and comments before or after the root.
    bool misc(QList<QByteArray> *nodes)
    {
        for (;;) {
            skipSpace();
            if (!at("<!--"))
                return true;
            if (!comment(nodes))
                return false;
        }
    }

    bool declaration()
    {
        const qsizetype end = find("?>", m_pos);
        if (end >= m_size)
            return false;
        m_pos += 5;
        int field = 0;
        static const char *const fields[] = { "version", "encoding", "standalone" };
        while (m_pos < end) {
            if (!skipSpace())
                break;
            if (m_pos == end)
                break;
            int which = -1;
            for (int i = field; i < 3 && which < 0; ++i) {
                if (at(fields[i]))
                    which = i;
            }
            if (which < 0 || (field == 0 && which != 0))
                return false;
            m_pos += qsizetype(std::strlen(fields[which]));
            field = which + 1;
            skipSpace();
            if (m_pos >= end || m_p[m_pos] != '=')
                return false;
            ++m_pos;
            skipSpace();
            if (m_pos >= end || (m_p[m_pos] != '"' && m_p[m_pos] != '\''))
                return false;
            const char quote = char(m_p[m_pos]);
            const qsizetype close = m_bytes.indexOf(quote, m_pos + 1);
            if (close < 0 || close >= end)
                return false;
            const QByteArray value = slice(m_pos + 1, close);
            m_pos = close + 1;
            if ((which == 0 && value != "1.0") || (which == 1 && value.toLower() != "utf-8")
                || (which == 2 && value != "yes" && value != "no"))
                return false;
        }
        if (field == 0 || m_pos != end)
            return false;
        m_pos = end + 2;
        return true;
    }

    // At '<' of a start tag. With attributes, also decodes them.
    bool startTag(qsizetype *nameBegin, qsizetype *nameEnd, bool *empty,
        QList<QPair<QString, QString>> *attributes)
    {
        ++m_pos;
        if (!name(nameBegin, nameEnd))
            return false;
        m_attributeNames.clear();
        for (;;) {
            const bool spaced = skipSpace();
            if (m_pos >= m_size)
                return false;
            if (m_p[m_pos] == '>') {
                ++m_pos;
                *empty = false;
                return true;
            }
            if (at("/>")) {
                m_pos += 2;
                *empty = true;
                return true;
            }
            qsizetype attributeBegin = 0;
            qsizetype attributeEnd = 0;
            if (!spaced || !name(&attributeBegin, &attributeEnd))
                return false;
            const qsizetype length = attributeEnd - attributeBegin;
            for (const auto &seen : m_attributeNames) {
                if (seen.second - seen.first == length
                    && std::memcmp(m_p + seen.first, m_p + attributeBegin, size_t(length)) == 0)
                    return false;
            }
            m_attributeNames.emplace_back(attributeBegin, attributeEnd);
            skipSpace();
            if (m_pos >= m_size || m_p[m_pos] != '=')
                return false;
            ++m_pos;
            skipSpace();
            if (m_pos >= m_size || (m_p[m_pos] != '"' && m_p[m_pos] != '\''))
                return false;
            const uchar quote = m_p[m_pos++];
            QByteArray value;
            qsizetype run = m_pos;
            for (;;) {
                if (m_pos >= m_size)
                    return false;
                const uchar c = m_p[m_pos];
                if (c == quote)
                    break;
                if (c == '<')
                    return false;
                if (c == '&' || c == '\t' || c == '\n' || c == '\r') {
                    if (attributes)
                        value += slice(run, m_pos);
                    if (c == '&') {
                        if (!reference(attributes ? &value : nullptr))
                            return false;
                    } else {
                        // Attribute values turn every blank character into a space.
                        if (attributes)
                            value += ' ';
                        ++m_pos;
                    }
                    run = m_pos;
                    continue;
                }
                ++m_pos;
            }
            if (attributes) {
                value += slice(run, m_pos);
                attributes->append(qMakePair(QString::fromUtf8(slice(attributeBegin, attributeEnd)),
                    QString::fromUtf8(value)));
            }
            ++m_pos;
        }
    }

    // Character data up to the next '<'.
    bool text(qsizetype *end)
    {
        const qsizetype begin = m_pos;
        const void *lt = std::memchr(m_p + m_pos, '<', size_t(m_size - m_pos));
        const qsizetype stop = lt ? static_cast<const uchar *>(lt) - m_p : m_size;
        for (qsizetype i = begin; i < stop; ++i) {
            if (m_p[i] == '&') {
                m_pos = i;
                if (!reference(nullptr))
                    return false;
                i = m_pos - 1;
            } else if (m_p[i] == '>' && i >= begin + 2 && m_p[i - 1] == ']' && m_p[i - 2] == ']') {
                return false;
            }
        }
        m_pos = stop;
        *end = stop;
        return true;
    }

    bool content(qsizetype rootNameBegin, qsizetype rootNameEnd, XmlScanner::Parts &out)
    {
        QList<QPair<qsizetype, qsizetype>> open { qMakePair(rootNameBegin, rootNameEnd) };
        qsizetype childBegin = -1;
        XmlTopLevel::Node child;
        while (!open.isEmpty()) {
            if (m_pos >= m_size)
                return false;
            const bool topLevel = open.size() == 1;
            if (m_p[m_pos] != '<') {
                const qsizetype begin = m_pos;
                qsizetype end = 0;
                if (!text(&end))
                    return false;
                if (topLevel) {
                    QByteArray chars = slice(begin, end).trimmed();
                    if (!chars.isEmpty()) {
                        XmlTopLevel::Node node;
                        node.text = chars;
                        out.children.append(node);
                    }
                }
            } else if (m_pos + 1 < m_size && m_p[m_pos + 1] == '/') {
                m_pos += 2;
                qsizetype begin = 0;
                qsizetype end = 0;
                if (!name(&begin, &end))
                    return false;
                skipSpace();
                if (m_pos >= m_size || m_p[m_pos] != '>')
                    return false;
                ++m_pos;
                const auto &expected = open.last();
                if (end - begin != expected.second - expected.first
                    || std::memcmp(m_p + begin, m_p + expected.first, size_t(end - begin)) != 0)
                    return false;
                open.removeLast();
                if (open.size() == 1) {
                    child.text = slice(childBegin, m_pos);
                    out.children.append(child);
                }
            } else if (m_pos + 1 < m_size && m_p[m_pos + 1] == '!' && at("<!--")) {
                QList<QByteArray> comments;
                if (!comment(&comments))
                    return false;
                if (topLevel) {
                    XmlTopLevel::Node node;
                    node.text = comments.first();
                    out.children.append(node);
                }
            } else if (m_pos + 1 < m_size && m_p[m_pos + 1] == '!' && at("<![CDATA[")) {
                const qsizetype begin = m_pos;
                const qsizetype end = find("]]>", m_pos);
                if (end >= m_size)
                    return false;
                m_pos = end + 3;
                if (topLevel) {
                    XmlTopLevel::Node node;
                    node.text = slice(begin, m_pos);
                    out.children.append(node);
                }
            } else if (m_pos + 1 < m_size && (m_p[m_pos + 1] == '?' || m_p[m_pos + 1] == '!')) {
                return false;
            } else {
                const qsizetype begin = m_pos;
                qsizetype nameBegin = 0;
                qsizetype nameEnd = 0;
                bool empty = false;
                if (topLevel) {
                    child = XmlTopLevel::Node();
                    child.isElement = true;
                    childBegin = begin;
                }
                if (!startTag(&nameBegin, &nameEnd, &empty, topLevel ? &child.attributes : nullptr))
                    return false;
                if (topLevel)
                    child.tagName = QString::fromUtf8(slice(nameBegin, nameEnd));
                if (!empty) {
                    open.append(qMakePair(nameBegin, nameEnd));
                } else if (topLevel) {
                    child.text = slice(begin, m_pos);
                    out.children.append(child);
                }
            }
        }
        return true;
    }

    const uchar *m_p;
    qsizetype m_size;
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    // The names of the attributes of the tag being read, as byte ranges.
    std::vector<std::pair<qsizetype, qsizetype>> m_attributeNames;
};

} // namespace

bool XmlScanner::scan(const QByteArray &bytes, XmlTopLevel &out)
{
    Parts parts;
    if (!Reader(bytes).scan(parts))
        return false;
    out = XmlTopLevel();
    out.m_rootName = parts.rootName;
    out.m_rootStartTag = parts.rootStartTag;
    out.m_prolog = parts.prolog;
    out.m_epilog = parts.epilog;
    out.children = parts.children;
    return true;
}
