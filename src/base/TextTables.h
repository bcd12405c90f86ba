#pragma once
// The caption table (2..418) and message table (1..255) of the current language.

#include "base/ProgramTexts.h"

#include <QString>
#include <QStringList>
#include <array>

namespace arenor {

enum class Language { Norwegian = 0, English = 1 };

class TextTables {
public:
    static constexpr int kMaxMessage = 255;
    static constexpr int kMaxCaption = 418;

    TextTables();

    // Each loader assigns every entry of its table, overwriting the previous language.
    void loadMessages(Language language);
    void loadCaptions(Language language);
    void load(Language language)
    {
        loadMessages(language);
        loadCaptions(language);
    }

    // The language of the captions (the one the windows show).
    Language language() const { return m_captionLanguage; }
    Language messageLanguage() const { return m_messageLanguage; }

    // Empty text for numbers outside the tables.
    QString message(int number) const;
    QString caption(int number) const;

    // Both languages of one entry, for texts that must be shown in a fixed language.
    static QString message(int number, Language language);
    static QString caption(int number, Language language);

    // The program's own texts: in the message language for what boxes and files say, in the
    // caption language for what the windows show.
    QString message(Text id) const { return text(id, m_messageLanguage); }
    QString caption(Text id) const { return text(id, m_captionLanguage); }
    static QString text(Text id, Language language);

    // The round names for the round selector: captions 236..239 without their first
    // character and last three; an entry shorter than four characters ends the list.
    QStringList roundNames() const;
    // The name of round index 0..3 (empty when its caption is too short).
    QString roundName(int round) const;

    // "Hjelp.hlp" / "Help.hlp": the help file of the caption language.
    QString helpFileName() const;
    // The in-program help page of the caption language.
    QString helpPage() const { return caption(Text::HelpPage); }

private:
    std::array<QString, kMaxMessage + 1> m_messages;
    std::array<QString, kMaxCaption + 1> m_captions;
    Language m_messageLanguage = Language::Norwegian;
    Language m_captionLanguage = Language::Norwegian;
};

// The product name, message 44 of the language.
QString productName(const TextTables &texts);

// A caption as a menu/label text: the stored captions use "&" for the accelerator as Qt does.
// Strip the accelerator marker and a trailing "..." for plain display.
QString plainCaption(const QString &caption);

} // namespace arenor
