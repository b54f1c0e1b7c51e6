#include "app/ScaledView.h"

#include <QFocusEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>

ScaledView::ScaledView(QWidget *parent)
    : QGraphicsView(parent)
{
    setScene(new QGraphicsScene(this));
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(Qt::black);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(
        QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setAlignment(Qt::AlignCenter);
    // The widget repaints parts of itself often (animations, dots); a whole
    // repaint at this size is cheap next to tracking what moved.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setFocusPolicy(Qt::StrongFocus);
}

ScaledView::~ScaledView()
{
    // Whatever widget is still shown goes with the scene, as a child would.
    delete m_proxy;
}

void ScaledView::setWidget(QWidget *widget, const QSize &size)
{
    delete takeWidget();
    // Its dialogs and message boxes stay windows of their own, at their
    // ordinary size, instead of being drawn into the scene.
    widget->setWindowFlag(Qt::BypassGraphicsProxyWidget);
    widget->resize(size);
    m_proxy = scene()->addWidget(widget);
    scene()->setSceneRect(m_proxy->boundingRect());
    fit();
}

QWidget *ScaledView::takeWidget()
{
    if (!m_proxy)
        return nullptr;
    QWidget *widget = m_proxy->widget();
    const QSize size = widget->size();
    m_proxy->setWidget(nullptr);
    delete m_proxy;
    m_proxy = nullptr;
    widget->setWindowFlag(Qt::BypassGraphicsProxyWidget, false);
    widget->resize(size);
    return widget;
}

QWidget *ScaledView::widget() const
{
    return m_proxy ? m_proxy->widget() : nullptr;
}

qreal ScaledView::zoom() const
{
    return transform().m11();
}

void ScaledView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fit();
}

void ScaledView::focusInEvent(QFocusEvent *event)
{
    QGraphicsView::focusInEvent(event);
    // The keyboard goes on to whichever of the widget's children had it.
    if (m_proxy && !m_proxy->hasFocus())
        m_proxy->setFocus(event->reason());
}

void ScaledView::fit()
{
    if (!m_proxy)
        return;
    const QSizeF page = m_proxy->size();
    const QSize room = viewport()->size();
    if (page.isEmpty() || room.isEmpty())
        return;
    const qreal zoom = qMin(room.width() / page.width(), room.height() / page.height());
    setTransform(QTransform::fromScale(zoom, zoom));
    centerOn(m_proxy);
}
