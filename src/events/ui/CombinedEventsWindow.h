#pragma once
// The combined events of the meet: each groups events of the scoring table (a decathlon, a
// heptathlon, a youth pentathlon) bound to the meet's events for one class. The window
// defines them, scores the class's grids by the published tables with running totals and
// places, and makes the combined-events list.

#include "db/AppState.h"
#include "events/CombinedStandings.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace arenor {

class CombinedEventsWindow : public QWidget {
    Q_OBJECT
public:
    explicit CombinedEventsWindow(AppState &state, QWidget *parent = nullptr);

    // The commands as their buttons run them; false, telling why, when nothing was done.
    bool newFromTable();
    bool save();
    bool computePoints();
    bool makeList();
    // A table's event added at the end of the shown combined event, or the current row taken
    // out: for combined events the table lacks (a youth pentathlon).
    bool addEvent();
    bool removeEvent();

    QTableWidget *eventsTable() const { return m_events; }
    QTableWidget *resultsTable() const { return m_results; }
    QLabel *messageLabel() const { return m_message; }

private:
    void applyCaptions();
    void showSetup(int index);
    // The shown setup as edited, into m_setups.
    void takeEdits();
    Language language() const;

    AppState &m_state;
    QList<events::CombinedSetup> m_setups;
    int m_current = -1;
    events::CombinedStandings m_standings;
    QComboBox *m_setupCombo;
    QComboBox *m_presetCombo;
    QLineEdit *m_name;
    QComboBox *m_class;
    QTableWidget *m_events;
    QComboBox *m_extraEvent;
    QTableWidget *m_results;
    QLabel *m_message;
    QList<QLabel *> m_labels;
    QList<QPushButton *> m_buttons;
};

} // namespace arenor
