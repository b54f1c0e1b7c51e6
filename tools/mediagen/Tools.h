#pragma once

#include <QByteArray>
#include <QString>

// The external programs the generator drives, found once on the PATH. Their
// version texts take part in every output's fingerprint, so upgrading a tool
// regenerates what it made.
class Tools
{
public:
    // False with a message when a program is missing.
    bool locate(QString *error);

    QString espeak;
    QString oggenc;
    QString sox;
    QString convert;
    QString versions;

    // Runs program with args, feeding it input on its standard input and
    // collecting its standard output; false with a message on a start
    // failure, a crash, a time-out or a non-zero exit status.
    static bool run(const QString &program, const QStringList &args, QString *error,
        QByteArray *output = nullptr, const QByteArray &input = QByteArray());
};
