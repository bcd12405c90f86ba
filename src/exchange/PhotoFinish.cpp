#include "PhotoFinish.h"

#include "base/TextFile.h"
#include "db/Schema.h"
#include "events/EventSetup.h"
#include "events/GridColumns.h"
#include "exchange/Csv.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/RoundGrids.h"
#include "registers/Competitors.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace arenor::exchange {

using events::TimeFormat;

int cameraEventNumber(int event, int cls)
{
    return event * 100 + cls;
}

namespace {

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

FinishRead parseFinishFile(const QByteArray &bytes)
{
    FinishRead read;
    const CsvRead csv = parseCsv(bytes, u',');
    if (!csv.ok() || csv.records.isEmpty()) {
        read.error = csv.records.isEmpty() && csv.ok() ? FinishError::Empty : FinishError::BadLine;
        read.errorLine = csv.errorLine;
        return read;
    }
    const QStringList &head = csv.records.first();
    const auto ev = wholeNumber(head.value(0)), round = wholeNumber(head.value(1)),
               heat = wholeNumber(head.value(2));
    if (!ev || !round || !heat) {
        read.error = FinishError::BadHeading;
        read.errorLine = csv.lines.first();
        return read;
    }
    read.race.event = *ev;
    read.race.round = *round;
    read.race.heat = *heat;
    read.race.name = head.value(3).trimmed();
    read.race.wind = head.value(4).trimmed();
    for (qsizetype i = 1; i < csv.records.size(); ++i) {
        const QStringList &r = csv.records[i];
        FinishLine line{csv.lines[i],         r.value(0).trimmed(), r.value(1).trimmed(),
                        r.value(2).trimmed(), r.value(3).trimmed(), r.value(4).trimmed(),
                        r.value(5).trimmed(), r.value(6).trimmed()};
        if (r.size() < 2 || !wholeNumber(line.id)) {
            read.error = FinishError::BadLine;
            read.errorLine = line.line;
            return read;
        }
        read.race.lines << line;
    }
    return read;
}

std::optional<QString> finishTimeText(QStringView time, TimeFormat format)
{
    // Hours, minutes and seconds before the point, up to six decimals after it, in microseconds.
    const QString t = time.trimmed().toString().replace(u',', u'.');
    const QStringList parts = t.split(u':');
    if (parts.isEmpty() || parts.size() > 3)
        return std::nullopt;
    qint64 whole = 0;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        bool ok = false;
        const int v = parts[i].toInt(&ok);
        if (!ok || v < 0 || (i > 0 && v >= 60) || parts[i].isEmpty())
            return std::nullopt;
        whole = whole * 60 + v;
    }
    const QStringList secs = parts.last().split(u'.');
    if (secs.size() > 2 || secs[0].isEmpty() || secs.value(1).size() > 6)
        return std::nullopt;
    bool ok = false;
    const int s = secs[0].toInt(&ok);
    if (!ok || s < 0 || (parts.size() > 1 && s >= 60) || s > 999999)
        return std::nullopt;
    qint64 micro = (whole * 60 + s) * 1000000;
    if (secs.size() == 2) {
        for (QChar c : secs[1])
            if (!c.isDigit())
                return std::nullopt;
        micro += secs[1].leftJustified(6, u'0').toLongLong();
    }
    const qint64 unit = format == TimeFormat::HoursMinutesSeconds ? 1000000 : 10000;
    const qint64 value = (micro + unit - 1) / unit;
    const QString text = events::resultText(events::ResultKind::Time, format, value);
    // A time the format cannot hold (past 23.59.59 or 99.59.99) is no time of the event.
    if (events::resultValue(events::ResultKind::Time, format, text) != value)
        return std::nullopt;
    return text;
}

