#include "CombinedEvents.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace arenor::events {

namespace {

std::optional<Sex> sexOf(const QString &t)
{
    if (t == u"M")
        return Sex::Men;
    if (t == u"W")
        return Sex::Women;
    return std::nullopt;
}

std::optional<Venue> venueOf(const QString &t)
{
    if (t == u"outdoor")
        return Venue::Outdoor;
    if (t == u"indoor")
        return Venue::Indoor;
    return std::nullopt;
}

std::optional<ScoringKind> kindOf(const QString &t)
{
    if (t == u"track")
        return ScoringKind::Track;
    if (t == u"jump")
        return ScoringKind::Jump;
    if (t == u"throw")
        return ScoringKind::Throw;
    return std::nullopt;
}

// A name as aliases compare it: lower case without blanks and "_".
QString plainName(QString name)
{
    name = name.toLower();
    name.remove(u' ');
    name.remove(u'_');
    return name;
}

} // namespace

std::optional<ScoringTable> ScoringTable::parse(const QString &text, QString *error)
{
    ScoringTable table;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t', Qt::SkipEmptyParts);
        bool ok = false;
        if (f[0] == u"source" && f.size() == 2) {
            table.m_source = f[1];
            ok = true;
        } else if (f[0] == u"combined" && f.size() > 4) {
            const auto sex = sexOf(f[1]);
            const auto venue = venueOf(f[2]);
            ok = sex && venue;
            if (ok) {
                CombinedDefinition d{f[3], *sex, *venue, f.mid(4)};
                for (const QString &e : d.events)
                    ok = ok && table.find(e, *sex, *venue);
                table.m_definitions.append(d);
            }
        } else if (f[0] == u"alias" && f.size() > 2) {
            for (const QString &name : f.mid(2))
                table.m_aliases.insert(plainName(name), f[1]);
            ok = true;
        } else if (f.size() == 8) {
            const auto sex = sexOf(f[0]);
            const auto venue = venueOf(f[1]);
            const auto kind = kindOf(f[3]);
            bool okA = false, okB = false, okC = false, okH = false;
            ScoringEvent e{f[2],
                           sex.value_or(Sex::Men),
                           venue.value_or(Venue::Outdoor),
                           kind.value_or(ScoringKind::Track),
                           f[4].toDouble(&okA),
                           f[5].toDouble(&okB),
                           f[6].toDouble(&okC),
                           int(std::lround(f[7].toDouble(&okH) * 100))};
            ok = sex && venue && kind && okA && okB && okC && okH && e.a > 0 && e.b >= 0 && e.c > 0 &&
                 !table.find(e.code, e.sex, e.venue);
            table.m_events.append(e);
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(n + 1).arg(line);
            return std::nullopt;
        }
    }
    if (table.m_source.isEmpty()) {
        if (error)
            *error = QStringLiteral("no source line");
        return std::nullopt;
    }
    return table;
}

const ScoringTable &ScoringTable::builtIn()
{
    static const ScoringTable table = [] {
        QFile file(QStringLiteral(":/events/CombinedScoring.txt"));
        QString error;
        std::optional<ScoringTable> t;
        if (file.open(QIODevice::ReadOnly))
            t = parse(QString::fromUtf8(file.readAll()), &error);
        // The file is built into the program: a broken one is a build fault, caught by the tests.
        return t.value_or(ScoringTable{});
    }();
    return table;
}

const ScoringEvent *ScoringTable::find(const QString &code, Sex sex, Venue venue) const
{
    for (const ScoringEvent &e : m_events) {
        if (e.sex == sex && e.venue == venue && e.code.compare(code, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

QString ScoringTable::codeForEventName(const QString &name) const
{
    const QString plain = plainName(name);
    if (const auto it = m_aliases.constFind(plain); it != m_aliases.cend())
        return *it;
    for (const ScoringEvent &e : m_events) {
        if (plainName(e.code) == plain)
            return e.code;
    }
    return {};
}

int combinedPoints(const ScoringEvent &event, const CombinedMark &mark)
{
    if (!mark.value || *mark.value <= 0)
        return 0;
    double x = 0;
    switch (event.kind) {
    case ScoringKind::Track:
        x = event.b - double(*mark.value + (mark.handTimed ? event.handAdjust : 0)) / 100.0;
        break;
    case ScoringKind::Jump:
        x = double(*mark.value) - event.b;
        break;
    case ScoringKind::Throw:
        x = double(*mark.value) / 100.0 - event.b;
        break;
    }
    if (!(x > 0))
        return 0;
    // The tables were computed in floating point and cut: a hair of tolerance keeps a value
    // that is a whole number on paper from falling one point short.
    const double points = std::floor(event.a * std::pow(x, event.c) + 1e-9);
    return points > 0 && points < 1e7 ? int(points) : 0;
}

CombinedMark combinedMark(const ScoringEvent &event, QStringView text, TimeFormat format, bool handTimed)
{
    CombinedMark mark;
    mark.handTimed = handTimed && event.kind == ScoringKind::Track;
    if (event.kind == ScoringKind::Track) {
        const std::optional<qint64> v = resultValue(ResultKind::Time, format, text);
        if (v)
            mark.value = format == TimeFormat::HoursMinutesSeconds ? *v * 100 : *v;
    } else {
        const std::optional<qint64> v = resultValue(ResultKind::Number, format, text);
        if (v && *v > 0)
            mark.value = *v / 10000; // millionths of a metre to whole centimetres, as measured
    }
    return mark;
}

QList<CombinedLine> scoreCombined(const QList<ScoringEvent> &events, const QList<QList<CombinedMark>> &marks)
{
    const qsizetype n = marks.size();
    QList<CombinedLine> lines(n);
    for (qsizetype c = 0; c < n; ++c) {
        CombinedLine &line = lines[c];
        line.points.reserve(events.size());
        line.running.reserve(events.size());
        for (qsizetype e = 0; e < events.size(); ++e) {
            const CombinedMark mark = e < marks[c].size() ? marks[c][e] : CombinedMark{};
            if (!mark.value)
                line.noMark.append(int(e));
            line.total += combinedPoints(events[e], mark);
            line.points.append(line.total - (line.running.isEmpty() ? 0 : line.running.last()));
            line.running.append(line.total);
        }
    }
    QList<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lines[a].total > lines[b].total; });
    for (qsizetype i = 0; i < n;) {
        qsizetype j = i + 1;
        while (j < n && lines[order[j]].total == lines[order[i]].total)
            ++j;
        for (qsizetype k = i; k < j; ++k) {
            lines[order[k]].place = int(i) + 1;
            lines[order[k]].tied = j - i > 1;
        }
        i = j;
    }
    return lines;
}

QString noMarkNote(const QList<ScoringEvent> &events, const CombinedLine &line, Language language)
{
    if (line.noMark.isEmpty())
        return {};
    QStringList codes;
    for (int e : line.noMark)
        codes.append(e < events.size() ? events[e].code : QString::number(e + 1));
    return (language == Language::Norwegian ? QStringLiteral("Uten resultat i %1: 0 poeng")
                                            : QStringLiteral("No mark in %1: 0 points"))
        .arg(codes.join(QStringLiteral(", ")));
}

} // namespace arenor::events
