#pragma once

#include <QByteArray>

// The document datawriter writes in a round: about 4 MB, every line naming the round.
inline QByteArray roundContent(int round)
{
    const QByteArray line = "  <Round n=\"" + QByteArray::number(round) + "\"/>\n";
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Rounds>\n";
    out += line.repeated(4 * 1024 * 1024 / line.size());
    return out + "</Rounds>\n";
}
