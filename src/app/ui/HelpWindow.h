#pragma once
// The program's help: bilingual HTML pages with a contents list and a search field.

#include "base/TextTables.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace arenor {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    void setLanguage(Language language);
    void showContents();
    void startSearch();
    // Moves to the next place that holds the text; false when there is none.
    bool find(const QString &text);
    QTextBrowser *browser() const { return m_browser; }
    QListWidget *contents() const { return m_contents; }

private:
    void load();
    Language m_language = Language::Norwegian;
    bool m_loaded = false;
    QListWidget *m_contents;
    QLineEdit *m_search;
    QTextBrowser *m_browser;
};

} // namespace arenor
