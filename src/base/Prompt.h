#pragma once
// Every question to the user goes through this interface: the windows install the Qt
// implementation, tests a scripted one that is told its answers in advance.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

namespace arenor {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
};

struct FileRequest {
    QString title;
    QString suggestedName;
    QString filter; // "Database (*.mdb)|*.mdb" style: description|pattern
    QString directory;
    bool save = false;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual Answer message(const MessageRequest &request) = 0;
    // std::nullopt on Cancel; an empty text when the user accepted an empty field.
    virtual std::optional<QString> input(const InputRequest &request) = 0;
    // std::nullopt on Cancel; otherwise the chosen path.
    virtual std::optional<QString> file(const FileRequest &request) = 0;

    // Shorthands used everywhere.
    void inform(const QString &text, const QString &title, Icon icon = Icon::None)
    {
        message({text, title, Buttons::Ok, icon});
    }
    bool askYesNo(const QString &text, const QString &title, Icon icon = Icon::None)
    {
        return message({text, title, Buttons::YesNo, icon}) == Answer::Yes;
    }
    bool askOkCancel(const QString &text, const QString &title, Icon icon = Icon::Exclamation)
    {
        return message({text, title, Buttons::OkCancel, icon}) == Answer::Ok;
    }
};

// Answers questions from a queue, and records every question asked. A question with no
// queued answer gets the default: Ok/Yes for message boxes, Cancel for input and files, and
// is counted as unexpected so a test can fail on it.
class ScriptedPrompt : public Prompt {
public:
    struct Asked {
        enum Kind { Message, Input, File } kind;
        MessageRequest message;
        InputRequest input;
        FileRequest file;
    };

    void setNextAnswer(Answer answer) { m_answers.push_back(answer); }
    // std::nullopt answers Cancel.
    void setNextInput(const std::optional<QString> &text) { m_inputs.push_back({text.has_value(), text.value_or(QString())}); }
    void setNextFile(const std::optional<QString> &path) { m_files.push_back({path.has_value(), path.value_or(QString())}); }

    Answer message(const MessageRequest &request) override;
    std::optional<QString> input(const InputRequest &request) override;
    std::optional<QString> file(const FileRequest &request) override;

    const std::deque<Asked> &asked() const { return m_asked; }
    QStringList messageTexts() const;
    QString lastMessage() const;
    int unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size() + m_inputs.size() + m_files.size()); }
    void clear();

private:
    std::deque<Answer> m_answers;
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
