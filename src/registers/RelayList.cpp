#include "RelayList.h"

#include "base/TextFile.h"
#include "registers/RegisterRules.h"

#include <QFile>

namespace arenor::registers {

namespace {

constexpr int kRuleWidth = 63;
constexpr int kSecondRunnerColumn = 32;
constexpr int kLineEndColumn = 63;

// A catalogue text on one list line: a line break inside it (one blank for CR LF) or any
// other control character would upset the columns or start a line the layout does not have.
QString oneLine(const QString &text)
{
    QString out = singleLine(text);
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control) c = u' ';
    return out;
}

// Continues the line at a column (from 1). When the text already reaches that column, the
// line is ended and the next one starts with blanks up to it.
void tabTo(QStringList &out, QString &line, int column)
{
    if (line.size() >= column) {
        out.append(line);
        line = QString(column - 1, u' ');
    } else {
        line = line.leftJustified(column - 1, u' ');
    }
}

void appendRunnerPair(QStringList &out, const QString &first, const QString &second)
{
    QString line = QStringLiteral(": ") + oneLine(first);
    tabTo(out, line, kSecondRunnerColumn);
    line += QStringLiteral(": ") + oneLine(second);
    tabTo(out, line, kLineEndColumn);
    line += u':';
    out.append(line);
}

} // namespace

QString relayListFileName(bool longNames)
{
    return longNames ? QStringLiteral("Stafettlag.txt") : QStringLiteral("St-lag.txt");
}

QString relayListPath(const AppState &state)
{
    return state.meetFile(relayListFileName(state.option(OptLongFileNames)));
}

QStringList relayListLines(const AppState &state)
{
    const QString rule = ruler(u'-', kRuleWidth);
    QStringList out{QString()};
    const int count = std::clamp(state.catalogs.relayCount, 0, kMaxRelays);
    for (int t = 1; t <= count; ++t) {
        const RelaySlot &team = state.catalogs.relays[size_t(t)];
        if (team.club.trimmed() == u'-') continue;
        out.append(oneLine(team.teamNo + QStringLiteral(", ") + team.club + QStringLiteral(", ") + team.cls));
        out.append(rule);
        appendRunnerPair(out, team.runner[0], team.runner[1]);
        appendRunnerPair(out, team.runner[2], team.runner[3]);
        out.append(rule);
        out.append(QString());
    }
    out.append(QString());
    return out;
}

void writeRelayList(const AppState &state, QIODevice &device)
{
    writeLines(device, relayListLines(state));
}

Status makeRelayList(const AppState &state)
{
    return writeTextFile(relayListPath(state), relayListLines(state));
}

bool showRelayList(AppState &state)
{
    const QString path = relayListPath(state);
    if (!QFile::exists(path)) {
        state.inform(4, Icon::Exclamation);
        return false;
    }
    return state.startEditor(path);
}

} // namespace arenor::registers
