#include "ListSort.h"

#include "base/Convert.h"
#include "base/Progress.h"
#include "base/TextFile.h"
#include "events/GridList.h"
#include "events/GridSort.h"
#include "events/ResultArithmetic.h"
#include "lists/ListOutput.h"
#include "lists/ListText.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace arenor::lists {

using events::ResultKind;
using events::TimeFormat;

namespace {

// The engine's table holds three rows per competitor of the register.
constexpr int kMaxRows = 3 * kMaxPersons;
// A list's header block (title, meet lines, event line, column header) is never longer.
constexpr int kMaxHeaderLines = 15;
constexpr int kHeatShift = 22;
constexpr int kRelayShift = 7;
constexpr int kStandardWidth = 82;

bool isRuler(const QString &line)
{
    return line.startsWith(u'=');
}

QStringView rightTrimmed(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

// Characters first..last of a line with the blanks after them cut: the field as it was
// printed, leading blanks kept, so a number printed with its sign blank stays where it was.
QStringView rawField(QStringView line, int first, int last)
{
    return rightTrimmed(characterMid(line, first - 1, last - first + 1));
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

// One data row of a list: views of its fields in the lines read (they outlive the rows), and
// what the sort fills in.
struct Row {
    QStringView heat, lane, number, name, club, result, oldDifference;
    QStringView tail; // everything after the row's closing separator (a step list's out/in times)
    QStringView line; // the row as read (time schedule rows, and rows the sort cannot read, stay whole)
    QString heatPlace, place, difference;
    std::optional<qint64> value;
};

// How a list file is laid out, as far as the sort cares.
struct Layout {
    int shift = 0; // 0 standard, 22 heat, 7 relay
    bool heat() const { return shift == kHeatShift; }
    bool relay() const { return shift == kRelayShift; }
    int width() const { return kStandardWidth + shift; }
};

Row readRow(QStringView line, const Layout &layout)
{
    const int d = layout.shift;
    Row row;
    if (layout.heat()) {
        row.heat = rawField(line, 3, 7);
        row.lane = rawField(line, 10, 14);
    } else if (layout.relay()) {
        row.lane = rawField(line, 3, 7);
    }
    row.number = rawField(line, 11 + d, 16 + d);
    row.name = rawField(line, 19 + d, 44 + d);
    row.club = rawField(line, 47 + d, 59 + d);
    row.result = characterMid(line, 60 + d, 10).trimmed();
    row.oldDifference = rawField(line, 73 + d, 81 + d);
    row.tail = characterMid(line, layout.width());
    row.line = line;
    return row;
}

// Whether writing the row again keeps anything of it. A row with text only where the sort
// writes its own columns (or nowhere it reads) would come out blank, and a blank line is no
// row the next time: such a row is written back as it was read.
bool keepsContent(const Row &row, bool differences)
{
    for (QStringView field : {row.heat, row.lane, row.number, row.name, row.club, row.result, row.tail})
        if (!isBlank(field))
            return true;
    return !differences && !isBlank(row.oldDifference);
}

// Copies a text into cells of one character each, from cell `at` on, never past `end`.
void putCharacters(std::vector<char32_t> &cells, qsizetype at, qsizetype end, QStringView text)
{
    for (qsizetype i = 0; i < text.size() && at < end; ++at) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cells[size_t(at)] = QChar::surrogateToUcs4(text[i], text[i + 1]);
            i += 2;
        } else {
            cells[size_t(at)] = text[i].unicode();
            ++i;
        }
    }
}

// A row at the positions of the event list: a line of blanks of the layout's width with each
// field copied to its column (never past the closing separator), then the separators.
QString writeRow(const Row &row, const Layout &layout, bool separators, bool differences)
{
    if (!keepsContent(row, differences))
        return row.line.toString();
    const int d = layout.shift;
    const int width = layout.width();
    // One cell per print position, so a character outside the basic plane takes one position.
    std::vector<char32_t> cells(size_t(width), U' ');
    auto put = [&](int column, QStringView text) { putCharacters(cells, column - 1, width - 1, text); };
    if (layout.heat()) {
        put(3, row.heat);
        put(10, row.lane);
        put(17, row.heatPlace);
    } else if (layout.relay()) {
        put(3, row.lane);
    }
    put(3 + d, row.place);
    put(11 + d, row.number);
    put(19 + d, row.name);
    put(47 + d, row.club);
    // A result of the column's full ten characters starts one early, as it was read.
    put(characterCount(row.result) < 10 ? 62 + d : 61 + d, row.result);
    put(73 + d, differences ? QStringView(row.difference) : row.oldDifference);
    if (separators) {
        for (int column : {1, 9 + d, 17 + d, 45 + d, 60 + d, 71 + d, 82 + d})
            cells[size_t(column - 1)] = U':';
        if (layout.heat() || layout.relay())
            cells[7] = U':';
        if (layout.heat())
            cells[14] = cells[22] = U':';
    }
    QString line = QString::fromUcs4(cells.data(), qsizetype(cells.size()));
    line.append(row.tail);
    return line;
}

// A date as typed in the event setup ("2026.06.14", "14.06.2026", "14.06.26") as yyyymmdd;
// a text without digits sorts after every date.
qint64 dateKey(QStringView text)
{
    QList<qint64> parts;
    QList<int> digits;
    qint64 value = -1;
    int count = 0;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128) {
            value = std::max<qint64>(value, 0) * 10 + (c.unicode() - u'0');
            if (value > 99999999)
                value = 99999999;
            ++count;
        } else if (value >= 0) {
            parts << value;
            digits << count;
            value = -1;
            count = 0;
        }
    }
    if (value >= 0) {
        parts << value;
        digits << count;
    }
    if (parts.isEmpty())
        return std::numeric_limits<qint64>::max();
    if (parts.size() < 3)
        return parts.size() == 2 ? parts[1] * 100 + parts[0] : parts[0];
    qint64 year = parts[2], month = parts[1], day = parts[0];
    if (digits[0] >= 4)
        std::swap(year, day);
    if (year < 100)
        year += 2000;
    return (year * 100 + month) * 100 + day;
}

