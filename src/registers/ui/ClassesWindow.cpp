#include "registers/ui/ClassesWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Classes.h"
#include "registers/ui/RegisterWindows.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace arenor {

ClassesWindow::ClassesWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Classes, state, main, schema::Table::Klasser, 258, 259)
{
    QLineEdit *index = boundLineEdit(QStringLiteral("classIndexLineEdit"), 0);
    QLineEdit *name = boundLineEdit(QStringLiteral("classNameLineEdit"), 1);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("classesListWidget"));
    m_captions.addName(m_list, 258);
    addToTabOrder(m_list);

    auto *grid = new QGridLayout;
    grid->addWidget(label(265, index), 0, 0);
    grid->addWidget(index, 0, 1);
    grid->addWidget(navigator(), 0, 2);
    grid->addWidget(label(266, name), 1, 0);
    grid->addWidget(name, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto *commands = new QVBoxLayout;
    commands->addWidget(button(260, QStringLiteral("resetPushButton"), [this] { resetClasses(); }));
    commands->addWidget(button(261, QStringLiteral("confirmPushButton"), [this] { confirm(); }));
    commands->addWidget(button(262, QStringLiteral("updateListPushButton"), [this] { updateList(); }));
    commands->addWidget(
        button(263, QStringLiteral("minimisePushButton"), [this] { frame()->showMinimized(); }));
    commands->addWidget(button(264, QStringLiteral("closePushButton"), [this] { hideWindow(); }));
    commands->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(m_list, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);

    // A line of the list shows its class: line i is record i + 1.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int line) {
        if (line >= 0) form().setCurrentRow(line);
    });
    connect(&form(), &RecordForm::currentRowChanged, this, [this](int row) {
        const QSignalBlocker block(m_list);
        m_list->setCurrentRow(row < m_list->count() ? row : -1);
    });
    connect(&m_state.notifier, &MeetNotifier::registerChanged, this, [this](MeetNotifier::Register which) {
        if (which == MeetNotifier::Register::Classes)
            fillList();
    });
    fillList();
    finishTabOrder();
    resize(520, 520);
}

ClassesWindow::~ClassesWindow() = default;

void ClassesWindow::fillList()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItems(m_state.classLines);
    const int row = form().currentRow();
    m_list->setCurrentRow(row < m_list->count() ? row : -1);
}

void ClassesWindow::resetClasses()
{
    if (!m_state.database.isOpen()) return;
    form().save();
    if (Status s = schema::initClasses(m_state); !s) m_state.informText(s.error(), Icon::Exclamation);
    form().refresh();
    registers::readClasses(m_state);
}

void ClassesWindow::confirm()
{
    form().save();
}

void ClassesWindow::updateList()
{
    if (m_state.database.isOpen()) registers::readClasses(m_state);
}

ChildWindow *createClassesWindow(AppState &state, MainWindow &main)
{
    return new ClassesWindow(state, main);
}

} // namespace arenor
