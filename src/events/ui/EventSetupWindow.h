#pragma once
// The event setup window (" Oppsett"): the events of the current round with their entry counts,
// the classes of the chosen event with theirs, and the setup record of the round, event and
// class picked. The window shows and edits only that record: picking an event or a class moves
// to it and shows its stored options; with no class picked its boxes are closed. "&Gridlist"
// makes the grid table of the event and class and opens it; the list buttons make, sort, join
// and show the lists.

#include "events/EventSetup.h"
#include "events/GridTable.h"
#include "registers/ui/RegisterWindowBase.h"

#include <array>

class QGridLayout;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace arenor {

class EventSetupWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    EventSetupWindow(AppState &state, MainWindow &main);

    // The event list with the counts of the current round, keeping the chosen event.
    void rebuildEventList();
    // The class list of the chosen event.
    void rebuildClassList();
    // Picking an event and a class (0-based list positions), as a click does.
    void pickEvent(int position);
    void pickClass(int position);
    // The chosen event and class (1-based; 0 when none).
    int event() const;
    int cls() const;
    // Moves to setup record n (1..5760), as "OppsettMover" does; the pick lists follow a record
    // of the current round, and for another round's record no class stays picked.
    void moveToRecord(int record);
    // The setup record shown and edited (1..5760), 0 when none is.
    int shownRecord() const { return m_record; }
    // The options as the commands take them: stored or clicked, none where nothing is chosen.
    events::SetupOptions chosenOptions() const;

    // butt(0..9).
    void listCommand(int index);
    void resetSetups();
    // The chosen event and class with the options shown, as the grid and its list take them.
    events::GridContext gridContext() const;
    // "&Gridlist": makes the grid table (asking first when it exists) and opens the grid.
    void openGrid();

    QListWidget *eventList() const { return m_events; }
    QListWidget *classList() const { return m_classes; }
    QRadioButton *listType(int i) const { return m_listType[size_t(i)]; }
    QRadioButton *category(int i) const { return m_category[size_t(i)]; }
    QRadioButton *timeFormat(int i) const { return m_format[size_t(i)]; }
    QRadioButton *sorting(int i) const { return m_sort[size_t(i)]; }
    QLineEdit *helpColumns() const { return m_help; }
    QLineEdit *mover() const { return m_mover; }

    void retranslate() override;

private:
    // "Print …" and "Save as PDF …", each with the class list and the event list.
    void addPrintButtons(QGridLayout &buttons);
    void captionPrintButtons();
    std::array<QPushButton *, 2> m_printButtons{};
    void optionClicked(int field, int index);
    // The record of the picked round, event and class, or none without a class.
    void followChoice();
    void showRecord(int record);
    void recordShown(int row);
    void showStoredRecord(int row);
    void applyAlwaysGrid();
    void updateStatus();
    QString variant() const;

    QListWidget *m_events = nullptr;
    QListWidget *m_classes = nullptr;
    std::array<QRadioButton *, 6> m_listType{};
    std::array<QRadioButton *, 3> m_category{};
    std::array<QRadioButton *, 3> m_format{};
    std::array<QRadioButton *, 6> m_sort{};
    QWidget *m_formatGroup = nullptr;
    bool m_showing = false; // the record's options are being shown, not chosen
    int m_record = 0;       // the record shown and edited, 0 for none
    QWidget *m_sortGroup = nullptr;
    QLineEdit *m_index = nullptr;
    QLineEdit *m_mover = nullptr;
    QLineEdit *m_help = nullptr;
    QLineEdit *m_date = nullptr;
    QLineEdit *m_time = nullptr;
    RefillingComboBox *m_variant = nullptr;
    std::array<QPushButton *, 10> m_buttons{};
};

} // namespace arenor
