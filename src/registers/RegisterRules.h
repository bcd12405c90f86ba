#pragma once
// Rules shared by the register windows that are not about one register: what a single-line
// field keeps of a line break, and the text that tells why a typed record number was not taken.

#include "app/AppState.h"

#include <QString>

namespace arenor::registers {

// The text of a single-line field as it is stored: every line break (CR LF, CR, LF, and the
// Unicode line and paragraph separators) becomes one blank, so list files keep their layout.
QString singleLine(const QString &text);

// Why a typed record number cannot be kept, in the message language: what is the kind of
// number in both languages ("Startnummer" / "Start number"), max its largest value, kept the
// number the record keeps instead.
QString numberNotTakenText(const AppState &state, const QString &whatNorwegian, const QString &whatEnglish,
                           const QString &typed, int max, const QString &kept);

} // namespace arenor::registers
