#pragma once

#include <QString>
#include <QVector>

// The benchmark's figures, one a line as "name: value unit".
namespace Bench {

void report(const char *name, double value, const char *unit);
double median(QVector<double> values);
QString fixture(const QString &name);

} // namespace Bench

// One function per group of figures; main() runs them in turn.
void runAudioBench();
void runMediaGenBench();
void runRecordsBench();
// Needs the logs of the end-to-end tests (ctest -L e2e) and an X server.
void runE2eBench();
