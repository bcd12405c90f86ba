#pragma once
// The header of the two time files and the empty-file writer.

#include "base/Status.h"

#include <QStringList>

namespace arenor::timing {

enum class Direction { Out = 0, In = 1 };

inline QString timesFileName(Direction d)
{
    return d == Direction::Out ? QStringLiteral("UtTider.txt") : QStringLiteral("InnTider.txt");
}

// Which writer a file comes from: each has always written its own title line, and files in
// use carry all of them, so they are kept apart here rather than unified.
enum class TitleStyle {
    Empty,        // a new or reset file: " TIDFIL UT " / " TIDFIL INN "
    Registration, // rewritten after a registered time: " TIDFIL UT " / " TIDFIL INN"
    Correction,   // rewritten after numbers were corrected, or by the start times: " TIDFIL UT" / " TIDFIL INN"
    GridImport,   // rewritten by the import into a result grid: " TIDFIL  UT " / " TIDFIL  INN "
};

QString timesFileTitle(Direction d, TitleStyle style);
// The title the empty-file writer uses: " TIDFIL UT " / " TIDFIL INN ".
inline QString emptyFileTitle(Direction d) { return timesFileTitle(d, TitleStyle::Empty); }
QStringList headerLines(const QString &title);

// Creates (or truncates) the file with its three header lines.
Status createEmptyTimesFile(const QString &path, Direction d);

} // namespace arenor::timing
