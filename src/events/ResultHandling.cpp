#include "ResultHandling.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace arenor::events {

QList<int> helpColumnsOf(const HandleRequest &request)
{
    switch (request.operation) {
    case HandleOperation::ResultToHelp:
    case HandleOperation::HelpToResult:
    case HandleOperation::ClearHelp:
        return {request.a};
    case HandleOperation::AddHelp:
    case HandleOperation::SubtractHelp:
        return {request.a, request.b};
    default:
        return {};
    }
}

QString checkHelpColumns(const HandleRequest &request, int helpCount, Language language)
{
    const int last = std::min(helpCount, 6);
    for (int n : helpColumnsOf(request)) {
        if (n >= 1 && n <= last)
            continue;
        if (last < 1)
            return language == Language::Norwegian ? QStringLiteral("Øvelsen har ingen hjelpekolonner.")
                                                   : QStringLiteral("The event has no help columns.");
        return language == Language::Norwegian
                   ? QStringLiteral("Hjelpekolonne %1 finnes ikke: velg et nummer fra 1 til %2.")
                         .arg(n)
                         .arg(last)
                   : QStringLiteral("There is no help column %1: choose a number from 1 to %2.")
                         .arg(n)
                         .arg(last);
    }
    return {};
}

void handleColumns(const HandleRequest &request, ResultKind kind, TimeFormat format, QStringList &results,
                   QList<QStringList> &help)
{
    const int a = request.a - 1;
    const int b = request.b - 1;
    for (qsizetype r = 0; r < results.size(); ++r) {
        QString &result = results[r];
        switch (request.operation) {
        case HandleOperation::ResultToHelp:
            help[a][r] = result;
            result = kNoResult;
            break;
        case HandleOperation::HelpToResult:
            result = help[a][r];
            help[a][r] = kNoResult;
            break;
        case HandleOperation::AddHelp:
        case HandleOperation::SubtractHelp:
            result = ResultArithmetic(kind, Order::BMinusA, help[a][r], help[b][r],
                                      request.operation == HandleOperation::AddHelp ? Operation::Sum
                                                                                    : Operation::Difference,
                                      format);
            break;
        case HandleOperation::LowestOfHelp:
        case HandleOperation::HighestOfHelp: {
            const bool lowest = request.operation == HandleOperation::LowestOfHelp;
            std::optional<qint64> best;
            result = kNoResult;
            for (const QStringList &column : help) {
                const std::optional<qint64> value = resultValue(kind, format, column[r]);
                // An equal later attempt wins, as the window always did.
                if (value && (!best || (lowest ? *value <= *best : *value >= *best))) {
                    best = value;
                    result = column[r];
                }
            }
            break;
        }
        case HandleOperation::ClearHelp:
            help[a][r] = kNoResult;
            break;
        case HandleOperation::ClearResult:
            result = kNoResult;
            break;
        }
    }
}

