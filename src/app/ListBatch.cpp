#include "ListBatch.h"

#include "app/Lifecycle.h"
#include "app/ProgramLock.h"
#include "app/Publishing.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "base/Convert.h"
#include "events/EventSetup.h"
#include "events/GridTable.h"
#include "lists/ListNames.h"
#include "lists/MeetLists.h"
#include "lists/ResultLists.h"
#include "print/ListPrint.h"
#include "registers/Entries.h"

#include <memory>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <random>

namespace arenor {

namespace {

// The event setup of an event and class as stored, as the setup window would hand it to its
// list commands; none when its list type or category was never chosen.
std::optional<events::GridContext> storedContext(AppState &state, int event, int cls)
{
    QStringList fields;
    if (!events::readSetupRecord(state, events::setupRecordNumber(state.currentRound, event, cls), fields))
        return std::nullopt;
    const std::optional<int> category = events::storedOption(fields.value(events::SetupCategory), 3);
    const std::optional<int> type = events::storedOption(fields.value(events::SetupListType), 6);
    if (!category || !type)
        return std::nullopt;
    events::GridContext c;
    QString variant = fields.value(events::SetupVariant).trimmed();
    if (variant.isEmpty())
        variant = QStringLiteral("_");
    c.selection = events::listSelection(state, event, cls, variant);
    c.type = events::listTypeFromCode(*type);
    c.helpCount = int(toInteger(events::clampedHelpColumns(fields.value(events::SetupHelpColumns)), 0, 5));
    c.run = *category == 0;
    c.technical = *category == 1;
    c.format = events::timeFormatFromCode(
        events::storedOption(fields.value(events::SetupTimeFormat), 3).value_or(2));
    c.startDate = fields.value(events::SetupDate);
    c.startTime = fields.value(events::SetupStartTime);
    return c;
}

} // namespace

ListBatchResult makeEveryList(AppState &state, const QString &pdfDir)
{
    ListBatchResult result;
    auto tell = [&](const QString &path, const Status &s) {
        if (s)
            result.made << path;
        else
            result.failures << QFileInfo(path).fileName() + QStringLiteral(": ") + s.error();
    };
    const print::PageFrame frame = print::pageFrameFor(state);
    QMetaObject::Connection toPdf;
    if (!pdfDir.isEmpty()) {
        toPdf = QObject::connect(&state.notifier, &MeetNotifier::listMade, &state.notifier,
                                 [&](const ListDocument &document, const QString &path) {
                                     const QString pdf = QDir(pdfDir).filePath(
                                         QFileInfo(path).completeBaseName() + QStringLiteral(".pdf"));
                                     if (Status s = print::writeListPdf(pdf, document, frame); s)
                                         result.pdfs << pdf;
                                     else
                                         result.failures
                                             << state.texts.message(Text::PdfFailed).arg(pdf, s.error());
                                 });
    }

    // Heats and lanes are not drawn without a question (the lanes stay blank, as Cancel leaves them).
    std::mt19937 random{std::random_device{}()};
    const bool longNames = state.option(OptLongFileNames);
    const auto counts = events::eventCounts(state);
    bool anyClassList = false;
    for (int e = 1; e <= kEventSlots; ++e) {
        const QString name = state.eventNames[size_t(e)].trimmed();
        if (name.isEmpty() || name == u"_" || counts[size_t(e)] == 0)
            continue;
        std::optional<events::ListSelection> made;
        for (int k = 1; k <= kClassCount; ++k) {
            if (state.catalogs.classes[size_t(k)].trimmed().isEmpty())
                continue;
            const std::optional<events::GridContext> context = storedContext(state, e, k);
            if (!context || events::enteredSlots(state, *context).isEmpty())
                continue;
            const QString path = events::classListPath(state, context->selection);
            const QString table = events::gridTableOf(state, context->selection);
            const Status s =
                state.database.tableExists(table)
                    ? events::makeGridListFile(state, *context, table, path)
                    : lists::MakeEventList(state, path, lists::eventListRequest(*context), random);
            tell(path, s);
            if (s)
                made = context->selection;
            anyClassList = anyClassList || s;
        }
        if (made) {
            const QString path = events::eventListPath(state, *made);
            tell(path, lists::MakeEventClassList(state, path, *made));
        }
    }
    auto meetList = [&](lists::MeetList list) {
        return state.meetFile(lists::listFileName(list, state.roundTag, longNames));
    };
    using lists::MeetList;
    // A round without class lists has no results to join.
    if (anyClassList)
        tell(meetList(MeetList::Results), lists::MakeMeetResultsList(state, meetList(MeetList::Results)));
    tell(meetList(MeetList::StartListText),
         lists::MakeStartListText(state, meetList(MeetList::StartListText)));
    tell(meetList(MeetList::Contingent), lists::MakeContingentList(state, meetList(MeetList::Contingent)));
    tell(meetList(MeetList::TimeSchedule), lists::MakeTimeSchedule(state, meetList(MeetList::TimeSchedule)));
    // The newspaper and points lists are made from the meet results list, when there is one.
    if (QFileInfo::exists(meetList(MeetList::Results))) {
        tell(meetList(MeetList::Newspaper), lists::MakeNewspaperList(state, meetList(MeetList::Newspaper)));
        tell(meetList(MeetList::Points), lists::MakePointsList(state, meetList(MeetList::Points)));
    }
    QObject::disconnect(toPdf);
    return result;
}

int runListBatch(const QString &programDir, const QString &meet, const QString &pdfDir, const QString &publishDir)
{
    QTextStream err(stderr);
    QTextStream out(stdout);
    AppState state;
    state.programDir = programDir;
    ProgramLock lock(programDir);
    prepareState(state);
    readSettingsFile(state, false);
    if (!lock.tryLock()) {
        err << "arenor: "
            << state.texts.message(Text::DirectoryInUse).arg(programDir, QString::number(lock.holder()))
            << '\n';
        return 1;
    }
    // The meet the next start opens stays the one the windows last had.
    const QString remembered = rememberedMeet(state);
    const bool hadMemory = QFileInfo::exists(state.programFile(QStringLiteral("Arenor.ini")));
    const bool server = db::isServerAddress(meet);
    if (server)
        state.currentDatabase = meet;
    else if (!meet.isEmpty())
        state.currentDatabase = lifecycle::storedDatabaseName(
            state, QFileInfo(meet).isAbsolute() ? meet : QDir(programDir).absoluteFilePath(meet));
    // A batch never makes a meet: a name that is no file is an error. A server meet's open
    // says itself what is wrong.
    if (!db::isServerAddress(state.currentDatabase) && !QFileInfo(state.databasePath()).isFile()) {
        err << "arenor: " << state.databasePath() << ": " << state.texts.message(Text::FileMissing) << '\n';
        return 1;
    }
    if (!pdfDir.isEmpty() && !QDir().mkpath(pdfDir)) {
        err << "arenor: " << state.texts.message(Text::ProgramDirUnusable).arg(pdfDir) << '\n';
        return 1;
    }
    state.setMeetDirectory();
    readSettingsFile(state, true);
    state.setRoundTag(3);
    Status opened = lifecycle::meetBecameCurrent(state);
    if (hadMemory) {
        const QString current = state.currentDatabase;
        state.currentDatabase = remembered;
        rememberCurrentMeet(state);
        state.currentDatabase = current;
    } else {
        QFile::remove(state.programFile(QStringLiteral("Arenor.ini")));
    }
    // The event names are read as the entries window reads them.
    if (opened)
        opened = registers::readEventNames(state);
    if (!opened) {
        err << "arenor: " << opened.error() << '\n';
        return 1;
    }
    // The lists made in this run are gathered and published together when it ends.
    std::unique_ptr<PublishRun> publishing;
    if (!publishDir.isEmpty())
        publishing = std::make_unique<PublishRun>(state, QDir(publishDir).absolutePath());
    ListBatchResult result = makeEveryList(state, pdfDir.isEmpty() ? QString() : QDir(pdfDir).absolutePath());
    if (publishing)
        if (Status s = publishing->finish(); !s)
            result.failures << s.error();
    for (const QString &path : result.made)
        out << path << '\n';
    for (const QString &pdf : result.pdfs)
        out << pdf << '\n';
    for (const QString &failure : result.failures)
        err << "arenor: " << failure << '\n';
    out.flush();
    err.flush();
    state.database.close();
    return result.failures.isEmpty() && !result.made.isEmpty() ? 0 : 1;
}

} // namespace arenor
