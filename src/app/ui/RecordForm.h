#pragma once
// The record-at-a-time editing every data-bound window shares: a model over the table in
// record order, a mapper of fields to controls, the validate notification before the current
// record changes, and write-back when the record is left or saved.

#include "db/AppState.h"
#include "db/RecordModel.h"

#include <QDataWidgetMapper>
#include <QObject>
#include <functional>
#include <map>

namespace arenor {

class RecordForm : public QObject, public DataBound {
    Q_OBJECT
public:
    // tableName is asked each time the form is bound, so it follows the language of the moment.
    // With `shared`, the form edits a model the meet owns (and binds) instead of its own.
    RecordForm(AppState &state, std::function<QString()> tableName, db::RecordModel *shared = nullptr,
               QObject *parent = nullptr);
    ~RecordForm() override;

    // Shows field `field` of the current record in the widget (its user property by default).
    void addMapping(QWidget *widget, int field, const QByteArray &property = {});

    // DataBound: read the table and show the first record; let go of it; write the shown one.
    void bindDatabase(db::Database &database) override;
    void unbindDatabase() override;
    bool savePending() override { return saveShown(); }

    db::RecordModel &model() { return *m_model; }
    int currentRow() const { return m_mapper.currentIndex(); }
    int recordCount() const { return m_model->rowCount(); }

    // Leaves the current record (validate, then write back) and shows another. A row outside
    // the table or the row shown writes the shown record and stays (an arrow at either end).
    // When the record cannot be written, the user is told (message 9 and the reason) and it
    // stays shown with its edits. Returns false when nothing moved.
    bool setCurrentRow(int row);
    bool first() { return setCurrentRow(0); }
    bool last() { return setCurrentRow(recordCount() - 1); }
    bool next() { return setCurrentRow(currentRow() + 1); }
    bool previous() { return setCurrentRow(currentRow() - 1); }
    bool moveBy(int offset) { return setCurrentRow(currentRow() + offset); }

    // Writes the controls' values into the current record now.
    bool save();
    // save() for a record being left: true when none is shown; on failure the user is told.
    bool saveShown();
    // Shows the current record's stored values again.
    void revert() { m_mapper.revert(); }
    // Re-reads the table (after another part of the program changed it), keeping the position.
    void refresh();

    // Called before the current record is written back (window may adjust or check values).
    std::function<void(int row)> validate;
    // Called after the current record was written back, also when nothing had changed: the
    // window keeps its catalogue in step with the stored record here.
    std::function<void(int row)> saved;

signals:
    void currentRowChanged(int row);
    // The current record was written to the table (after leaving or saving it).
    void recordSaved(int row);

private:
    void rememberShown();
    // The controls hold something else than was shown from the record: the user's edits.
    bool showsEdits() const;
    AppState &m_state;
    std::function<QString()> m_tableName;
    db::RecordModel m_ownModel;
    db::RecordModel *m_model;
    bool m_shared;
    QDataWidgetMapper m_mapper;
    std::map<int, QVariant> m_shown; // field -> what its control showed of the record
    bool m_storedChanged = false;    // the table changed elsewhere while edits were shown
};

} // namespace arenor
