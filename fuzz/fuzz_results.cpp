// Results as typed into a grid: the first byte picks times in one of the three formats or plain
// numbers, each further line is one result. Whatever is typed, a result minus itself is zero, a
// value written reads back the same, a comma reads as the point, comparisons agree with the
// values, and over the results sorted best first places never go down (ties share) and no
// difference to the winner is negative.

#include "FuzzCheck.h"
#include "base/TextFile.h"
#include "events/GridCommands.h"

#include <algorithm>
#include <optional>

using namespace arenor::events;

namespace {

constexpr qsizetype kMaxResults = 64;

int sign(qint64 v)
{
    return (v > 0) - (v < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int pick = data[0] % 4;
    const ResultKind kind = pick == 3 ? ResultKind::Number : ResultKind::Time;
    const TimeFormat format = timeFormatFromCode(pick == 3 ? 0 : pick);
    QStringList texts = arenor::splitLines(
        arenor::decodeText(QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1))));
    texts = texts.mid(0, kMaxResults);

    std::vector<std::optional<qint64>> values;
    for (const QString &text : texts) {
        const std::optional<qint64> value = resultValue(kind, format, text);
        values.push_back(value);
        FUZZ_CHECK(!(value && isUnreadableResult(kind, format, text)));
        const QString zero = ResultArithmetic(kind, Order::BMinusA, text, text, Operation::Difference, format);
        FUZZ_CHECK(zero == (value ? resultText(kind, format, 0) : kNoResult));
        QString commas = text;
        FUZZ_CHECK(resultValue(kind, format, commas.replace(u'.', u',')) == value);
        // Negative times are no result by design, so only what can be typed comes back.
        if (value && (kind == ResultKind::Number || *value >= 0))
            FUZZ_CHECK(resultValue(kind, format, resultText(kind, format, *value)) == value);
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        for (qsizetype j = 0; j < texts.size(); ++j) {
            const int c = compareResults(kind, format, texts[i], texts[j]);
            FUZZ_CHECK(c == -compareResults(kind, format, texts[j], texts[i]));
            const auto &a = values[size_t(i)];
            const auto &b = values[size_t(j)];
            if (a && b)
                FUZZ_CHECK(sign(c) == sign(*a - *b));
            else
                FUZZ_CHECK(c == int(!a) - int(!b));
        }
    }

    // Best first: the lowest time, the longest distance; no result last.
    const bool descending = kind == ResultKind::Number;
    std::stable_sort(texts.begin(), texts.end(), [&](const QString &a, const QString &b) {
        return compareResults(kind, format, a, b, descending) < 0;
    });
    const QList<int> places = gridPlaces(texts, kind, format);
    const QStringList differences = gridDifferences(texts, kind, format);
    FUZZ_CHECK(places.size() == texts.size() && differences.size() == texts.size());
    const std::optional<qint64> winner = texts.isEmpty() ? std::nullopt : resultValue(kind, format, texts[0]);
    std::optional<qint64> previous;
    for (qsizetype r = 0; r < texts.size(); ++r) {
        const std::optional<qint64> value = resultValue(kind, format, texts[r]);
        if (!value) {
            FUZZ_CHECK(places[r] == 0 && differences[r] == kNoResult);
            continue;
        }
        FUZZ_CHECK(places[r] >= 1 && places[r] <= r + 1);
        if (r > 0 && previous)
            FUZZ_CHECK(*value == *previous ? places[r] == places[r - 1] : places[r] == r + 1);
        previous = value;
        const qint64 behind = descending ? *winner - *value : *value - *winner;
        FUZZ_CHECK(behind >= 0 && !differences[r].startsWith(u'-'));
        // Below a winner of a negative number the difference may pass what a result can hold.
        if (kind == ResultKind::Time || *value >= 0)
            FUZZ_CHECK(resultValue(kind, format, differences[r]) == behind);
    }
    return 0;
}