QString finishResultText(const FinishLine &line, TimeFormat format)
{
    if (std::optional<QString> t = finishTimeText(line.time, format))
        return *t;
    // DNS, DNF, DQ and the like stand in the place field; a text without a digit is no result.
    for (const QString &text : {line.place, line.time})
        if (!text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
            return text.toUpper();
    return events::kNoResult;
}

Status importFinishFile(AppState &state, const QByteArray &bytes, const QString &name, FinishImport &out,
                        const GridFormat &shownFormat)
{
    out = {};
    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    const FinishRead read = parseFinishFile(bytes);
    switch (read.error) {
    case FinishError::None:
        break;
    case FinishError::Empty:
        return Status::failure(t(ExText::FileEmpty).arg(name));
    case FinishError::BadHeading:
    case FinishError::BadLine:
        return Status::failure(t(ExText::FinishBadLine).arg(name).arg(read.errorLine));
    }
    const FinishRace &race = read.race;
    const int event = race.event / 100, cls = race.event % 100, round = race.round - 1;
    QList<RoundGrid> grids;
    if (event >= 1 && event <= kEventSlots && cls >= 1 && cls <= kClassCount && round >= 0 && round < kRounds)
        if (Status s = roundGrids(state, round, grids, event, cls); !s)
            return s;
    if (grids.isEmpty())
        return Status::failure(
            t(ExText::FinishNoGrid).arg(name).arg(race.event).arg(race.round).arg(race.heat));
    const RoundGrid &grid = grids.first();
    out.table = grid.table;
    TimeFormat format = events::timeFormatFromCode(grid.setup[events::SetupTimeFormat].toInt());
    if (shownFormat)
        format = shownFormat(grid.table).value_or(format);

    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (Status s = db::readTable(state.database, grid.table, fields, rowids, rows); !s)
        return s;
    const events::GridColumns columns(fields);
    const int number = columns.index(events::ColumnRole::Number);
    const int results = columns.index(events::ColumnRole::Results);
    if (number < 0 || results < 0)
        return Status::failure(state.texts.message(Text::GridLacksColumns).arg(grid.table));
    QHash<qint64, size_t> rowOf;
    for (size_t r = 0; r < rows.size(); ++r) {
        bool ok = false;
        const qint64 n = rows[r].value(number).toString().trimmed().toLongLong(&ok);
        if (ok)
            rowOf.insert(n, r);
    }
    QList<std::pair<qint64, QString>> writes;
    for (const FinishLine &line : race.lines) {
        const auto r = rowOf.find(line.id.toLongLong());
        if (r == rowOf.end())
            return Status::failure(
                t(ExText::FinishNotInGrid).arg(name).arg(line.line).arg(line.id, grid.table));
        writes.append({rowids[*r], finishResultText(line, format)});
    }
    const QString sql = db::updateByRowidStatement(grid.table, {fields[results]});
    Status s = state.database.transaction([&]() -> Status {
        QSqlQuery q(state.database.handle());
        if (!q.prepare(sql))
            return Status::failure(q.lastError().text());
        for (const auto &[rowid, text] : std::as_const(writes)) {
            q.bindValue(0, text);
            q.bindValue(1, rowid);
            if (!q.exec())
                return Status::failure(q.lastError().text());
        }
        // The heat's wind replaces what an earlier reading of the race left. (A file whose wind
        // table was taken away by hand gets it again.)
        if (!state.database.tableExists(schema::kVind))
            if (Status c =
                    state.database.createTable(schema::kVind, db::numberedFields(schema::kHeatWindFields));
                !c)
                return c;
        const QVariantList key{race.round, event, cls, race.heat};
        const QString wind = db::quoteIdentifier(schema::kVind);
        if (!q.prepare(QStringLiteral("DELETE FROM ") + wind +
                       QStringLiteral(" WHERE \"0\" = ? AND \"1\" = ? AND \"2\" = ? AND \"3\" = ?")))
            return Status::failure(q.lastError().text());
        for (int i = 0; i < key.size(); ++i)
            q.bindValue(i, QString::number(key[i].toInt()));
        if (!q.exec())
            return Status::failure(q.lastError().text());
        if (!race.wind.isEmpty()) {
            if (!q.prepare(state.database.insertStatement(schema::kVind, schema::kHeatWindFields)))
                return Status::failure(q.lastError().text());
            for (int i = 0; i < key.size(); ++i)
                q.bindValue(i, QString::number(key[i].toInt()));
            q.bindValue(4, race.wind);
            if (!q.exec())
                return Status::failure(q.lastError().text());
        }
        return {};
    });
    if (!s)
        return s;
    out.stored = int(writes.size());
    return {};
}

QString heatWind(AppState &state, int round, int event, int cls, int heat)
{
    QSqlQuery q(state.database.handle());
    q.prepare(QStringLiteral("SELECT \"4\" FROM ") + db::quoteIdentifier(schema::kVind) +
              QStringLiteral(" WHERE \"0\" = ? AND \"1\" = ? AND \"2\" = ? AND \"3\" = ?"));
    for (int v : {round, event, cls, heat})
        q.addBindValue(QString::number(v));
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

Status writeStartLists(AppState &state, const QString &folder, const QString &base, int *written)
{
    QList<RoundGrid> grids;
    if (Status s = roundGrids(state, state.currentRound, grids); !s)
        return s;
    std::vector<QVariantList> persons;
    if (Status s = readPersonRecords(state, persons); !s)
        return s;
    auto person = [&persons](qint64 n, int field) {
        const QString v = n >= 1 && n <= qint64(persons.size())
                              ? persons[size_t(n - 1)].value(field).toString().trimmed()
                              : QString();
        return freeText(v) ? QString() : v;
    };
    const QChar sep = u',';
    QList<QStringList> ppl, evt, sch;
    for (size_t p = 0; p < persons.size(); ++p) {
        const qint64 n = qint64(p) + 1;
        if (person(n, registers::PersonFirstName).isEmpty() && person(n, registers::PersonSurname).isEmpty())
            continue;
        ppl << QStringList{QString::number(n), person(n, registers::PersonSurname),
                           person(n, registers::PersonFirstName), person(n, registers::PersonClub)};
    }
    int count = 0;
    for (const RoundGrid &g : std::as_const(grids)) {
        const events::ListType type = events::listTypeFromCode(g.setup[events::SetupListType].toInt());
        if (g.setup[events::SetupCategory] != u"0" ||
            (type != events::ListType::Heat && type != events::ListType::Standard))
            continue;
        QStringList gridFields;
        std::vector<qint64> gridRowids;
        std::vector<QVariantList> rows;
        if (Status s = db::readTable(state.database, g.table, gridFields, gridRowids, rows); !s)
            return s;
        const events::GridColumns columns(gridFields);
        const int heatAt = columns.index(events::ColumnRole::Heat),
                  laneAt = columns.index(events::ColumnRole::Lane),
                  numberAt = columns.index(events::ColumnRole::Number);
        if (numberAt < 0)
            continue;
        // Heats in order, the runners of each in lane order (table order without lanes).
        QMap<int, QList<std::pair<int, qint64>>> heats;
        int order = 0;
        for (const QVariantList &row : rows) {
            bool ok = false;
            const qint64 n = row.value(numberAt).toString().trimmed().toLongLong(&ok);
            if (!ok)
                continue;
            ++order;
            const int heat = heatAt >= 0 ? std::max(1, row.value(heatAt).toInt()) : 1;
            const int lane = laneAt >= 0 && row.value(laneAt).toInt() > 0 ? row.value(laneAt).toInt() : order;
            heats[heat].append({lane, n});
        }
        const QString number = QString::number(cameraEventNumber(g.event, g.cls));
        const QString round = QString::number(g.round + 1);
        const QString title = g.selection.eventName.trimmed() + u' ' + g.selection.className.trimmed();
        for (auto [heat, runners] : heats.asKeyValueRange()) {
            std::stable_sort(runners.begin(), runners.end());
            evt << QStringList{number, round, QString::number(heat), title};
            for (const auto &[lane, n] : std::as_const(runners))
                evt << QStringList{QString(),
                                   QString::number(n),
                                   QString::number(lane),
                                   person(n, registers::PersonSurname),
                                   person(n, registers::PersonFirstName),
                                   person(n, registers::PersonClub)};
            sch << QStringList{number, round, QString::number(heat)};
        }
        ++count;
    }
    // The camera reads plain lines: no byte order mark. A file that would stay the same is left
    // alone, so a camera that follows the files does not read them again for nothing.
    auto write = [&](const QString &ext, const QList<QStringList> &records) -> Status {
        QByteArray bytes;
        for (const QStringList &r : records)
            bytes += csvLine(r, sep).toUtf8() + "\r\n";
        const QString path = QDir(folder).filePath(base + ext);
        if (QFile old(path);
            old.size() == bytes.size() && old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return {};
        return writeFileAtomically(path, [&](QIODevice &device) { device.write(bytes); });
    };
    if (!QDir().mkpath(folder))
        return Status::failure(folder);
    for (const auto &[ext, records] :
         {std::pair{QStringLiteral(".ppl"), ppl}, std::pair{QStringLiteral(".evt"), evt},
          std::pair{QStringLiteral(".sch"), sch}})
        if (Status s = write(ext, records); !s)
            return s;
    if (written)
        *written = count;
    return {};
}

} // namespace arenor::exchange
