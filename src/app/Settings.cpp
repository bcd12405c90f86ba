#include "Settings.h"

#include "base/Convert.h"
#include "base/TextFile.h"

#include <cfloat>
#include <cmath>

namespace arenor {

namespace {

// Written after each value, line by line. Several name a neighbouring option; they have
// always been written so and are never read back.
const char *const kOptionLabels[OptionCount] = {
    "[Legg inn differanse]",
    "[Vis alle meldinger]",
    "[Bruk skilletegn]",
    "[Maksimer editor]",
    "[Lagre listeoppsett]",
    "[Bruk lange filnavn]",
    "[Kjør i testmodus]",
    "[Vis statuslinje]",
    "[Vis verktøylinje]",
    "[Maksimer ved oppstart]",
    "[Ledig]",
    "[Auto oppdatering av startliste]",
    "[Tid og dato i lister]",
    "[Ledig]",
    "[Maksimer v/oppstart]",
    "[Lukk andre vinduer]",
};
const char *const kEditorLabels[kEditorChoices] = {"[Notepad]", "[Wordpad]", "[Word]"};
const char *const kLanguageLabels[kLanguageChoices] = {"[Norsk]", "[Engelsk]", "[Spansk]", "[Tysk]",
                                                       "[Fransk]"};
const char *const kWindowLabels[kPlacedWindows] = {
    "[Plassering vindu øvelser]",    "[Plassering vindu startliste]", "[Plassering vindu alternativer]",
    "[Plassering vindu deltaker]",   "[Plassering vindu klubber]",    "[Plassering vindu poeng]",
    "[Plassering vindu stafettlag]", "[Plassering vindu klasser]",    "[Plassering vindu tidtaking]",
};

// The value, then blanks up to column 10, then the label.
QString labelled(const QString &value, const char *label)
{
    return value.leftJustified(kSettingsValueWidth, u' ') + QString::fromUtf8(label);
}

QString trueFalse(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<int> optionValue(const QString &field)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (ok && (v == 0.0 || v == 1.0))
        return int(v);
    return std::nullopt;
}

std::optional<bool> choiceValue(const QString &field)
{
    if (field.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (field.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (ok && std::isfinite(v))
        return v != 0.0;
    return std::nullopt;
}

// A placement as the file holds it: whole numbers in full, others with as many significant
// digits as fit the field (at most six, which a float gives back unchanged), so what is written
// is read back as the same value and written again as the same text.
QString placementText(float value)
{
    const double v = value;
    const QString blank = v < 0 ? QString() : QStringLiteral(" ");
    if (v == std::trunc(v) && std::fabs(v) < 1e8)
        return blank + QString::number(v, 'f', 0);
    QString text;
    for (int digits = 6; digits >= 1; --digits) {
        text = blank + QString::number(v, 'g', digits);
        if (text.size() <= kSettingsValueWidth)
            break;
    }
    return text;
}

std::optional<float> placementValue(const QString &field)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > double(FLT_MAX))
        return std::nullopt;
    // Taken as it will be written, so a value the field cannot hold never changes on a rewrite.
    return placementText(float(v)).toFloat();
}

// An option button set from the file: only a change to True counts as a click.
template <typename Choose> void applyChoice(int &current, int index, bool on, Choose choose)
{
    if (on && current != index)
        choose(index);
    else if (!on && current == index)
        current = -1;
}

} // namespace

QString settingsPath(const AppState &state)
{
    return state.programFile(QStringLiteral("Setup.ini"));
}

QStringList settingsLines(const AppState &state)
{
    QStringList lines;
    lines.reserve(kSettingsLineCount);
    for (int i = 0; i < OptionCount; ++i)
        lines << labelled(numberText(qint64(state.options[size_t(i)])) + u' ', kOptionLabels[i]);
    for (int i = 0; i < kEditorChoices; ++i)
        lines << labelled(trueFalse(state.editorChoice == i), kEditorLabels[i]);
    for (int i = 0; i < kLanguageChoices; ++i)
        lines << labelled(trueFalse(state.languageChoice == i), kLanguageLabels[i]);
    for (int i = 0; i < kPlacementCount; ++i) {
        const QString number = placementText(state.placements[size_t(i)]);
        lines << (i % kPlacementsPerWindow == 0 ? labelled(number, kWindowLabels[i / kPlacementsPerWindow])
                                                : number);
    }
    return lines;
}

Status writeSettingsFile(AppState &state, SettingsHost *host)
{
    if (host) {
        for (int w = 0; w < kPlacedWindows; ++w) {
            if (const std::optional<WindowPlacement> p = host->normalPlacement(w))
                std::copy(p->begin(), p->end(), state.placements.begin() + w * kPlacementsPerWindow);
        }
    }
    return writeTextFile(settingsPath(state), settingsLines(state));
}

int readSettingsLines(AppState &state, const QStringList &lines, bool apply)
{
    const int count = int(std::min<qsizetype>(lines.size(), kSettingsLineCount));
    constexpr int editorStart = OptionCount;
    constexpr int languageStart = editorStart + kEditorChoices;
    constexpr int placementStart = languageStart + kLanguageChoices;
    for (int i = 0; i < count; ++i) {
        const QString field = lines[i].left(kSettingsValueWidth).trimmed();
        if (i >= placementStart) {
            const auto p = size_t(i - placementStart);
            if (const std::optional<float> v = placementValue(field)) {
                state.placements[p] = *v;
                state.placementRead[p] = true;
            }
            continue;
        }
        if (!apply)
            continue;
        if (i < editorStart) {
            const std::optional<int> v = optionValue(field);
            if (v && *v != state.options[size_t(i)])
                setOption(state, i, *v);
        } else if (const std::optional<bool> on = choiceValue(field)) {
            if (i < languageStart)
                applyChoice(state.editorChoice, i - editorStart, *on,
                            [&state](int k) { chooseEditor(state, k); });
            else
                applyChoice(state.languageChoice, i - languageStart, *on,
                            [&state](int k) { chooseLanguage(state, k); });
        }
    }
    if (apply)
        emit state.notifier.settingsApplied();
    return count;
}

int readSettingsFile(AppState &state, bool apply)
{
    bool ok = false;
    const QStringList lines = readTextLines(settingsPath(state), &ok);
    if (!ok)
        return 0;
    return readSettingsLines(state, lines, apply);
}

void setOption(AppState &state, int index, int value)
{
    if (index < 0 || index >= OptionCount)
        return;
    const bool on = value != 0;
    state.options[size_t(index)] = on ? 1 : 0;
    // Each option takes effect where it is read; the frame shows or hides its bars.
    emit state.notifier.optionChanged(index);
}

void chooseEditor(AppState &state, int index)
{
    if (index < 0 || index >= kEditorChoices)
        return;
    state.editorChoice = index;
    state.editorCommand = editorCommandFor(EditorChoice(index));
}

void chooseLanguage(AppState &state, int index)
{
    if (index < 0 || index >= kLanguageChoices)
        return;
    state.languageChoice = index;
    if (index > 1)
        return; // Spanish, German and French have no tables
    state.texts.load(index == 0 ? Language::Norwegian : Language::English);
    emit state.notifier.languageChanged();
}

void setDefaultOptions(AppState &state)
{
    state.options.fill(0);
    for (Option o : {OptDifferences, OptSeparators, OptShowStatusBar, OptShowToolBar, OptShowButtonBar})
        state.options[size_t(o)] = 1;
}

void SettingsFile::save()
{
    if (Status s = writeSettingsFile(m_state, m_host); !s)
        m_state.informText(s.error(), Icon::Exclamation);
}

void SettingsFile::load(bool apply)
{
    readSettingsFile(m_state, apply);
}

void installSettings(AppState &state, SettingsFile &file)
{
    state.settings = &file;
    setDefaultOptions(state);
}

} // namespace arenor
