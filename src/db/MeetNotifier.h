#pragma once
// What the logic tells whoever listens about the current meet. The logic emits; windows and
// models connect. Nothing here knows a window.

#include "base/ListDocument.h"

#include <QObject>

namespace arenor {

class MeetNotifier : public QObject {
    Q_OBJECT
public:
    // The registers, as a change names them.
    enum class Register { Competitors, RelayTeams, Clubs, Classes, PointSetups, Entries };
    Q_ENUM(Register)

    using QObject::QObject;

signals:
    // Another meet file is current, or the current one was opened again: its name, the
    // title and everything bound to the file follow.
    void meetSwitched();
    // The time files of the current meet may no longer match what is shown (start-up,
    // another meet): read them again.
    void timeFilesChanged();
    // A register was read or edited (for the classes: the class pick list changed).
    void registerChanged(arenor::MeetNotifier::Register which);
    // The entries of a round changed, or what the start list shows of them: show them anew.
    void entriesChanged(int round);
    // Another round (0..3) is current.
    void roundChanged(int round);
    // An option (0..15) was set by a click or a reading of the settings.
    void optionChanged(int option);
    // The text tables were loaded in another language: relabel everything.
    void languageChanged();
    // A reading of the settings with apply changed the state: show it again.
    void settingsApplied();
    // A time was registered on a timing channel (0..5).
    void timeRegistered(int channel);
    // A list was written to its text file in the meet directory (path): printing and
    // publishing take it from here, so no one reads the file back.
    void listMade(const arenor::ListDocument &document, const QString &path);
    // A grid table was made, or what it holds of the start list (entries, heats, lanes)
    // changed; results typed are not announced.
    void gridChanged(const QString &table);
    // The photo-finish camera's folder or its watching was set in the options.
    void cameraFolderChanged();
};

} // namespace arenor
