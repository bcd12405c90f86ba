#pragma once
// Every question to the user goes through this interface: the windows install the Qt
// implementation, tests a scripted one that is told its answers in advance (tests/support).

#include <QString>
#include <QStringList>
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
    // The button Enter presses; none: the first (Ok, Yes). A question whose yes deletes or
    // overwrites stored data makes the keeping answer (No, Cancel) the default.
    std::optional<Answer> defaultAnswer = std::nullopt;
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
    bool password = false; // the typed text is not shown
};

struct FileRequest {
    QString title;
    QString suggestedName;
    QString filter; // "Database (*.mdb)|*.mdb" style: description|pattern
    QString directory;
    bool save = false;
    bool folder = false; // a folder is chosen, not a file
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
    bool askYesNo(const QString &text, const QString &title, Icon icon = Icon::None,
                  Answer defaultAnswer = Answer::Yes)
    {
        return message({text, title, Buttons::YesNo, icon, defaultAnswer}) == Answer::Yes;
    }
    bool askOkCancel(const QString &text, const QString &title, Icon icon = Icon::Exclamation,
                     Answer defaultAnswer = Answer::Ok)
    {
        return message({text, title, Buttons::OkCancel, icon, defaultAnswer}) == Answer::Ok;
    }
};

} // namespace arenor
