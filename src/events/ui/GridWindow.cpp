#include "events/ui/GridWindow.h"

#include "events/GridAdvance.h"
#include "events/GridCommands.h"
#include "events/GridImport.h"
#include "events/ui/FieldCardWindow.h"
#include "events/ui/ResultHandlingDialog.h"
#include "events/ui/SortDialog.h"
#include "events/ui/StartSetupDialog.h"
#include "print/ListCommands.h"
#include "print/ui/ListPrintDialog.h"
#include "timing/TimingController.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <array>
#include <functional>

namespace arenor {

using namespace events;

GridWindow::GridWindow(AppState &state, timing::TimingController *timing, const GridContext &context,
                       const QString &table)
    : RegisterGrid(state, table, {}, std::nullopt), m_appState(state), m_timing(timing), m_context(context),
      m_columns(model().fieldNames())
{
    setObjectName(QStringLiteral("gridDialog"));
    m_appState.addDataBound(this);
    // The event's commands: places and differences always; the results and the import of
    // times for step lists; the result handling whenever the event has help columns (the
    // attempts of a technical event stand in a standard list).
    const bool step = gridLayoutOf(context.type) == ListType::Step;
    const std::pair<Command, std::function<bool()>> commands[] = {
        {MakeList, [this] { return makeList(); }},       {ShowList, [this] { return showList(); }},
        {Differences, [this] { return differences(); }}, {Places, [this] { return places(); }},
        {Results, [this] { return stepResults(); }},     {ImportTimes, [this] { return importTimes(); }},
    };
    for (const auto &[command, run] : commands) {
        QPushButton *b = commandButton(command);
        b->setEnabled((command != Results && command != ImportTimes) || step);
        connect(b, &QPushButton::clicked, this, [run] { run(); });
    }
    commandButton(Handle)->setEnabled(context.helpCount > 0);
    connect(commandButton(Handle), &QPushButton::clicked, this, [this] { openHandling(); });
    commandButton(StartSetup)->setEnabled(step);
    connect(commandButton(StartSetup), &QPushButton::clicked, this, [this] { openStartSetup(); });
    commandButton(Sort)->setEnabled(true);
    connect(commandButton(Sort), &QPushButton::clicked, this, [this] { openSort(); });
    // Advancement, for heat grids: beside the input commands.
    m_advance = new QPushButton(m_appState.texts.message(Text::AdvanceButton), this);
    m_advance->setObjectName(QStringLiteral("advancePushButton"));
    m_advance->setEnabled(gridLayoutOf(context.type) == ListType::Heat);
    if (auto *input = findChild<QGroupBox *>(QStringLiteral("inputGroupBox")); input && input->layout())
        input->layout()->addWidget(m_advance);
    connect(m_advance, &QPushButton::clicked, this, [this] { advance(); });
    connect(&m_appState.notifier, &MeetNotifier::languageChanged, m_advance,
            [this] { m_advance->setText(m_appState.texts.message(Text::AdvanceButton)); });
    showAdvancement();
    // Who runs in which heat and lane is told on (the camera's start lists follow it); results are not.
    auto announce = [this] { emit m_appState.notifier.gridChanged(model().table()); };
    connect(&model(), &QAbstractItemModel::dataChanged, this,
            [this, announce](const QModelIndex &from, const QModelIndex &to) {
                for (int c = from.column(); c <= to.column(); ++c)
                    if (m_columns.holdsStartList(c))
                        return announce();
            });
    connect(&model(), &QAbstractItemModel::rowsInserted, this, announce);
    connect(&model(), &QAbstractItemModel::rowsRemoved, this, announce);
    addFieldCardButton();
    addPrintButtons();
}

void GridWindow::addFieldCardButton()
{
    // Technical events get the field card: attempts or heights typed by the rules.
    auto *input = findChild<QGroupBox *>(QStringLiteral("inputGroupBox"));
    if (!m_context.technical || !input || !input->layout())
        return;
    auto *b = new QPushButton(input);
    b->setObjectName(QStringLiteral("fieldCardPushButton"));
    auto caption = [this, b] {
        b->setText(m_appState.texts.language() == Language::Norwegian ? QStringLiteral("&Forsøk")
                                                                      : QStringLiteral("&Attempts"));
    };
    caption();
    connect(&m_appState.notifier, &MeetNotifier::languageChanged, b, caption);
    input->layout()->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this] { openFieldCard(); });
}

