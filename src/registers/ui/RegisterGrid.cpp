#include "RegisterGrid.h"

#include "app/ui/MainWindow.h"
#include "registers/RegisterRules.h"
#include "registers/ui/RegisterWindowBase.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaProperty>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace arenor {

namespace {

// Writes what is typed into a cell, without line breaks unless the field is multi-line.
class SingleLineDelegate : public QStyledItemDelegate {
public:
    SingleLineDelegate(QList<int> multiLineFields, QObject *parent)
        : QStyledItemDelegate(parent), m_multiLine(std::move(multiLineFields))
    {
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        QVariant value = editor->metaObject()->userProperty().read(editor);
        if (value.typeId() == QMetaType::QString && !m_multiLine.contains(index.column()))
            value = registers::singleLine(value.toString());
        model->setData(index, value, Qt::EditRole);
    }

private:
    QList<int> m_multiLine;
};

// Captions of the grid window: title, the four labels, the frame, the ten buttons.
constexpr int kTitleCaption = 320;
constexpr int kRecordNameCaption = 321;
constexpr int kInputCaption = 322;
constexpr int kListsCaption = 323;
constexpr int kWindowCaption = 324;
constexpr int kFrameCaption = 325;
constexpr int kButtonCaptions[RegisterGrid::CommandCount] = {328, 329, 330, 331, 332,
                                                             333, 334, 335, 336, 337};
const char *const kButtonNames[RegisterGrid::CommandCount] = {
    "makeListPushButton",    "showListPushButton", "sortPushButton",    "closePushButton",
    "differencesPushButton", "placesPushButton",   "resultsPushButton", "startSetupPushButton",
    "importTimesPushButton", "handlePushButton"};

} // namespace

RegisterGrid::RegisterGrid(AppState &state, const QString &table, const QList<int> &multiLineFields,
                           std::optional<registers::RecordNumber> number, QWidget *parent)
    : QDialog(parent), m_state(state), m_table(table)
{
    setObjectName(QStringLiteral("registerGridDialog"));
    m_model.open(state.database, table);
    if (number)
        m_model.check = registers::recordNumberCheck(state, *number, m_model);
    connect(&m_model, &db::RecordModel::refused, this,
            [this](const QString &why) { m_state.informText(why, Icon::Exclamation); });
    connect(&m_model, &db::RecordModel::recordWritten, this, [this] { m_changed = true; });

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("databaseGroupBox"));
    frame->setTitle(state.texts.caption(kFrameCaption));
    auto *frameLayout = new QHBoxLayout(frame);
    m_recordNameLabel = new QLabel(frame);
    m_recordNameLabel->setObjectName(QStringLiteral("recordNameLabel"));
    m_navigator = new RecordNavigator(frame);
    m_navigator->setCaption(table);
    m_navigator->setLanguage(state.texts.language());
    frameLayout->addWidget(m_recordNameLabel);
    frameLayout->addWidget(m_navigator, 1);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("gridTableView"));
    m_sort.setSourceModel(&m_model);
    m_view->setModel(&m_sort);
    auto *delegate = new SingleLineDelegate(multiLineFields, m_view);
    m_view->setItemDelegate(delegate);
    // Another station of a server meet changed the table: read it again, keeping the cell the
    // user is at; while a cell is being typed, once it is left.
    connect(&m_model, &db::RecordModel::storedChanged, this, [this] {
        m_storedChanged = true;
        showStoredAnew();
    });
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] {
        if (m_storedChanged)
            QTimer::singleShot(0, this, [this] { showStoredAnew(); });
    });
    m_view->horizontalHeader()->setDefaultSectionSize(110);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->setAccessibleName(table);
    m_recordNameLabel->setBuddy(m_view);
    connect(m_navigator, &RecordNavigator::first, this, [this] { moveToRow(0); });
    connect(m_navigator, &RecordNavigator::previous, this,
            [this] { moveToRow(m_view->currentIndex().row() - 1); });
    connect(m_navigator, &RecordNavigator::next, this,
            [this] { moveToRow(m_view->currentIndex().row() + 1); });
    connect(m_navigator, &RecordNavigator::last, this, [this] { moveToRow(m_sort.rowCount() - 1); });

    for (int i = 0; i < CommandCount; ++i) {
        auto *b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(kButtonNames[i]));
        m_buttons[size_t(i)] = b;
    }
    connect(m_buttons[Close], &QPushButton::clicked, this, &RegisterGrid::closeGrid);
    // Register mode: no class list to make or show, no sort order to impose on a register
    // whose record order is its numbering, and nothing to calculate.
    for (int i = 0; i < CommandCount; ++i)
        m_buttons[size_t(i)]->setEnabled(i == Close);

    auto *commands = new QVBoxLayout;
    auto group = [this, commands](int caption, const QString &name, std::initializer_list<int> buttons) {
        auto *g = new QGroupBox(m_state.texts.caption(caption), this);
        g->setObjectName(name);
        auto *l = new QVBoxLayout(g);
        for (int b : buttons)
            l->addWidget(m_buttons[size_t(b)]);
        commands->addWidget(g);
    };
    group(kInputCaption, QStringLiteral("inputGroupBox"),
          {Differences, Places, Results, StartSetup, ImportTimes, Handle});
    group(kListsCaption, QStringLiteral("listsGroupBox"), {MakeList, ShowList, Sort});
    group(kWindowCaption, QStringLiteral("windowGroupBox"), {Close});
    commands->addStretch(1);

    m_headingLabel = new QLabel(this);
    m_headingLabel->setObjectName(QStringLiteral("headingLabel"));
    m_headingLabel->setVisible(false);
    QFont bold = m_headingLabel->font();
    bold.setBold(true);
    m_headingLabel->setFont(bold);

    auto *left = new QVBoxLayout;
    left->addWidget(frame);
    left->addWidget(m_headingLabel);
    left->addWidget(m_view, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);

    applyCaptions();
    connect(&state.notifier, &MeetNotifier::languageChanged, this, &RegisterGrid::applyCaptions);
    connect(&m_sort, &QAbstractItemModel::modelReset, this, &RegisterGrid::sizeColumns);
    sizeColumns();
    resize(960, 600);
    if (m_model.isOpen())
        moveToRow(0);
}

