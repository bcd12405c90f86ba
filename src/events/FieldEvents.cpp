#include "FieldEvents.h"

#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <numeric>

namespace arenor::events {

namespace {

constexpr qsizetype kLongestText = 12; // no attempt, wind or height is longer; shown cut beyond
constexpr int kMostCentimetres = 99999;

QString say(Language language, const char *norwegian, const char *english)
{
    return QString::fromUtf8(language == Language::Norwegian ? norwegian : english);
}

// The typed text as a message quotes it: cut short, so a pasted page does not fill the box.
QString quoted(QStringView text)
{
    const QString t = text.trimmed().toString();
    return t.size() > kLongestText ? t.first(kLongestText) + QStringLiteral("\u2026") : t;
}

// Metres with up to two decimals after "." or "," as whole centimetres; nullopt otherwise.
std::optional<int> centimetres(QStringView text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})(?:[.,](\\d{1,2}))?$"));
    const auto match = pattern.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    int value = match.capturedView(1).toInt() * 100;
    const QStringView decimals = match.capturedView(2);
    if (!decimals.isEmpty())
        value += decimals.toInt() * (decimals.size() == 1 ? 10 : 1);
    return value;
}

QString centimetresText(int cm)
{
    return QStringLiteral("%1.%2").arg(cm / 100).arg(cm % 100, 2, 10, QLatin1Char('0'));
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Places over competitors sorted best first, where equal(a, b) tells a tie and ranked(i) whether
// competitor i gets a place at all (the unranked are sorted last).
template <typename Equal>
QList<FieldPlace> placesInOrder(const QList<int> &order, qsizetype count, Equal equal,
                                const QList<bool> &ranked)
{
    QList<FieldPlace> places(count);
    for (qsizetype i = 0; i < order.size();) {
        if (!ranked[order[i]])
            break;
        qsizetype j = i + 1;
        while (j < order.size() && ranked[order[j]] && equal(order[i], order[j]))
            ++j;
        for (qsizetype k = i; k < j; ++k)
            places[order[k]] = {int(i) + 1, j - i > 1, false};
        i = j;
    }
    return places;
}

} // namespace

FieldEventKind fieldEventKindOf(const QString &eventName)
{
    const QString n = eventName.toLower();
    auto any = [&n](std::initializer_list<const char *> words) {
        return std::any_of(words.begin(), words.end(),
                           [&n](const char *w) { return n.contains(QString::fromUtf8(w)); });
    };
    FieldEventKind kind;
    kind.vertical = any({"høyde", "hoyde", "stav", "high", "pole"});
    kind.wind = !kind.vertical && any({"lengde", "tresteg", "long", "triple", "lj", "tj"});
    return kind;
}

// ---- Horizontal jumps and throws ------------------------------------------------------------

std::optional<Attempt> parseAttempt(QStringView text, Language language, QString *error)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return Attempt{};
    if (t.size() == 1) {
        switch (t[0].toLower().unicode()) {
        case u'x':
            return Attempt{AttemptKind::Foul, 0, {}};
        case u'-':
            return Attempt{AttemptKind::Pass, 0, {}};
        case u'r':
            return Attempt{AttemptKind::Retired, 0, {}};
        default:
            break;
        }
    }
    if (t.size() <= kLongestText) {
        if (const std::optional<int> cm = centimetres(t)) {
            if (*cm > 0)
                return Attempt{AttemptKind::Mark, *cm, {}};
            fail(error, say(language, "0 er ikke et merke: skriv x for et ugyldig forsøk.",
                            "0 is no mark: type x for a foul."));
            return std::nullopt;
        }
    }
    const bool hasDigit = std::any_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    if (hasDigit && t.size() <= kLongestText) {
        fail(error,
             say(language,
                 "\"%1\" er ikke et merke: skriv meter med høyst to desimaler og uten enhet, som 7,35.",
                 "\"%1\" is no mark: type metres with at most two decimals and no unit, such as 7.35.")
                 .arg(quoted(t)));
        return std::nullopt;
    }
    fail(error,
         say(language,
             "\"%1\" er ikke et forsøk: skriv ett forsøk i hver rute, et merke som 7,35, x (ugyldig), - "
             "(står over) eller r (trukket seg).",
             "\"%1\" is no attempt: type one attempt per cell, a mark such as 7.35, x (foul), - (pass) or r "
             "(retired).")
             .arg(quoted(t)));
    return std::nullopt;
}