// A start time "12.30" or "12:30" in minutes; the default "00.00" and a blank are no time.
std::optional<qint64> timeKey(QStringView text)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty() || t == u"00.00")
        return std::nullopt;
    qsizetype split = t.indexOf(u'.');
    if (split < 0)
        split = t.indexOf(u':');
    const qint64 hours = toInteger(t.left(split < 0 ? t.size() : split), 0, 100000);
    const qint64 minutes = split < 0 ? 0 : toInteger(t.mid(split + 1), 0, 100000);
    return hours * 60 + minutes;
}

enum class Outcome { Sorted, NoHeat };

// Places by performance: best value 1, equal values share (1, 2, 2, 4), no value no place.
// Fills the place field of the rows of one group (indices into rows).
void fillPlaces(QList<Row> &rows, QList<int> group, bool lowerIsBetter, QString Row::*place)
{
    group.erase(std::remove_if(group.begin(), group.end(), [&](int i) { return !rows[i].value; }),
                group.end());
    std::stable_sort(group.begin(), group.end(), [&](int a, int b) {
        return lowerIsBetter ? *rows[a].value < *rows[b].value : *rows[a].value > *rows[b].value;
    });
    for (int k = 0; k < group.size(); ++k) {
        const int shared = k > 0 && *rows[group[k]].value == *rows[group[k - 1]].value
                               ? int(toInteger(rows[group[k - 1]].*place))
                               : k + 1;
        rows[group[k]].*place = numberText(qint64(shared));
    }
}

struct SortRequest {
    int sortCode;
    ResultKind kind;
    TimeFormat format; // the event's, for times
    bool lowerIsBetter;
    bool dropBlank;
};

