#pragma once
// Arithmetic on results as they are typed: times as two-digit parts joined by "." in one of
// three formats, distances and heights as plain decimal numbers. A decimal comma reads as the
// point ("7,35" is 7.35, "11,98" is 11.98). The grid commands, the result handling of help
// columns and the list engine all read results through here, so a result means the same value
// everywhere; nothing else reads them.

#include "base/TextTables.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace arenor::events {

// 2 for times (run events), 1 for plain numbers (every other category).
enum class ResultKind { Number = 1, Time = 2 };

// The event setup's time format.
enum class TimeFormat { HoursMinutesSeconds = 0, MinutesSecondsHundredths = 1, SecondsHundredths = 2 };

// Difference: Order::BMinusA gives B - A, Order::AMinusB gives A - B. Sum ignores the order.
enum class Order { BMinusA = 1, AMinusB = 2 };
enum class Operation { Difference = 1, Sum = 2 };

// What a calculation shows when one of its texts holds no result: the registers' empty text.
inline const QString kNoResult = QStringLiteral("-");

// The event setup's time format code 0..2; anything else is the default, 0.
TimeFormat timeFormatFromCode(int code);
// Category 0 (run) computes with times, the others with numbers.
inline ResultKind resultKindForCategory(int category)
{
    return category == 0 ? ResultKind::Time : ResultKind::Number;
}

// The tokeniser: from position on, skips delimiter characters, returns the run of characters
// up to the next delimiter or the end, and leaves position on that delimiter. Empty when
// nothing is left.
QString NextToken(QStringView text, qsizetype &position, QStringView delimiters);

// The value the arithmetic reads from a result text, or nullopt when it holds no result:
// - times: the parts of the text, split at "." or ",", stand for the last parts of the format
//   ("12.45" in minutes, seconds and hundredths is 12.45 seconds, a lone "75" is 75 seconds),
//   a hundredths part is a decimal fraction ("12.3" is 12.30); the value counts the format's
//   smallest unit (seconds for hours.minutes.seconds, hundredths otherwise). No result: no
//   digit at all, a negative part, more parts than the format, a part after the first at or
//   above its base ("99.99.99"), hundredths of three digits, or a first part beyond 999999;
//   so a negative time ("-00.07", an in-time before the out-time) is no result either.
// - numbers: the leading numeric prefix ("7.35 m" is 7.35, the first "." or "," its point) in
//   millionths, exact; no result when the prefix has no digit ("-", "abc") or its size
//   reaches 10^12.
std::optional<qint64> resultValue(ResultKind kind, TimeFormat format, QStringView text);

// A value of resultValue() written back: times in the format's parts, two digits each and the
// first part in full ("00.07", "123.45", "01.02.37"), negative times with a leading "-";
// numbers in the shortest decimal text with no zero before the point between -1 and 1 (".25").
QString resultText(ResultKind kind, TimeFormat format, qint64 value);

// A typed time the format cannot read: the text holds a digit but no result ("11.98" in
// hours.minutes.seconds). A text without a digit ("-", "DNS") is no result by intent, and
// numbers are read whatever the format, so neither is one.
bool isUnreadableResult(ResultKind kind, TimeFormat format, QStringView text);

// The start numbers (numbers[i] belongs to texts[i]) of the unreadable results among texts.
QStringList unreadableResultNumbers(ResultKind kind, TimeFormat format, const QStringList &texts,
                                    const QStringList &numbers);

// What a command tells when it met unreadable results: how many, the first few of their start
// numbers, and the time format set. Empty when numbers is.
QString unreadableResultsText(Language language, TimeFormat format, const QStringList &numbers);

// The difference or sum of two result texts; kNoResult when either holds no result.
QString ResultArithmetic(ResultKind kind, Order order, QStringView a, QStringView b, Operation operation,
                         TimeFormat format);

// Orders two results by value for a sort in the given direction: <0 when a comes first, 0 when
// they are equal, >0 when b comes first. Texts without a result come after every result in
// either direction and are equal among themselves, so a stable sort keeps their order.
int compareResults(ResultKind kind, TimeFormat format, QStringView a, QStringView b, bool descending = false);

} // namespace arenor::events
