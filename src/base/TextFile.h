#pragma once
// Plain text files of the meet: written in UTF-8 with CR LF line ends, replaced atomically;
// read as UTF-8 with a Windows-1252 fallback for bytes that are not valid UTF-8.

#include "base/Status.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace arenor {

// Writes the lines, each followed by CR LF.
void writeLines(QIODevice &device, const QStringList &lines);
// Replaces the file with the lines, atomically: a failure leaves the old file as it was.
Status writeTextFile(const QString &path, const QStringList &lines);
// Replaces the file with what the writer puts into the device, atomically.
Status writeFileAtomically(const QString &path, const std::function<void(QIODevice &)> &writer);

// Decodes bytes as UTF-8, taking each invalid byte as Windows-1252.
QString decodeText(const QByteArray &bytes);
// The lines of a file without their line ends (CR LF, LF or CR); nullopt-like: ok=false when unreadable.
QStringList readTextLines(const QString &path, bool *ok = nullptr);
QStringList splitLines(const QString &text);

// A text of n copies of c: the rulers of the lists.
inline QString ruler(QChar c, int n) { return QString(n, c); }

// Print positions count characters, and a character outside the basic plane takes two UTF-16
// units: these count and cut by characters, so such a character is never cut in half.
qsizetype characterCount(QStringView text);
// The characters from character index first (from 0) on, at most count of them (all for -1).
QStringView characterMid(QStringView text, qsizetype first, qsizetype count = -1);
inline QStringView characterLeft(QStringView text, qsizetype count)
{
    return characterMid(text, 0, count);
}

} // namespace arenor