// Fills places and differences and gives the order the rows are shown in; unreadable gets the
// message naming the results the time format cannot read (empty when there are none).
Outcome sortRows(AppState &state, QList<Row> &rows, const Layout &layout, const SortRequest &request,
                 int &dropped, QList<int> &order, QString &unreadable)
{
    if (request.sortCode == SortByHeat &&
        (!layout.heat() ||
         std::all_of(rows.begin(), rows.end(), [](const Row &r) { return isBlank(r.heat); })))
        return Outcome::NoHeat;

    const qsizetype before = rows.size();
    if (request.dropBlank)
        rows.removeIf([](const Row &r) { return r.result.isEmpty(); });
    dropped = int(before - rows.size());

    const TimeFormat format = request.format;
    QStringList numbers;
    for (Row &row : rows) {
        row.value = events::resultValue(request.kind, format, row.result);
        if (events::isUnreadableResult(request.kind, format, row.result))
            numbers << row.number.trimmed().toString();
    }
    unreadable = events::unreadableResultsText(state.texts.messageLanguage(), format, numbers);

    // Better first, rows without a value last; equal rows keep their order.
    auto better = [&](const Row &a, const Row &b) {
        if (!a.value || !b.value)
            return a.value.has_value() && !b.value.has_value();
        return request.lowerIsBetter ? *a.value < *b.value : *a.value > *b.value;
    };
    auto byValue = [](bool ascending) {
        return [ascending](const Row &a, const Row &b) {
            if (!a.value || !b.value)
                return a.value.has_value() && !b.value.has_value();
            return ascending ? *a.value < *b.value : *a.value > *b.value;
        };
    };
    // Indices are sorted rather than rows, so no row moves.
    order.resize(rows.size());
    std::iota(order.begin(), order.end(), 0);
    auto sortBy = [&](auto less) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(rows[a], rows[b]); });
    };
    switch (request.sortCode) {
    case SortIncreasing:
        sortBy(byValue(true));
        break;
    case SortDecreasing:
        sortBy(byValue(false));
        break;
    case SortByName:
    case SortByClub: {
        // A relay team's club stands in the name column (its class in the club column).
        const bool byName = request.sortCode == SortByName || layout.relay();
        QList<QString> keys;
        keys.reserve(rows.size());
        for (const Row &row : std::as_const(rows))
            keys.append(events::norwegianKey((byName ? row.name : row.club).toString()));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
        break;
    }
    case SortByNumber:
    case SortByHeat: {
        QList<double> keys;
        keys.reserve(rows.size());
        for (const Row &row : std::as_const(rows))
            keys.append(toDouble((request.sortCode == SortByNumber ? row.number : row.heat).toString()));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[a] != keys[b] ? keys[a] < keys[b]
                                      : request.sortCode == SortByHeat && better(rows[a], rows[b]);
        });
        break;
    }
    default:
        break;
    }

    // Places and differences follow performance, whatever order the rows are shown in.
    fillPlaces(rows, order, request.lowerIsBetter, &Row::place);
    if (layout.heat()) {
        QMap<QString, QList<int>> heats;
        for (int i = 0; i < rows.size(); ++i) {
            if (!isBlank(rows[i].heat))
                heats[rows[i].heat.trimmed().toString()].append(i);
        }
        for (const QList<int> &heat : std::as_const(heats))
            fillPlaces(rows, heat, request.lowerIsBetter, &Row::heatPlace);
    }
    if (state.option(OptDifferences)) {
        std::optional<qint64> best;
        for (const Row &row : rows)
            if (row.value && (!best || (request.lowerIsBetter ? *row.value < *best : *row.value > *best)))
                best = row.value;
        for (Row &row : rows) {
            if (!row.value || !best)
                row.difference.clear();
            else
                row.difference = events::resultText(
                    request.kind, format, request.lowerIsBetter ? *row.value - *best : *best - *row.value);
        }
    }
    return Outcome::Sorted;
}

// Time schedule rows by date, then start time; rows without a time last, equal keys in event order.
void sortSchedule(QList<Row> &rows)
{
    struct Key {
        bool timed;
        qint64 date;
        qint64 minutes;
    };
    QList<std::pair<Key, int>> keys;
    keys.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const std::optional<qint64> minutes = timeKey(field(rows[i].line, 67, 72));
        keys.append({{minutes.has_value(), dateKey(field(rows[i].line, 54, 64)), minutes.value_or(0)}, i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) {
        const Key &x = a.first, &y = b.first;
        if (x.timed != y.timed)
            return x.timed;
        if (x.date != y.date)
            return x.date < y.date;
        return x.minutes < y.minutes;
    });
    QList<Row> sorted;
    sorted.reserve(rows.size());
    for (const auto &key : keys)
        sorted.append(std::move(rows[key.second]));
    rows = std::move(sorted);
}

struct SortOutcome {
    Status status;
    bool sorted = false;
};

