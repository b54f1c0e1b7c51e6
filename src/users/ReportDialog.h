#pragma once

#include <QDialog>

class ActivityCatalogue;
class ActivityWidget;
class QPrinter;
class QTextBrowser;
class UserDatabase;

// The learner's report: the rich text shown and printed, the tab-separated
// text exported to a file of the tutor's choosing.
class ReportDialog : public QDialog
{
    Q_OBJECT
public:
    // Neither is owned nor used by the report itself.
    ReportDialog(UserDatabase *database, ActivityCatalogue *catalogue, QWidget *parent = nullptr);

    void setReport(const QString &html, const QString &text);
    QString exportText() const;

    // The whole report of a learner from the scores in memory of the
    // letters and numbers widget and the braille widget: the rich text shown
    // and printed (a summary of every activity, then its full tables), and
    // the tab-separated text exported (the tables only).
    static QString htmlReport(
        const QString &user, const ActivityWidget *letters, const ActivityWidget *braille);
    static QString textReport(
        const QString &user, const ActivityWidget *letters, const ActivityWidget *braille);

public Q_SLOTS:
    // Both fail silently: nothing is shown when the file cannot be written
    // or the tutor cancels.
    void slotSaveAs();
    void slotPrint();

private:
    QTextBrowser *m_view = nullptr;
    QString m_text;
};
