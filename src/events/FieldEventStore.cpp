#include "FieldEventStore.h"

#include "db/Schema.h"
#include "events/GridColumns.h"

#include <vector>

namespace arenor::events {

namespace {

using schema::kForsok;
using schema::kHoydekort;
using schema::kHoyder;
using schema::kMangekamp;

// The rows of a stored table whose field 0 is table (all rows for an empty table name).
Status rowsOf(db::Database &database, const QString &stored, const QString &table,
              std::vector<QVariantList> &out)
{
    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (!database.tableExists(stored))
        return Status::failure(QStringLiteral("the meet file has no table ") + stored);
    if (Status s = db::readTable(database, stored, fields, rowids, rows); !s)
        return s;
    out.clear();
    for (QVariantList &row : rows) {
        if (table.isEmpty() || row.value(0).toString() == table)
            out.push_back(std::move(row));
    }
    return {};
}

Status deleteRows(db::Database &database, const QString &stored, const QString &table)
{
    return database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(stored) +
                             QStringLiteral(" WHERE ") + db::quoteIdentifier(QStringLiteral("0")) +
                             QStringLiteral(" = ?"),
                         {table});
}

// Inserts rows inside the caller's transaction (the engine's insertRows opens its own).
Status insertAll(db::Database &database, const QString &stored, const QList<QVariantList> &rows)
{
    for (const QVariantList &row : rows) {
        QStringList marks(row.size(), QStringLiteral("?"));
        if (Status s = database.exec(QStringLiteral("INSERT INTO ") + db::quoteIdentifier(stored) +
                                         QStringLiteral(" VALUES (") + marks.join(u',') + u')',
                                     row);
            !s)
            return s;
    }
    return {};
}

QString sexCode(Sex sex)
{
    return sex == Sex::Women ? QStringLiteral("W") : QStringLiteral("M");
}

QString venueCode(Venue venue)
{
    return venue == Venue::Indoor ? QStringLiteral("indoor") : QStringLiteral("outdoor");
}

} // namespace

Status readFieldCompetitors(db::Database &database, const QString &table, QList<FieldCompetitor> &out)
{
    out.clear();
    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (!database.tableExists(table))
        return Status::failure(QStringLiteral("no grid table ") + table);
    if (Status s = db::readTable(database, table, fields, rowids, rows); !s)
        return s;
    const GridColumns columns(fields);
    const int number = columns.index(ColumnRole::Number);
    if (number < 0)
        return Status::failure(QStringLiteral("the grid table has no start number column: ") + table);
    const int name = columns.index(ColumnRole::Name);
    const int club = columns.index(ColumnRole::Club);
    for (size_t i = 0; i < rows.size(); ++i) {
        const QVariantList &r = rows[i];
        out.append({rowids[i], r.value(number).toString().trimmed(),
                    name >= 0 ? r.value(name).toString() : QString(),
                    club >= 0 ? r.value(club).toString() : QString()});
    }
    return {};
}

Status loadAttempts(db::Database &database, const QString &table, QHash<QString, QList<Attempt>> &out,
                    QStringList *unread)
{
    out.clear();
    std::vector<QVariantList> rows;
    if (Status s = rowsOf(database, kForsok, table, rows); !s)
        return s;
    for (const QVariantList &r : rows) {
        const QString number = r.value(1).toString();
        const int n = r.value(2).toInt();
        std::optional<Attempt> a = parseAttempt(r.value(3).toString(), Language::English, nullptr);
        const QString windText = r.value(4).toString();
        std::optional<int> wind =
            windText.isEmpty() ? std::nullopt : parseWind(windText, Language::English, nullptr);
        if (!a || n < 1 || n > 99 || (!windText.isEmpty() && !wind)) {
            if (unread && !unread->contains(number))
                unread->append(number);
            continue;
        }
        a->wind = wind;
        QList<Attempt> &series = out[number];
        if (series.size() < n)
            series.resize(n);
        series[n - 1] = *a;
    }
    return {};
}

Status saveAttempts(db::Database &database, const QString &table, const QString &number,
                    const QList<Attempt> &attempts)
{
    return database.transaction([&]() -> Status {
        if (Status s = database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(kForsok) +
                                         QStringLiteral(" WHERE \"0\" = ? AND \"1\" = ?"),
                                     {table, number});
            !s)
            return s;
        QList<QVariantList> rows;
        for (qsizetype i = 0; i < attempts.size(); ++i) {
            const Attempt &a = attempts[i];
            if (a.kind != AttemptKind::None || a.wind)
                rows.append(
                    {table, number, int(i) + 1, attemptText(a), a.wind ? windText(*a.wind) : QString()});
        }
        return insertAll(database, kForsok, rows);
    });
}