SortOutcome sortListFile(AppState &state, const QString &path, int sortCode, int category, TimeFormat format,
                         int selector, bool announce)
{
    const QString name = QFileInfo(path).fileName();
    if (selector < SortResultList || selector > SortTimeSchedule ||
        (selector != SortTimeSchedule && (sortCode < SortIncreasing || sortCode > SortByHeat)))
        return {Status::failure(state.texts.message(Text::SortUnknownOrder).arg(sortCode))};
    bool readOk = false;
    const QStringList lines = QFile::exists(path) ? readTextLines(path, &readOk) : QStringList();
    if (!readOk)
        return {Status::failure(path + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable))};

    // The header block ends with the first "=" ruler; for a result list, the first one after the
    // column header, so a meet header whose rulers were made of "=" by hand still reads.
    const qsizetype scanned = std::min<qsizetype>(lines.size(), kMaxHeaderLines);
    Layout layout;
    qsizetype columnLine = -1;
    if (selector == SortResultList) {
        for (qsizetype i = 0; i < scanned && columnLine < 0; ++i) {
            const int shift = layoutShift(lines[i]);
            if (shift != kNoLayout) {
                layout.shift = shift;
                columnLine = i;
            }
        }
        if (columnLine < 0)
            return {Status::failure(state.texts.message(Text::SortNoColumns).arg(name))};
    }
    qsizetype headerEnd = -1;
    for (qsizetype i = columnLine + 1; i < scanned && headerEnd < 0; ++i)
        if (isRuler(lines[i]))
            headerEnd = i;
    if (headerEnd < 0)
        return {Status::failure(state.texts.message(Text::SortNoRuler).arg(name))};

    qsizetype rowsEnd = headerEnd + 1;
    while (rowsEnd < lines.size() && !isRuler(lines[rowsEnd]))
        ++rowsEnd;
    if (rowsEnd - headerEnd - 1 > kMaxRows)
        return {
            Status::failure(state.texts.message(Text::SortTooManyRows).arg(name, QString::number(kMaxRows)))};

    QList<Row> rows;
    rows.reserve(rowsEnd - headerEnd - 1);
    for (qsizetype i = headerEnd + 1; i < rowsEnd; ++i) {
        if (isBlank(lines[i]))
            continue; // an empty line is no competitor
        if (selector == SortTimeSchedule) {
            Row row;
            row.line = lines[i];
            rows.append(std::move(row));
        } else {
            rows.append(readRow(lines[i], layout));
        }
    }

    QStringList out = lines.mid(0, headerEnd + 1);
    int dropped = 0;
    QString unreadable;
    // A step list is read as a standard one; its closing ruler keeps the width of its header's.
    int width = layout.width();
    if (selector == SortTimeSchedule) {
        sortSchedule(rows);
        width =
            int(std::clamp<qsizetype>(characterCount(rightTrimmed(lines[headerEnd])), kStandardWidth, 200));
        if (headerEnd >= 3)
            out[headerEnd - 3] = QStringLiteral("Sortert etter tid");
        for (const Row &row : std::as_const(rows))
            out << row.line.toString();
    } else {
        const bool points = selector == SortPointsList;
        const bool run = category == 2 && !points;
        const SortRequest request{sortCode, run ? ResultKind::Time : ResultKind::Number, format, run,
                                  points || sortCode == SortIncreasing || sortCode == SortDecreasing};
        QList<int> order;
        if (sortRows(state, rows, layout, request, dropped, order, unreadable) == Outcome::NoHeat) {
            state.inform(14);
            return {};
        }
        if (layout.shift == 0)
            width = int(std::clamp<qsizetype>(characterCount(rightTrimmed(lines[headerEnd])), width, 200));
        const bool separators = state.option(OptSeparators);
        const bool differences = state.option(OptDifferences);
        out.reserve(out.size() + rows.size() + 2);
        for (int i : std::as_const(order))
            out << writeRow(rows[i], layout, separators, differences);
    }
    out << ruler(u'=', width);
    out << lines.mid(rowsEnd + 1);
    if (Status s = writeTextFile(path, out); !s)
        return {s};
    if (announce) {
        ListDocument document = classifiedList(out);
        document.kind = selector == SortTimeSchedule ? QStringLiteral("schedule")
                        : selector == SortPointsList ? QStringLiteral("points")
                                                     : QStringLiteral("class");
        document.title = selector == SortResultList ? out.value(6).trimmed() : out.value(0).trimmed();
        announceList(state, path, std::move(document));
    }
    if (dropped > 0)
        state.informText(numberText(qint64(dropped)) + state.texts.message(15), Icon::Exclamation);
    if (!unreadable.isEmpty())
        state.informText(unreadable, Icon::Exclamation);
    return {{}, true};
}

} // namespace

Status SortListFile(AppState &state, const QString &path, int sortCode, int category, TimeFormat format,
                    int selector, bool announce)
{
    return sortListFile(state, path, sortCode, category, format, selector, announce).status;
}

bool sortClassListCommand(AppState &state, const events::GridContext &context, int sortCode)
{
    const QString path = events::classListPath(state, context.selection);
    if (!QFile::exists(path)) {
        state.inform(4, Icon::Exclamation);
        return false;
    }
    if (!events::CheckListHeading(path, context.selection))
        state.inform(23, Icon::Exclamation);
    SortOutcome outcome;
    {
        BusyScope busy(state.progressSink());
        outcome =
            sortListFile(state, path, sortCode, context.run ? 2 : 1, context.format, SortResultList, true);
    }
    if (!outcome.status) {
        state.informText(outcome.status.error(), Icon::Exclamation);
        return false;
    }
    return outcome.sorted;
}

} // namespace arenor::lists