void RegisterGrid::sizeColumns()
{
    // Every value whole while the window has room: each column as wide as its contents, a long
    // text (a note, an address) at most about sixty characters (widened by hand when wanted).
    m_view->resizeColumnsToContents();
    const int widest = m_view->fontMetrics().averageCharWidth() * 60;
    for (int c = 0; c < m_sort.columnCount(); ++c)
        if (m_view->columnWidth(c) > widest)
            m_view->setColumnWidth(c, widest);
}

RegisterGrid::~RegisterGrid() = default;

void RegisterGrid::applyCaptions()
{
    const TextTables &t = m_state.texts;
    setWindowTitle(t.caption(kTitleCaption) + QStringLiteral(" - ") + m_table);
    m_recordNameLabel->setText(t.caption(kRecordNameCaption));
    for (int i = 0; i < CommandCount; ++i) {
        m_buttons[size_t(i)]->setText(t.caption(kButtonCaptions[i]));
        m_buttons[size_t(i)]->setAccessibleName(plainCaption(t.caption(kButtonCaptions[i])).trimmed());
    }
}

void RegisterGrid::moveToRow(int row)
{
    if (row < 0 || row >= m_sort.rowCount())
        return;
    const int column = std::max(0, m_view->currentIndex().column());
    m_view->setCurrentIndex(m_sort.index(row, column));
}

void RegisterGrid::setHeading(const QString &heading)
{
    m_headingLabel->setText(heading);
    m_headingLabel->setVisible(!heading.isEmpty());
    m_view->setAccessibleName(heading.isEmpty() ? m_table : heading);
}

QString RegisterGrid::heading() const
{
    return m_headingLabel->text();
}

void RegisterGrid::commitEdit()
{
    const QModelIndex current = m_view->currentIndex();
    // Moving the current cell away makes the view write its open editor.
    m_view->setCurrentIndex(QModelIndex());
    m_view->setCurrentIndex(current);
}

void RegisterGrid::closeGrid()
{
    accept();
}

void RegisterGrid::done(int result)
{
    const bool closing = !m_closed;
    if (closing) {
        // Moving the current cell away commits an edit still open in the grid.
        m_view->setCurrentIndex(QModelIndex());
        m_closed = true;
        m_view->setModel(nullptr);
        m_model.close();
    }
    QDialog::done(result);
    if (closing)
        emit closed(m_changed);
}

RegisterGrid *openRegisterGrid(AppState &state, MainWindow &main, const QString &table,
                               std::function<void(bool changed)> onClosed, const QList<int> &multiLineFields,
                               std::optional<registers::RecordNumber> number)
{
    if (!state.database.isOpen())
        return nullptr;
    auto *grid = new RegisterGrid(state, table, multiLineFields, number, &main);
    if (!grid->model().isOpen()) {
        state.informText(state.texts.message(9) + QStringLiteral("\n\n") + grid->model().lastError(),
                         Icon::Exclamation);
        delete grid;
        return nullptr;
    }
    grid->setAttribute(Qt::WA_DeleteOnClose);
    grid->setWindowModality(Qt::ApplicationModal);
    QObject::connect(grid, &RegisterGrid::closed, grid, [onClosed = std::move(onClosed)](bool changed) {
        if (onClosed)
            onClosed(changed);
    });
    grid->show();
    return grid;
}

void RegisterGrid::showStoredAnew()
{
    // An open cell editor holds what the user is typing.
    if (!m_storedChanged || m_view->indexWidget(m_view->currentIndex()))
        return;
    m_storedChanged = false;
    const QModelIndex at = m_view->currentIndex();
    m_model.refresh();
    if (at.isValid() && m_sort.rowCount() > 0)
        m_view->setCurrentIndex(m_sort.index(std::min(at.row(), m_sort.rowCount() - 1), at.column()));
}

} // namespace arenor
