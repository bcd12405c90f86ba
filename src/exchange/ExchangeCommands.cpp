#include "ExchangeCommands.h"

#include "events/GridList.h"
#include "exchange/CsvExport.h"

#include <QDir>
#include <QFileInfo>

namespace arenor::exchange {

std::optional<QString> chooseCsvFile(AppState &state, bool save, const QString &suggestedName)
{
    if (!state.prompt)
        return std::nullopt;
    FileRequest request;
    request.title = exchangeText(save ? ExText::ExportCompetitorsCommand : ExText::ImportCommand, state.texts)
                        .remove(u'&')
                        .remove(QStringLiteral("..."));
    request.filter = exchangeText(ExText::CsvFilter, state.texts);
    request.directory = state.meetDir;
    request.suggestedName = suggestedName;
    request.save = save;
    std::optional<QString> path = state.prompt->file(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    if (save && QFileInfo::exists(*path) &&
        !state.prompt->askYesNo(exchangeText(ExText::Overwrite, state.texts).arg(QDir::toNativeSeparators(*path)),
                                state.texts.message(1), Icon::Question, Answer::No))
        return std::nullopt;
    return path;
}

namespace {

bool exportRecords(AppState &state, const QString &suggested, Status (*make)(AppState &, QList<QStringList> &))
{
    if (!state.database.isOpen())
        return false;
    state.savePendingRecords();
    const std::optional<QString> path = chooseCsvFile(state, true, suggested);
    if (!path)
        return false;
    QList<QStringList> records;
    Status s = make(state, records);
    if (s)
        s = writeCsvFile(state, *path, records);
    if (!s) {
        state.informText(exchangeText(ExText::ExportFailed, state.texts).arg(QDir::toNativeSeparators(*path), s.error()),
                         Icon::Exclamation);
        return false;
    }
    state.informText(exchangeText(ExText::Exported, state.texts)
                         .arg(records.size() - 1)
                         .arg(QDir::toNativeSeparators(*path)),
                     Icon::Information);
    return true;
}

} // namespace

bool exportCompetitorsCommand(AppState &state)
{
    return exportRecords(state, exchangeText(ExText::CompetitorsFile, state.texts), competitorRecords);
}

bool exportRoundResultsCommand(AppState &state)
{
    const QString file =
        exchangeText(ExText::ResultsFile, state.texts).arg(events::safeNamePart(state.roundName()));
    return exportRecords(state, file, roundResultRecords);
}

bool applyImport(AppState &state, const CsvImport &import)
{
    // What the windows show but have not stored goes in first, and they read the tables again after.
    state.savePendingRecords();
    ImportSummary summary;
    const Status s = import.apply(state, summary);
    state.rebindDataControls();
    if (!s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    state.informText(summary.text(state), summary.skipped.isEmpty() ? Icon::Information : Icon::Exclamation);
    return true;
}

} // namespace arenor::exchange