QString attemptText(const Attempt &attempt)
{
    switch (attempt.kind) {
    case AttemptKind::Mark:
        return centimetresText(attempt.mark);
    case AttemptKind::Foul:
        return QStringLiteral("x");
    case AttemptKind::Pass:
        return QStringLiteral("-");
    case AttemptKind::Retired:
        return QStringLiteral("r");
    case AttemptKind::None:
        break;
    }
    return {};
}

std::optional<int> parseWind(QStringView text, Language language, QString *error)
{
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)(\\d{1,2})(?:[.,](\\d))?$"));
    const QStringView t = text.trimmed();
    const auto match = t.size() <= kLongestText ? pattern.match(t.toString()) : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        fail(error,
             say(language, "\"%1\" er ingen vind: skriv m/s med høyst én desimal, som +1,2 eller -0,4.",
                 "\"%1\" is no wind: type m/s with at most one decimal, such as +1.2 or -0.4.")
                 .arg(quoted(t)));
        return std::nullopt;
    }
    const int tenths = match.capturedView(2).toInt() * 10 + match.capturedView(3).toInt();
    return match.capturedView(1) == u"-" ? -tenths : tenths;
}

QString windText(int tenths)
{
    const int a = std::abs(tenths);
    return QStringLiteral("%1%2.%3").arg(QChar(tenths < 0 ? u'-' : u'+')).arg(a / 10).arg(a % 10);
}

QList<int> validMarksBestFirst(const QList<Attempt> &series)
{
    QList<int> marks;
    for (const Attempt &a : series) {
        if (a.kind == AttemptKind::Mark)
            marks.append(a.mark);
    }
    std::sort(marks.begin(), marks.end(), std::greater<>());
    return marks;
}

std::optional<Attempt> bestAttempt(const QList<Attempt> &series)
{
    std::optional<Attempt> best;
    for (const Attempt &a : series) {
        if (a.kind == AttemptKind::Mark && (!best || a.mark > best->mark))
            best = a;
    }
    return best;
}

namespace {

int compareMarks(const QList<int> &a, const QList<int> &b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i])
            return a[i] > b[i] ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() > b.size() ? -1 : 1);
}

} // namespace

int compareSeries(const QList<Attempt> &a, const QList<Attempt> &b)
{
    return compareMarks(validMarksBestFirst(a), validMarksBestFirst(b));
}

QList<FieldPlace> horizontalPlaces(const QList<QList<Attempt>> &series, int rounds)
{
    const qsizetype n = series.size();
    QList<QList<int>> marks(n);
    QList<bool> ranked(n);
    for (qsizetype i = 0; i < n; ++i) {
        marks[i] = validMarksBestFirst(
            rounds > 0 ? series[i].first(std::min<qsizetype>(rounds, series[i].size())) : series[i]);
        ranked[i] = !marks[i].isEmpty();
    }
    QList<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compareMarks(marks[a], marks[b]) < 0; });
    return placesInOrder(
        order, n, [&](int a, int b) { return marks[a] == marks[b]; }, ranked);
}

QList<bool> finalists(const QList<QList<Attempt>> &series, int count)
{
    if (series.size() <= count)
        return QList<bool>(series.size(), true);
    const QList<FieldPlace> places = horizontalPlaces(series, 3);
    QList<bool> in(series.size());
    for (qsizetype i = 0; i < series.size(); ++i)
        in[i] = places[i].place > 0 && places[i].place <= count;
    return in;
}

QList<int> finalRoundsOrder(const QList<QList<Attempt>> &series, int count)
{
    const QList<FieldPlace> places = horizontalPlaces(series, 3);
    const QList<bool> in = finalists(series, count);
    QList<int> order;
    for (qsizetype i = 0; i < series.size(); ++i) {
        if (in[i])
            order.append(int(i));
    }
    auto key = [&](int i) { return places[i].place == 0 ? INT_MAX : places[i].place; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) > key(b); });
    return order;
}

// ---- Vertical jumps ----------------------------------------------------------------------

