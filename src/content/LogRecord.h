#pragma once

#include <QString>
#include <QStringList>

// A log record on standard output ("pu-debug.txt"): "BEGIN " + beginTag, the
// detail lines, "END " + endTag, each line as Latin-1 and flushed at once, so
// a record is whole even when the process ends right after it.
void writeLogRecord(const QString &beginTag, const QStringList &details, const QString &endTag);