Status loadHeightCard(db::Database &database, const QString &table, const QStringList &numbers,
                      HeightCard &card, QStringList *unread)
{
    card = {};
    card.cells.resize(numbers.size());
    card.jumpOff.resize(numbers.size());
    std::vector<QVariantList> rows;
    if (Status s = rowsOf(database, kHoyder, table, rows); !s)
        return s;
    // Heights in their stored positions; a gap or an unreadable height ends the list there.
    QMap<int, std::pair<int, bool>> heights;
    for (const QVariantList &r : rows) {
        if (const std::optional<int> h = parseHeight(r.value(2).toString(), Language::English, nullptr))
            heights.insert(r.value(1).toInt(), {*h, r.value(3).toString() == u"1"});
    }
    QList<int> positions, jumpOffPositions; // stored position of each card column
    for (auto it = heights.cbegin(); it != heights.cend(); ++it) {
        (it->second ? card.jumpOffHeights : card.heights).append(it->first);
        (it->second ? jumpOffPositions : positions).append(it.key());
    }
    if (Status s = rowsOf(database, kHoydekort, table, rows); !s)
        return s;
    for (const QVariantList &r : rows) {
        const qsizetype c = numbers.indexOf(r.value(1).toString());
        if (c < 0)
            continue; // no longer in the grid
        const bool jumpOff = r.value(4).toString() == u"1";
        const qsizetype h = (jumpOff ? jumpOffPositions : positions).indexOf(r.value(2).toInt());
        const std::optional<HeightCell> cell =
            parseHeightCell(r.value(3).toString(), Language::English, nullptr);
        if (h < 0 || !cell) {
            if (unread && !unread->contains(numbers[c]))
                unread->append(numbers[c]);
            continue;
        }
        QList<HeightCell> &row = jumpOff ? card.jumpOff[c] : card.cells[c];
        if (row.size() <= h)
            row.resize(h + 1);
        row[h] = *cell;
    }
    return {};
}

Status saveHeightCard(db::Database &database, const QString &table, const QStringList &numbers,
                      const HeightCard &card, Language language)
{
    if (const QString fault = checkHeightCard(card, language); !fault.isEmpty())
        return Status::failure(fault);
    return database.transaction([&]() -> Status {
        if (Status s = deleteRows(database, kHoyder, table); !s)
            return s;
        if (Status s = deleteRows(database, kHoydekort, table); !s)
            return s;
        QList<QVariantList> heights, cells;
        const qsizetype first = card.heights.size();
        for (qsizetype h = 0; h < card.heights.size(); ++h)
            heights.append({table, int(h), heightText(card.heights[h]), QStringLiteral("0")});
        for (qsizetype h = 0; h < card.jumpOffHeights.size(); ++h)
            heights.append({table, int(first + h), heightText(card.jumpOffHeights[h]), QStringLiteral("1")});
        for (qsizetype c = 0; c < numbers.size(); ++c) {
            for (int pass = 0; pass < 2; ++pass) {
                const QList<QList<HeightCell>> &all = pass == 0 ? card.cells : card.jumpOff;
                const QList<HeightCell> row = c < all.size() ? all[c] : QList<HeightCell>{};
                for (qsizetype h = 0; h < row.size(); ++h) {
                    if (!row[h].empty())
                        cells.append({table, numbers[c], int(pass == 0 ? h : first + h),
                                      heightCellText(row[h]),
                                      pass == 0 ? QStringLiteral("0") : QStringLiteral("1")});
                }
            }
        }
        if (Status s = insertAll(database, kHoyder, heights); !s)
            return s;
        return insertAll(database, kHoydekort, cells);
    });
}

