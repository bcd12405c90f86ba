#include "GridCommands.h"

namespace arenor::events {

QStringList gridDifferences(const QStringList &results, ResultKind kind, TimeFormat format)
{
    QStringList differences;
    differences.reserve(results.size());
    if (results.isEmpty())
        return differences;
    const std::optional<qint64> winner = resultValue(kind, format, results.first());
    for (const QString &result : results) {
        const std::optional<qint64> value = resultValue(kind, format, result);
        if (!winner || !value)
            differences.append(kNoResult);
        else
            differences.append(
                resultText(kind, format, kind == ResultKind::Time ? *value - *winner : *winner - *value));
    }
    return differences;
}

QList<int> gridPlaces(const QStringList &results, ResultKind kind, TimeFormat format)
{
    QList<int> places;
    places.reserve(results.size());
    std::optional<qint64> previous;
    int previousPlace = 0;
    for (int row = 0; row < results.size(); ++row) {
        const std::optional<qint64> value = resultValue(kind, format, results[row]);
        if (!value) {
            places.append(0);
        } else if (previous && *previous == *value) {
            places.append(previousPlace);
        } else {
            previousPlace = row + 1;
            places.append(previousPlace);
        }
        previous = value;
    }
    return places;
}

QStringList gridStepResults(const QStringList &outTimes, const QStringList &inTimes, ResultKind kind,
                            TimeFormat format)
{
    QStringList results;
    const qsizetype rows = std::min(outTimes.size(), inTimes.size());
    results.reserve(rows);
    for (qsizetype row = 0; row < rows; ++row)
        results.append(ResultArithmetic(kind, Order::BMinusA, outTimes[row], inTimes[row],
                                        Operation::Difference, format));
    return results;
}

} // namespace arenor::events