FieldCardWindow *GridWindow::openFieldCard()
{
    commitEdit();
    auto *card = new FieldCardWindow(m_appState, m_context, table(), this);
    card->setWindowFlag(Qt::Window);
    card->setAttribute(Qt::WA_DeleteOnClose);
    connect(card, &FieldCardWindow::resultsWritten, this, [this] { model().refresh(); });
    card->show();
    card->raise();
    card->activateWindow();
    return card;
}

void GridWindow::addPrintButtons()
{
    auto *lists = findChild<QGroupBox *>(QStringLiteral("listsGroupBox"));
    if (!lists || !lists->layout())
        return;
    auto *print = new QPushButton(lists);
    print->setObjectName(QStringLiteral("printPushButton"));
    auto *pdf = new QPushButton(lists);
    pdf->setObjectName(QStringLiteral("pdfPushButton"));
    lists->layout()->addWidget(print);
    lists->layout()->addWidget(pdf);
    // The class list as the grid shows it now, made anew from the grid.
    connect(print, &QPushButton::clicked, this, [this] {
        ListDocument document;
        if (listDocument(document))
            print::printWithPreview(this, m_appState, document);
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        ListDocument document;
        if (listDocument(document))
            print::saveListAsPdf(m_appState, document);
    });
    const auto captions = [this, print, pdf] {
        print::setCaptionWithFreeMnemonic(*print, m_appState.texts.message(Text::PrintCommand), *this);
        print::setCaptionWithFreeMnemonic(*pdf, m_appState.texts.message(Text::PdfCommand), *this);
    };
    captions();
    connect(&m_appState.notifier, &MeetNotifier::languageChanged, this, captions);
}

