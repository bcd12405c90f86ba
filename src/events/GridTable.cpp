#include "GridTable.h"

#include "events/FieldEventStore.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "db/Station.h"
#include "db/StationTexts.h"
#include "events/SeedStore.h"
#include "registers/Relay.h"
#include "registers/SeedMarks.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace arenor::events {

namespace {

// How long a station waits for another one that is making the same grid.
constexpr int kGridLockWait = 3000;

QString twoDigitText(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

int drawn(std::mt19937 &random, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(random);
}

qint16 shortNumber(const QString &text)
{
    return qint16(toInteger(text, -32768, 32767));
}

struct Entrant {
    qint16 number = 0;
    QString name;    // competitor's name, or the relay team's club name
    QString club;    // competitor's club, or the relay team's class
    qint16 slot = 0; // the relay team's slot in its register
};

Entrant entrantAt(const AppState &state, const GridTableRequest &request, int slot)
{
    const Catalogs &c = state.catalogs;
    if (gridLayoutOf(request.type) == ListType::Relay) {
        const RelaySlot &r = c.relays[size_t(slot)];
        return {shortNumber(r.teamNo), r.club, r.cls, qint16(slot)};
    }
    const PersonSlot &s = c.persons[size_t(slot)];
    return {shortNumber(s.startNo), s.name, s.club, 0};
}

QList<db::FieldDef> fieldsOf(const QList<GridColumn> &layout, Language language)
{
    QList<db::FieldDef> fields;
    for (const GridColumn &column : layout)
        fields.append({columnName(column, language),
                       isIntegerColumn(column.role) ? db::FieldType::Integer : db::FieldType::Text});
    return fields;
}

} // namespace

QList<int> enteredSlots(const AppState &state, const GridContext &context)
{
    const Catalogs &c = state.catalogs;
    const int round = state.currentRound;
    const int event = context.selection.event;
    const QString cls = context.selection.className.trimmed();
    QList<int> entries;
    if (gridLayoutOf(context.type) == ListType::Relay) {
        const int relays = std::clamp(c.relayCount, 0, kMaxRelays);
        for (int t = 1; t <= relays; ++t) {
            if (c.relays[size_t(t)].cls.trimmed() == cls && !registers::isUnnamed(c.relays[size_t(t)].club) &&
                state.entryMatrix.entered(round, event, c.personCount + t))
                entries.append(t);
        }
        return entries;
    }
    const int persons = std::clamp(c.personCount, 0, kMaxPersons);
    for (int p = 1; p <= persons; ++p) {
        if (c.persons[size_t(p)].cls.trimmed() == cls && !registers::isUnnamed(c.persons[size_t(p)].name) &&
            state.entryMatrix.entered(round, event, p))
            entries.append(p);
    }
    return entries;
}

void drawHeatOrder(QList<int> &entries, int lanes, std::mt19937 &random)
{
    if (lanes > 0)
        std::shuffle(entries.begin(), entries.end(), random);
}

int askLaneCount(AppState &state)
{
    if (!state.prompt)
        return 0;
    const TextTables &texts = state.texts;
    const QString prompt =
        QStringList{texts.message(58), texts.message(59), texts.message(60), texts.message(61)}.join(u'\n');
    const std::optional<QString> answer =
        state.prompt->input({prompt, texts.message(62), QStringLiteral(" 8")});
    // A count below one places nobody, as Cancel does: there is no lane to fill.
    if (!answer || answer->trimmed().isEmpty())
        return 0;
    return int(toRoundedInteger(*answer, 0, kMaxPersons));
}

QString testModeResult(std::mt19937 &random)
{
    return twoDigitText(drawn(random, 1, 15)) + u'.' + twoDigitText(drawn(random, 1, 15));
}

// The first of the names that `exists` says is there, else the first.
template <typename Exists> QString firstExisting(const QStringList &names, Exists exists)
{
    for (const QString &name : names)
        if (exists(name))
            return name;
    return names.value(0);
}

QString classListPath(const AppState &state, const ListSelection &selection)
{
    const QStringList names = classListNames(state.texts, selection, state.option(OptLongFileNames));
    return state.meetFile(
        firstExisting(names, [&state](const QString &name) { return QFile::exists(state.meetFile(name)); }));
}

QString eventListPath(const AppState &state, const ListSelection &selection)
{
    const QStringList names = eventListNames(state.texts, selection, state.option(OptLongFileNames));
    return state.meetFile(
        firstExisting(names, [&state](const QString &name) { return QFile::exists(state.meetFile(name)); }));
}

QString gridTableOf(const AppState &state, const ListSelection &selection)
{
    const QStringList names = gridTableNames(state.texts, selection, state.option(OptLongFileNames));
    return firstExisting(names, [&state](const QString &name) {
        return state.database.isOpen() && state.database.tableExists(name);
    });
}

bool makeClassList(AppState &state, const GridContext &context, const QList<qint64> &shownRowids)
{
    const QString path = classListPath(state, context.selection);
    if (QFile::exists(path) &&
        !(state.prompt && state.prompt->askOkCancel(state.texts.message(8), state.texts.message(1),
                                                    Icon::Exclamation, Answer::Cancel)))
        return false;
    int rows = 0;
    Status s;
    {
        BusyScope busy(state.progressSink());
        s = makeGridListFile(state, context, gridTableOf(state, context.selection), path, &rows, shownRowids);
    }
    if (!s) {
        state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    if (state.allMessages())
        state.informText(gridCountText(state.texts, rows, gridLayoutOf(context.type) == ListType::Relay),
                         Icon::Exclamation);
    return true;
}

bool showClassList(AppState &state, const GridContext &context)
{
    const QString path = classListPath(state, context.selection);
    if (!QFile::exists(path)) {
        state.inform(4, Icon::Exclamation);
        return false;
    }
    if (!CheckListHeading(path, context.selection))
        state.inform(23, Icon::Exclamation);
    return state.startEditor(path);
}

QString gridCountText(const TextTables &texts, int count, bool relays)
{
    const QString what = texts.message(relays ? 22 : 21);
    return texts.message(11) + numberText(qint64(count)) +
           (what.startsWith(u' ') ? QString() : QStringLiteral(" ")) + what;
}

GridList gridListFor(const AppState &state, const GridContext &context)
{
    GridList list;
    list.type = context.type;
    list.separators = state.option(OptSeparators);
    list.dateLine = state.option(OptTimeAndDateInLists);
    list.startDate = context.startDate;
    list.startTime = context.startTime;
    list.selection = context.selection;
    QFile info(state.meetFile(QStringLiteral("Info.txt")));
    if (info.open(QIODevice::ReadOnly))
        list.infoLines = splitLines(decodeText(info.readAll()));
    return list;
}

QStringList seedingNotes(AppState &state, const GridContext &context, const QString &table,
                         const QStringList &columns, const QList<QStringList> &rows)
{
    const QHash<int, AdvanceRecord> advanced = readAdvancement(state.database, table);
    const std::optional<DrawRecord> draw = readDraw(state.database, table);
    const bool seeded = draw && draw->how != u"random";
    if (advanced.isEmpty() && !seeded)
        return {};
    const QHash<int, registers::SeedEntry> marks =
        seeded ? registers::readSeedMarks(state.database, state.currentRound, context.selection.event)
               : QHash<int, registers::SeedEntry>{};
    qsizetype number = -1;
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columnRole(columns[i]).role == ColumnRole::Number)
            number = i;
    QStringList notes;
    for (const QStringList &row : rows) {
        const int n = number >= 0 ? row.value(number).trimmed().toInt() : 0;
        const QString q = qualifierText(advanced.value(n).qualifier);
        const QString mark = marks.value(n).mark;
        notes << (mark.isEmpty() ? q : q.leftJustified(2) + u' ' + mark).trimmed();
    }
    return notes;
}

Status gridClassListDocument(AppState &state, const GridContext &context, const QString &table,
                             const QList<qint64> &shownRowids, ListDocument &document, int *rows)
{
    if (!state.database.isOpen() || !state.database.tableExists(table))
        return Status::failure(state.texts.message(Text::GridMissing).arg(table));
    GridList list = gridListFor(state, context);
    std::vector<qint64> rowids;
    std::vector<QVariantList> values;
    if (Status s = db::readTable(state.database, table, list.columns, rowids, values); !s)
        return s;
    // Rows in the order shown; a rowid the grid names twice or no longer holds counts once or not.
    std::vector<size_t> order;
    order.reserve(values.size());
    std::vector<bool> taken(values.size(), false);
    QHash<qint64, size_t> indexOf;
    for (size_t i = 0; i < rowids.size(); ++i)
        indexOf.insert(rowids[i], i);
    for (qint64 rowid : shownRowids) {
        const auto it = indexOf.constFind(rowid);
        if (it != indexOf.cend() && !taken[*it]) {
            taken[*it] = true;
            order.push_back(*it);
        }
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!taken[i])
            order.push_back(i);
    list.rows.reserve(qsizetype(values.size()));
    for (size_t i : order) {
        QStringList texts;
        for (const QVariant &v : values[i])
            texts << v.toString();
        list.rows << texts;
    }
    list.rowMarks = seedingNotes(state, context, table, list.columns, list.rows);
    if (rows)
        *rows = int(list.rows.size());
    if (context.technical) {
        const int number = GridColumns(list.columns).index(ColumnRole::Number);
        QStringList numbers;
        for (const QStringList &row : list.rows)
            numbers << row.value(number).trimmed();
        list.rowNotes = fieldListNotes(state.database, table, numbers, state.texts.messageLanguage());
    }
    if (Status s = gridListDocument(state.texts, list, document); !s)
        return s;
    document.fileName = QFileInfo(classListPath(state, context.selection)).fileName();
    return {};
}

Status makeGridListFile(AppState &state, const GridContext &context, const QString &table,
                        const QString &path, int *rows, const QList<qint64> &shownRowids)
{
    ListDocument document;
    if (Status s = gridClassListDocument(state, context, table, shownRowids, document, rows); !s)
        return s;
    if (Status s = writeTextFile(path, document.textLines()); !s)
        return s;
    // As every list made (lists/ListOutput), told to whoever prints or publishes it.
    document.fileName = QFileInfo(path).fileName();
    emit state.notifier.listMade(document, path);
    return {};
}

QString gridHeading(const ListSelection &selection)
{
    return listHeadingLine(selection).toUpper();
}

QString laneTableText(const LaneTable &table)
{
    QStringList groups;
    for (const QList<int> &g : table.groups) {
        QStringList lanes;
        for (int lane : g)
            lanes << QString::number(lane);
        groups << lanes.join(u' ');
    }
    return groups.join(QStringLiteral(" / "));
}

bool hasSeedData(AppState &state, const GridContext &context)
{
    const QHash<int, registers::SeedEntry> marks =
        registers::readSeedMarks(state.database, state.currentRound, context.selection.event);
    if (marks.isEmpty())
        return false;
    for (int slot : enteredSlots(state, context))
        if (marks.contains(slot))
            return true;
    return false;
}

SeedPlan seededHeatPlan(AppState &state, const GridContext &context, int lanes, quint32 seed, QString *how,
                        QString *laneTable)
{
    const QList<int> entrants = enteredSlots(state, context);
    const QHash<int, registers::SeedEntry> marks =
        registers::readSeedMarks(state.database, state.currentRound, context.selection.event);
    DrawRandom random(seed);
    // Those who carry a rank from the round before come first in its order; the others after
    // them by mark.
    QList<int> ranked;
    QList<SeedEntrant> byMark;
    for (int slot : entrants) {
        const registers::SeedEntry e = marks.value(slot);
        if (e.rank > 0)
            ranked << slot;
        else
            byMark.append({slot, e.mark});
    }
    std::sort(ranked.begin(), ranked.end(),
              [&marks](int a, int b) { return marks.value(a).rank < marks.value(b).rank; });
    const Ranking ranking = rankByMark(byMark, context.kind(), context.format, !context.run, random);
    if (how)
        *how = ranked.isEmpty() ? QStringLiteral("mark") : QStringLiteral("rank");
    Notice priorityProblem{Text::Count, {}};
    const LaneTable table = laneTableFor(eventGroupOf(context.selection.eventName), lanes,
                                         meetLanePriority(state.database), &priorityProblem);
    if (laneTable)
        *laneTable = laneTableText(table);
    SeedPlan plan = seedHeats(ranked + ranking.order, lanes, table, 0, random);
    if (priorityProblem.text != Text::Count)
        plan.notices.prepend(priorityProblem);
    if (!ranking.unreadable.isEmpty()) {
        QStringList numbers;
        for (int slot : ranking.unreadable)
            numbers << state.catalogs.persons[size_t(std::clamp(slot, 0, kMaxPersons))].startNo.trimmed();
        plan.notices.append({Text::SeedMarksUnreadable, {numbers.join(QStringLiteral(", "))}});
    }
    return plan;
}

QList<QVariantList> gridTableRows(const AppState &state, const GridTableRequest &request, int lanes,
                                  std::mt19937 &random, const SeedPlan *plan)
{
    const QList<GridColumn> layout = gridColumnLayout(request.type, std::clamp(request.helpCount, 0, 5));
    QList<int> entries;
    if (plan) {
        for (const Placement &p : plan->placements)
            entries << p.id;
    } else {
        entries = enteredSlots(state, request);
        drawHeatOrder(entries, lanes, random);
    }
    QList<Entrant> list;
    list.reserve(entries.size());
    for (int slot : entries)
        list.append(entrantAt(state, request, slot));

    QVariantList prepared;
    for (const GridColumn &column : layout)
        prepared.append(isIntegerColumn(column.role) ? QVariant(qint16(0)) : QVariant(kNoResult));
    auto at = [&layout](ColumnRole role) {
        for (qsizetype i = 0; i < layout.size(); ++i)
            if (layout[i].role == role)
                return int(i);
        return -1;
    };
    const int heat = at(ColumnRole::Heat), lane = at(ColumnRole::Lane), number = at(ColumnRole::Number),
              name = at(ColumnRole::Name), club = at(ColumnRole::Club), clubName = at(ColumnRole::ClubName),
              cls = at(ColumnRole::Class), results = at(ColumnRole::Results), out = at(ColumnRole::Out),
              in = at(ColumnRole::In);
    const bool relay = gridLayoutOf(request.type) == ListType::Relay;
    const bool testMode = state.testMode();

    QList<QVariantList> rows;
    rows.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Entrant &e = list[i];
        QVariantList row = prepared;
        row[number] = e.number;
        if (relay) {
            row[lane] = e.slot;
            row[clubName] = e.name;
            row[cls] = e.club;
        } else {
            row[name] = e.name;
            row[club] = e.club;
            if (heat >= 0 && plan) {
                row[heat] = qint16(plan->placements[i].heat);
                row[lane] = qint16(plan->placements[i].lane);
            } else if (heat >= 0 && lanes > 0) {
                row[heat] = qint16(i / lanes + 1);
                row[lane] = qint16(i % lanes + 1);
            }
        }
        if (testMode) {
            // Made-up results so the commands can be tried: two parts of 01..15, and for step
            // lists a finish of up to 59.59 after a start at 00.00.
            row[results] = testModeResult(random);
            if (in >= 0) {
                row[out] = QStringLiteral("00.00");
                row[in] = twoDigitText(drawn(random, 1, 59)) + u'.' + twoDigitText(drawn(random, 0, 59));
            }
        }
        rows.append(row);
    }
    return rows;
}

