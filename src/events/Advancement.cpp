#include "Advancement.h"

#include <QMap>
#include <QRegularExpression>
#include <algorithm>

namespace arenor::events {

std::optional<AdvanceRule> parseAdvanceRule(QStringView text)
{
    static const QRegularExpression rule(QStringLiteral("^\\s*(\\d{1,4})\\s*(?:\\+\\s*(\\d{1,4})\\s*)?$"));
    const QRegularExpressionMatch m = rule.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    return AdvanceRule{m.captured(1).toInt(), m.captured(2).isEmpty() ? 0 : m.captured(2).toInt()};
}

QString advanceRuleText(const AdvanceRule &rule)
{
    return QStringLiteral("%1+%2").arg(rule.byPlace).arg(rule.byTime);
}

QString qualifierText(Qualifier q)
{
    switch (q) {
    case Qualifier::Place:
        return QStringLiteral("Q");
    case Qualifier::Time:
        return QStringLiteral("q");
    case Qualifier::Referee:
        return QStringLiteral("qR");
    case Qualifier::None:
        break;
    }
    return {};
}

Qualifier qualifierFromText(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t == u"Q")
        return Qualifier::Place;
    if (t == u"q")
        return Qualifier::Time;
    if (t == u"qR")
        return Qualifier::Referee;
    return Qualifier::None;
}

namespace {

struct Row {
    const HeatRow *row;
    int place;
    std::optional<qint64> value;
};

// a before b when a's result is better; rows without a result last.
bool better(const std::optional<qint64> &a, const std::optional<qint64> &b, bool higherIsBetter)
{
    if (!a || !b)
        return a.has_value() && !b.has_value();
    return higherIsBetter ? *a > *b : *a < *b;
}

// Takes `openPlaces` of `candidates` (ordered best first, key() the value compared): the ones
// before a tie at the boundary go straight to `taken`; a tie across the boundary is settled by
// the decisions or returned undecided. The rest go to `left`.
template <typename Key>
std::optional<Tie> takeBest(const QList<Row> &candidates, int openPlaces, Key key,
                            const QHash<int, Decision> &decisions, QList<Row> &taken, QList<Row> &decided,
                            QList<Row> &left)
{
    const qsizetype n = candidates.size();
    if (openPlaces <= 0 || n == 0) {
        left << candidates;
        return std::nullopt;
    }
    if (n <= openPlaces || key(candidates[openPlaces - 1]) != key(candidates[openPlaces])) {
        taken << candidates.mid(0, std::min<qsizetype>(openPlaces, n));
        left << candidates.mid(std::min<qsizetype>(openPlaces, n));
        return std::nullopt;
    }
    const auto boundary = key(candidates[openPlaces - 1]);
    qsizetype first = openPlaces - 1, last = openPlaces - 1;
    while (first > 0 && key(candidates[first - 1]) == boundary)
        --first;
    while (last + 1 < n && key(candidates[last + 1]) == boundary)
        ++last;
    taken << candidates.mid(0, first);
    const QList<Row> tied = candidates.mid(first, last - first + 1);
    left << candidates.mid(last + 1);
    const bool settled = std::all_of(tied.cbegin(), tied.cend(),
                                     [&decisions](const Row &r) { return decisions.contains(r.row->id); });
    if (settled) {
        for (const Row &r : tied)
            (decisions.value(r.row->id) == Decision::Advance ? decided : left) << r;
        return std::nullopt;
    }
    Tie tie;
    tie.openPlaces = int(openPlaces - first);
    for (const Row &r : tied) {
        tie.ids << r.row->id;
        tie.numbers << r.row->number;
    }
    tie.place = tied.front().place;
    tie.result = tied.front().row->result.trimmed();
    return tie;
}

} // namespace

