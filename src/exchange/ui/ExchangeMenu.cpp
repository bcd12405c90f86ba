#include "ExchangeMenu.h"

#include "events/ui/GridWindow.h"
#include "exchange/CameraLink.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/ui/ImportDialog.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace arenor::exchange {

ExchangeMenu::ExchangeMenu(AppState &state, QMenu *menu, QAction *before, QWidget *window, QMdiArea *area)
    : QObject(window), m_state(state)
{
    m_import = new QAction(window);
    m_import->setObjectName(QStringLiteral("importCompetitorsAction"));
    m_exportCompetitors = new QAction(window);
    m_exportCompetitors->setObjectName(QStringLiteral("exportCompetitorsAction"));
    m_exportRound = new QAction(window);
    m_exportRound->setObjectName(QStringLiteral("exportRoundResultsAction"));
    m_startLists = new QAction(window);
    m_startLists->setObjectName(QStringLiteral("photoFinishStartListsAction"));
    m_finishFile = new QAction(window);
    m_finishFile->setObjectName(QStringLiteral("photoFinishResultAction"));
    m_exportGrid = new QAction(window);
    m_exportGrid->setObjectName(QStringLiteral("exportGridAction"));
    menu->insertActions(before, {m_import, m_exportCompetitors, m_exportRound, m_exportGrid});
    menu->insertSeparator(before);
    menu->insertActions(before, {m_startLists, m_finishFile});
    menu->insertSeparator(before);
    connect(m_exportGrid, &QAction::triggered, this, [this, area] {
        // The grid of the window in front.
        QMdiSubWindow *front = area->activeSubWindow();
        if (auto *grid = front ? qobject_cast<GridWindow *>(front->widget()) : nullptr)
            exportGridCommand(m_state, grid->table());
        else
            m_state.informText(exchangeText(ExText::NoGridShown, m_state.texts), Icon::Information);
    });
    connect(m_startLists, &QAction::triggered, this, [this] { startListsCommand(m_state); });
    connect(m_finishFile, &QAction::triggered, this, [this, area] {
        auto shown = [area](const QString &table) -> std::optional<events::TimeFormat> {
            if (GridWindow *grid = findEventGrid(area, table))
                return grid->context().format;
            return std::nullopt;
        };
        if (const std::optional<QString> table = finishFileCommand(m_state, shown))
            if (GridWindow *grid = findEventGrid(area, *table))
                grid->model().refresh();
    });
    // The camera's folder: start lists follow the grids, result files come in as they appear.
    m_camera = new CameraLink(state, this);
    m_camera->setShownFormat([area](const QString &table) -> std::optional<events::TimeFormat> {
        if (GridWindow *grid = findEventGrid(area, table))
            return grid->context().format;
        return std::nullopt;
    });
    connect(m_camera, &CameraLink::resultsStored, this, [area](const QString &table) {
        if (GridWindow *grid = findEventGrid(area, table))
            grid->model().refresh();
    });
    connect(m_import, &QAction::triggered, this, [this, window] { runImportCommand(m_state, window); });
    connect(m_exportCompetitors, &QAction::triggered, this, [this] { exportCompetitorsCommand(m_state); });
    connect(m_exportRound, &QAction::triggered, this, [this] { exportRoundResultsCommand(m_state); });
    connect(&state.notifier, &MeetNotifier::languageChanged, this, &ExchangeMenu::applyCaptions);
    applyCaptions();
}

void ExchangeMenu::applyCaptions()
{
    const TextTables &t = m_state.texts;
    m_import->setText(exchangeText(ExText::ImportCommand, t.language()));
    m_exportCompetitors->setText(exchangeText(ExText::ExportCompetitorsCommand, t.language()));
    m_exportRound->setText(exchangeText(ExText::ExportRoundCommand, t.language()));
    m_exportGrid->setText(exchangeText(ExText::ExportGridCommand, t.language()));
    m_startLists->setText(exchangeText(ExText::StartListsCommand, t.language()));
    m_finishFile->setText(exchangeText(ExText::FinishCommand, t.language()));
}

} // namespace arenor::exchange
