#pragma once
// The CSV import's preview: the first lines of the file under their columns, what each column
// is taken for (changed with the two pick lists), the problems of every line, and "Import".

#include "db/AppState.h"
#include "exchange/CsvImport.h"

#include <QAbstractTableModel>
#include <QDialog>

class QComboBox;
class QListWidget;
class QLabel;
class QTableView;
class QPushButton;

namespace arenor::exchange {

// The first lines of the file; the header shows each column's heading and what it is taken for.
class ImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kShownLines = 20;
    ImportPreviewModel(const AppState &state, const CsvImport &import, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void mappingChanged();

private:
    const AppState &m_state;
    const CsvImport &m_import;
    QList<QStringList> m_rows;
};

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // The import must hold a file read without failure.
    ImportDialog(AppState &state, CsvImport &import, const QString &fileName, QWidget *parent = nullptr);
    // The choices of the "Holds" list, in order.
    const QList<ColumnMap> &choices() const { return m_choices; }

private:
    void showColumn(int column);
    void chooseMeaning(int choice);
    void recheck();

    AppState &m_state;
    CsvImport &m_import;
    ImportPreviewModel *m_model = nullptr;
    QList<ColumnMap> m_choices;
    QComboBox *m_column = nullptr;
    QComboBox *m_meaning = nullptr;
    QListWidget *m_problems = nullptr;
    QPushButton *m_apply = nullptr;
};

// Asks for a file, shows the preview and stores the import when the user says so.
void runImportCommand(AppState &state, QWidget *parent);

} // namespace arenor::exchange
