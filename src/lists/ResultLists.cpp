#include "ResultLists.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "lists/ListOutput.h"
#include "lists/ListText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <map>

namespace arenor::lists {

using events::ListType;

namespace {

// The rows of a list stop where the results column begins, so the list is a form to fill in;
// test mode goes on with made-up results, the blank difference column and the closing ":".
struct RowEnd {
    int results;   // where the results column starts
    int separator; // the ":" after the results, a blank that ends the row outside test mode
    int width;     // the closing ":" of test mode
};

void endRow(ListLine &line, const RowEnd &end, bool testMode, std::mt19937 &random)
{
    if (!testMode) {
        line.blankTo(end.separator);
        return;
    }
    line.text(end.results, events::testModeResult(random)).separator(end.separator).separator(end.width);
}

int widthOf(EventLayout layout)
{
    switch (layout) {
    case EventLayout::Heat:
        return 104;
    case EventLayout::Relay:
        return 89;
    case EventLayout::Standard:
        break;
    }
    return 82;
}

int headerMessageOf(EventLayout layout)
{
    switch (layout) {
    case EventLayout::Heat:
        return 73;
    case EventLayout::Relay:
        return 74;
    case EventLayout::Standard:
        break;
    }
    return 72;
}

// Message 11 with a count and what was counted, as "All messages" shows it.
void tellCount(AppState &state, int count, int what)
{
    if (state.allMessages())
        state.informText(state.texts.message(11) + numberText(qint64(count)) + state.texts.message(what),
                         Icon::Exclamation);
}

// Replaces an existing file only when the user agrees (message 8).
bool mayReplace(AppState &state, const QString &path)
{
    return !QFile::exists(path) ||
           (state.prompt && state.prompt->askOkCancel(state.texts.message(8), state.texts.message(1),
                                                      Icon::Exclamation, Answer::Cancel));
}

// Joins the lists whose names begin with one of the prefixes (the message language's first)
// into the file. Nothing to join leaves the file as it was: a join after a switch of language
// must never replace a list with nothing.
Status joinInto(AppState &state, const QString &path, const QStringList &prefixes, int what,
                const QString &kind, const QString &title, const QSet<QString> &onlyNames = {})
{
    const QStringList files = joinedListFiles(QFileInfo(path).absolutePath(), prefixes, path, onlyNames);
    tellCount(state, int(files.size()), what);
    QStringList lines;
    if (Status s = joinListFiles(state, files, lines); !s)
        return s;
    if (lines.isEmpty()) {
        QStringList patterns;
        for (const QString &prefix : prefixes)
            patterns << prefix + QStringLiteral("*.txt");
        return Status::failure(state.texts.message(Text::JoinFoundNothing)
                                   .arg(QFileInfo(path).fileName(), patterns.join(QStringLiteral(", "))));
    }
    ListDocument document = classifiedList(lines);
    document.kind = kind;
    document.title = title.isEmpty() ? lines.first().trimmed() : title;
    return writeList(state, path, std::move(document));
}

// The prefixes of the event lists of the current round, or of an event's class lists, in the
// message language and then in the other.
template <typename Prefix>
QStringList prefixesOf(const AppState &state, const events::ListSelection &selection, Prefix prefix)
{
    const auto [language, other] = events::languagesFrom(state.texts.messageLanguage());
    const bool longNames = state.option(OptLongFileNames);
    QStringList prefixes{prefix(selection, language, longNames),
                         prefix(events::selectionIn(selection, other), other, longNames)};
    prefixes.removeDuplicates();
    return prefixes;
}

QStringList eventListPrefixes(const AppState &state, const events::ListSelection &selection)
{
    return prefixesOf(state, selection, events::eventListPrefix);
}

QStringList classListPrefixes(const AppState &state, const events::ListSelection &selection)
{
    return prefixesOf(state, selection, events::classListPrefix);
}

} // namespace

EventLayout eventLayoutOf(ListType type)
{
    switch (type) {
    case ListType::Heat:
    case ListType::Multi:
    case ListType::Special:
        return EventLayout::Heat;
    case ListType::Relay:
        return EventLayout::Relay;
    case ListType::Standard:
    case ListType::Step:
        break;
    }
    return EventLayout::Standard;
}

EventListRequest eventListRequest(const events::GridContext &context)
{
    EventListRequest request;
    request.selection = context.selection;
    request.type = context.type;
    request.category = context.run ? 2 : 1;
    request.startDate = context.startDate;
    request.startTime = context.startTime;
    return request;
}

Status eventResultList(const AppState &state, const EventListRequest &request, std::mt19937 &random,
                       ListDocument &document, int *rows)
{
    const TextTables &texts = state.texts;
    const EventLayout layout = eventLayoutOf(request.type);
    const int width = widthOf(layout);
    QStringList info;
    if (Status s = infoHeaderLines(state, info); !s)
        return s;

    using K = ListLineKind;
    document = ListDocument();
    document.kind = QStringLiteral("class");
    document.roundName = roundNameOf(request.selection.roundTag);
    document.title = events::listHeadingLine(request.selection);
    document.add(K::Title, texts.message(71) + roundNameOf(request.selection.roundTag).toUpper());
    addHeaderLines(document, info);
    document.add(K::Blank, QString());
    document.add(K::Section, document.title);
    if (state.option(OptTimeAndDateInLists))
        document.add(K::Note, QStringLiteral("Dato :") + request.startDate + QStringLiteral(" Tid :") +
                                  request.startTime);
    addRuler(document, u'-', width);
    addColumns(document, texts.message(headerMessageOf(layout)));
    addRuler(document, u'=', width);

    // The entrants of the class only: the list is headed by the class, and the event list
    // joins the class lists of the event.
    events::GridContext context;
    context.selection = request.selection;
    context.type = layout == EventLayout::Relay ? ListType::Relay : ListType::Standard;
    QList<int> entries = events::enteredSlots(state, context);
    const Catalogs &c = state.catalogs;
    const int lanes = layout == EventLayout::Heat ? std::max(request.lanes, 0) : 0;
    events::drawHeatOrder(entries, lanes, random);

    const bool separators = state.option(OptSeparators);
    const bool testMode = state.testMode();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int slot = entries[i];
        ListLine line(separators);
        line.separator(1);
        if (layout == EventLayout::Relay) {
            const RelaySlot &team = c.relays[size_t(slot)];
            line.number(3, i + 1).separators({8, 16}).text(18, team.teamNo).separator(24);
            line.text(26, team.club.trimmed(), 25).separator(52).text(54, team.cls, 12).separator(67);
            endRow(line, {69, 78, 89}, testMode, random);
        } else {
            const int d = layout == EventLayout::Heat ? 22 : 0;
            if (d > 0) {
                if (lanes > 0)
                    line.number(3, i / lanes + 1);
                line.separator(8);
                if (lanes > 0)
                    line.number(10, i % lanes + 1);
                line.separator(15);
                // Test mode fills the heat place with the register position, so sorting by
                // heat has something to order.
                if (testMode && slot < 170)
                    line.number(17, slot);
                line.separator(23);
            }
            const PersonSlot &person = c.persons[size_t(slot)];
            line.separator(9 + d).text(11 + d, person.startNo).separator(17 + d);
            line.text(19 + d, person.name, 25)
                .separator(45 + d)
                .text(47 + d, person.club, 12)
                .separator(60 + d);
            endRow(line, {62 + d, 71 + d, 82 + d}, testMode, random);
        }
        addLine(document, K::Row, line);
    }
    addRuler(document, u'=', width);
    if (rows)
        *rows = int(entries.size());
    return {};
}