std::optional<HeightCell> parseHeightCell(QStringView text, Language language, QString *error)
{
    static const QRegularExpression pattern(QStringLiteral("^(x{0,3})(o|-)?$"));
    const QString t = text.trimmed().toString().toLower();
    if (t.size() <= 4) {
        const auto match = pattern.match(t);
        const qsizetype failures = match.capturedLength(1);
        const QString end = match.captured(2);
        if (match.hasMatch() && (failures < 3 || end.isEmpty()))
            return HeightCell{int(failures), end == u"o", end == u"-"};
    }
    if (t.contains(u' ') && t.size() <= kLongestText) {
        fail(error, say(language, "Skriv forsøkene på én høyde uten mellomrom: xxo, ikke \"%1\".",
                        "Type the attempts at one height without blanks: xxo, not \"%1\".")
                        .arg(quoted(t)));
        return std::nullopt;
    }
    fail(error,
         say(language,
             "\"%1\" er ikke forsøk på en høyde: skriv o, xo, xxo (over), x, xx, xxx (riv), - eller x-, xx- "
             "(står over resten).",
             "\"%1\" is no set of attempts at a height: type o, xo, xxo (cleared), x, xx, xxx (failed), - "
             "or x-, xx- (passed the rest).")
             .arg(quoted(t)));
    return std::nullopt;
}

QString heightCellText(const HeightCell &cell)
{
    return QString(cell.failures, u'x') + (cell.cleared  ? QStringLiteral("o")
                                           : cell.passed ? QStringLiteral("-")
                                                         : QString());
}

std::optional<int> parseHeight(QStringView text, Language language, QString *error)
{
    const QStringView t = text.trimmed();
    const std::optional<int> cm = t.size() <= kLongestText ? centimetres(t) : std::nullopt;
    if (cm && *cm > 0 && *cm <= kMostCentimetres)
        return cm;
    fail(error, say(language, "\"%1\" er ingen høyde: skriv meter med to desimaler, som 1,85.",
                    "\"%1\" is no height: type metres with two decimals, such as 1.85.")
                    .arg(quoted(t)));
    return std::nullopt;
}

QString heightText(int centimetres)
{
    return centimetresText(centimetres);
}

QString checkHeightCard(const HeightCard &card, Language language)
{
    for (qsizetype h = 1; h < card.heights.size(); ++h) {
        if (card.heights[h] <= card.heights[h - 1])
            return say(language, "Høydene må stige: %1 kommer etter %2.",
                       "The heights must rise: %1 comes after %2.")
                .arg(heightText(card.heights[h]), heightText(card.heights[h - 1]));
    }
    for (qsizetype c = 0; c < card.cells.size(); ++c) {
        const QList<HeightCell> &row = card.cells[c];
        if (row.size() > card.heights.size())
            return say(language, "Rad %1 har forsøk uten høyde.", "Row %1 has attempts without a height.")
                .arg(c + 1);
        int inRow = 0;
        for (qsizetype h = 0; h < row.size(); ++h) {
            if (inRow >= 3 && !row[h].empty())
                return say(language, "Rad %1 har forsøk på %2 etter tre riv på rad.",
                           "Row %1 has attempts at %2 after three failures in a row.")
                    .arg(c + 1)
                    .arg(heightText(card.heights[h]));
            inRow = row[h].cleared ? 0 : inRow + row[h].failures;
        }
    }
    for (qsizetype c = 0; c < card.jumpOff.size(); ++c) {
        for (const HeightCell &cell : card.jumpOff[c]) {
            if (cell.failures + (cell.cleared ? 1 : 0) > 1 || cell.passed)
                return say(language, "Rad %1: i omhopping har hver ett forsøk per høyde, o eller x.",
                           "Row %1: in a jump-off each has one attempt per height, o or x.")
                    .arg(c + 1);
        }
    }
    return {};
}

VerticalStanding verticalStanding(const HeightCard &card, int competitor)
{
    VerticalStanding s;
    if (competitor < 0 || competitor >= card.cells.size())
        return s;
    const QList<HeightCell> &row = card.cells[competitor];
    int failures = 0;
    for (qsizetype h = 0; h < std::min(row.size(), card.heights.size()); ++h) {
        failures += row[h].failures;
        if (row[h].cleared)
            s = {card.heights[h], row[h].failures, failures};
    }
    return s;
}

