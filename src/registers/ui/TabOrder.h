#pragma once
// A window's tab order kept in force. Qt rebuilds a widget's focus chain in creation order when
// the widget moves into another parent (a child window into its frame in the main window), so
// an order set once in the constructor is lost; this sets it again after every such move.

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace arenor {

class TabOrder : public QObject {
public:
    // Tab runs through the widgets in the order given; they are children of window.
    TabOrder(QWidget *window, const QList<QWidget *> &order);
    void apply() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QWidget>> m_order;
};

} // namespace arenor
