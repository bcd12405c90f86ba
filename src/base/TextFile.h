#pragma once
// Plain text files of the meet: written in UTF-8 with CR LF line ends, replaced atomically;
// read as UTF-8 with a Windows-1252 fallback for bytes that are not valid UTF-8.

#include "base/Status.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
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

} // namespace arenor
