#pragma once
// The time lists of the running meet and what the timing window does with them: reading the
// two time files, registering a captured time, correcting numbers, resetting a list, the two
// number boxes and the keypad. The window only mirrors this state.

#include "base/Prompt.h"
#include "base/TextTables.h"
#include "db/Catalogs.h"
#include "timing/TimeList.h"

#include <QList>
#include <QPair>

namespace arenor::timing {

enum class KeypadKey { Digit0 = 0, Clear = 10, Cross = 11 };

struct RegisterResult {
    // NotRead: the time files of the meet have not been read (or could not be), so nothing
    // may be written into them yet; the caller keeps the capture.
    enum Outcome { Stored, ListFull, BadChannel, NotRead } outcome = Stored;
    TimeRecord record; // the stored record (Stored), or what could not be stored (ListFull)
    Status fileStatus; // rewriting the file; the record stays in the list when this fails
};

class TimingSession {
public:
    // The folder the two files live in, ending in "/".
    void setMeetDir(const QString &dir) { m_meetDir = dir; }
    const QString &meetDir() const { return m_meetDir; }
    QString path(Direction d) const { return m_meetDir + timesFileName(d); }

    TimeList &list(Direction d) { return m_lists[size_t(d)]; }
    const TimeList &list(Direction d) const { return m_lists[size_t(d)]; }
    ChannelCounters &counters() { return m_counters; }
    const ChannelCounters &counters() const { return m_counters; }

    // The number box of each direction: the number the next registered time gets.
    QString numberBox(Direction d) const { return m_numberBox[size_t(d)]; }
    void setNumberBox(Direction d, const QString &text) { m_numberBox[size_t(d)] = text.left(kNumberWidth); }
    QString lastRegistered() const { return m_lastRegistered; }

    // Loads the file into its list; the counters are raised, never lowered. A file that
    // cannot be read leaves its list unread.
    Status readTimes(Direction d);
    // Both lists mirror their files: only then may a time be registered, since the counters
    // both files raise decide the next index.
    bool listsRead() const { return m_read[0] && m_read[1]; }
    bool isRead(Direction d) const { return m_read[size_t(d)]; }
    // The files are about to change under the lists (another meet, a reset meet).
    void markUnread() { m_read = {false, false}; }
    // Refuses to write a list that was not read, so an unreadable file is never overwritten.
    Status rewrite(Direction d, TitleStyle style) const;

    // A captured time becomes the next record of the list. With the automatic out-number on,
    // the out number box counts up by itself. A full list stores nothing and changes nothing.
    RegisterResult registerTime(Direction d, int channel, const QString &time, bool autoOutNumber);

    // The three questions, then an empty list, counters and file. False when any answer
    // was not Yes; a file error comes back in *error.
    bool resetTimes(Direction d, Prompt &prompt, const TextTables &texts, Status *error = nullptr);

    // Puts the number box into the selected records (display rows, 0-based): a record that
    // already has a number is only overwritten when the question is not answered No. The box
    // is emptied and the file rewritten. Times registered while a question is open are kept.
    Status changeNumbers(Direction d, QList<int> rows, Prompt &prompt, const TextTables &texts);

    // The keypad acts on the out number box while the out tab (tab 0) is shown, otherwise on
    // the in number box.
    void keypad(int shownTab, int key);
    static Direction keypadTarget(int shownTab) { return shownTab == 0 ? Direction::Out : Direction::In; }

private:
    QString m_meetDir;
    std::array<TimeList, 2> m_lists;
    ChannelCounters m_counters;
    std::array<QString, 2> m_numberBox;
    std::array<bool, 2> m_read{};
    QString m_lastRegistered;
};

// The competitor shown beside a number box: name, and club and class joined by ", ", when
// the number is a start number of the meet; two empty texts otherwise.
QPair<QString, QString> competitorLabels(const Catalogs &catalogs, const QString &number);

// Texts of the timing subsystem that the numbered tables do not hold.
QString listFullText(Language language, Direction d, int channel, const QString &time);
QString overflowReadText(Language language, const QString &fileName, int extra);

} // namespace arenor::timing
