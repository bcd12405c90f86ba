#include "MeetLists.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "lists/ListNames.h"
#include "lists/ListOutput.h"
#include "lists/ListSort.h"
#include "lists/ListText.h"
#include "registers/Points.h"
#include "registers/Relay.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

namespace arenor::lists {

namespace {

bool separatorsOn(const AppState &state)
{
    return state.option(OptSeparators);
}

int eventsEntered(const AppState &state, int row)
{
    int count = 0;
    for (int event = 1; event <= kEventSlots; ++event)
        count += state.entryMatrix.entered(state.currentRound, event, row) ? 1 : 0;
    return count;
}

// Appends "3,12," for the events the row is entered in; returns how many were written.
int appendEventNumbers(const AppState &state, int row, ListLine &line)
{
    int written = 0;
    for (int event = 1; event <= kEventSlots; ++event) {
        if (!state.entryMatrix.entered(state.currentRound, event, row))
            continue;
        line.text(int(line.size()) + 1, QString(QString::number(event) + u','));
        ++written;
    }
    return written;
}

QString resultsListPath(const AppState &state)
{
    return state.meetFile(listFileName(MeetList::Results, state.roundTag, state.option(OptLongFileNames)));
}

Status readResultsList(const AppState &state, QStringList &lines)
{
    const QString path = resultsListPath(state);
    bool ok = false;
    lines = readTextLines(path, &ok);
    if (!ok)
        return Status::failure(path + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable));
    return {};
}

// Walks the data rows of a joined results list: each section's column header tells how far its
// columns are shifted, and its rows stand between the "=" ruler under the header and the next
// one. A hand-edited list that lacks a closing ruler ends its rows at the next header or "-"
// ruler or at a line that is no row; blank lines among the rows are passed over.
template <typename Row, typename Other>
void walkResultsList(const QStringList &lines, Row onRow, Other onOther)
{
    int shift = 0;
    bool inRows = false;
    for (const QString &line : lines) {
        if (const int s = layoutShift(line); s != kNoLayout) {
            shift = s;
            inRows = false;
            onOther(line);
        } else if (line.startsWith(QLatin1String("=="))) {
            inRows = !inRows;
        } else if (inRows && (line.startsWith(QLatin1String("--")) ||
                              !(line.startsWith(u':') || line.startsWith(u' ') || line.isEmpty()))) {
            // Rows begin with a separator or its blank: anything else is past the rows.
            inRows = false;
            onOther(line);
        } else if (inRows) {
            if (!line.trimmed().isEmpty())
                onRow(shift, line);
        } else {
            onOther(line);
        }
    }
}

// A club name as a list column of `width` holds it.
QString clubColumn(const QString &name, int width)
{
    return name.trimmed().left(width).trimmed();
}

} // namespace

bool isEmptySlot(const QString &name)
{
    // An empty competitor slot is stored with "-" for surname and first name: "- -".
    return registers::isUnnamed(name);
}

// ---- start list text ----

