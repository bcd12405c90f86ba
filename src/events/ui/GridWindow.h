#pragma once
// The grid window over the grid table of one event and class: the register grid with its
// heading and its commands at work. Places, differences, step results and the class list
// follow the order the grid shows its rows; the list commands write and show the class list;
// the import takes registered times by start number. It is a child window like the others,
// not modal, so times are taken (F4-F9, the timing window) while results are typed; it closes
// itself, its edits written, when the meet is let go of.

#include "events/GridTable.h"
#include "registers/ui/RegisterGrid.h"

class QMdiArea;
class QPushButton;

namespace arenor {

namespace timing {
class TimingController;
}
class FieldCardWindow;
class ResultHandlingDialog;
class SortDialog;
class StartSetupDialog;

class GridWindow : public RegisterGrid, public DataBound {
    Q_OBJECT
public:
    GridWindow(AppState &state, timing::TimingController *timing, const events::GridContext &context,
               const QString &table);
    ~GridWindow() override;

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
    // "&Forsøk" (technical events): the field card of this grid, a window of its own.
    FieldCardWindow *openFieldCard();
    // "&Avansement": the advancement of a heat grid to the next round (questions through the
    // prompt); the rows show their Q, q and qR beside their numbers afterwards.
    bool advance();
    // The advancement kept with the grid, shown beside the row numbers.
    void showAdvancement();
    // SortGrid: shows the rows ordered by column 1..10; the commands then follow that order.
    void sortGrid(int column, bool descending);

    // DataBound: the grid lets go of its table with the meet.
    void bindDatabase(db::Database &) override {}
    void unbindDatabase() override { closeGrid(); }
    bool savePending() override;

private:
    void addFieldCardButton();
    // "Print …" and "Save as PDF …" under the list buttons.
    void addPrintButtons();
    // The class list as the grid shows it; false (the user told) when it cannot be made.
    bool listDocument(ListDocument &document);
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
    timing::TimingController *m_timing;
    events::GridContext m_context;
    events::GridColumns m_columns;
    QPushButton *m_advance = nullptr;
};

// Opens the grid window over the event's grid table in the window area (on its own without
// one), deleted when closed; nullptr when the table cannot be read, after telling the user.
GridWindow *openEventGrid(AppState &state, QMdiArea *area, timing::TimingController *timing,
                          const events::GridContext &context, const QString &table, const QString &heading);
// The open grid window over a table (names compared without case, as table names are), or
// nullptr.
GridWindow *findEventGrid(QMdiArea *area, const QString &table);

} // namespace arenor
