#include "MainCommands.h"

#include "events/Rounds.h"
#include "lists/MeetLists.h"
#include "lists/MeetTemplates.h"
#include "lists/ResultLists.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace arenor {

using lists::MeetList;

QString MainCommands::listPath(MeetList list) const
{
    return m_state.meetFile(lists::listFileName(list, m_state.roundTag, m_state.option(OptLongFileNames)));
}

bool MainCommands::startEditor(const QString &path)
{
    return m_state.startEditor(path);
}

MainCommands::MainCommands(AppState &state) : m_state(state)
{
    m_writers = {{MeetList::Results, lists::MakeMeetResultsList},
                 {MeetList::Newspaper, lists::MakeNewspaperList},
                 {MeetList::StartListText, lists::MakeStartListText},
                 {MeetList::Contingent, lists::MakeContingentList},
                 {MeetList::Points, lists::MakePointsList},
                 {MeetList::TimeSchedule, lists::MakeTimeSchedule}};
}

void MainCommands::showList(MeetList list)
{
    const QString path = listPath(list);
    if (QFile::exists(path)) {
        startEditor(path);
        return;
    }
    const QString title = m_state.texts.message(1);
    switch (list) {
    case MeetList::StartListText:
        if (makeList(list))
            startEditor(path);
        return;
    case MeetList::Contingent:
        m_state.inform(4, Icon::Exclamation);
        startEditor(path);
        return;
    case MeetList::TimeSchedule:
        if (m_state.prompt)
            m_state.prompt->message({m_state.texts.message(4), title, Buttons::OkCancel, Icon::None});
        return;
    case MeetList::Results:
    case MeetList::Newspaper:
    case MeetList::Points:
        m_state.inform(4, Icon::Exclamation);
        return;
    }
}

void MainCommands::showInfoFile()
{
    const QString path = m_state.meetFile(QStringLiteral("Info.txt"));
    if (!QFile::exists(path)) {
        if (Status s = lists::writeInfoTemplate(m_state, path); !s) {
            m_state.informText(s.error(), Icon::Exclamation);
            return;
        }
    }
    startEditor(path);
}

void MainCommands::showReportFile()
{
    const QString path = m_state.meetFile(QStringLiteral("Rapport.txt"));
    if (!QFile::exists(path)) {
        if (Status s = lists::writeReportTemplate(m_state, path); !s) {
            m_state.informText(s.error(), Icon::Exclamation);
            return;
        }
    }
    startEditor(path);
}

bool MainCommands::makeList(MeetList list)
{
    auto it = m_writers.find(list);
    if (it == m_writers.end())
        return false;
    // The list holds what the windows show: edited records are written first.
    if (!m_state.savePendingRecords())
        return false;
    BusyScope busy(m_state.progressSink());
    Status s = it->second(m_state, listPath(list));
    if (!s) {
        m_state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    return true;
}

bool MainCommands::makeListWithQuestion(MeetList list)
{
    if (QFile::exists(listPath(list)) && m_state.prompt &&
        !m_state.prompt->askOkCancel(m_state.texts.message(2), m_state.texts.message(1), Icon::Exclamation,
                                     Answer::Cancel))
        return false;
    return makeList(list);
}

bool MainCommands::makePointsList()
{
    if (!QFile::exists(listPath(MeetList::Results))) {
        m_state.inform(3, Icon::Exclamation);
        return false;
    }
    return makeList(MeetList::Points);
}

bool MainCommands::confirmQuit()
{
    return !m_state.prompt || m_state.prompt->askYesNo(m_state.texts.message(Text::QuitQuestion),
                                                       m_state.texts.message(1), Icon::Question);
}

QString MainCommands::manualName(int languageChoice)
{
    return languageChoice == 0 ? QStringLiteral("Mann7093.doc") : QStringLiteral("Mane7093.doc");
}

bool MainCommands::openManual()
{
    const QString path = m_state.programFile(manualName(m_state.languageChoice));
    if (!QFile::exists(path)) {
        // The manual ships inside the program; put it beside the meets the first time.
        const QString source = QStringLiteral(":/manual/") + manualName(m_state.languageChoice);
        if (!QFile::copy(source, path)) {
            m_state.inform(4, Icon::Exclamation);
            return false;
        }
        QFile::setPermissions(path,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return startEditor(path);
}

void MainCommands::selectRound(int round)
{
    events::selectRound(m_state, round);
}

QString MainCommands::chooseBackgroundPicture(const std::function<double()> &random)
{
    QDir dir(m_state.programDir);
    const QStringList names = dir.entryList({QStringLiteral("*.gif")}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        return {};
    const double fraction = std::clamp(random(), 0.0, 0.999999999);
    const int r = int(std::floor(fraction * double(names.size()) + 1.0));
    m_state.backgroundPictures = names;
    m_state.backgroundPicture = names[r - 1];
    const QString path = m_state.programFile(m_state.backgroundPicture);
    return QFile::exists(path) ? path : QString();
}

int progressBarWidth(int windowWidthPixels, double dpi)
{
    if (dpi <= 0)
        dpi = 96;
    const double twips = windowWidthPixels * 1440.0 / dpi;
    if (twips < 9600)
        return -1;
    return int(std::lround((twips - 7600) * dpi / 1440.0));
}

} // namespace arenor
