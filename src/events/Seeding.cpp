#include "Seeding.h"

#include "base/TextTables.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <random>

namespace arenor::events {

QString noticeText(const TextTables &texts, const Notice &notice)
{
    QString text = texts.message(notice.text);
    switch (notice.args.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(notice.args[0]);
    case 2:
        return text.arg(notice.args[0], notice.args[1]);
    case 3:
        return text.arg(notice.args[0], notice.args[1], notice.args[2]);
    default:
        return text.arg(notice.args[0], notice.args[1], notice.args[2], notice.args[3]);
    }
}

DrawRandom::DrawRandom(quint32 seed)
{
    // The standard initialisation of the 32-bit Mersenne twister.
    m_state[0] = seed;
    for (quint32 i = 1; i < 624; ++i)
        m_state[i] = 1812433253u * (m_state[i - 1] ^ (m_state[i - 1] >> 30)) + i;
}

int DrawRandom::below(int n)
{
    if (n < 1)
        return 0;
    if (m_index >= 624) {
        for (int i = 0; i < 624; ++i) {
            const quint32 y = (m_state[i] & 0x80000000u) | (m_state[(i + 1) % 624] & 0x7fffffffu);
            m_state[i] = m_state[(i + 397) % 624] ^ (y >> 1) ^ ((y & 1u) ? 0x9908b0dfu : 0u);
        }
        m_index = 0;
    }
    quint32 y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return int((quint64(y) * quint64(n)) >> 32);
}

EventGroup eventGroupOf(const QString &eventName)
{
    static const QRegularExpression distance(QStringLiteral("^\\s*(\\d+)\\s*(x?)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = distance.match(eventName);
    if (!m.hasMatch() || !m.captured(2).isEmpty())
        return EventGroup::FourHundred;
    const int metres = m.captured(1).left(6).toInt();
    if (metres <= 110)
        return EventGroup::Straight;
    if (metres < 300)
        return EventGroup::TwoHundred;
    return EventGroup::FourHundred;
}

int LaneTable::lanes() const
{
    int n = 0;
    for (const QList<int> &g : groups)
        n += int(g.size());
    return n;
}

std::optional<LaneTable> parseLaneTable(QStringView text, int lanes, Notice *problem)
{
    auto fail = [problem](Text what, QStringList args) -> std::optional<LaneTable> {
        if (problem)
            *problem = {what, std::move(args)};
        return std::nullopt;
    };
    const bool grouped = text.contains(u'/');
    LaneTable table;
    QList<int> seen;
    for (QStringView part : text.split(u'/')) {
        QList<int> group;
        for (QStringView word : part.split(u' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int lane = word.toInt(&ok);
            if (!ok || lane < 1)
                return fail(Text::LaneNotANumber, {word.toString()});
            if (seen.contains(lane))
                return fail(Text::LaneTwice, {QString::number(lane)});
            seen << lane;
            if (grouped)
                group << lane;
            else
                table.groups << QList<int>{lane};
        }
        if (!group.isEmpty())
            table.groups << group;
    }
    const int count = lanes > 0 ? lanes : int(seen.size());
    if (count < 1)
        return fail(Text::LaneMissing, {QStringLiteral("1")});
    for (int lane : seen)
        if (lane > count)
            return fail(Text::LaneBeyond, {QString::number(lane), QString::number(count)});
    QStringList missing;
    for (int lane = 1; lane <= count; ++lane)
        if (!seen.contains(lane))
            missing << QString::number(lane);
    if (!missing.isEmpty())
        return fail(Text::LaneMissing, {missing.join(QStringLiteral(", "))});
    return table;
}

LaneTable centreOutTable(int lanes)
{
    LaneTable table;
    if (lanes < 1)
        return table;
    int low = (lanes + 1) / 2, high = lanes / 2 + 1;
    if (lanes % 2) {
        table.groups << QList<int>{low};
        --low;
        ++high;
    }
    for (; low >= 1; --low, ++high)
        table.groups << QList<int>{low, high};
    return table;
}

namespace {

// Every lane 1..lanes exactly once.
bool fits(const LaneTable &table, int lanes)
{
    QList<int> all;
    for (const QList<int> &g : table.groups)
        all << g;
    std::sort(all.begin(), all.end());
    if (int(all.size()) != lanes)
        return false;
    for (int i = 0; i < lanes; ++i)
        if (all[i] != i + 1)
            return false;
    return true;
}

struct ShippedTables {
    QString source;
    QList<std::pair<std::pair<EventGroup, int>, LaneTable>> tables;
};

const ShippedTables &shipped()
{
    static const ShippedTables tables = [] {
        ShippedTables t;
        QFile file(QStringLiteral(":/events/LaneTables.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return t;
        static const QRegularExpression line(QStringLiteral("^(straight|200|400)\\s+(\\d+)\\s*:(.*)$"));
        for (const QString &raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QString text = raw.trimmed();
            if (text.startsWith(QStringLiteral("# Followed:"))) {
                t.source = text.mid(11).trimmed();
                continue;
            }
            const QRegularExpressionMatch m = line.match(text);
            if (!m.hasMatch())
                continue;
            const EventGroup group = m.captured(1) == u"straight" ? EventGroup::Straight
                                     : m.captured(1) == u"200"    ? EventGroup::TwoHundred
                                                                  : EventGroup::FourHundred;
            const int lanes = m.captured(2).toInt();
            if (std::optional<LaneTable> table = parseLaneTable(m.captured(3), lanes))
                t.tables.append({{group, lanes}, *table});
        }
        return t;
    }();
    return tables;
}

} // namespace

std::optional<LaneTable> shippedLaneTable(EventGroup group, int lanes)
{
    for (const auto &[key, table] : shipped().tables)
        if (key.first == group && key.second == lanes)
            return table;
    return std::nullopt;
}

QString laneTableSource()
{
    return shipped().source;
}

LaneTable laneTableFor(EventGroup group, int lanes, const QString &meetPriority, Notice *problem)
{
    if (!meetPriority.trimmed().isEmpty()) {
        Notice why;
        if (std::optional<LaneTable> own = parseLaneTable(meetPriority, lanes, &why))
            return *own;
        if (problem)
            *problem = why;
    }
    if (std::optional<LaneTable> table = shippedLaneTable(group, lanes))
        return *table;
    return centreOutTable(lanes);
}

std::optional<qint64> seedMarkValue(ResultKind kind, TimeFormat format, QStringView mark, bool *unreadable)
{
    // Results are read leniently (a leading number per part), which would make "1:02.5" a time
    // of 1.50 and seed a 400 m runner first: a time mark holds digits and its separators only.
    const bool foreign = kind == ResultKind::Time && std::any_of(mark.begin(), mark.end(), [](QChar c) {
                             return !(c.isDigit() || c == u'.' || c == u',' || c == u' ');
                         });
    const std::optional<qint64> value = foreign ? std::nullopt : resultValue(kind, format, mark);
    if (unreadable)
        *unreadable =
            !value && (foreign ? std::any_of(mark.begin(), mark.end(), [](QChar c) { return c.isDigit(); })
                               : isUnreadableResult(kind, format, mark));
    return value;
}

Ranking rankByMark(const QList<SeedEntrant> &entrants, ResultKind kind, TimeFormat format,
                   bool higherIsBetter, DrawRandom &random)
{
    struct Ranked {
        int id;
        std::optional<qint64> value;
    };
    QList<Ranked> list;
    list.reserve(entrants.size());
    Ranking ranking;
    for (const SeedEntrant &e : entrants) {
        bool unreadable = false;
        const std::optional<qint64> value = seedMarkValue(kind, format, e.mark, &unreadable);
        if (!value) {
            ++ranking.withoutMark;
            if (unreadable)
                ranking.unreadable << e.id;
        }
        list.append({e.id, value});
    }
    // The draw first, then a stable sort: equal marks and missing ones stay in drawn order.
    random.shuffle(list);
    std::stable_sort(list.begin(), list.end(), [higherIsBetter](const Ranked &a, const Ranked &b) {
        if (!a.value || !b.value)
            return a.value.has_value() && !b.value.has_value();
        return higherIsBetter ? *a.value > *b.value : *a.value < *b.value;
    });
    ranking.order.reserve(list.size());
    for (const Ranked &r : list)
        ranking.order << r.id;
    return ranking;
}

QList<int> zigzagHeats(int count, int heats)
{
    QList<int> heatOf;
    if (heats < 1)
        return QList<int>(std::max(count, 0), 0);
    heatOf.reserve(count);
    for (int r = 0; r < count; ++r) {
        const int pass = r / heats, at = r % heats;
        heatOf << (pass % 2 == 0 ? at : heats - 1 - at);
    }
    return heatOf;
}

SeedPlan seedHeats(const QList<int> &ranked, int lanes, const LaneTable &table, int heats, DrawRandom &random)
{
    SeedPlan plan;
    const int count = int(ranked.size());
    if (lanes < 1) {
        for (int id : ranked)
            plan.placements.append({id, 0, 0});
        if (count > 0)
            plan.notices.append({Text::SeedNoLanes, {}});
        return plan;
    }
    const int needed = (count + lanes - 1) / lanes;
    if (heats > 0 && heats < needed)
        plan.notices.append({Text::SeedTooFewHeats,
                             {QString::number(heats), QString::number(count), QString::number(lanes),
                              QString::number(needed)}});
    plan.heats = std::max(heats > 0 && heats >= needed ? std::min(heats, std::max(count, 1)) : needed, 0);
    LaneTable use = table;
    if (!fits(table, lanes)) {
        if (!table.groups.isEmpty())
            plan.notices.append({Text::LaneTableUnfit, {QString::number(lanes)}});
        use = centreOutTable(lanes);
    }
    const QList<int> heatOf = zigzagHeats(count, plan.heats);
    QList<QList<int>> members(plan.heats);
    for (int r = 0; r < count; ++r)
        members[heatOf[r]] << ranked[r];
    plan.placements.reserve(count);
    for (int h = 0; h < plan.heats; ++h) {
        const QList<int> &inHeat = members[h]; // best ranked first
        QList<Placement> placed;
        qsizetype next = 0;
        for (const QList<int> &group : use.groups) {
            if (next >= inHeat.size())
                break;
            QList<int> lanesOfGroup = group;
            random.shuffle(lanesOfGroup);
            for (qsizetype i = 0; i < lanesOfGroup.size() && next < inHeat.size(); ++i)
                placed.append({inHeat[next++], h + 1, lanesOfGroup[i]});
        }
        std::sort(placed.begin(), placed.end(),
                  [](const Placement &a, const Placement &b) { return a.lane < b.lane; });
        plan.placements << placed;
    }
    return plan;
}

} // namespace arenor::events