ListDocument startListTextDocument(const AppState &state)
{
    using K = ListLineKind;
    const bool sep = separatorsOn(state);
    const Catalogs &c = state.catalogs;
    ListDocument lines;
    lines.kind = QStringLiteral("startlist");
    lines.title = state.texts.message(80) + roundNameOf(state.roundTag);
    lines.add(K::Title, lines.title);
    addRuler(lines, u'-', 94);

    ListLine legend(sep);
    for (int event = 1; event <= kEventSlots; ++event) {
        legend.text(5 + 20 * ((event - 1) % 4),
                    numberText(qint64(event)) + u' ' + state.eventNames[size_t(event)]);
        if (event % 4 == 0) {
            addLine(lines, K::Note, legend);
            legend = ListLine(sep);
        }
    }
    lines.add(K::Blank, QString());
    addRuler(lines, u'-', 94);
    addColumns(lines, state.texts.message(82));
    addRuler(lines, u'=', 94);

    for (int p = 1; p <= c.personCount; ++p) {
        const PersonSlot &person = c.persons[size_t(p)];
        if (isEmptySlot(person.name))
            continue;
        ListLine line(sep);
        line.separator(1).text(3, person.startNo, 5).separator(9).text(11, person.name, 25).separator(37);
        line.text(39, person.club, 15).separator(55).text(57, person.cls, 15).separator(73);
        // A long row of events keeps no closing separator: it would stand past the ruler.
        if (appendEventNumbers(state, p, line) < 6)
            line.separator(94);
        addLine(lines, K::Row, line);
    }

    addRuler(lines, u'=', 94);
    for (int i = 0; i < 3; ++i)
        lines.add(K::Blank, QStringLiteral(" "));
    lines.add(K::Section, QStringLiteral("Stafett øvelser"));
    addRuler(lines, u'-', 66);
    addColumns(lines, state.texts.message(81));
    addRuler(lines, u'=', 66);
    for (int t = 1; t <= c.relayCount; ++t) {
        const RelaySlot &team = c.relays[size_t(t)];
        if (isEmptySlot(team.club))
            continue;
        ListLine line(sep);
        line.separator(1).text(3, team.teamNo, 5).separator(9).text(11, team.club, 15).separator(27);
        line.text(29, team.cls, 15).separator(45);
        if (appendEventNumbers(state, c.personCount + t, line) < 18)
            line.separator(66);
        addLine(lines, K::Row, line);
    }
    addRuler(lines, u'=', 66);
    return lines;
}

Status MakeStartListText(AppState &state, const QString &path)
{
    return writeList(state, path, startListTextDocument(state));
}

// ---- contingent list ----

double contingentValue(const QString &typed)
{
    QString text = typed.trimmed();
    if (!text.contains(u'.'))
        text.replace(u',', u'.');
    return toDouble(text);
}

qint64 priceHundredths(double fee, int events, int contingentCode)
{
    // What the competitors window's options name: Full, 3/4, 1/2, 1/4.
    static constexpr double kShare[] = {1.0, 1.0, 0.75, 0.5, 0.25};
    const double share = contingentCode >= 1 && contingentCode <= 4 ? kShare[contingentCode] : 1.0;
    const double price = fee * events * share * 100.0;
    if (!(price > 0.0))
        return 0;
    // The small allowance keeps 0.29 * 100 from being cut to 28.
    return qint64(std::floor(price + 1e-6));
}