Status CreateGridTable(AppState &state, const GridTableRequest &request, GridTableOutcome &outcome,
                       std::mt19937 &random)
{
    db::Database &database = state.database;
    const TextTables &texts = state.texts;
    outcome = {};
    outcome.table = gridTableOf(state, request.selection);
    outcome.heading = gridHeading(request.selection);
    if (!database.isOpen())
        return Status::failure(QStringLiteral("no meet database is open"));
    const QString &table = outcome.table;
    const bool exists = database.tableExists(table);
    if (exists) {
        // "&Grindliste" is also how a grid is opened again: Enter must keep its results.
        const QString question = table + texts.message(65) + texts.message(2);
        if (!state.prompt || !state.prompt->askYesNo(question, texts.message(1), Icon::None, Answer::No))
            return {};
    }

    const int lanes = gridLayoutOf(request.type) == ListType::Heat ? askLaneCount(state) : 0;
    // Seeding is offered beside the random draw when there is something to seed by; a grid made
    // again by seed mark draws from the seed kept with it, so it gets the same heats.
    std::optional<SeedPlan> plan;
    DrawRecord draw;
    if (lanes > 0 && hasSeedData(state, request) && state.prompt &&
        state.prompt->askYesNo(texts.message(Text::SeedQuestion), texts.message(1), Icon::Question)) {
        const std::optional<DrawRecord> kept = exists ? readDraw(database, table) : std::nullopt;
        draw.seed = kept && kept->how != u"random" ? kept->seed : quint32(random());
        plan = seededHeatPlan(state, request, lanes, draw.seed, &draw.how, &draw.laneTable);
    }

    BusyScope busy(state.progressSink());
    const QList<GridColumn> layout = gridColumnLayout(request.type, std::clamp(request.helpCount, 0, 5));
    const QList<QVariantList> rows = gridTableRows(state, request, lanes, random, plan ? &*plan : nullptr);
    // Two stations of a server meet making the same grid: one makes it, the other is told and
    // changes nothing (neither a grid it did not ask to replace nor half of one).
    bool makingElsewhere = false;
    Status s = database.transaction([&]() -> Status {
        if (Status l = db::lockForMaking(database, table, kGridLockWait, &makingElsewhere); !l)
            return l;
        if (makingElsewhere || database.tableExists(table) != exists) {
            makingElsewhere = true;
            return Status::failure(QStringLiteral("the grid is being made elsewhere"));
        }
        if (exists) {
            if (Status d = database.dropTable(table); !d)
                return d;
        }
        if (Status c = database.createTable(table, fieldsOf(layout, texts.messageLanguage())); !c)
            return c;
        if (rows.isEmpty())
            return {};
        return database.insertRows(table, rows);
    });
    if (makingElsewhere) {
        state.informText(db::stationText(db::StationText::GridBusy).arg(table), Icon::Exclamation);
        return {};
    }
    if (!s)
        return s;
    outcome.created = true;
    outcome.rows = int(rows.size());
    if (Status f = forgetGrid(database, table, !plan); !f)
        state.informText(f.error(), Icon::Exclamation);
    if (plan) {
        if (Status d = storeDraw(database, table, draw); !d)
            state.informText(d.error(), Icon::Exclamation);
        QStringList told;
        for (const Notice &n : plan->notices)
            told << noticeText(texts, n);
        if (!told.isEmpty())
            state.informText(told.join(u'\n'), Icon::Exclamation);
    }
    emit state.notifier.gridChanged(table);
    if (state.allMessages())
        state.informText(gridCountText(texts, outcome.rows, gridLayoutOf(request.type) == ListType::Relay),
                         Icon::Exclamation);
    return {};
}

} // namespace arenor::events