bool GridWindow::listDocument(ListDocument &document)
{
    commitEdit();
    if (Status s = gridClassListDocument(m_appState, m_context, table(), sortModel().shownRowids(), document);
        !s) {
        m_appState.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool GridWindow::advance()
{
    commitEdit();
    const events::GridAdvanceOutcome outcome = events::advanceFromGrid(m_appState, m_context, table());
    showAdvancement();
    return outcome.done;
}

void GridWindow::showAdvancement()
{
    const int number = m_columns.index(ColumnRole::Number);
    if (number < 0 || !model().isOpen())
        return;
    const QHash<int, events::AdvanceRecord> kept = events::readAdvancement(m_appState.database, table());
    QHash<int, QString> marks;
    for (int r = 0; kept.size() && r < model().rowCount(); ++r) {
        const auto it = kept.constFind(model().value(r, number).toString().trimmed().toInt());
        if (it != kept.cend() && it->qualifier != events::Qualifier::None)
            marks.insert(r, events::qualifierText(it->qualifier));
    }
    sortModel().setRowMarks(marks);
}

GridWindow::~GridWindow()
{
    m_appState.removeDataBound(this);
}

bool GridWindow::savePending()
{
    if (model().isOpen())
        commitEdit();
    return true;
}

StartSetupDialog *GridWindow::openStartSetup()
{
    commitEdit();
    auto *dialog = new StartSetupDialog(m_appState, m_context.format, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // From the grid the times go into the grid.
    dialog->toFile()->setChecked(false);
    dialog->toFile()->setEnabled(false);
    connect(dialog, &StartSetupDialog::confirmed, this, [this, dialog] {
        if (!columnsUsable())
            return;
        QStringList times;
        QString notice;
        const Status s = gridStartTimes(dialog->request(), columnTexts(m_columns.index(ColumnRole::Number)),
                                        dialog->byNumber()->isChecked(), times,
                                        m_appState.texts.messageLanguage(), &notice);
        if (!s) {
            m_appState.informText(s.error(), Icon::Exclamation);
            return;
        }
        QList<QVariant> values;
        const QStringList old = columnTexts(m_columns.index(ColumnRole::Out));
        for (int r = 0; r < times.size(); ++r)
            values << (times[r].isEmpty() ? QVariant(old[r]) : QVariant(times[r]));
        if (!writeColumn(m_columns.index(ColumnRole::Out), values))
            return;
        if (!notice.isEmpty())
            m_appState.informText(notice, Icon::Exclamation);
        dialog->accept();
    });
    dialog->open();
    return dialog;
}

SortDialog *GridWindow::openSort()
{
    commitEdit();
    auto *dialog = new SortDialog(m_appState, &m_context, model().columnCount(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SortDialog::sortRequested, this, &GridWindow::sortGrid);
    dialog->open();
    return dialog;
}

void GridWindow::sortGrid(int column, bool descending)
{
    const int c = column - 1;
    if (c < 0 || c >= model().columnCount())
        return;
    const GridColumn role = columnRole(model().fieldNames()[c]);
    const SortAs as = sortAsFor(role, model().value(0, c));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sortModel().sortGrid(c, descending, as, m_context.kind(), m_context.format);
    QApplication::restoreOverrideCursor();
    // The differences are the grid's own; what the user typed is worth a word.
    if (as == SortAs::Result && role.role != ColumnRole::Difference)
        tellUnreadable(columnTexts(c));
}

ResultHandlingDialog *GridWindow::openHandling()
{
    commitEdit();
    auto *dialog = new ResultHandlingDialog(m_appState, m_context, table(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { model().refresh(); });
    dialog->open();
    return dialog;
}

bool GridWindow::columnsUsable()
{
    const QList<GridColumn> missing = m_columns.missing(gridLayoutOf(m_context.type));
    if (missing.isEmpty())
        return true;
    const TextTables &t = m_appState.texts;
    m_appState.informText(t.message(Text::GridLacksColumns).arg(columnNames(missing, t.messageLanguage())),
                          Icon::Exclamation);
    return false;
}

QStringList GridWindow::columnTexts(int column) const
{
    QStringList texts;
    const db::RecordModel &m = const_cast<GridWindow *>(this)->model();
    texts.reserve(m.rowCount());
    for (int r = 0; r < m.rowCount(); ++r)
        texts << m.text(tableRow(r), column);
    return texts;
}

void GridWindow::tellUnreadable(const QStringList &texts)
{
    const int number = m_columns.index(ColumnRole::Number);
    const QStringList numbers = unreadableResultNumbers(m_context.kind(), m_context.format, texts,
                                                        number >= 0 ? columnTexts(number) : QStringList());
    if (!numbers.isEmpty())
        m_appState.informText(
            unreadableResultsText(m_appState.texts.messageLanguage(), m_context.format, numbers),
            Icon::Exclamation);
}

bool GridWindow::writeColumn(int column, const QList<QVariant> &values)
{
    return writeColumns({{column, values}});
}

bool GridWindow::writeColumns(const QList<std::pair<int, QList<QVariant>>> &columns)
{
    db::RecordModel &m = model();
    Status s = m_appState.database.transaction([&]() -> Status {
        m.beginBatch();
        for (const auto &[column, values] : columns)
            for (int r = 0; r < m.rowCount() && r < values.size(); ++r)
                m.setValue(tableRow(r), column, values[r]);
        if (!m.endBatch())
            return Status::failure(m.lastError());
        return {};
    });
    if (!s) {
        // The transaction was rolled back: show the table as it is stored.
        m.refresh();
        m_appState.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool GridWindow::differences()
{
    commitEdit();
    if (!columnsUsable())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList results = columnTexts(m_columns.index(ColumnRole::Results));
    const QStringList d = gridDifferences(results, m_context.kind(), m_context.format);
    const bool ok = writeColumn(m_columns.index(ColumnRole::Difference), QList<QVariant>(d.begin(), d.end()));
    QApplication::restoreOverrideCursor();
    if (ok)
        tellUnreadable(results);
    return ok;
}

bool GridWindow::places()
{
    commitEdit();
    if (!columnsUsable())
        return false;
    const QStringList results = columnTexts(m_columns.index(ColumnRole::Results));
    QList<QVariant> values;
    for (int p : gridPlaces(results, m_context.kind(), m_context.format))
        values << QVariant(p);
    if (!writeColumn(m_columns.index(ColumnRole::Place), values))
        return false;
    tellUnreadable(results);
    return true;
}

bool GridWindow::stepResults()
{
    commitEdit();
    if (!columnsUsable())
        return false;
    const QStringList out = columnTexts(m_columns.index(ColumnRole::Out));
    const QStringList in = columnTexts(m_columns.index(ColumnRole::In));
    const QStringList r = gridStepResults(out, in, m_context.kind(), m_context.format);
    if (!writeColumn(m_columns.index(ColumnRole::Results), QList<QVariant>(r.begin(), r.end())))
        return false;
    // A row counts once, by the first of its times that cannot be read.
    QStringList times;
    for (qsizetype i = 0; i < r.size(); ++i)
        times << (isUnreadableResult(m_context.kind(), m_context.format, out[i]) ? out[i] : in[i]);
    tellUnreadable(times);
    return true;
}

bool GridWindow::importTimes()
{
    commitEdit();
    if (!columnsUsable())
        return false;
    const bool keep = m_timing && m_timing->setup().keepImported();
    const QStringList numbers = columnTexts(m_columns.index(ColumnRole::Number));
    struct Side {
        timing::Direction direction;
        int column;
        QString path;
        QStringList times;
        timing::TimeList list;
    };
    std::array<Side, 2> sides{Side{timing::Direction::Out, m_columns.index(ColumnRole::Out), {}, {}, {}},
                              Side{timing::Direction::In, m_columns.index(ColumnRole::In), {}, {}, {}}};
    for (Side &side : sides) {
        side.path = m_appState.meetFile(timing::timesFileName(side.direction));
        side.times = columnTexts(side.column);
        if (Status s = importFromTimesFile(side.path, numbers, side.times, m_appState.catalogs, side.list);
            !s) {
            m_appState.informText(s.error(), Icon::Exclamation);
            return false;
        }
    }
    // The grid keeps the times first, both columns in one step; the files lose the imported
    // records only after that, so a failing grid loses nothing.
    if (!writeColumns({{sides[0].column, QList<QVariant>(sides[0].times.begin(), sides[0].times.end())},
                       {sides[1].column, QList<QVariant>(sides[1].times.begin(), sides[1].times.end())}}))
        return false;
    for (Side &side : sides) {
        if (Status s = rewriteImported(side.path, side.direction, side.list, keep); !s)
            m_appState.informText(
                m_appState.texts.message(Text::TimeFileNotRewritten).arg(side.path, s.error()),
                Icon::Exclamation);
    }
    // The time lists and the timing window show the files as they are now.
    emit m_appState.notifier.timeFilesChanged();
    return true;
}

bool GridWindow::makeList()
{
    commitEdit();
    return makeClassList(m_appState, m_context, sortModel().shownRowids());
}

bool GridWindow::showList()
{
    return showClassList(m_appState, m_context);
}

GridWindow *openEventGrid(AppState &state, QMdiArea *area, timing::TimingController *timing,
                          const GridContext &context, const QString &table, const QString &heading)
{
    if (!state.database.isOpen())
        return nullptr;
    auto *grid = new GridWindow(state, timing, context, table);
    if (!grid->model().isOpen()) {
        state.informText(state.texts.message(9) + QStringLiteral("\n\n") + grid->model().lastError(),
                         Icon::Exclamation);
        delete grid;
        return nullptr;
    }
    grid->setHeading(heading);
    if (!area) {
        grid->setAttribute(Qt::WA_DeleteOnClose);
        grid->show();
        return grid;
    }
    // Beside the other windows; "&Lukk", the frame's close button and a meet let go of all end
    // in the grid's closed(), after which its frame goes too.
    QMdiSubWindow *sub = area->addSubWindow(grid);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("sub_gridDialog"));
    sub->setWindowIcon(area->window()->windowIcon());
    QObject::connect(grid, &RegisterGrid::closed, sub, [sub] { sub->close(); });
    sub->resize(grid->size());
    sub->show();
    // Wholly inside the area where it has room, so no command button is out of sight.
    if (const QSize room = area->viewport()->size(); room.width() >= 400 && room.height() >= 300) {
        QRect place = sub->geometry();
        place.setSize(place.size().boundedTo(room));
        place.moveRight(std::min(place.right(), room.width() - 1));
        place.moveBottom(std::min(place.bottom(), room.height() - 1));
        sub->setGeometry(place);
    }
    area->setActiveSubWindow(sub);
    return grid;
}

GridWindow *findEventGrid(QMdiArea *area, const QString &table)
{
    const QList<GridWindow *> grids = area ? area->findChildren<GridWindow *>() : QList<GridWindow *>();
    for (GridWindow *grid : grids)
        if (grid->model().isOpen() && grid->table().compare(table, Qt::CaseInsensitive) == 0)
            return grid;
    return nullptr;
}

} // namespace arenor