Status writeFieldResults(db::Database &database, const QString &table,
                         const QList<FieldCompetitor> &competitors, const QStringList &results,
                         const QList<FieldPlace> &places)
{
    const GridColumns columns(database.fieldNames(table));
    const QStringList names = database.fieldNames(table);
    const int result = columns.index(ColumnRole::Results);
    const int place = columns.index(ColumnRole::Place);
    if (result < 0 || place < 0 || results.size() != competitors.size() ||
        places.size() != competitors.size())
        return Status::failure(QStringLiteral("the grid table has no result or place column: ") + table);
    const QString sql = QStringLiteral("UPDATE ") + db::quoteIdentifier(table) + QStringLiteral(" SET ") +
                        db::quoteIdentifier(names[result]) + QStringLiteral(" = ?, ") +
                        db::quoteIdentifier(names[place]) + QStringLiteral(" = ? WHERE rowid = ?");
    return database.transaction([&]() -> Status {
        for (qsizetype i = 0; i < competitors.size(); ++i) {
            // The place column holds whole numbers; no place is 0, as a grid made new has it.
            if (Status s = database.exec(sql, {results[i], places[i].place, competitors[i].rowid}); !s)
                return s;
        }
        return {};
    });
}

QList<QStringList> fieldListNotes(db::Database &database, const QString &table, const QStringList &numbers,
                                  Language language)
{
    QList<QStringList> notes(numbers.size());
    if (!database.tableExists(kForsok))
        return notes; // a meet of an older version, opened read-only
    const bool no = language == Language::Norwegian;
    const QString indent(8, u' ');
    QHash<QString, QList<Attempt>> attempts;
    HeightCard card;
    if (!loadAttempts(database, table, attempts) || !loadHeightCard(database, table, numbers, card))
        return notes;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QStringList shown;
        for (const Attempt &a : attempts.value(numbers[i])) {
            QString t = a.kind == AttemptKind::None ? QStringLiteral(".") : attemptText(a);
            if (a.kind == AttemptKind::Mark && a.wind)
                t += u'(' + windText(*a.wind) + (*a.wind > kWindLimit ? QStringLiteral("w") : QString()) +
                     u')';
            shown << t;
        }
        while (!shown.isEmpty() && shown.last() == u".")
            shown.removeLast();
        if (!shown.isEmpty())
            notes[i] << indent + (no ? QStringLiteral("Forsøk: ") : QStringLiteral("Attempts: ")) +
                            shown.join(u' ');
        for (int pass = 0; pass < 2; ++pass) {
            const QList<int> &heights = pass == 0 ? card.heights : card.jumpOffHeights;
            const QList<HeightCell> row = (pass == 0 ? card.cells : card.jumpOff).value(i);
            QStringList cells;
            for (qsizetype h = 0; h < row.size() && h < heights.size(); ++h) {
                if (!row[h].empty())
                    cells << heightText(heights[h]) + u' ' + heightCellText(row[h]);
            }
            if (!cells.isEmpty())
                notes[i] << indent +
                                (pass == 0
                                     ? (no ? QStringLiteral("Høyder: ") : QStringLiteral("Heights: "))
                                     : (no ? QStringLiteral("Omhopp: ") : QStringLiteral("Jump-off: "))) +
                                cells.join(QStringLiteral("  "));
        }
    }
    return notes;
}

Status loadCombinedSetups(db::Database &database, QList<CombinedSetup> &out)
{
    out.clear();
    std::vector<QVariantList> rows;
    if (Status s = rowsOf(database, kMangekamp, {}, rows); !s)
        return s;
    for (const QVariantList &r : rows) {
        CombinedSetup c;
        c.name = r.value(0).toString();
        c.cls = r.value(1).toInt();
        c.sex = r.value(2).toString() == u"W" ? Sex::Women : Sex::Men;
        c.venue = r.value(3).toString() == u"indoor" ? Venue::Indoor : Venue::Outdoor;
        for (const QString &pair : r.value(4).toString().split(u';', Qt::SkipEmptyParts)) {
            c.codes.append(pair.section(u'=', 0, 0));
            c.events.append(pair.section(u'=', 1, 1).toInt());
        }
        c.handTimed = r.value(5).toString().split(u';', Qt::SkipEmptyParts);
        out.append(c);
    }
    return {};
}

Status saveCombinedSetups(db::Database &database, const QList<CombinedSetup> &setups)
{
    return database.transaction([&]() -> Status {
        if (Status s = database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(kMangekamp)); !s)
            return s;
        QList<QVariantList> rows;
        for (const CombinedSetup &c : setups) {
            QStringList pairs;
            for (qsizetype i = 0; i < c.codes.size(); ++i)
                pairs.append(c.codes[i] + u'=' + QString::number(c.events.value(i)));
            rows.append({c.name, c.cls, sexCode(c.sex), venueCode(c.venue), pairs.join(u';'),
                         c.handTimed.join(u';')});
        }
        return insertAll(database, kMangekamp, rows);
    });
}

} // namespace arenor::events
