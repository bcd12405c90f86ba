#include "HelpWindow.h"

#include "app/ui/Application.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace arenor {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    initResources();
    setObjectName(QStringLiteral("helpWindow"));
    auto *layout = new QVBoxLayout(this);
    auto *searchRow = new QHBoxLayout;
    auto *searchLabel = new QLabel(this);
    searchLabel->setObjectName(QStringLiteral("searchLabel"));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchLineEdit"));
    searchLabel->setBuddy(m_search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);
    auto *split = new QSplitter(this);
    m_contents = new QListWidget(split);
    m_contents->setObjectName(QStringLiteral("contentsListWidget"));
    m_browser = new QTextBrowser(split);
    m_browser->setObjectName(QStringLiteral("helpTextBrowser"));
    split->setStretchFactor(1, 3);
    layout->addWidget(split, 1);
    connect(m_contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_browser->scrollToAnchor(m_contents->item(row)->data(Qt::UserRole).toString());
    });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { find(m_search->text()); });
    resize(760, 560);
    setLanguage(Language::Norwegian);
}

void HelpWindow::setLanguage(Language language)
{
    if (m_loaded && language == m_language)
        return;
    m_language = language;
    load();
}

void HelpWindow::load()
{
    auto text = [this](Text id) { return TextTables::text(id, m_language); };
    setWindowTitle(text(Text::Help));
    setAccessibleName(windowTitle());
    findChild<QLabel *>(QStringLiteral("searchLabel"))->setText(text(Text::HelpSearchLabel));
    m_contents->setAccessibleName(text(Text::HelpContents));
    m_browser->setAccessibleName(windowTitle());
    m_search->setAccessibleName(text(Text::HelpSearch));
    QFile f(text(Text::HelpPage));
    const QString html = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    m_browser->setHtml(html);
    m_contents->clear();
    static const QRegularExpression heading(QStringLiteral("<h2 id=\"([^\"]+)\">([^<]+)</h2>"));
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        auto *item = new QListWidgetItem(m.captured(2), m_contents);
        item->setData(Qt::UserRole, m.captured(1));
    }
    m_loaded = true;
}

void HelpWindow::showContents()
{
    m_browser->moveCursor(QTextCursor::Start);
    if (m_contents->count() > 0)
        m_contents->setCurrentRow(0);
}

void HelpWindow::startSearch()
{
    m_search->setFocus();
    m_search->selectAll();
}

bool HelpWindow::find(const QString &text)
{
    if (text.isEmpty())
        return false;
    if (m_browser->find(text))
        return true;
    m_browser->moveCursor(QTextCursor::Start);
    return m_browser->find(text);
}

} // namespace arenor
