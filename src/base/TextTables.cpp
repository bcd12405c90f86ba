#include "TextTables.h"

#include "LanguageData.h"

namespace arenor {

namespace {

QString inLanguage(const lang::TextEntry &e, Language language)
{
    const char *const both[] = {e.norwegian, e.english};
    return QString::fromUtf8(both[std::size_t(language)]);
}

template <std::size_t N>
void fill(std::array<QString, N> &table, const lang::TextEntry *entries, std::size_t count, Language language)
{
    for (QString &s : table)
        s.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const lang::TextEntry &e = entries[i];
        if (e.number < 0 || static_cast<std::size_t>(e.number) >= N)
            continue;
        table[static_cast<std::size_t>(e.number)] = inLanguage(e, language);
    }
}

QString lookup(const lang::TextEntry *entries, std::size_t count, int number, Language language)
{
    for (std::size_t i = 0; i < count; ++i)
        if (entries[i].number == number)
            return inLanguage(entries[i], language);
    return {};
}

} // namespace

TextTables::TextTables()
{
    load(Language::Norwegian);
}

void TextTables::loadMessages(Language language)
{
    fill(m_messages, lang::kMessages, lang::kMessageCount, language);
    m_messageLanguage = language;
}

void TextTables::loadCaptions(Language language)
{
    fill(m_captions, lang::kCaptions, lang::kCaptionCount, language);
    m_captionLanguage = language;
}

QString TextTables::message(int number) const
{
    return number >= 0 && number <= kMaxMessage ? m_messages[static_cast<std::size_t>(number)] : QString();
}

QString TextTables::caption(int number) const
{
    return number >= 0 && number <= kMaxCaption ? m_captions[static_cast<std::size_t>(number)] : QString();
}

QString TextTables::message(int number, Language language)
{
    return lookup(lang::kMessages, lang::kMessageCount, number, language);
}

QString TextTables::caption(int number, Language language)
{
    return lookup(lang::kCaptions, lang::kCaptionCount, number, language);
}

QString TextTables::roundName(int round) const
{
    const QString c = caption(236 + round);
    if (round < 0 || round > 3 || c.size() < 4)
        return {};
    return c.mid(1, c.size() - 4);
}

QStringList TextTables::roundNames() const
{
    QStringList names;
    for (int r = 0; r < 4; ++r) {
        if (caption(236 + r).size() < 4)
            break;
        names << roundName(r);
    }
    return names;
}

QString TextTables::helpFileName() const
{
    return caption(Text::HelpFile);
}

QString productName(const TextTables &texts)
{
    return texts.message(44);
}

QString plainCaption(const QString &caption)
{
    QString s = caption;
    if (s.endsWith(QLatin1String("...")))
        s.chop(3);
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == u'&' && i + 1 < s.size() && s[i + 1] != u'&')
            continue;
        out += s[i];
    }
    return out;
}

} // namespace arenor