Status MakeEventList(AppState &state, const QString &path, EventListRequest request, std::mt19937 &random)
{
    if (request.type == ListType::Heat)
        request.lanes = events::askLaneCount(state);
    ListDocument document;
    int rows = 0;
    {
        BusyScope busy(state.progressSink());
        if (Status s = eventResultList(state, request, random, document, &rows); !s)
            return s;
        if (Status s = writeList(state, path, std::move(document)); !s)
            return s;
    }
    if (state.allMessages())
        state.informText(
            events::gridCountText(state.texts, rows, eventLayoutOf(request.type) == EventLayout::Relay),
            Icon::Exclamation);
    return {};
}

QStringList joinedListFiles(const QString &dir, const QStringList &prefixes, const QString &except,
                            const QSet<QString> &onlyNames)
{
    const QString exceptPath = QDir::cleanPath(QFileInfo(except).absoluteFilePath());
    const QDir directory(dir);
    // Only the few matching names are sorted, not the whole meet directory.
    QList<QStringList> named(prefixes.size());
    for (QDirIterator it(dir, QDir::Files); it.hasNext();) {
        const QString name = it.nextFileInfo().fileName();
        if (!name.endsWith(u".txt", Qt::CaseInsensitive) ||
            (!onlyNames.isEmpty() && !onlyNames.contains(name)))
            continue;
        for (qsizetype i = 0; i < prefixes.size(); ++i) {
            if (name.startsWith(prefixes[i], Qt::CaseInsensitive) &&
                QDir::cleanPath(directory.absoluteFilePath(name)) != exceptPath) {
                named[i] << name;
                break;
            }
        }
    }
    // One list per rest of the name, in its order: the first prefix's when both languages have it.
    std::map<QString, QString> byRest;
    for (qsizetype i = 0; i < prefixes.size(); ++i) {
        std::sort(named[i].begin(), named[i].end());
        for (const QString &name : std::as_const(named[i]))
            byRest.try_emplace(name.mid(prefixes[i].size()), name);
    }
    QStringList files;
    for (const auto &[rest, name] : byRest)
        files << QDir::cleanPath(directory.absoluteFilePath(name));
    return files;
}