QString moneyText(qint64 hundredths)
{
    const qint64 whole = std::abs(hundredths) / 100;
    const qint64 cents = std::abs(hundredths) % 100;
    return (hundredths < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(whole) + u'.' +
           QStringLiteral("%1").arg(cents, 2, 10, QChar(u'0'));
}

ListDocument contingentListDocument(const AppState &state, double fee)
{
    using K = ListLineKind;
    const bool sep = separatorsOn(state);
    const Catalogs &c = state.catalogs;
    const QString roundName = roundNameOf(state.roundTag);
    // The competitors of each club by its trimmed name, in register order.
    QHash<QString, QList<int>> members;
    for (int p = 1; p <= c.personCount; ++p)
        if (!isEmptySlot(c.persons[size_t(p)].name))
            members[c.persons[size_t(p)].club.trimmed()].append(p);
    ListDocument lines;
    lines.kind = QStringLiteral("contingent");
    lines.title = state.texts.message(91).trimmed();
    if (lines.title.endsWith(u','))
        lines.title.chop(1);
    lines.title += QStringLiteral(", ") + roundName;
    for (int k = 1; k <= c.clubCount; ++k) {
        const QString &club = c.clubs[size_t(k)];
        if (isEmptySlot(club))
            continue;
        lines.add(K::Section, state.texts.message(91) + club.toUpper() + QStringLiteral(", ") + roundName);
        addRuler(lines, u'-', 76);
        addColumns(lines, state.texts.message(92));
        addRuler(lines, u'=', 76);
        qint64 total = 0;
        for (int p : members.value(club.trimmed())) {
            const PersonSlot &person = c.persons[size_t(p)];
            const int events = eventsEntered(state, p);
            const qint64 price = priceHundredths(fee, events, person.contingentCode);
            total += price;
            ListLine line(sep);
            line.separator(1).text(3, person.startNo, 5).separator(9).text(11, person.name, 25).separator(37);
            line.text(39, person.cls, 15).separator(55).number(57, events).separator(65);
            line.text(67, moneyText(price)).separator(76);
            addLine(lines, K::Row, line);
        }
        addRuler(lines, u'-', 76);
        ListLine sum(sep);
        sum.separator(1).text(67, moneyText(total)).separator(76);
        addLine(lines, K::Note, sum);
        addRuler(lines, u'=', 76);
        lines.add(K::Blank, QStringLiteral(" "));
    }
    return lines;
}

Status MakeContingentList(AppState &state, const QString &path)
{
    const QString title = state.texts.message(1);
    if (QFile::exists(path) && state.prompt &&
        !state.prompt->askOkCancel(state.texts.message(2), title, Icon::Exclamation, Answer::Cancel))
        return {};
    QString typed = QStringLiteral("25");
    if (state.prompt) {
        const QString question = state.texts.message(55) + u'\n' + ruler(u'-', 30) + QStringLiteral("\n\n") +
                                 state.texts.message(56);
        const std::optional<QString> answer =
            state.prompt->input({question, state.texts.message(57), QStringLiteral("25")});
        if (!answer)
            return {};
        typed = *answer;
    }
    const double fee = contingentValue(typed);
    if (!(fee >= 0.0 && fee <= kMaxContingent)) {
        state.informText(state.texts.message(Text::ContingentRefused).arg(typed), Icon::Exclamation);
        return {};
    }
    return writeList(state, path, contingentListDocument(state, fee));
}

// ---- points list ----

PointTotals pointTotals(const AppState &state, const QStringList &resultsList)
{
    const Catalogs &c = state.catalogs;
    PointTotals totals{std::vector<qint64>(size_t(c.personCount) + 1, 0),
                       std::vector<qint64>(size_t(c.clubCount) + 1, 0)};
    // The lists cut club names to their column (12 characters, relay lists 25): a club is
    // known by its name as the column holds it; the first of two such names gets the points.
    QHash<QString, int> clubs, relayClubs;
    for (int k = c.clubCount; k >= 1; --k) {
        if (isEmptySlot(c.clubs[size_t(k)]) || c.clubs[size_t(k)].trimmed().isEmpty())
            continue;
        clubs.insert(clubColumn(c.clubs[size_t(k)], 12), k);
        relayClubs.insert(clubColumn(c.clubs[size_t(k)], 25), k);
    }
    const auto onRow = [&](int shift, const QString &line) {
        const int points =
            registers::pointsForPlace(state, int(toInteger(field(line, 3 + shift, 8 + shift), 0, 1000)));
        if (points == 0)
            return;
        const bool relay = shift == 7;
        // A relay row's number is the team's, not a competitor's: only its club is credited.
        if (!relay) {
            const qint64 number = toInteger(field(line, 11 + shift, 16 + shift), 0, kMaxPersons);
            if (number >= 1 && number <= c.personCount && !isEmptySlot(c.persons[size_t(number)].name))
                totals.persons[size_t(number)] += points;
        }
        const QString club =
            relay ? clubColumn(field(line, 25, 51), 25) : clubColumn(field(line, 47 + shift, 58 + shift), 12);
        if (const int k = (relay ? relayClubs : clubs).value(club); k > 0)
            totals.clubs[size_t(k)] += points;
    };
    walkResultsList(resultsList, onRow, [](const QString &) {});
    return totals;
}

ListDocument pointsCompetitorDocument(const AppState &state, const QStringList &header,
                                      const PointTotals &totals)
{
    using K = ListLineKind;
    const bool sep = separatorsOn(state);
    const Catalogs &c = state.catalogs;
    ListDocument lines;
    lines.kind = QStringLiteral("points");
    lines.title = state.texts.message(93) + roundNameOf(state.roundTag);
    lines.add(K::Title, lines.title);
    addHeaderLines(lines, header);
    lines.add(K::Blank, QString());
    lines.add(K::Section, state.texts.message(94));
    addRuler(lines, u'-', 82);
    addColumns(lines, state.texts.message(95));
    addRuler(lines, u'=', 82);
    for (int p = 1; p <= c.personCount && size_t(p) < totals.persons.size(); ++p) {
        const PersonSlot &person = c.persons[size_t(p)];
        if (totals.persons[size_t(p)] == 0 || isEmptySlot(person.name))
            continue;
        ListLine line(sep);
        line.separator(1).separator(9).text(11, person.startNo, 5).separator(17).text(19, person.name, 25);
        line.separator(45).text(47, person.club, 12).separator(60).number(62, totals.persons[size_t(p)]);
        line.separator(71).separator(82);
        addLine(lines, K::Row, line);
    }
    addRuler(lines, u'=', 82);
    return lines;
}

void addPointsClubLines(ListDocument &lines, const AppState &state, const PointTotals &totals)
{
    using K = ListLineKind;
    const bool sep = separatorsOn(state);
    const Catalogs &c = state.catalogs;
    QString heading = state.texts.message(96);
    if (heading.trimmed().isEmpty())
        heading = state.texts.message(Text::ClubsHeading);
    lines.add(K::Blank, QString());
    lines.add(K::Blank, QString());
    lines.add(K::Section, heading);
    addRuler(lines, u'-', 35);
    addColumns(lines, state.texts.message(97));
    addRuler(lines, u'=', 35);

    std::vector<int> clubs;
    for (int k = 1; k <= c.clubCount && size_t(k) < totals.clubs.size(); ++k)
        if (totals.clubs[size_t(k)] != 0 && !isEmptySlot(c.clubs[size_t(k)]))
            clubs.push_back(k);
    std::stable_sort(clubs.begin(), clubs.end(),
                     [&](int a, int b) { return totals.clubs[size_t(a)] > totals.clubs[size_t(b)]; });
    qint64 place = 0;
    for (size_t i = 0; i < clubs.size(); ++i) {
        const qint64 points = totals.clubs[size_t(clubs[i])];
        if (i == 0 || points != totals.clubs[size_t(clubs[i - 1])])
            place = qint64(i) + 1;
        ListLine line(sep);
        line.separator(1).number(2, place).separator(9).text(11, c.clubs[size_t(clubs[i])], 13).separator(25);
        line.number(26, points).separator(35);
        addLine(lines, K::Row, line);
    }
    addRuler(lines, u'=', 35);
}

Status MakePointsList(AppState &state, const QString &path)
{
    QStringList results;
    if (Status s = readResultsList(state, results); !s)
        return s;
    QStringList header;
    if (Status s = infoHeaderLines(state, header); !s)
        return s;
    const PointTotals totals = pointTotals(state, results);
    const ListDocument competitors = pointsCompetitorDocument(state, header, totals);

    // The sort engine works on a file: sort the competitors in a scratch file, so the list
    // itself is written once, whole.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Status::failure(scratch.errorString());
    const QString sortPath = scratch.filePath(QStringLiteral("points.txt"));
    QFile sortFile(sortPath);
    if (!sortFile.open(QIODevice::WriteOnly))
        return Status::failure(sortPath + QStringLiteral(": ") + sortFile.errorString());
    writeLines(sortFile, competitors.textLines());
    sortFile.close();
    if (Status s = SortListFile(state, sortPath, SortDecreasing, 1, events::TimeFormat::SecondsHundredths,
                                SortPointsList, false);
        !s)
        return s;
    bool ok = false;
    const QStringList sorted = readTextLines(sortPath, &ok);
    if (!ok)
        return Status::failure(sortPath + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable));
    ListDocument document = classifiedList(sorted);
    document.kind = competitors.kind;
    document.title = competitors.title;
    addPointsClubLines(document, state, totals);
    return writeList(state, path, std::move(document));
}

