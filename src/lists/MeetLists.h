#pragma once
// The meet-wide lists of the main window: start list text with check-in, contingent list,
// points list, time schedule and newspaper list. Each writes the named file of the meet
// directory atomically and asks its own questions through the state's prompt; a question
// answered Cancel makes nothing and is no failure. The lines of each list are made by a
// function of the meet's data alone, so printing can use them as they are.

#include "base/ListDocument.h"
#include "db/AppState.h"
#include "lists/ListNames.h"

#include <QStringList>
#include <vector>

namespace arenor::lists {

Status MakeStartListText(AppState &state, const QString &path);
Status MakeContingentList(AppState &state, const QString &path);
// Needs the meet results list of the round (the caller checks it is there).
Status MakePointsList(AppState &state, const QString &path);
Status MakeTimeSchedule(AppState &state, const QString &path);
Status MakeNewspaperList(AppState &state, const QString &path);

// True for a register slot that holds no one: its name is only "-" and blanks ("- -", "-").
bool isEmptySlot(const QString &name);

// The start list text with the check-in columns, for the current round.
ListDocument startListTextDocument(const AppState &state);

// The contingent typed into the input box: a decimal comma reads as a point, and what is no
// number reads as 0. Negative or absurd amounts are refused by the caller (kMaxContingent).
constexpr double kMaxContingent = 1000000.0;
double contingentValue(const QString &typed);
// The price of `events` entries at `fee` each for a contingent code (1 full, 2 three quarters,
// 3 a half, 4 a quarter, anything else full), in hundredths, cut rather than rounded.
qint64 priceHundredths(double fee, int events, int contingentCode);
// Hundredths as the lists print them: two decimals and a blank in place of a plus sign.
QString moneyText(qint64 hundredths);
// One section per club with its competitors and their prices.
ListDocument contingentListDocument(const AppState &state, double fee);

// The points each competitor (by register position) and each club (by register slot) earn
// from the places of a meet results list.
struct PointTotals {
    std::vector<qint64> persons;
    std::vector<qint64> clubs;
};
PointTotals pointTotals(const AppState &state, const QStringList &resultsList);
// The points list up to the end of the competitors section, places and differences blank.
ListDocument pointsCompetitorDocument(const AppState &state, const QStringList &header,
                                      const PointTotals &totals);
// The clubs section that follows the sorted competitors.
void addPointsClubLines(ListDocument &document, const AppState &state, const PointTotals &totals);

// The newspaper lines of a meet results list: event headings and "place) name result".
ListDocument newspaperDocument(const AppState &state, const QStringList &resultsList);

// The document of a meet list as it is now (start list text, newspaper: made anew from the
// meet; the lists made after a question or sorted: read back from their file). A list not
// made yet is a failure.
Status meetListDocument(const AppState &state, MeetList list, ListDocument &document);
// A list file read back: its lines classified (see classifiedList), named after the file.
Status listFileDocument(const AppState &state, const QString &path, ListDocument &document);

} // namespace arenor::lists
