#include "ScriptedPrompt.h"

namespace arenor {

Answer ScriptedPrompt::message(const MessageRequest &request)
{
    m_asked.push_back({Asked::Message, request, {}, {}});
    if (!m_answers.empty()) {
        const std::optional<Answer> a = m_answers.front();
        m_answers.pop_front();
        return a.value_or(enterAnswer(request));
    }
    if (request.buttons != Buttons::Ok)
        ++m_unexpected;
    return enterAnswer(request);
}

Answer ScriptedPrompt::enterAnswer(const MessageRequest &request)
{
    if (request.defaultAnswer)
        return *request.defaultAnswer;
    return request.buttons == Buttons::YesNo || request.buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                                        : Answer::Ok;
}

std::optional<QString> ScriptedPrompt::take(std::deque<Scripted> &queue, int &unexpected)
{
    if (queue.empty()) {
        ++unexpected;
        return std::nullopt;
    }
    const Scripted a = queue.front();
    queue.pop_front();
    if (!a.given)
        return std::nullopt;
    return a.text;
}

std::optional<QString> ScriptedPrompt::input(const InputRequest &request)
{
    m_asked.push_back({Asked::Input, {}, request, {}});
    return take(m_inputs, m_unexpected);
}

std::optional<QString> ScriptedPrompt::file(const FileRequest &request)
{
    m_asked.push_back({Asked::File, {}, {}, request});
    return take(m_files, m_unexpected);
}

QStringList ScriptedPrompt::messageTexts() const
{
    QStringList texts;
    for (const Asked &a : m_asked)
        if (a.kind == Asked::Message)
            texts << a.message.text;
    return texts;
}

QString ScriptedPrompt::lastMessage() const
{
    for (auto it = m_asked.rbegin(); it != m_asked.rend(); ++it)
        if (it->kind == Asked::Message)
            return it->message.text;
    return {};
}

void ScriptedPrompt::clear()
{
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
    m_asked.clear();
    m_unexpected = 0;
}

} // namespace arenor