QList<FieldPlace> verticalPlaces(const HeightCard &card)
{
    const qsizetype n = card.cells.size();
    QList<VerticalStanding> s(n);
    QList<bool> ranked(n);
    for (qsizetype i = 0; i < n; ++i) {
        s[i] = verticalStanding(card, int(i));
        ranked[i] = s[i].best > 0;
    }
    auto key = [&](int i) { return std::tuple(-s[i].best, s[i].failuresAtBest, s[i].failuresTotal); };
    QList<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    QList<FieldPlace> places = placesInOrder(
        order, n, [&](int a, int b) { return key(a) == key(b); }, ranked);

    // The jump-off among those tied for first: at each height those who clear stay in while
    // someone fails; the ones out at a later height rank above those out earlier.
    QList<int> group;
    for (int i : order) {
        if (places[i].place == 1)
            group.append(i);
    }
    if (group.size() < 2)
        return places;
    QList<QList<int>> out; // sets put out, in the order they went out
    for (qsizetype h = 0; h < card.jumpOffHeights.size() && group.size() > 1; ++h) {
        QList<int> cleared, attempted;
        for (int i : group) {
            const HeightCell cell =
                i < card.jumpOff.size() && h < card.jumpOff[i].size() ? card.jumpOff[i][h] : HeightCell{};
            if (!cell.empty())
                attempted.append(i);
            if (cell.cleared)
                cleared.append(i);
        }
        if (attempted.isEmpty() || cleared.isEmpty() || cleared.size() == group.size())
            continue;
        QList<int> failed;
        for (int i : group) {
            if (!cleared.contains(i))
                failed.append(i);
        }
        out.append(failed);
        group = cleared;
    }
    for (int i : group)
        places[i] = {1, group.size() > 1, group.size() > 1};
    int next = int(group.size()) + 1;
    for (qsizetype k = out.size() - 1; k >= 0; --k) {
        for (int i : out[k])
            places[i] = {next, out[k].size() > 1, false};
        next += int(out[k].size());
    }
    return places;
}

// ---- The card on paper ---------------------------------------------------------------------

QStringList fieldCardLines(const QString &heading, const QStringList &labels,
                           const QList<QList<Attempt>> &series, const HeightCard *card,
                           const QList<FieldPlace> &places, Language language)
{
    const qsizetype n = labels.size();
    QList<QStringList> table(n + 1); // the head, then one row per competitor
    table[0] << QString();
    for (qsizetype i = 0; i < n; ++i)
        table[i + 1] << labels[i];
    if (card) {
        for (int h : card->heights)
            table[0] << heightText(h);
        for (int h : card->jumpOffHeights)
            table[0] << QStringLiteral("J") + heightText(h);
        for (qsizetype i = 0; i < n; ++i) {
            for (int pass = 0; pass < 2; ++pass) {
                const QList<HeightCell> row = (pass == 0 ? card->cells : card->jumpOff).value(i);
                const qsizetype count = (pass == 0 ? card->heights : card->jumpOffHeights).size();
                for (qsizetype h = 0; h < count; ++h)
                    table[i + 1] << heightCellText(row.value(h));
            }
            const int best = verticalStanding(*card, int(i)).best;
            table[i + 1] << (best > 0 ? heightText(best) : QString());
        }
    } else {
        qsizetype attempts = 0;
        for (const QList<Attempt> &s : series)
            attempts = std::max(attempts, s.size());
        for (qsizetype a = 0; a < attempts; ++a)
            table[0] << QString::number(a + 1);
        for (qsizetype i = 0; i < n; ++i) {
            const QList<Attempt> s = series.value(i);
            for (qsizetype a = 0; a < attempts; ++a) {
                const Attempt at = s.value(a);
                QString t = attemptText(at);
                if (at.kind == AttemptKind::Mark && at.wind)
                    t += u'(' + windText(*at.wind) +
                         (*at.wind > kWindLimit ? QStringLiteral("w") : QString()) + u')';
                table[i + 1] << t;
            }
            const std::optional<Attempt> best = bestAttempt(s);
            table[i + 1] << (best ? attemptText(*best) : QString());
        }
    }
    const bool no = language == Language::Norwegian;
    table[0] << (no ? QStringLiteral("Beste") : QStringLiteral("Best"))
             << (no ? QStringLiteral("Plass") : QStringLiteral("Place"));
    for (qsizetype i = 0; i < n; ++i) {
        const FieldPlace p = places.value(i);
        table[i + 1] << (p.place > 0 ? QString::number(p.place) + (p.tied ? QStringLiteral("=") : QString()) +
                                           (p.jumpOff ? QStringLiteral(" J") : QString())
                                     : QString());
    }
    QList<qsizetype> widths(table[0].size());
    for (const QStringList &row : table)
        for (qsizetype c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QStringList lines{heading, QString()};
    for (const QStringList &row : table) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += row[c].leftJustified(widths.value(c) + 2);
        while (line.endsWith(u' '))
            line.chop(1);
        lines << line;
    }
    return lines;
}

} // namespace arenor::events
