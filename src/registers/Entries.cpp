#include "Entries.h"

#include "base/Convert.h"
#include "db/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace arenor::registers {

namespace {

QString entriesTable(const AppState &state)
{
    return schema::tableName(state, schema::Table::Pamelding);
}

int entrantsPerRound(const AppState &state)
{
    return state.catalogs.personCount + state.catalogs.relayCount;
}

// The matrix follows a stored tick only for a round it holds with the meet's layout.
bool matrixHolds(const AppState &state, int round)
{
    const EntryMatrix &m = state.entryMatrix;
    return round >= 0 && round < kRounds && state.roundLoaded[size_t(round)] &&
           m.persons == state.catalogs.personCount && m.relays == state.catalogs.relayCount;
}

QString missingRecordText(const AppState &state, int record)
{
    return state.texts.message(Text::EntriesLackRecord).arg(record);
}

} // namespace

QStringList entryListLines(const AppState &state, EntryListContent content)
{
    const Catalogs &c = state.catalogs;
    QStringList lines;
    if (content == EntryListContent::RelayTeams) {
        const int count = std::clamp(c.relayCount, 0, kMaxRelays);
        lines.reserve(count);
        for (int t = 1; t <= count; ++t) {
            const RelaySlot &team = c.relays[size_t(t)];
            lines << team.teamNo.trimmed() + u',' + team.club + u',' + team.cls;
        }
        return lines;
    }
    const int count = std::clamp(c.personCount, 0, kMaxPersons);
    lines.reserve(count);
    for (int s = 1; s <= count; ++s) {
        const PersonSlot &p = c.persons[size_t(s)];
        QString line = p.startNo.trimmed() + u',' + p.name;
        if (content == EntryListContent::NameAndClub)
            line += u',' + p.club;
        else if (content == EntryListContent::NameAndClass)
            line += u',' + p.cls;
        lines << line;
    }
    return lines;
}

int entrantRow(int line, bool relayTeams, int persons)
{
    return line + 1 + (relayTeams ? persons : 0);
}

int entryRecordNumber(int round, int line, bool relayTeams, int persons, int relays)
{
    return round * (persons + relays) + entrantRow(line, relayTeams, persons);
}

std::optional<EntryPlace> entryPlace(int record, int persons, int relays)
{
    const int n = persons + relays;
    if (n <= 0 || record < 1 || record > kRounds * n)
        return std::nullopt;
    return EntryPlace{(record - 1) / n, (record - 1) % n + 1};
}

bool entryFlag(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString: {
        const QString t = value.toString().trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("on"))
            return true;
        return toDouble(t) != 0;
    }
    default:
        return value.toDouble() != 0;
    }
}

std::optional<int> entryJumpTarget(const QString &text, int persons, int relays)
{
    // Read wide, then bounded: "99999" and "1e9" name no record rather than wrapping round.
    const qint64 v = toInteger(text, -1, qint64(kRounds) * (kMaxEntrantRows + 1));
    if (v < 1 || v > qint64(kRounds) * (persons + relays))
        return std::nullopt;
    return int(v);
}

Status recordRowids(db::Database &database, const QString &table, int first, int count,
                    std::vector<qint64> &rowids)
{
    rowids.clear();
    if (!database.isOpen())
        return Status::failure(QStringLiteral("no meet database is open"));
    if (first < 1 || count <= 0)
        return {};
    QSqlQuery q = database.reader();
    if (!q.prepare(QStringLiteral("SELECT rowid FROM ") + db::quoteIdentifier(table) +
                   QStringLiteral(" ORDER BY rowid LIMIT ? OFFSET ?")))
        return Status::failure(q.lastError().text());
    q.addBindValue(count);
    q.addBindValue(first - 1);
    if (!q.exec())
        return Status::failure(q.lastError().text());
    rowids.reserve(size_t(count));
    while (q.next())
        rowids.push_back(q.value(0).toLongLong());
    return {};
}

Status selectRecord(db::Database &database, const QString &table, int record, QSqlQuery &q,
                    const QString &missing)
{
    std::vector<qint64> rowid;
    if (Status s = recordRowids(database, table, record, 1, rowid); !s)
        return s;
    if (rowid.empty())
        return Status::failure(missing);
    q = database.reader();
    if (!q.prepare(QStringLiteral("SELECT ") + database.allFields(table) + QStringLiteral(" FROM ") +
                   db::quoteIdentifier(table) + QStringLiteral(" WHERE rowid = ?")))
        return Status::failure(q.lastError().text());
    q.addBindValue(rowid.front());
    if (!q.exec() || !q.next())
        return Status::failure(missing);
    return {};
}

Status writeRecordField(db::Database &database, const QString &table, int record, int field,
                        const QVariant &value, const QString &missing)
{
    std::vector<qint64> rowid;
    if (Status s = recordRowids(database, table, record, 1, rowid); !s)
        return s;
    if (rowid.empty())
        return Status::failure(missing);
    QSqlQuery q(database.handle());
    if (!q.prepare(db::updateByRowidStatement(table, {QString::number(field)})))
        return Status::failure(q.lastError().text());
    q.addBindValue(db::Database::bindable(value));
    q.addBindValue(rowid.front());
    if (!q.exec())
        return Status::failure(q.lastError().text());
    return {};
}