// ---- newspaper list ----

ListDocument newspaperDocument(const AppState &state, const QStringList &resultsList)
{
    using K = ListLineKind;
    // Event headings are known by the first three characters of an event's name; free slots
    // ("_") and unnamed ones match nothing.
    QStringList prefixes;
    for (int event = 1; event <= kEventSlots; ++event) {
        const QString name = state.eventNames[size_t(event)].trimmed();
        if (!name.isEmpty() && name != u'_')
            prefixes << name.left(3);
    }
    ListDocument lines;
    lines.kind = QStringLiteral("newspaper");
    lines.title = resultsList.value(0).trimmed();
    const auto onOther = [&](const QString &line) {
        const QString start = line.left(3);
        if (start.isEmpty())
            return;
        for (const QString &prefix : prefixes) {
            if (start.compare(prefix, Qt::CaseInsensitive) == 0) {
                lines.add(K::Blank, QString());
                lines.add(K::Section, line.trimmed());
                return;
            }
        }
    };
    const auto onRow = [&](int shift, const QString &line) {
        // "place) name result": each part a cell where it stands in the line.
        ListLine row(false);
        row.text(1, trimmedField(line, shift + 2, shift + 8) + QStringLiteral(")"));
        row.text(int(row.size()) + 2, trimmedField(line, shift + 18, shift + 44));
        row.text(int(row.size()) + 2, trimmedField(line, shift + 61, shift + 70));
        addLine(lines, K::Row, row);
    };
    walkResultsList(resultsList, onRow, onOther);
    return lines;
}

