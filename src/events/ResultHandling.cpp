#include "ResultHandling.h"

#include <QSqlError>
#include <QSqlQuery>

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
                       const HandleRequest &request, Language language)
{
    if (QString why = checkHelpColumns(request, context.helpCount, language); !why.isEmpty())
        return Status::failure(why);
    const GridColumns columns(database.fieldNames(table));
    const int resultColumn = columns.index(ColumnRole::Results);
    QList<GridColumn> missing;
    if (resultColumn < 0)
        missing << GridColumn{ColumnRole::Results, 0};
    QList<int> helpColumns;
    for (int n = 1; n <= context.helpCount; ++n) {
        helpColumns << columns.helpIndex(n);
        if (helpColumns.last() < 0)
            missing << GridColumn{ColumnRole::Help, n};
    }
    if (!missing.isEmpty())
        return Status::failure((language == Language::Norwegian
                                    ? QStringLiteral("Grinden mangler kolonnene: ")
                                    : QStringLiteral("The grid lacks the columns: ")) +
                               columnNames(missing, language));

    // Only the rowid, the result and the help columns are read and written.
    const QStringList fields = database.fieldNames(table);
    QStringList columnsRead{db::quoteIdentifier(fields[resultColumn])};
    for (int n = 0; n < context.helpCount; ++n)
        columnsRead << db::quoteIdentifier(fields[helpColumns[n]]);
    std::vector<qint64> rowids;
    QStringList results;
    QList<QStringList> help(context.helpCount);
    {
        QSqlQuery q(database.handle());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT rowid, ") + columnsRead.join(QStringLiteral(", ")) +
                    QStringLiteral(" FROM ") + db::quoteIdentifier(table) +
                    QStringLiteral(" ORDER BY rowid")))
            return Status::failure(q.lastError().text());
        while (q.next()) {
            rowids.push_back(q.value(0).toLongLong());
            results << q.value(1).toString();
            for (int n = 0; n < context.helpCount; ++n)
                help[n] << q.value(2 + n).toString();
        }
    }
    const QStringList oldResults = results;
    const QList<QStringList> oldHelp = help;
    handleColumns(request, context.kind(), context.format, results, help);

    // Only the columns the operation writes, and only rows whose values changed.
    QStringList set{db::quoteIdentifier(fields[resultColumn]) + QStringLiteral(" = ?")};
    for (int n = 0; n < context.helpCount; ++n)
        set << db::quoteIdentifier(fields[helpColumns[n]]) + QStringLiteral(" = ?");
    const QString sql = QStringLiteral("UPDATE ") + db::quoteIdentifier(table) + QStringLiteral(" SET ") +
                        set.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?");
    return database.transaction([&]() -> Status {
        QSqlQuery q(database.handle());
        if (!q.prepare(sql))
            return Status::failure(q.lastError().text());
        for (size_t r = 0; r < rowids.size(); ++r) {
            bool changed = results[qsizetype(r)] != oldResults[qsizetype(r)];
            for (int n = 0; n < context.helpCount && !changed; ++n)
                changed = help[n][qsizetype(r)] != oldHelp[n][qsizetype(r)];
            if (!changed)
                continue;
            q.addBindValue(results[qsizetype(r)]);
            for (int n = 0; n < context.helpCount; ++n)
                q.addBindValue(help[n][qsizetype(r)]);
            q.addBindValue(rowids[r]);
            if (!q.exec())
                return Status::failure(q.lastError().text());
        }
        return {};
    });
}

} // namespace arenor::events
