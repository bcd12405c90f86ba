#pragma once
// The file names of the meet-wide lists, long or short by the long-file-names option.

#include <QString>

namespace arenor::lists {

enum class MeetList { Results, Newspaper, StartListText, Contingent, Points, TimeSchedule };

// roundTag is the round name followed by "_" ("Finale_"); the short names use its initial.
QString listFileName(MeetList list, const QString &roundTag, bool longNames);

} // namespace arenor::lists
