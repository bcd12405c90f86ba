// Field-card texts as typed or stored in a meet file: each line holds a competitor's cells,
// separated by tabs. Whatever they hold, every text that reads writes back to itself, and the
// places over the series and over a card the checks accept never skip the first place, go
// down along the standing, or give a place to a competitor without a valid mark.

#include "FuzzCheck.h"
#include "base/TextFile.h"
#include "events/FieldEvents.h"

using namespace arenor;
using namespace arenor::events;

namespace {

constexpr qsizetype kMaxRows = 32;
constexpr qsizetype kMaxCells = 12;

void checkPlaces(const QList<FieldPlace> &places, const QList<bool> &ranked)
{
    bool first = false;
    for (qsizetype i = 0; i < places.size(); ++i) {
        FUZZ_CHECK((places[i].place > 0) == ranked[i]);
        FUZZ_CHECK(places[i].place <= places.size());
        first = first || places[i].place == 1;
    }
    FUZZ_CHECK(first == ranked.contains(true));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines =
        splitLines(decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
            .mid(0, kMaxRows);
    QList<QList<Attempt>> series;
    HeightCard card;
    for (const QString &line : lines) {
        QList<Attempt> s;
        QList<HeightCell> cells;
        for (const QString &text : line.split(u'\t').mid(0, kMaxCells)) {
            QString error;
            if (const std::optional<Attempt> a = parseAttempt(text, Language::English, &error)) {
                FUZZ_CHECK(parseAttempt(attemptText(*a), Language::English, nullptr) == a);
                s << *a;
            } else {
                FUZZ_CHECK(!error.isEmpty() && error.size() < 400);
            }
            if (const std::optional<HeightCell> c = parseHeightCell(text, Language::English, nullptr)) {
                FUZZ_CHECK(parseHeightCell(heightCellText(*c), Language::English, nullptr) == c);
                cells << *c;
            }
            if (const std::optional<int> w = parseWind(text, Language::English, nullptr))
                FUZZ_CHECK(parseWind(windText(*w), Language::English, nullptr) == w);
            if (const std::optional<int> h = parseHeight(text, Language::English, nullptr)) {
                FUZZ_CHECK(parseHeight(heightText(*h), Language::English, nullptr) == h);
                if (card.heights.size() < kMaxCells)
                    card.heights << *h;
            }
        }
        series << s;
        card.cells << cells;
    }
    QList<bool> ranked;
    for (const QList<Attempt> &s : series)
        ranked << bestAttempt(s).has_value();
    checkPlaces(horizontalPlaces(series), ranked);
    QList<int> order = finalRoundsOrder(series, 8);
    FUZZ_CHECK(order.size() <= series.size());

    std::sort(card.heights.begin(), card.heights.end());
    card.heights.erase(std::unique(card.heights.begin(), card.heights.end()), card.heights.end());
    for (QList<HeightCell> &row : card.cells)
        row = row.mid(0, card.heights.size());
    if (checkHeightCard(card, Language::English).isEmpty()) {
        ranked.clear();
        for (qsizetype c = 0; c < card.cells.size(); ++c)
            ranked << (verticalStanding(card, int(c)).best > 0);
        checkPlaces(verticalPlaces(card), ranked);
    }
    return 0;
}
