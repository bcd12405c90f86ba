#include "GridTable.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "registers/Relay.h"

#include <QFile>
#include <QHash>

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace arenor::events {

namespace {

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

Status makeGridListFile(AppState &state, const GridContext &context, const QString &table,
                        const QString &path, int *rows, const QList<qint64> &shownRowids)
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
    if (rows)
        *rows = int(list.rows.size());
    return writeGridListFile(path, state.texts, list);
}

QString gridHeading(const ListSelection &selection)
{
    return listHeadingLine(selection).toUpper();
}

QList<QVariantList> gridTableRows(const AppState &state, const GridTableRequest &request, int lanes,
                                  std::mt19937 &random)
{
    const QList<GridColumn> layout = gridColumnLayout(request.type, std::clamp(request.helpCount, 0, 5));
    QList<int> entries = enteredSlots(state, request);
    drawHeatOrder(entries, lanes, random);
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
            if (heat >= 0 && lanes > 0) {
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

    BusyScope busy(state.progressSink());
    const QList<GridColumn> layout = gridColumnLayout(request.type, std::clamp(request.helpCount, 0, 5));
    const QList<QVariantList> rows = gridTableRows(state, request, lanes, random);
    Status s = database.transaction([&]() -> Status {
        if (exists) {
            if (Status d = database.dropTable(table); !d)
                return d;
        }
        if (Status c = database.createTable(table, fieldsOf(layout, texts.messageLanguage())); !c)
            return c;
        if (rows.isEmpty())
            return {};
        QSqlQuery q(database.handle());
        if (!q.prepare(db::insertStatement(table, layout.size())))
            return Status::failure(QStringLiteral("cannot write ") + table + u' ' + q.lastError().text());
        for (const QVariantList &row : rows) {
            for (qsizetype i = 0; i < row.size(); ++i)
                q.bindValue(int(i), row[i]);
            if (!q.exec())
                return Status::failure(QStringLiteral("cannot write ") + table + u' ' + q.lastError().text());
        }
        return {};
    });
    if (!s)
        return s;
    outcome.created = true;
    outcome.rows = int(rows.size());
    emit state.notifier.gridChanged(table);
    if (state.allMessages())
        state.informText(gridCountText(texts, outcome.rows, gridLayoutOf(request.type) == ListType::Relay),
                         Icon::Exclamation);
    return {};
}

} // namespace arenor::events
