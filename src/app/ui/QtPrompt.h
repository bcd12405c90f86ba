#pragma once
// Message boxes, input boxes and file dialogs on screen, with button texts in the interface
// language (Qt has no Norwegian translation of its own standard buttons).

#include "base/Prompt.h"
#include "base/TextTables.h"

class QWidget;

namespace arenor {

class QtPrompt : public Prompt {
public:
    QtPrompt(const TextTables &texts, QWidget *parent) : m_texts(texts), m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const MessageRequest &request) override;
    std::optional<QString> input(const InputRequest &request) override;
    std::optional<QString> file(const FileRequest &request) override;

    // "Database (*.mdb)|*.mdb" -> "Database (*.mdb)"
    static QString qtFilter(const QString &filter);

private:
    QString buttonText(Answer a) const;
    const TextTables &m_texts;
    QWidget *m_parent;
};

} // namespace arenor
