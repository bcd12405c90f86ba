#include "ExchangeCommands.h"

#include "events/GridList.h"
#include "exchange/CameraLink.h"
#include "exchange/CsvExport.h"
#include "exchange/PhotoFinish.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

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
        !state.prompt->askYesNo(
            exchangeText(ExText::Overwrite, state.texts).arg(QDir::toNativeSeparators(*path)),
            state.texts.message(1), Icon::Question, Answer::No))
        return std::nullopt;
    return path;
}

namespace {

bool exportRecords(AppState &state, const QString &suggested,
                   const std::function<Status(AppState &, QList<QStringList> &)> &make)
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
        state.informText(
            exchangeText(ExText::ExportFailed, state.texts).arg(QDir::toNativeSeparators(*path), s.error()),
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

bool exportGridCommand(AppState &state, const QString &table)
{
    return exportRecords(
        state, table + QStringLiteral(".csv"),
        [&table](AppState &s, QList<QStringList> &records) { return gridRecords(s, table, records); });
}

bool startListsCommand(AppState &state)
{
    if (!state.database.isOpen() || !state.prompt)
        return false;
    state.savePendingRecords();
    const QString base = startListBase(state);
    std::optional<QString> path;
    // The camera's folder from the options takes the files without a question.
    if (const QString folder = cameraSetting(state).folder; !folder.isEmpty()) {
        path = QDir(folder).filePath(base + QStringLiteral(".evt"));
    } else {
        FileRequest request;
        request.title = exchangeText(ExText::StartListsCommand, state.texts).remove(u'&');
        request.filter = QStringLiteral("*.evt|*.evt");
        request.directory = state.meetDir + QStringLiteral("Maalfoto");
        QDir().mkpath(request.directory);
        request.suggestedName = base + QStringLiteral(".evt");
        request.save = true;
        path = state.prompt->file(request);
    }
    if (!path || path->isEmpty())
        return false;
    const QFileInfo chosen(*path);
    int grids = 0;
    if (Status s = writeStartLists(state, chosen.absolutePath(), chosen.completeBaseName(), &grids); !s) {
        state.informText(
            exchangeText(ExText::ExportFailed, state.texts).arg(QDir::toNativeSeparators(*path), s.error()),
            Icon::Exclamation);
        return false;
    }
    state.informText(exchangeText(ExText::StartListsWritten, state.texts)
                         .arg(grids)
                         .arg(QDir::toNativeSeparators(chosen.absolutePath())),
                     Icon::Information);
    return true;
}

std::optional<QString> finishFileCommand(AppState &state, const GridFormat &shownFormat)
{
    if (!state.database.isOpen() || !state.prompt)
        return std::nullopt;
    state.savePendingRecords();
    FileRequest request;
    request.title =
        exchangeText(ExText::FinishCommand, state.texts).remove(u'&').remove(QStringLiteral("..."));
    request.filter = exchangeText(ExText::FinishFilter, state.texts);
    request.directory = state.meetDir + QStringLiteral("Maalfoto");
    const std::optional<QString> path = state.prompt->file(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        state.informText(exchangeText(ExText::FileUnreadable, state.texts).arg(*path, file.errorString()),
                         Icon::Exclamation);
        return std::nullopt;
    }
    FinishImport done;
    const QString name = QFileInfo(*path).fileName();
    if (Status s = importFinishFile(state, file.readAll(), name, done, shownFormat); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return std::nullopt;
    }
    state.informText(exchangeText(ExText::FinishStored, state.texts).arg(done.stored).arg(name, done.table),
                     Icon::Information);
    return done.table;
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
