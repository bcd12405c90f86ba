#include "registers/ui/TabOrder.h"

#include <QEvent>
#include <QWidget>

namespace arenor {

TabOrder::TabOrder(QWidget *window, const QList<QWidget *> &order) : QObject(window)
{
    for (QWidget *w : order)
        m_order.append(w);
    window->installEventFilter(this);
    apply();
}

void TabOrder::apply() const
{
    for (qsizetype i = 1; i < m_order.size(); ++i)
        if (m_order[i - 1] && m_order[i]) QWidget::setTabOrder(m_order[i - 1], m_order[i]);
}

bool TabOrder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ParentChange) apply();
    return QObject::eventFilter(watched, event);
}

} // namespace arenor
