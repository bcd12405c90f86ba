#pragma once
// The prompt of the tests: told its answers in advance, it records every question.

#include "base/Prompt.h"

#include <QStringList>
#include <deque>

namespace arenor {

// Answers questions from a queue, and records every question asked. A question with no
// queued answer gets what Enter gives (the request's default button, else Ok/Yes) for message
// boxes, Cancel for input and files, and is counted as unexpected so a test can fail on it.
class ScriptedPrompt : public Prompt {
public:
    struct Asked {
        enum Kind { Message, Input, File } kind;
        MessageRequest message;
        InputRequest input;
        FileRequest file;
    };

    void setNextAnswer(Answer answer) { m_answers.push_back(answer); }
    // The next message box is answered with Enter: its default button.
    void setNextEnter() { m_answers.push_back(std::nullopt); }
    // std::nullopt answers Cancel.
    void setNextInput(const std::optional<QString> &text)
    {
        m_inputs.push_back({text.has_value(), text.value_or(QString())});
    }
    void setNextFile(const std::optional<QString> &path)
    {
        m_files.push_back({path.has_value(), path.value_or(QString())});
    }

    Answer message(const MessageRequest &request) override;
    std::optional<QString> input(const InputRequest &request) override;
    std::optional<QString> file(const FileRequest &request) override;
    // What Enter answers: the default button, else the first.
    static Answer enterAnswer(const MessageRequest &request);

    const std::deque<Asked> &asked() const { return m_asked; }
    QStringList messageTexts() const;
    QString lastMessage() const;
    int unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size() + m_inputs.size() + m_files.size()); }
    void clear();

private:
    std::deque<std::optional<Answer>> m_answers; // nullopt: Enter
    struct Scripted {
        bool given;
        QString text;
    };
    static std::optional<QString> take(std::deque<Scripted> &queue, int &unexpected);
    std::deque<Scripted> m_inputs;
    std::deque<Scripted> m_files;
    std::deque<Asked> m_asked;
    int m_unexpected = 0;
};

} // namespace arenor
