#pragma once
// Importing competitors and their entries from a CSV file: each column mapped by its heading
// (Norwegian or English) or by hand, every line checked against the registers, then every good
// line stored in one transaction (or nothing). Clubs and classes missing from their registers
// take a free record; competitors take the record of their start number or the first free one;
// entries go to the current round, with the seed marks the file gives for them.

#include "db/AppState.h"
#include "exchange/Csv.h"
#include "exchange/ExchangeTexts.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace arenor::exchange {

enum class ColumnKind {
    Ignored,
    StartNo,
    FirstName,
    Surname,
    Club,
    Class,
    Sex,
    Born,
    Events,
    Event,
    SeedMark
};

struct ColumnMap {
    ColumnKind kind = ColumnKind::Ignored;
    // The event slot 1..36 of an Event column: a flag ("x") in it enters the competitor, a
    // time or distance enters with that seed mark. A SeedMark column's mark is for the line's
    // one event.
    int event = 0;
    bool operator==(const ColumnMap &) const = default;
};

// What a heading names: the event slot names of the meet (a column per event), then the
// field names in both languages; Ignored for anything else.
ColumnMap columnForHeading(const QString &heading, const std::array<QString, kEventSlots + 1> &events);
// A cell meant as a seed mark: the mark to store, or nullopt when it does not read as a time
// or distance. Digits in up to three parts split at ".", "," or ":"; a colon is stored as the
// point the result arithmetic reads ("1:02.5" becomes "1.02.5").
std::optional<QString> seedMarkFromCell(const QString &cell);

// The caption of a column choice in the pick list.
QString columnCaption(const ColumnMap &map, const AppState &state);

enum class LineStatus {
    Ok,
    DoesNotParse,
    NameMissing,
    ClassMissing,
    UnknownEvent,
    StartNumberTaken,
    StartNumberNoSlot,
    RegisterFull,
    ClubRegisterFull,
    ClassRegisterFull,
    SeedMarkUnreadable,
    SeedMarkEvents // a seed mark column on a line that enters no event or several
};

struct LineCheck {
    int line = 0; // in the file
    LineStatus status = LineStatus::Ok;
    QString problem;    // the text shown, empty when the line is good
    int slot = 0;       // the competitor's record
    bool known = false; // the competitor is there already (same name in the record)
};

struct ImportSummary {
    int added = 0;
    int known = 0;
    int entries = 0;
    int marks = 0;
    int newClubs = 0;
    int newClasses = 0;
    QList<LineCheck> skipped;
    QString text(const AppState &state) const;
};

class CsvImport {
public:
    // Takes the file's records and maps the columns by their headings. Fails with the message to
    // show for a file that cannot be read, is empty, or holds only the heading.
    Status read(const QString &path, const AppState &state);
    Status setData(const QByteArray &bytes, const QString &name, const AppState &state);

    const QStringList &heading() const { return m_heading; }
    QList<QStringList> rows(int first, int count) const; // data records, 0-based
    int rowCount() const { return int(m_read.records.size()) - 1; }
    QChar separator() const { return m_read.separator; }

    const QList<ColumnMap> &columns() const { return m_columns; }
    void setColumn(int column, const ColumnMap &map);

    // Every data line checked against the registers as they are stored, in file order (a line
    // sees what the lines before it would add). Nothing is written.
    Status check(AppState &state, QList<LineCheck> &checks) const;
    // Stores every good line in one transaction, then reads the registers and the round's
    // entries again and tells the windows. On a failure nothing is stored.
    Status apply(AppState &state, ImportSummary &summary) const;

private:
    struct Plan;
    Status plan(AppState &state, Plan &out) const;
    CsvRead m_read;
    QStringList m_heading;
    QList<ColumnMap> m_columns;
};

} // namespace arenor::exchange
