#pragma once
// Comma-separated files as spreadsheets and federation systems write them (RFC 4180): fields
// in double quotes may hold the separator, line breaks and doubled quotes. The separator is
// "," or ";", whichever the heading line uses more (a tab when it uses neither). Read as UTF-8
// with or without a byte order mark, bytes that are not UTF-8 as Windows-1252.

#include <QByteArray>
#include <QChar>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace arenor::exchange {

enum class CsvError { None, NotText, OpenQuote };

struct CsvRead {
    QList<QStringList> records; // the heading first; blank lines are left out
    QList<int> lines;           // the line of the file each record starts on (1-based)
    QChar separator = u',';
    CsvError error = CsvError::None;
    int errorLine = 0; // where the quote left open was opened
    bool ok() const { return error == CsvError::None; }
};

// The separator a heading line uses: the more frequent of "," and ";" outside quotes, a tab
// when neither occurs but a tab does, else ",".
QChar detectSeparator(QStringView headingLine);

// Reads a whole file's bytes. Fails (with the records read before) on a quote left open at
// the end, and on bytes that are no text (a NUL byte). An empty file reads as no records.
// A separator given is used instead of the one the heading shows.
CsvRead parseCsv(const QByteArray &bytes, QChar separator = QChar());

// One field as written: in quotes when it holds the separator, a quote or a line break, or
// begins or ends with a blank. A field that a spreadsheet would run as a formula (beginning
// with "=", "+", "-", "@", a tab or a carriage return) gets a leading apostrophe, which the
// spreadsheet shows as text and parseCsv takes away again.
QString csvField(const QString &value, QChar separator);
// The record's fields joined, without a line end.
QString csvLine(const QStringList &fields, QChar separator);
// Writes the records as UTF-8 with a byte order mark (so spreadsheets know the encoding) and
// CR LF line ends.
void writeCsv(QIODevice &device, const QList<QStringList> &records, QChar separator);

// The apostrophe csvField puts before a formula-like value, taken away again.
QString unguardFormula(const QString &value);

} // namespace arenor::exchange
