#pragma once
// The exchange commands in the Database menu: import competitors, export competitors, export
// the round's results, the photo-finish files. The items follow the language when it changes.
// It also keeps the link to the photo-finish camera's folder.

#include "db/AppState.h"

#include <QObject>

class QAction;
class QMdiArea;
class QMenu;
class QWidget;

namespace arenor::exchange {

class CameraLink;

class ExchangeMenu : public QObject {
    Q_OBJECT
public:
    // Puts the items into the menu before `before`, followed by a separator.
    // Grid windows open in the area show what a result file stored.
    ExchangeMenu(AppState &state, QMenu *menu, QAction *before, QWidget *window, QMdiArea *area);
    void applyCaptions();
    QAction *importAction() const { return m_import; }
    CameraLink *cameraLink() const { return m_camera; }

private:
    AppState &m_state;
    QAction *m_import = nullptr;
    QAction *m_exportCompetitors = nullptr;
    QAction *m_exportRound = nullptr;
    QAction *m_exportGrid = nullptr;
    QAction *m_startLists = nullptr;
    QAction *m_finishFile = nullptr;
    CameraLink *m_camera = nullptr;
};

} // namespace arenor::exchange
