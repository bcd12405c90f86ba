#pragma once
// The exchange commands in the Database menu: import competitors, export competitors, export
// the round's results. The items follow the language when it changes.

#include "db/AppState.h"

#include <QObject>

class QAction;
class QMdiArea;
class QMenu;
class QWidget;

namespace arenor::exchange {

class ExchangeMenu : public QObject {
    Q_OBJECT
public:
    // Puts the items into the menu before `before`, followed by a separator.
    // Grid windows open in the area show what a result file stored.
    ExchangeMenu(AppState &state, QMenu *menu, QAction *before, QWidget *window, QMdiArea *area);
    void applyCaptions();
    QAction *importAction() const { return m_import; }

private:
    AppState &m_state;
    QAction *m_import = nullptr;
    QAction *m_exportCompetitors = nullptr;
    QAction *m_exportRound = nullptr;
    QAction *m_exportGrid = nullptr;
    QAction *m_startLists = nullptr;
    QAction *m_finishFile = nullptr;
};

} // namespace arenor::exchange