Status readEntryRecord(AppState &state, int record, EntryRecord &out)
{
    out = EntryRecord();
    QSqlQuery q;
    if (Status s =
            selectRecord(state.database, entriesTable(state), record, q, missingRecordText(state, record));
        !s)
        return s;
    out.index = q.value(0).toString();
    const int width = std::min(q.record().count() - 1, kEventSlots);
    for (int k = 1; k <= width; ++k)
        out.entered[size_t(k)] = entryFlag(q.value(k));
    return {};
}

Status setEntry(AppState &state, int record, int event, bool on)
{
    if (event < 1 || event > kEventSlots)
        return Status::failure(QStringLiteral("no event slot ") + QString::number(event));
    if (Status s = writeRecordField(state.database, entriesTable(state), record, event, on,
                                    missingRecordText(state, record));
        !s)
        return s;
    if (const auto place = entryPlace(record, state.catalogs.personCount, state.catalogs.relayCount);
        place && matrixHolds(state, place->round))
        state.entryMatrix.set(place->round, event, place->row, on);
    return {};
}

Status setEntries(AppState &state, int round, int event, const std::vector<int> &rows, bool on)
{
    if (event < 1 || event > kEventSlots)
        return Status::failure(QStringLiteral("no event slot ") + QString::number(event));
    if (round < 0 || round >= kRounds)
        return Status::failure(QStringLiteral("no round ") + QString::number(round + 1));
    if (rows.empty())
        return {};
    const int n = entrantsPerRound(state);
    for (int row : rows)
        if (row < 1 || row > n)
            return Status::failure(missingRecordText(state, round * n + row));
    const QString table = entriesTable(state);
    std::vector<qint64> rowids;
    if (Status s = recordRowids(state.database, table, round * n + 1, n, rowids); !s)
        return s;
    for (int row : rows)
        if (row > int(rowids.size()))
            return Status::failure(missingRecordText(state, round * n + row));
    Status s = state.database.transaction([&]() -> Status {
        QSqlQuery q(state.database.handle());
        if (!q.prepare(db::updateByRowidStatement(table, {QString::number(event)})))
            return Status::failure(q.lastError().text());
        for (int row : rows) {
            q.bindValue(0, db::Database::bindable(on));
            q.bindValue(1, rowids[size_t(row - 1)]);
            if (!q.exec())
                return Status::failure(q.lastError().text());
        }
        return {};
    });
    if (!s)
        return s;
    if (matrixHolds(state, round))
        for (int row : rows)
            state.entryMatrix.set(round, event, row, on);
    return {};
}

void ensureEntryLayout(AppState &state)
{
    EntryMatrix &m = state.entryMatrix;
    if (m.persons == state.catalogs.personCount && m.relays == state.catalogs.relayCount)
        return;
    m.clear();
    m.persons = state.catalogs.personCount;
    m.relays = state.catalogs.relayCount;
    state.roundLoaded.fill(false);
}

RoundLoad loadRoundEntries(AppState &state, int round)
{
    RoundLoad result;
    if (round < 0 || round >= kRounds) {
        result.status = Status::failure(QStringLiteral("no round ") + QString::number(round + 1));
        return result;
    }
    ensureEntryLayout(state);
    EntryMatrix &m = state.entryMatrix;
    m.clearRound(round);
    const int n = std::min(entrantsPerRound(state), kMaxEntrantRows);
    if (!state.database.isOpen()) {
        result.status = Status::failure(QStringLiteral("no meet database is open"));
        return result;
    }
    ProgressSink &progress = state.progressSink();
    BusyScope busy(progress);
    progress.setStatusText(state.texts.message(105));
    progress.setProgressMaximum(n);
    const bool wasReading = state.readingRegister;
    state.readingRegister = true;

    QStringList columns;
    for (int k = 0; k <= kEventSlots; ++k)
        columns << db::quoteIdentifier(QString::number(k));
    QSqlQuery q = state.database.reader();
    const bool ok = q.prepare(QStringLiteral("SELECT ") + columns.join(u',') + QStringLiteral(" FROM ") +
                              db::quoteIdentifier(entriesTable(state)) +
                              QStringLiteral(" ORDER BY rowid LIMIT ? OFFSET ?"));
    if (ok) {
        q.addBindValue(n);
        q.addBindValue(round * n);
    }
    if (!ok || !q.exec()) {
        state.readingRegister = wasReading;
        result.status = Status::failure(q.lastError().text());
        return result;
    }
    const int base = round * n;
    int r = 0;
    while (r < n && q.next()) {
        ++r;
        if (toInteger(q.value(0).toString()) != base + r)
            result.indexError = true;
        for (int k = 1; k <= kEventSlots; ++k)
            if (entryFlag(q.value(k)))
                m.set(round, k, r, true);
    }
    if (r < n)
        result.indexError = true;
    progress.setProgressValue(n);
    state.readingRegister = wasReading;
    return result;
}

Status readEventNames(AppState &state, int row)
{
    const QString table = schema::tableName(state, schema::Table::Ovelser);
    QSqlQuery q;
    if (Status s = selectRecord(state.database, table, row, q, QStringLiteral("no event names in ") + table);
        !s)
        return s;
    const int width = std::min(q.record().count() - 1, kEventSlots);
    for (int k = 1; k <= kEventSlots; ++k)
        state.eventNames[size_t(k)] = k <= width ? q.value(k).toString() : QString();
    return {};
}

} // namespace arenor::registers
