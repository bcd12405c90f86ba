#include "ImportDialog.h"

#include "exchange/ExchangeCommands.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace arenor::exchange {

ImportPreviewModel::ImportPreviewModel(const AppState &state, const CsvImport &import, QObject *parent)
    : QAbstractTableModel(parent), m_state(state), m_import(import), m_rows(import.rows(0, kShownLines))
{
}

int ImportPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ImportPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_import.heading().size());
}

QVariant ImportPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return m_rows[index.row()].value(index.column());
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= m_import.heading().size())
        return {};
    return m_import.heading()[section] + QStringLiteral("\n→ ") +
           columnCaption(m_import.columns()[section], m_state);
}

void ImportPreviewModel::mappingChanged()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

ImportDialog::ImportDialog(AppState &state, CsvImport &import, const QString &fileName, QWidget *parent)
    : QDialog(parent), m_state(state), m_import(import)
{
    setObjectName(QStringLiteral("importDialog"));
    const auto t = [&state](ExText id) { return exchangeText(id, state.texts); };
    setWindowTitle(t(ExText::ImportTitle));

    auto *file = new QLabel(t(ExText::ImportFile).arg(fileName), this);
    auto *preview = new QLabel(t(ExText::ImportPreview), this);
    auto *table = new QTableView(this);
    table->setObjectName(QStringLiteral("previewTableView"));
    m_model = new ImportPreviewModel(state, import, this);
    table->setModel(m_model);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    preview->setBuddy(table);

    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("columnComboBox"));
    for (int c = 0; c < import.heading().size(); ++c)
        m_column->addItem(QStringLiteral("%1: %2").arg(c + 1).arg(import.heading()[c]));
    auto *columnLabel = new QLabel(t(ExText::ImportColumns), this);
    columnLabel->setBuddy(m_column);

    m_meaning = new QComboBox(this);
    m_meaning->setObjectName(QStringLiteral("meaningComboBox"));
    for (ColumnKind k : {ColumnKind::Ignored, ColumnKind::StartNo, ColumnKind::FirstName, ColumnKind::Surname,
                         ColumnKind::Club, ColumnKind::Class, ColumnKind::Sex, ColumnKind::Born,
                         ColumnKind::Events, ColumnKind::SeedMark})
        m_choices.append({k, 0});
    for (int e = 1; e <= kEventSlots; ++e) {
        const QString name = state.eventNames[size_t(e)].trimmed();
        if (!name.isEmpty() && name != u'_' && name != u'-')
            m_choices.append({ColumnKind::Event, e});
    }
    for (const ColumnMap &m : std::as_const(m_choices))
        m_meaning->addItem(columnCaption(m, state));
    auto *meaningLabel = new QLabel(t(ExText::ImportMeaning), this);
    meaningLabel->setBuddy(m_meaning);

    auto *problemsLabel = new QLabel(t(ExText::ImportProblems), this);
    m_problems = new QListWidget(this);
    m_problems->setObjectName(QStringLiteral("problemsListWidget"));
    problemsLabel->setBuddy(m_problems);

    auto *buttons = new QDialogButtonBox(this);
    m_apply = buttons->addButton(t(ExText::ImportApply), QDialogButtonBox::AcceptRole);
    m_apply->setObjectName(QStringLiteral("importPushButton"));
    QPushButton *cancel = buttons->addButton(state.texts.caption(Text::Cancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelPushButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *mapping = new QGridLayout;
    mapping->addWidget(columnLabel, 0, 0);
    mapping->addWidget(m_column, 0, 1);
    mapping->addWidget(meaningLabel, 0, 2);
    mapping->addWidget(m_meaning, 0, 3);
    mapping->setColumnStretch(1, 1);
    mapping->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addWidget(preview);
    layout->addWidget(table, 3);
    layout->addLayout(mapping);
    layout->addWidget(problemsLabel);
    layout->addWidget(m_problems, 2);
    layout->addWidget(buttons);
    resize(820, 560);

    connect(m_column, &QComboBox::currentIndexChanged, this, &ImportDialog::showColumn);
    connect(m_meaning, &QComboBox::activated, this, &ImportDialog::chooseMeaning);
    showColumn(0);
    recheck();
}

void ImportDialog::showColumn(int column)
{
    if (column < 0 || column >= m_import.columns().size())
        return;
    const QSignalBlocker block(m_meaning);
    m_meaning->setCurrentIndex(std::max<qsizetype>(0, m_choices.indexOf(m_import.columns()[column])));
}

void ImportDialog::chooseMeaning(int choice)
{
    if (choice < 0 || choice >= m_choices.size())
        return;
    m_import.setColumn(m_column->currentIndex(), m_choices[choice]);
    m_model->mappingChanged();
    recheck();
}

void ImportDialog::recheck()
{
    m_problems->clear();
    QList<LineCheck> checks;
    if (Status s = m_import.check(m_state, checks); !s) {
        m_problems->addItem(s.error());
        m_apply->setEnabled(false);
        return;
    }
    int good = 0;
    for (const LineCheck &c : std::as_const(checks)) {
        if (c.status == LineStatus::Ok)
            ++good;
        else
            m_problems->addItem(exchangeText(ExText::LineProblem, m_state.texts).arg(c.line).arg(c.problem));
    }
    m_apply->setEnabled(good > 0);
}

void runImportCommand(AppState &state, QWidget *parent)
{
    if (!state.database.isOpen())
        return;
    const std::optional<QString> path = chooseCsvFile(state, false);
    if (!path)
        return;
    CsvImport import;
    if (Status s = import.read(*path, state); !s) {
        state.informText(s.error(), Icon::Exclamation);
        return;
    }
    ImportDialog dialog(state, import, QFileInfo(*path).fileName(), parent);
    if (dialog.exec() == QDialog::Accepted)
        applyImport(state, import);
}

} // namespace arenor::exchange
