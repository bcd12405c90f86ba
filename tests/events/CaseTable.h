#pragma once
// Data-driven cases kept in a text file under tests/data: one case a line, cells separated by
// tabs, the first cell naming the case; blank lines and lines starting with "#" are skipped.
// "<N*text>" in a cell stands for text written N times (long bad input).

#include "TestSupport.h"
#include "events/ResultArithmetic.h"

#include <QRegularExpression>
#include <QTest>

namespace arenor::test {

inline QString expandCell(QString cell)
{
    static const QRegularExpression repeat(QStringLiteral("<(\\d+)\\*([^>]*)>"));
    QRegularExpressionMatch m;
    while ((m = repeat.match(cell)).hasMatch())
        cell.replace(m.capturedStart(), m.capturedLength(), m.captured(2).repeated(m.captured(1).toInt()));
    return cell;
}

// Adds the column "cells" (QStringList) and one row per case of the file; the file's first
// line names the cells.
inline void addCaseRows(const QString &fileName, qsizetype cellCount)
{
    QTest::addColumn<QStringList>("cells");
    const QStringList lines = QString::fromUtf8(readFile(dataFile(fileName))).split(u'\n');
    QVERIFY2(lines.size() > 1, qPrintable(fileName));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList cells = line.split(u'\t');
        QVERIFY2(cells.size() == cellCount + 1, qPrintable(line));
        const QString name = cells.takeFirst();
        for (QString &cell : cells)
            cell = expandCell(cell);
        QTest::newRow(name.toUtf8().constData()) << cells;
    }
}

// "T" time, "N" number; "HMS", "MSH", "SH" for the three time formats.
inline events::ResultKind kindOf(const QString &code)
{
    return code == u"T" ? events::ResultKind::Time : events::ResultKind::Number;
}
inline events::TimeFormat formatOf(const QString &code)
{
    if (code == u"HMS")
        return events::TimeFormat::HoursMinutesSeconds;
    return code == u"MSH" ? events::TimeFormat::MinutesSecondsHundredths
                          : events::TimeFormat::SecondsHundredths;
}

} // namespace arenor::test
