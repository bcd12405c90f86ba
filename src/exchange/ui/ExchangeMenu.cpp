#include "ExchangeMenu.h"

#include "exchange/ExchangeCommands.h"
#include "exchange/ui/ImportDialog.h"

#include <QAction>
#include <QMenu>

namespace arenor::exchange {

ExchangeMenu::ExchangeMenu(AppState &state, QMenu *menu, QAction *before, QWidget *window)
    : QObject(window), m_state(state)
{
    m_import = new QAction(window);
    m_import->setObjectName(QStringLiteral("importCompetitorsAction"));
    m_exportCompetitors = new QAction(window);
    m_exportCompetitors->setObjectName(QStringLiteral("exportCompetitorsAction"));
    m_exportRound = new QAction(window);
    m_exportRound->setObjectName(QStringLiteral("exportRoundResultsAction"));
    menu->insertActions(before, {m_import, m_exportCompetitors, m_exportRound});
    menu->insertSeparator(before);
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
}

} // namespace arenor::exchange