Status MakeNewspaperList(AppState &state, const QString &path)
{
    if (!QFile::exists(resultsListPath(state))) {
        state.inform(3, Icon::Exclamation);
        return {};
    }
    QStringList results;
    if (Status s = readResultsList(state, results); !s)
        return s;
    return writeList(state, path, newspaperDocument(state, results));
}

Status listFileDocument(const AppState &state, const QString &path, ListDocument &document)
{
    bool ok = false;
    const QStringList lines = QFile::exists(path) ? readTextLines(path, &ok) : QStringList();
    if (!ok)
        return Status::failure(path + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable));
    document = classifiedList(lines);
    document.title = lines.value(0).trimmed();
    document.fileName = QFileInfo(path).fileName();
    document.roundName = state.roundName();
    return {};
}

Status meetListDocument(const AppState &state, MeetList list, ListDocument &document)
{
    const QString path = state.meetFile(listFileName(list, state.roundTag, state.option(OptLongFileNames)));
    switch (list) {
    case MeetList::StartListText:
        document = startListTextDocument(state);
        break;
    case MeetList::Newspaper: {
        QStringList results;
        if (Status s = readResultsList(state, results); !s)
            return s;
        document = newspaperDocument(state, results);
        break;
    }
    case MeetList::Results:
    case MeetList::Contingent:
    case MeetList::Points:
    case MeetList::TimeSchedule: {
        const QString kinds[] = {
            QStringLiteral("results"), {}, {}, QStringLiteral("contingent"), QStringLiteral("points"),
            QStringLiteral("schedule")};
        if (Status s = listFileDocument(state, path, document); !s)
            return s;
        document.kind = kinds[int(list)];
        return {};
    }
    }
    document.fileName = QFileInfo(path).fileName();
    document.roundName = state.roundName();
    return {};
}

} // namespace arenor::lists
