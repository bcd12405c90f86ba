#include "CsvExport.h"

#include "base/TextFile.h"
#include "db/Schema.h"
#include "events/EventSetup.h"
#include "events/GridColumns.h"
#include "events/GridTable.h"
#include "exchange/Csv.h"
#include "exchange/CsvImport.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/RoundGrids.h"
#include "registers/Competitors.h"
#include "registers/SeedMarks.h"

#include <QSqlError>
#include <QSqlQuery>

namespace arenor::exchange {

using registers::PersonField;

namespace {

QString cell(const QVariantList &row, int index)
{
    return index >= 0 && index < row.size() ? row[index].toString().trimmed() : QString();
}

// The result columns of a grid: place, start number, name, club, result, difference, help 1..n.
struct GridRead {
    QList<QStringList> rows; // heat, lane, place, number, name, club, result, difference, help 1..5
    int helpCount = 0;
};

Status readGrid(AppState &state, const QString &table, GridRead &out)
{
    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (Status s = db::readTable(state.database, table, fields, rowids, rows); !s)
        return s;
    const events::GridColumns columns(fields);
    using events::ColumnRole;
    int club = columns.index(ColumnRole::Club);
    if (club < 0)
        club = columns.index(ColumnRole::ClubName);
    const int at[] = {columns.index(ColumnRole::Heat),    columns.index(ColumnRole::Lane),
                      columns.index(ColumnRole::Place),   columns.index(ColumnRole::Number),
                      columns.index(ColumnRole::Name),    club,
                      columns.index(ColumnRole::Results), columns.index(ColumnRole::Difference)};
    for (int h = 1; h <= 5; ++h)
        if (columns.helpIndex(h) >= 0)
            out.helpCount = h;
    for (const QVariantList &row : rows) {
        QStringList r;
        for (int i : at)
            r << cell(row, i);
        for (int h = 1; h <= 5; ++h)
            r << cell(row, columns.helpIndex(h));
        if (r[3].isEmpty() && r[4].isEmpty())
            continue;
        out.rows << r;
    }
    // Best first: by place, rows without one last, the table's order kept otherwise.
    std::stable_sort(out.rows.begin(), out.rows.end(), [](const QStringList &a, const QStringList &b) {
        bool okA = false, okB = false;
        const int pa = a[2].toInt(&okA), pb = b[2].toInt(&okB);
        if (okA != okB)
            return okA;
        return okA && pa < pb;
    });
    return {};
}

QString columnTitle(events::ColumnRole role, const AppState &state, int help = 0)
{
    return events::columnName({role, help}, state.texts.messageLanguage());
}

} // namespace

QChar exportSeparator(const AppState &state)
{
    return state.texts.messageLanguage() == Language::Norwegian ? u';' : u',';
}

Status competitorRecords(AppState &state, QList<QStringList> &records)
{
    records.clear();
    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    records << QStringList{t(ExText::ColumnStartNo), t(ExText::ColumnFirstName), t(ExText::ColumnSurname),
                           t(ExText::ColumnClub),    t(ExText::ColumnClass),     t(ExText::ColumnSex),
                           t(ExText::ColumnBorn),    t(ExText::ColumnEvents)};
    std::vector<QVariantList> persons;
    if (Status s = readPersonRecords(state, persons); !s)
        return s;
    // The round's block of the entries table.
    const int round = std::clamp(state.currentRound, 0, kRounds - 1);
    const int entrants = state.catalogs.personCount + state.catalogs.relayCount;
    QSqlQuery q = state.database.reader();
    if (!q.prepare(QStringLiteral("SELECT * FROM ") +
                   db::quoteIdentifier(schema::tableName(schema::Table::Pamelding)) +
                   QStringLiteral(" ORDER BY rowid LIMIT ? OFFSET ?")))
        return Status::failure(q.lastError().text());
    q.bindValue(0, entrants);
    q.bindValue(1, qint64(round) * entrants);
    if (!q.exec())
        return Status::failure(q.lastError().text());
    std::vector<QStringList> entered(persons.size());
    std::vector<QList<int>> enteredSlots(persons.size());
    for (size_t row = 0; q.next() && row < persons.size(); ++row)
        for (int e = 1; e <= kEventSlots; ++e) {
            const QVariant v = q.value(e);
            const QString text = v.toString().trimmed().toLower();
            if (text == u"1" || text == u"true" || text == u"-1") {
                entered[row] << state.eventNames[size_t(e)].trimmed();
                enteredSlots[row] << e;
            }
        }
    const int count = std::min(int(persons.size()), state.catalogs.personCount);
    // An event whose entries carry seed marks gets a column of its own, headed by its name, so
    // the import reads the marks back; without marks the layout stays as it was.
    QList<std::pair<int, QHash<int, registers::SeedEntry>>> markColumns;
    for (int e = 1; e <= kEventSlots; ++e) {
        QHash<int, registers::SeedEntry> marks = registers::readSeedMarks(state.database, round, e);
        for (auto it = marks.cbegin(); it != marks.cend(); ++it)
            if (it.key() >= 1 && it.key() <= count && enteredSlots[size_t(it.key() - 1)].contains(e) &&
                seedMarkFromCell(it->mark)) {
                records.first() << state.eventNames[size_t(e)].trimmed();
                markColumns.append({e, std::move(marks)});
                break;
            }
    }
    for (int p = 0; p < count; ++p) {
        const QVariantList &r = persons[size_t(p)];
        auto f = [&r](int field) {
            const QString v = cell(r, field);
            return freeText(v) ? QString() : v;
        };
        if (f(PersonField::PersonFirstName).isEmpty() && f(PersonField::PersonSurname).isEmpty())
            continue;
        records << QStringList{QString::number(p + 1),        f(PersonField::PersonFirstName),
                               f(PersonField::PersonSurname), f(PersonField::PersonClub),
                               f(PersonField::PersonClass),   f(PersonField::PersonSex),
                               f(PersonField::PersonBorn),    entered[size_t(p)].join(QStringLiteral(" | "))};
        // The mark when it reads back as one, else "x" for the entry alone ("0" and "1" in an
        // event column are read as no and yes).
        for (const auto &[e, marks] : std::as_const(markColumns)) {
            QString mark;
            if (enteredSlots[size_t(p)].contains(e)) {
                mark = seedMarkFromCell(marks.value(p + 1).mark).value_or(QString());
                if (mark.isEmpty() || mark == u"0" || mark == u"1")
                    mark = QStringLiteral("x");
            }
            records.last() << mark;
        }
    }
    return {};
}

Status gridRecords(AppState &state, const QString &table, QList<QStringList> &records)
{
    records.clear();
    GridRead grid;
    if (Status s = readGrid(state, table, grid); !s)
        return s;
    using events::ColumnRole;
    QStringList heading{columnTitle(ColumnRole::Place, state),   columnTitle(ColumnRole::Number, state),
                        columnTitle(ColumnRole::Name, state),    columnTitle(ColumnRole::Club, state),
                        columnTitle(ColumnRole::Results, state), columnTitle(ColumnRole::Difference, state)};
    for (int h = 1; h <= grid.helpCount; ++h)
        heading << columnTitle(ColumnRole::Help, state, h);
    records << heading;
    for (const QStringList &r : std::as_const(grid.rows))
        records << r.mid(2, 6 + grid.helpCount);
    return {};
}

Status roundResultRecords(AppState &state, QList<QStringList> &records)
{
    records.clear();
    using events::ColumnRole;
    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    QStringList heading{t(ExText::HeadEvent),
                        t(ExText::ColumnClass),
                        t(ExText::HeadRound),
                        columnTitle(ColumnRole::Heat, state),
                        columnTitle(ColumnRole::Lane, state),
                        columnTitle(ColumnRole::Place, state),
                        columnTitle(ColumnRole::Number, state),
                        columnTitle(ColumnRole::Name, state),
                        columnTitle(ColumnRole::Club, state),
                        columnTitle(ColumnRole::Results, state),
                        columnTitle(ColumnRole::Difference, state)};
    for (int h = 1; h <= 5; ++h)
        heading << columnTitle(ColumnRole::Help, state, h);
    records << heading;

    QList<RoundGrid> grids;
    if (Status s = roundGrids(state, state.currentRound, grids); !s)
        return s;
    for (const RoundGrid &g : std::as_const(grids)) {
        GridRead grid;
        if (Status s = readGrid(state, g.table, grid); !s)
            return s;
        for (const QStringList &r : std::as_const(grid.rows))
            records << (QStringList{g.selection.eventName.trimmed(), g.selection.className.trimmed(),
                                    state.roundName()} +
                        r);
    }
    return {};
}

Status writeCsvFile(const AppState &state, const QString &path, const QList<QStringList> &records)
{
    const QChar sep = exportSeparator(state);
    return writeFileAtomically(path, [&](QIODevice &device) { writeCsv(device, records, sep); });
}

} // namespace arenor::exchange
