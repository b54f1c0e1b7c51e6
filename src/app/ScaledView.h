#pragma once

#include <QGraphicsView>

class QGraphicsProxyWidget;

// Shows one widget enlarged to fill the view, its proportions kept, with
// black around it. The widget keeps the size it was laid out for; only the
// drawing scales, so text and the painted parts stay sharp and the pictures
// are smoothed, however large the screen.
class ScaledView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit ScaledView(QWidget *parent = nullptr);
    ~ScaledView() override;

    // Takes a widget without a parent at the given size.
    void setWidget(QWidget *widget, const QSize &size);
    // Gives the widget back, without a parent, at its size.
    QWidget *takeWidget();
    QWidget *widget() const;
    // How many screen pixels one of the widget's pixels now takes.
    qreal zoom() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void fit();

    QGraphicsProxyWidget *m_proxy = nullptr;
};
