#pragma once
// The nine child windows of the main window share this base: they are made once, shown and
// hidden, never destroyed, and relabel themselves when the language changes.

#include "db/AppState.h"

#include <QWidget>

namespace arenor {

class MainWindow;

// In the order of the window placements of the settings file.
enum class WindowId { EventSetup = 0, Entries, Options, Competitors, Clubs, Points, Relays, Classes, Timing };
constexpr int kChildWindowCount = 9;

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(WindowId id, AppState &state, QWidget *parent = nullptr);
    WindowId id() const { return m_id; }

    // Sets every caption from the caption table of the current language.
    virtual void retranslate();

    // The window title in the current language, when no caption number holds it.
    static Text defaultTitle(WindowId id);

protected:
    AppState &m_state;

private:
    WindowId m_id;
};

// Makes the window of an id; windows not built yet are captioned shells.
ChildWindow *createChildWindow(WindowId id, AppState &state, MainWindow &main);

// The makers of each area's windows; nullptr leaves the shell in place.
ChildWindow *createOptionsWindow(AppState &state, MainWindow &main);               // app/ui
ChildWindow *createRegisterWindow(WindowId id, AppState &state, MainWindow &main); // registers/ui
ChildWindow *createTimingWindow(AppState &state, MainWindow &main);                // timing/ui
ChildWindow *createEntriesWindow(AppState &state, MainWindow &main);               // registers/ui
ChildWindow *createEventSetupWindow(AppState &state, MainWindow &main);            // events/ui

} // namespace arenor
