#pragma once

#include <QWidget>

class QLabel;

// The bar above the activity that names the running activity.
class TopWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TopWidget(QWidget *parent = nullptr);

    QString title() const;
    // The bar's text for an activity address; empty for an address it does
    // not name.
    static QString titleFor(int activity, int sub);

public Q_SLOTS:
    // Any other pair leaves the title as it was.
    void setActivity(int activity, int sub);

private:
    QLabel *m_label;
};