Status joinListFiles(const AppState &state, const QStringList &files, QStringList &lines)
{
    lines.clear();
    bool first = true;
    for (const QString &file : files) {
        bool ok = false;
        QStringList fileLines = readTextLines(file, &ok);
        if (!ok)
            return Status::failure(file + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable));
        if (fileLines.isEmpty())
            continue;
        // The lists after the first go on without their title and meet lines.
        lines << (first ? fileLines : fileLines.mid(5));
        first = false;
    }
    return {};
}

Status MakeMeetResultsList(AppState &state, const QString &path)
{
    events::ListSelection round;
    round.roundTag = state.roundTag;
    return joinInto(state, path, eventListPrefixes(state, round), 12, QStringLiteral("results"), {});
}

Status MakeEventClassList(AppState &state, const QString &path, const events::ListSelection &selection)
{
    if (selection.event < 1 || selection.event > kEventSlots)
        return Status::failure(state.texts.message(7));
    const QStringList prefixes = classListPrefixes(state, selection);
    const QString title = selection.eventName.trimmed() + u' ' + roundNameOf(selection.roundTag);
    if (!state.option(OptLongFileNames))
        return joinInto(state, path, prefixes, 13, QStringLiteral("event"), title);
    // A long name runs event, variant and class together, so "100m" is also the beginning of
    // "100m hekk": only the names the event's own class lists can have are joined, exactly as
    // written ("800M" is another event than "800m").
    QSet<QString> names;
    events::ListSelection s = selection;
    for (const QString &variant : events::variantTexts()) {
        s.variant = variant;
        for (int k = 1; k <= kClassCount; ++k) {
            s.className = state.catalogs.classes[size_t(k)];
            for (const QString &name : events::classListNames(state.texts, s, true))
                names.insert(name);
        }
    }
    return joinInto(state, path, prefixes, 13, QStringLiteral("event"), title, names);
}

bool makeEventListCommand(AppState &state, const events::GridContext &context)
{
    const QString path = events::classListPath(state, context.selection);
    if (!mayReplace(state, path))
        return false;
    // Drawn heats and lanes differ from one list to the next.
    static std::mt19937 random{std::random_device{}()};
    if (Status s = MakeEventList(state, path, eventListRequest(context), random); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool makeEventClassListCommand(AppState &state, const events::GridContext &context)
{
    const QString path = events::eventListPath(state, context.selection);
    if (!mayReplace(state, path))
        return false;
    Status s;
    {
        BusyScope busy(state.progressSink());
        s = MakeEventClassList(state, path, context.selection);
    }
    if (!s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool showEventListCommand(AppState &state, const events::GridContext &context)
{
    const QString path = events::eventListPath(state, context.selection);
    if (!QFile::exists(path)) {
        state.inform(3, Icon::Exclamation);
        return false;
    }
    return state.startEditor(path);
}

} // namespace arenor::lists