Status handleGridTable(db::Database &database, const QString &table, const GridContext &context,
                       const HandleRequest &request, Language language, QString *notice)
{
    if (notice)
        notice->clear();
    if (QString why = checkHelpColumns(request, context.helpCount, language); !why.isEmpty())
        return Status::failure(why);
    const QStringList fields = database.fieldNames(table);
    const GridColumns columns(fields);
    const int resultColumn = columns.index(ColumnRole::Results);
    const int numberColumn = columns.index(ColumnRole::Number);
    // A grid made before the event's help-column count was raised lacks the last ones: the
    // operations work on those it has.
    QList<int> present;     // help column numbers
    QList<int> helpColumns; // their positions in the table
    QList<GridColumn> lacking;
    for (int n = 1; n <= context.helpCount; ++n) {
        if (const int i = columns.helpIndex(n); i >= 0) {
            present << n;
            helpColumns << i;
        } else {
            lacking << GridColumn{ColumnRole::Help, n};
        }
    }
    const bool everyAttempt = request.operation == HandleOperation::LowestOfHelp ||
                              request.operation == HandleOperation::HighestOfHelp;
    QList<GridColumn> missing;
    if (resultColumn < 0)
        missing << GridColumn{ColumnRole::Results, 0};
    for (int n : helpColumnsOf(request))
        if (!present.contains(n))
            missing << GridColumn{ColumnRole::Help, n};
    // Without a single attempt the best of them would clear every result.
    if (everyAttempt && present.isEmpty())
        missing << lacking;
    if (!missing.isEmpty())
        return Status::failure(
            TextTables::text(Text::GridLacksColumns, language).arg(columnNames(missing, language)));
    // The request by position among the columns the grid has.
    HandleRequest held = request;
    held.a = int(present.indexOf(request.a)) + 1;
    held.b = int(present.indexOf(request.b)) + 1;
    const qsizetype helpCount = present.size();

    // Only the rowid, the start number, the result and the help columns are read, and only the
    // result and the help columns written.
    QStringList columnsRead{numberColumn >= 0 ? db::quoteIdentifier(fields[numberColumn])
                                              : QStringLiteral("''"),
                            db::quoteIdentifier(fields[resultColumn])};
    for (int i : helpColumns)
        columnsRead << db::quoteIdentifier(fields[i]);
    std::vector<qint64> rowids;
    QStringList numbers;
    QStringList results;
    QList<QStringList> help(helpCount);
    {
        QSqlQuery q = database.reader();
        if (!q.exec(QStringLiteral("SELECT rowid, ") + columnsRead.join(QStringLiteral(", ")) +
                    QStringLiteral(" FROM ") + db::quoteIdentifier(table) +
                    QStringLiteral(" ORDER BY rowid")))
            return Status::failure(q.lastError().text());
        while (q.next()) {
            rowids.push_back(q.value(0).toLongLong());
            numbers << q.value(1).toString();
            results << q.value(2).toString();
            for (qsizetype n = 0; n < helpCount; ++n)
                help[n] << q.value(3 + int(n)).toString();
        }
    }
    // The attempts the operation reads that the time format cannot: told, and left out.
    QList<qsizetype> read;
    if (everyAttempt)
        for (qsizetype n = 0; n < helpCount; ++n)
            read << n;
    else if (request.operation == HandleOperation::AddHelp ||
             request.operation == HandleOperation::SubtractHelp)
        read << held.a - 1 << held.b - 1;
    QStringList unreadable;
    for (qsizetype r = 0; r < qsizetype(rowids.size()); ++r)
        if (std::any_of(read.begin(), read.end(), [&](qsizetype n) {
                return isUnreadableResult(context.kind(), context.format, help[n][r]);
            }))
            unreadable << (numberColumn >= 0 ? numbers[r].trimmed() : QString::number(r + 1));

    const QStringList oldResults = results;
    const QList<QStringList> oldHelp = help;
    handleColumns(held, context.kind(), context.format, results, help);

    // Only the columns the operation writes, and only rows whose values changed.
    QStringList set{db::quoteIdentifier(fields[resultColumn]) + QStringLiteral(" = ?")};
    for (int i : helpColumns)
        set << db::quoteIdentifier(fields[i]) + QStringLiteral(" = ?");
    const QString sql = QStringLiteral("UPDATE ") + db::quoteIdentifier(table) + QStringLiteral(" SET ") +
                        set.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?");
    const Status stored = database.transaction([&]() -> Status {
        QSqlQuery q(database.handle());
        if (!q.prepare(sql))
            return Status::failure(q.lastError().text());
        for (size_t r = 0; r < rowids.size(); ++r) {
            bool changed = results[qsizetype(r)] != oldResults[qsizetype(r)];
            for (qsizetype n = 0; n < helpCount && !changed; ++n)
                changed = help[n][qsizetype(r)] != oldHelp[n][qsizetype(r)];
            if (!changed)
                continue;
            q.addBindValue(results[qsizetype(r)]);
            for (qsizetype n = 0; n < helpCount; ++n)
                q.addBindValue(help[n][qsizetype(r)]);
            q.addBindValue(rowids[r]);
            if (!q.exec())
                return Status::failure(q.lastError().text());
        }
        return {};
    });
    if (stored && notice) {
        QStringList told;
        if (everyAttempt && !lacking.isEmpty()) {
            QList<GridColumn> used;
            for (int n : present)
                used << GridColumn{ColumnRole::Help, n};
            told << TextTables::text(Text::HelpColumnsLacking, language)
                        .arg(columnNames(lacking, language), columnNames(used, language));
        }
        if (!unreadable.isEmpty())
            told << unreadableResultsText(language, context.format, unreadable);
        *notice = told.join(QStringLiteral("\n\n"));
    }
    return stored;
}

} // namespace arenor::events
