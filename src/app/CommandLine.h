#pragma once
// The program's command line: its options, declared in one place, and what they ask for.
// Read before any window exists, so --help and --version work without a display.

#include "base/TextTables.h"

#include <QCommandLineParser>
#include <QStringList>

namespace arenor {

class CommandLine {
public:
    // The texts are in the language of the user's locale: no settings are read yet.
    explicit CommandLine(Language language = systemLanguage());

    // Reads the arguments, the program's name first. False when one is wrong: error() says which.
    // May be called again, e.g. once Qt has taken out its own options.
    bool parse(const QStringList &arguments);
    QString error() const { return m_error; }

    bool helpAsked() const { return m_parser.isSet(QStringLiteral("help")); }
    bool versionAsked() const { return m_parser.isSet(QStringLiteral("version")); }
    // --make-lists: every list of the meet's current round, without a window; --meet names the
    // meet, --pdf the folder for the lists as PDF.
    bool makeListsAsked() const { return m_parser.isSet(QStringLiteral("make-lists")); }
    QString meet() const { return m_parser.value(QStringLiteral("meet")); }
    QString pdfDirectory() const { return m_parser.value(QStringLiteral("pdf")); }
    // --server: the meet on a server to open, as the program keeps its address; empty when not given.
    QString server() const;
    QString helpText() const;
    QString versionText() const;

    // The program directory: --dir when given, otherwise ~/Arenor; created when missing.
    // Empty, with *error set, when it cannot be created.
    QString programDirectory(QString *error) const;

    // --publish: the folder the lists made in this run are published to, empty when not given.
    QString publishFolder() const;

    static Language systemLanguage();
    static QStringList argumentsOf(int argc, char **argv);

private:
    QString text(Text id) const { return TextTables::text(id, m_language); }
    // Every option of the program; a new one is added here and read through m_parser.
    void declareOptions();

    Language m_language;
    QCommandLineParser m_parser;
    QString m_programName = QStringLiteral("arenor");
    QString m_error;
};

} // namespace arenor
