#include "content/LogRecord.h"

#include <cstdio>

void writeLogRecord(const QString &beginTag, const QStringList &details, const QString &endTag)
{
    QByteArray record = "BEGIN " + beginTag.toLatin1() + '\n';
    for (const QString &line : details)
        record += line.toLatin1() + '\n';
    record += "END " + endTag.toLatin1() + '\n';
    std::fwrite(record.constData(), 1, size_t(record.size()), stdout);
    std::fflush(stdout);
}
