#pragma once
// The grid window in register mode: one register table of the meet database (Personer,
// Klubber, Stafettlag, Poengoppsett, ...) in an editable grid, every record a row, for bulk
// editing and for repairing record numbers. Its list buttons "&Lage" and "&Vise", "&Sorter"
// and the calculation buttons are disabled.
//
// Use from any register window:
//
//     openRegisterGrid(state, mainWindow, schema::tableName(state, schema::Table::Stafettlag),
//                      [this](bool changed) { if (changed) { form.refresh(); /* re-read */ } });
//
// (RegisterWindowBase::openGrid() does exactly this for windows built on it.)

#include "db/AppState.h"
#include "db/RecordModel.h"
#include "events/GridSort.h"
#include "registers/RegisterRules.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableView;

namespace arenor {

class MainWindow;
class RecordNavigator;

class RegisterGrid : public QDialog {
    Q_OBJECT
public:
    // The ten commands of the grid window, by index.
    enum Command {
        MakeList = 0,
        ShowList = 1,
        Sort = 2,
        Close = 3,
        Differences = 4,
        Places = 5,
        Results = 6,
        StartSetup = 7,
        ImportTimes = 8,
        Handle = 9,
        CommandCount = 10
    };

    // multiLineFields: fields whose line breaks are kept; in every other field a typed line
    // break becomes a blank, as in the register windows. number: the record number rule of a
    // numbered register, applied to field 0 as in its window.
    RegisterGrid(AppState &state, const QString &table, const QList<int> &multiLineFields,
                 std::optional<registers::RecordNumber> number = std::nullopt, QWidget *parent = nullptr);
    ~RegisterGrid() override;

    QString table() const { return m_table; }
    QTableView *view() const { return m_view; }
    db::RecordModel &model() { return m_model; }
    // The order the grid shows its rows in (sorting changes only that order).
    events::GridSortModel &sortModel() { return m_sort; }
    // The table row shown at a position.
    int tableRow(int shownRow) const { return m_sort.sourceRow(shownRow); }
    QPushButton *commandButton(int index) const { return m_buttons[size_t(index)]; }
    RecordNavigator *navigator() const { return m_navigator; }
    // True once a record was written through the grid.
    bool changed() const { return m_changed; }

    // Ends an edit in progress so it is written, then closes the window ("&Lukk").
    void closeGrid();
    // The heading above the grid (event grids: event, variant, class and round); hidden when
    // empty. It also names the grid for assistive technology.
    void setHeading(const QString &heading);
    QString heading() const;
    // Writes an edit still open in a cell, keeping the current cell.
    void commitEdit();

signals:
    // After the window closed and let go of the table.
    void closed(bool changed);

protected:
    void done(int result) override;

private:
    void applyCaptions();
    void sizeColumns();
    void moveToRow(int row);
    void showStoredAnew();
    AppState &m_state;
    QString m_table;
    db::RecordModel m_model;
    events::GridSortModel m_sort;
    QTableView *m_view = nullptr;
    RecordNavigator *m_navigator = nullptr;
    std::array<QPushButton *, CommandCount> m_buttons{};
    QLabel *m_recordNameLabel = nullptr;
    QLabel *m_headingLabel = nullptr;
    bool m_changed = false;
    bool m_closed = false;
    bool m_storedChanged = false; // another station changed the table: read it again
};

// Opens the grid window over a register table, modal, and returns at once (nullptr when no
// meet database is open or the table cannot be read, after telling the user). When it closes,
// onClosed(changed) runs, changed being true when a record was written, so the caller can
// re-read its form and catalogue.
RegisterGrid *openRegisterGrid(AppState &state, MainWindow &main, const QString &table,
                               std::function<void(bool changed)> onClosed,
                               const QList<int> &multiLineFields = {},
                               std::optional<registers::RecordNumber> number = std::nullopt);

} // namespace arenor
