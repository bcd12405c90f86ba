#include "CommandLine.h"

#include "base/Version.h"
#include "db/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace arenor {

namespace {

QString defaultProgramDirectory()
{
    return QDir::homePath() + QStringLiteral("/Arenor");
}

} // namespace

CommandLine::CommandLine(Language language) : m_language(language)
{
    // Single-dash words are long options, as Qt's own (-platform, -style) are; read as runs of
    // short options, "-reverse" would ask for the version.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(text(Text::CommandLineAbout));
    declareOptions();
}

void CommandLine::declareOptions()
{
    // Own help and version options rather than Qt's, whose descriptions are English only.
    m_parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, text(Text::CommandLineHelp)});
    m_parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, text(Text::CommandLineVersion)});
    m_parser.addOption({QStringLiteral("dir"), text(Text::CommandLineDir).arg(defaultProgramDirectory()),
                        text(Text::CommandLineDirValue)});
    m_parser.addOption({QStringLiteral("publish"), text(Text::CommandLinePublish),
                        text(Text::CommandLinePublishValue)});
    m_parser.addOption(
        {QStringLiteral("meet"), text(Text::CommandLineMeet), text(Text::CommandLineMeetValue)});
    m_parser.addOption({QStringLiteral("make-lists"), text(Text::CommandLineMakeLists)});
    m_parser.addOption({QStringLiteral("pdf"), text(Text::CommandLinePdf), text(Text::CommandLineDirValue)});
    m_parser.addOption(
        {QStringLiteral("server"), text(Text::CommandLineServer), text(Text::CommandLineServerValue)});
}

bool CommandLine::parse(const QStringList &arguments)
{
    m_error.clear();
    if (!arguments.isEmpty())
        m_programName = QFileInfo(arguments.first()).fileName();
    if (!m_parser.parse(arguments))
        m_error = m_parser.errorText();
    else if (!m_parser.positionalArguments().isEmpty())
        m_error = text(Text::CommandLineStray).arg(m_parser.positionalArguments().first());
    else if (m_parser.isSet(QStringLiteral("publish")) && m_parser.value(QStringLiteral("publish")).isEmpty())
        // An empty folder would publish nowhere without a word.
        m_error = QStringLiteral("--publish: ") + text(Text::PublishFolderMissing);
    else if (!makeListsAsked() && m_parser.isSet(QStringLiteral("pdf")))
        m_error = text(Text::CommandLineOnlyWithLists).arg(QStringLiteral("--pdf"));
    else if (!makeListsAsked() && m_parser.isSet(QStringLiteral("publish")))
        m_error = text(Text::CommandLineOnlyWithLists).arg(QStringLiteral("--publish"));
    else if (m_parser.isSet(QStringLiteral("server")) && server().isEmpty())
        m_error = text(Text::CommandLineServerBad).arg(m_parser.value(QStringLiteral("server")));
    else if (m_parser.isSet(QStringLiteral("server")) && m_parser.isSet(QStringLiteral("meet")))
        m_error = text(Text::CommandLineServerAndMeet);
    else if (!makeListsAsked() && m_parser.isSet(QStringLiteral("meet")))
        m_error = text(Text::CommandLineOnlyWithLists).arg(QStringLiteral("--meet"));
    return m_error.isEmpty();
}

QString CommandLine::server() const
{
    const QString given = m_parser.value(QStringLiteral("server"));
    const auto address = db::isServerAddress(given) ? db::ServerAddress::parse(given) : std::nullopt;
    return address ? address->toString() : QString();
}

QString CommandLine::helpText() const
{
    // The usage line names the program as the parser's application object got it, or with a
    // placeholder when there is none yet; it is shown by its bare name either way.
    const QString named = QCoreApplication::instance() ? QCoreApplication::arguments().value(0)
                                                       : QStringLiteral("<executable_name>");
    QString help = m_parser.helpText();
    const qsizetype at = help.indexOf(named);
    if (!named.isEmpty() && at >= 0 && at < help.indexOf(QLatin1Char('\n')))
        help.replace(at, named.size(), m_programName);
    return help;
}

QString CommandLine::versionText() const
{
    return QStringLiteral("Arenor %1\n").arg(QLatin1String(kProgramVersion));
}

QString CommandLine::programDirectory(QString *error) const
{
    const QString dir = m_parser.isSet(QStringLiteral("dir")) ? m_parser.value(QStringLiteral("dir"))
                                                              : defaultProgramDirectory();
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        if (error)
            *error = text(Text::ProgramDirUnusable).arg(dir);
        return {};
    }
    return QDir(dir).absolutePath();
}

QString CommandLine::publishFolder() const
{
    const QString folder = m_parser.value(QStringLiteral("publish"));
    return folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

Language CommandLine::systemLanguage()
{
    const QLocale::Language l = QLocale::system().language();
    return l == QLocale::NorwegianBokmal || l == QLocale::NorwegianNynorsk ? Language::Norwegian
                                                                           : Language::English;
}

QStringList CommandLine::argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace arenor