Advancement advance(const QList<HeatRow> &rows, const AdvanceRule &rule, ResultKind kind, TimeFormat format,
                    const QHash<int, Decision> &decisions, const QHash<int, bool> &overrides)
{
    Advancement out;
    const bool higherIsBetter = kind == ResultKind::Number;
    QMap<int, QList<Row>> heats;
    for (const HeatRow &r : rows)
        heats[r.heat].append({&r, r.place, resultValue(kind, format, r.result)});

    QList<Row> byPlace, byPlaceDecided, pool;
    int placedTotal = 0;
    for (auto it = heats.begin(); it != heats.end(); ++it) {
        QList<Row> &heat = it.value();
        // A heat whose places were never given is placed by its results; equal ones share.
        if (std::none_of(heat.cbegin(), heat.cend(), [](const Row &r) { return r.place > 0; })) {
            std::stable_sort(heat.begin(), heat.end(), [higherIsBetter](const Row &a, const Row &b) {
                return better(a.value, b.value, higherIsBetter);
            });
            for (qsizetype i = 0; i < heat.size() && heat[i].value; ++i)
                heat[i].place =
                    (i > 0 && heat[i].value == heat[i - 1].value) ? heat[i - 1].place : int(i + 1);
        }
        QList<Row> placed;
        for (const Row &r : heat)
            if (r.place > 0)
                placed << r;
        std::stable_sort(placed.begin(), placed.end(),
                         [](const Row &a, const Row &b) { return a.place < b.place; });
        placedTotal += int(placed.size());
        const QString heatName = QString::number(it.key());
        if (placed.isEmpty())
            out.notices.append({Text::AdvanceNoFinisher, {heatName}});
        else if (placed.size() < rule.byPlace)
            out.notices.append({Text::AdvanceHeatShort,
                                {heatName, QString::number(placed.size()), QString::number(rule.byPlace)}});
        std::optional<Tie> tie = takeBest(
            placed, rule.byPlace, [](const Row &r) { return r.place; }, decisions, byPlace, byPlaceDecided,
            pool);
        if (tie) {
            tie->heat = it.key();
            out.ties << *tie;
        }
    }
    const int asked = rule.byPlace * int(heats.size()) + rule.byTime;
    if (asked > placedTotal)
        out.notices.append({Text::AdvanceTooMany, {QString::number(asked), QString::number(placedTotal)}});

    auto byResult = [higherIsBetter](const Row &a, const Row &b) {
        if (a.value != b.value)
            return better(a.value, b.value, higherIsBetter);
        return a.place < b.place;
    };
    QList<Row> byTime, byTimeDecided, out_;
    if (out.ties.isEmpty()) {
        // Only rows with a place and a result can advance on it.
        QList<Row> candidates;
        for (const Row &r : pool)
            if (r.value && r.place > 0)
                candidates << r;
        std::stable_sort(candidates.begin(), candidates.end(), byResult);
        if (std::optional<Tie> tie = takeBest(
                candidates, rule.byTime, [](const Row &r) { return r.value; }, decisions, byTime,
                byTimeDecided, out_))
            out.ties << *tie;
    }

    // The next round's ranking: Q by place then result, then q by result.
    QList<Row> qPlace = byPlace + byPlaceDecided;
    std::stable_sort(qPlace.begin(), qPlace.end(), [&byResult](const Row &a, const Row &b) {
        return a.place != b.place ? a.place < b.place : byResult(a, b);
    });
    QList<Row> qTime = byTime + byTimeDecided;
    std::stable_sort(qTime.begin(), qTime.end(), byResult);
    QList<int> in;
    auto add = [&](const QList<Row> &list, Qualifier q, const QList<Row> &decidedOnes) {
        for (const Row &r : list) {
            const int id = r.row->id;
            if (overrides.contains(id) && !overrides.value(id))
                continue; // put out by hand: withdrawn, disqualified on protest
            const bool decided = std::any_of(decidedOnes.cbegin(), decidedOnes.cend(),
                                             [id](const Row &d) { return d.row->id == id; });
            out.advancers.append({id, q, decided});
            in << id;
        }
    };
    add(qPlace, Qualifier::Place, byPlaceDecided);
    add(qTime, Qualifier::Time, byTimeDecided);
    for (const HeatRow &r : rows)
        if (overrides.value(r.id, false) && !in.contains(r.id)) {
            out.advancers.append({r.id, Qualifier::Referee, false});
            in << r.id;
        }
    return out;
}

} // namespace arenor::events
