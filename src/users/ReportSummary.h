#pragma once

#include <QList>
#include <QString>

class Score;
class ScoreManager;

// The overview at the top of a learner's report, what a teacher reads at a
// glance before the full tables: for each scored activity its name and
// totals, and its letters (or digits, or dots) as a row of cells coloured by
// how well the learner answers them, with a mark of the same meaning in each
// cell (colour alone would be lost on a colour-blind reader or a black and
// white printer) and a tick on the mastered ones; a legend once, above them.
namespace ReportSummary {

enum class Level {
    NotTried, // no answer yet
    Low, // under 50 % right
    Middle, // 50 % to under 80 %
    High, // 80 % or more
};

Level level(const Score &score);

// Rich text, for the report view and the printer alike; one row of cells
// per manager, in the order given.
QString html(const QList<const ScoreManager *> &managers);

} // namespace ReportSummary
