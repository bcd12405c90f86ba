#pragma once
// The grid window over the grid table of one event and class: the register grid with its
// heading and its commands at work. Places, differences and step results read and write the
// grid's columns in the order the grid shows its rows; the list commands write and show the
// class list; the import takes registered times by start number.

#include "events/GridTable.h"
#include "registers/ui/RegisterGrid.h"

namespace arenor {

class ResultHandlingDialog;
class SortDialog;
class StartSetupDialog;

class GridWindow : public RegisterGrid {
    Q_OBJECT
public:
    GridWindow(AppState &state, MainWindow &main, const events::GridContext &context, const QString &table);

    const events::GridContext &context() const { return m_context; }

    // The commands, as their buttons run them. False when nothing was changed.
    bool differences();
    bool places();
    bool stepResults();
    bool importTimes();
    bool makeList();
    bool showList();
    // "&Behandle": the result handling window over this grid (modal, deleted when closed); the
    // grid shows the table again once an operation ran.
    ResultHandlingDialog *openHandling();
    // "&Sorter": the sort window with its proposal (modal, deleted when closed).
    SortDialog *openSort();
    // "&Startoppsett": start times into the Out column of a step list (modal, deleted when closed).
    StartSetupDialog *openStartSetup();
    // SortGrid: shows the rows ordered by column 1..10; the commands then follow that order.
    void sortGrid(int column, bool descending);

private:
    // The grid's columns by role; tells the user and gives false when the table lacks one
    // of its layout (a grid edited by hand).
    bool columnsUsable();
    QStringList columnTexts(int column) const;
    // Writes columns in the order shown, all in one transaction; tells the user and gives false
    // when the grid cannot store them (nothing is changed then).
    bool writeColumn(int column, const QList<QVariant> &values);
    bool writeColumns(const QList<std::pair<int, QList<QVariant>>> &columns);
    // Tells the user which of the texts (in the order shown) the event's time format cannot read.
    void tellUnreadable(const QStringList &texts);

    AppState &m_appState;
    MainWindow &m_main;
    events::GridContext m_context;
    events::GridColumns m_columns;
};

// Opens the grid window over the event's grid table (modal, deleted when closed); nullptr
// when the table cannot be read, after telling the user.
GridWindow *openEventGrid(AppState &state, MainWindow &main, const events::GridContext &context,
                          const QString &table, const QString &heading);

} // namespace arenor
