#pragma once
// Rules shared by the register windows that are not about one register: what a single-line
// field keeps of a line break, and the text that tells why a typed record number was not taken.

#include "db/AppState.h"

#include <QString>
#include <optional>

namespace arenor::registers {

// The text of a single-line field as it is stored: every line break (CR LF, CR, LF, and the
// Unicode line and paragraph separators) becomes one blank, so list files keep their layout.
QString singleLine(const QString &text);

// The catalogue slot a record number text names (its numeric value), or nullopt when that
// value lies outside 0..max and so has no slot. Read wider than the catalogue, so that 3001
// or 99999 is refused rather than clamped into range.
std::optional<int> catalogueSlot(const QString &number, int max);

// Why a typed record number cannot be kept (empty when it has a slot in 0..max), in the
// message language: what is the kind of number in both languages ("Startnummer" / "Start
// number"), kept the number the record keeps instead.
QString numberNotTakenText(const AppState &state, const QString &whatNorwegian, const QString &whatEnglish,
                           const QString &typed, int max, const QString &kept);

} // namespace arenor::registers
