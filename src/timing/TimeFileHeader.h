#pragma once
// The header of the two time files and the empty-file writer.

#include "app/Status.h"

#include <QStringList>

namespace arenor::timing {

enum class Direction { Out = 0, In = 1 };

inline QString timesFileName(Direction d)
{
    return d == Direction::Out ? QStringLiteral("UtTider.txt") : QStringLiteral("InnTider.txt");
}

// The title the empty-file writer uses: " TIDFIL UT " / " TIDFIL INN ".
QString emptyFileTitle(Direction d);
QStringList headerLines(const QString &title);

// Creates (or truncates) the file with its three header lines.
Status createEmptyTimesFile(const QString &path, Direction d);

} // namespace arenor::timing
