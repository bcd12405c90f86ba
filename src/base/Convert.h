#pragma once
// The number conventions every register and list relies on: texts are read with a
// conversion that skips leading blanks and reads what is not a number as 0, and numbers
// are written with a leading blank in place of a plus sign.

#include <QString>

namespace arenor {

// Leading numeric prefix of a text, after leading blanks (and tabs): " 7" -> 7, "12abc" -> 12,
// "abc" -> 0, "-5" -> -5, "1e3" -> 1000, "  12.6 " -> 12.6. Never overflows: a value too
// large saturates at +/- the largest finite double, one too small to hold reads as 0.
double toDouble(const QString &text);

// toDouble() cut to an integer and clamped to [lo, hi]; a safe index for catalogues.
qint64 toInteger(const QString &text, qint64 lo = -2147483648LL, qint64 hi = 2147483647LL);

// toDouble() rounded to the nearest integer (halves to even, as the original rounding did),
// clamped to [lo, hi].
qint64 toRoundedInteger(const QString &text, qint64 lo = -2147483648LL, qint64 hi = 2147483647LL);

// A number as text with its sign position: 7 -> " 7", -7 -> "-7", 2.5 -> " 2.5".
QString numberText(qint64 value);
QString numberText(double value);

// Number to text as a plain text without the sign blank ("7").
inline QString plainNumber(qint64 value) { return QString::number(value); }

} // namespace arenor
