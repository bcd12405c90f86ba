#pragma once
// The file operations on a meet file, apart from any question or meet switch: making a whole
// meet, checking one, compacting, copying and salvaging; and the files of the meet directory.
// A file is replaced only by one step (a rename) from a complete work file, so at every moment
// its name holds either the old or the new file, never half of one.

#include "db/AppState.h"

namespace arenor {

// A scratch file for one operation, in the folder of the file it will replace, under a name no
// meet can have (".arenor-work-XXXXXX": no ".mdb" ending). It is created empty and exclusively,
// so it is never anybody else's file; it is removed at the end unless it was put in place.
class WorkFile {
public:
    explicit WorkFile(const QString &beside);
    ~WorkFile();
    WorkFile(const WorkFile &) = delete;
    WorkFile &operator=(const WorkFile &) = delete;

    const Status &status() const { return m_status; }
    QString path() const { return m_path; }
    // Flushes the work file and renames it to target in one step.
    Status putInPlaceOf(const QString &target);

private:
    QString m_path;
    Status m_status;
    bool m_placed = false;
};

enum class CreateOutcome { Created, KeptOld };

// Asks message 25 when the file exists (No keeps it), then the format question, and makes
// the meet file with every table and its rows under a work name, put in place only when it is
// complete. The current database must not be open; it is left closed.
Status createMeetFile(AppState &state, CreateOutcome *outcome = nullptr);

// The format question text: messages 26..30 joined.
QString formatQuestion(const TextTables &texts);

// Whether a file can be used as a meet (it is only read): its header, every table and field
// of its version. The text says, in the message language, what is wrong. A server meet is
// checked the same way (password: the one it opens with).
Status checkMeetFile(const TextTables &texts, const QString &path, const QString &shownName,
                     db::FileProblem *problem = nullptr, const QString &password = {});

// Creates the time files, Info.txt and Rapport.txt of the meet directory when missing, after
// removing the left-over copies of its text files.
Status meetFilesCheck(AppState &state);

// A text file is written to a copy beside it ("Al-F.txt.UelZSq") that is then renamed into
// place; a program killed between the two steps leaves the copy, which nothing else would
// remove. Removes such copies of the directory's ".txt" files.
void removeLeftOverCopies(const QString &dir);

// A clear text, in the message language, for a file that cannot be opened as a meet. missing:
// the tables and fields it lacks.
QString fileProblemText(const TextTables &texts, db::FileProblem problem, const QString &fileName,
                        const QStringList &missing = {});

// Puts a compacted copy of a meet file in place of target (target may be the source itself).
// The source is only read; target is replaced in one step.
Status compactFile(const QString &source, const QString &target);

// Renames from to to in one step and makes the rename durable.
Status replaceFile(const QString &from, const QString &to);

struct RepairReport {
    bool damaged = false;
    QString keptOriginal;   // where the damaged original was kept
    qint64 rowsSaved = 0;   // rows carried over into the sound file
    QStringList lostTables; // tables of which not a single row could be read
};

// Checks the file; a damaged file is replaced by a sound one holding every readable row, and
// the damaged original is kept beside it.
Status repairFile(const QString &path, RepairReport *report = nullptr);

} // namespace arenor
