#pragma once
// Rules shared by the register windows that are not about one register: what a single-line
// field keeps of a line break, and which record number a numbered register takes.

#include "db/AppState.h"
#include "db/RecordModel.h"

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

// What a numbered register calls its record number.
enum class RecordNumber { Start, Club, RelayTeam };

// The numbered registers keep number k in record k (from 1): the jump box, the entries and the
// catalogues rely on it. So a number typed for the record at `place` is taken only when it is
// that place, or the stored number left as it was (a misnumbered record can be repaired, and
// edited without repairing it). Otherwise the text says why (message language) and the record
// keeps `stored`.
QString recordNumberRefusal(const AppState &state, RecordNumber kind, const QString &typed,
                            const QString &stored, int place);

// The same rule as the check of a model over the register (field 0), for its form and grid.
std::function<QString(int row, int field, const QVariant &value)>
recordNumberCheck(const AppState &state, RecordNumber kind, const db::RecordModel &model);

} // namespace arenor::registers
