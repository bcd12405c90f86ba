#include "ExchangeTexts.h"

#include <array>
#include <iterator>

namespace arenor::exchange {

namespace {

struct Entry {
    ExText id;
    const char *norwegian; // UTF-8
    const char *english;
};

constexpr Entry kTexts[] = {
    {ExText::FileUnreadable, "Fila %1 kan ikke leses: %2", "The file %1 cannot be read: %2"},
    {ExText::FileNotText, "Fila %1 er ingen tekstfil (den har binære byte).",
     "The file %1 is no text file (it holds binary bytes)."},
    {ExText::FileOpenQuote, "Fila %1 kan ikke leses: et anførselstegn på linje %2 blir aldri lukket.",
     "The file %1 cannot be read: a quote opened on line %2 is never closed."},
    {ExText::FileEmpty, "Fila %1 er tom.", "The file %1 is empty."},
    {ExText::FileOnlyHeading, "Fila har bare overskriftslinja og ingen deltakere.",
     "The file holds only the heading line and no competitors."},
    {ExText::LineDoesNotParse, "linja kan ikke leses: %1 felt, men overskriften har %2",
     "the line does not parse: %1 fields where the heading has %2"},
    {ExText::NameMissing, "navn mangler", "name missing"},
    {ExText::ClassMissing, "klasse mangler", "class missing"},
    {ExText::UnknownEvent, "ukjent øvelse \"%1\"", "unknown event \"%1\""},
    {ExText::StartNumberTaken, "startnummer %1 er tatt av %2", "start number %1 is taken by %2"},
    {ExText::StartNumberNoSlot, "startnummer %1 er ikke et tall fra 1 til %2",
     "start number %1 is no number from 1 to %2"},
    {ExText::RegisterFull, "deltakerregisteret er fullt", "the competitor register is full"},
    {ExText::ClubRegisterFull, "klubbregisteret er fullt, så klubben %1 kan ikke legges til",
     "the club register is full, so the club %1 cannot be added"},
    {ExText::ClassRegisterFull, "klasseregisteret er fullt, så klassen %1 kan ikke legges til",
     "the class register is full, so the class %1 cannot be added"},
    {ExText::SeedMarkUnreadable, "seedingsresultatet \"%1\" kan ikke leses som tid eller lengde",
     "the seed mark \"%1\" does not read as a time or distance"},
    {ExText::SeedMarkEvents,
     "seedingsresultatet %1 må høre til én øvelse, men linja melder på til %2 øvelser",
     "the seed mark %1 needs the line to enter one event, but it enters %2 events"},
    {ExText::NoNameColumn, "Ingen kolonne er valgt som etternavn eller fornavn.",
     "No column is chosen as surname or first name."},
    {ExText::Summary,
     "%1 deltakere lagt til, %2 fantes fra før, %3 påmeldinger i %4, %5 nye klubber, %6 nye klasser. "
     "%7 linjer hoppet over.",
     "%1 competitors added, %2 were there already, %3 entries in %4, %5 new clubs, %6 new classes. "
     "%7 lines skipped."},
    {ExText::LineProblem, "Linje %1: %2", "Line %1: %2"},
    {ExText::NothingToImport, "Ingen linje kan importeres, så ingenting er endret.",
     "No line can be imported, so nothing was changed."},
    {ExText::ColumnIgnored, "(brukes ikke)", "(not used)"},
    {ExText::ColumnStartNo, "Startnummer", "Start number"},
    {ExText::ColumnFirstName, "Fornavn", "First name"},
    {ExText::ColumnSurname, "Etternavn", "Surname"},
    {ExText::ColumnClub, "Klubb", "Club"},
    {ExText::ColumnClass, "Klasse", "Class"},
    {ExText::ColumnSex, "Kjønn", "Sex"},
    {ExText::ColumnBorn, "Født", "Born"},
    {ExText::ColumnEvents, "Øvelser", "Events"},
    {ExText::ColumnEvent, "Øvelse: %1", "Event: %1"},
    {ExText::ColumnSeedMark, "Seedingsresultat", "Seed mark"},
    {ExText::SummaryMarks, " %1 seedingsresultater lagret.", " %1 seed marks stored."},
    {ExText::HeadPlace, "Plass", "Place"},
    {ExText::HeadName, "Navn", "Name"},
    {ExText::HeadResult, "Resultat", "Result"},
    {ExText::HeadDifference, "Differanse", "Difference"},
    {ExText::HeadHelp, "Hjelp %1", "Help %1"},
    {ExText::HeadEvent, "Øvelse", "Event"},
    {ExText::HeadRound, "Runde", "Round"},
    {ExText::Exported, "%1 linjer skrevet til %2.", "%1 rows written to %2."},
    {ExText::ImportTitle, "Importer deltakere fra CSV", "Import competitors from CSV"},
    {ExText::ImportFile, "Fil: %1", "File: %1"},
    {ExText::ImportPreview, "Første linjer", "First lines"},
    {ExText::ImportProblems, "Problemer", "Problems"},
    {ExText::ImportColumns, "&Kolonne:", "&Column:"},
    {ExText::ImportMeaning, "&Inneholder:", "&Holds:"},
    {ExText::ImportApply, "&Importer", "&Import"},
    {ExText::ImportCommand, "Importer &deltakere (CSV)...", "Import com&petitors (CSV)..."},
    {ExText::ImportButton, "I&mporter...", "I&mport..."},
    {ExText::ExportCompetitorsCommand, "&Eksporter deltakere (CSV)...", "&Export competitors (CSV)..."},
    {ExText::ExportRoundCommand, "Eksporter resultatene i r&unden (CSV)...",
     "Export the round's res&ults (CSV)..."},
    {ExText::ExportGridCommand, "Eksporter &grinden (CSV)...", "Export the &grid (CSV)..."},
    {ExText::NoGridShown, "Velg først vinduet med grinden som skal eksporteres.",
     "First choose the window of the grid to export."},
    {ExText::CsvFilter, "CSV-filer|*.csv *.txt|Alle filer|*", "CSV files|*.csv *.txt|All files|*"},
    {ExText::Overwrite, "%1 finnes. Vil du skrive over den?", "%1 exists. Do you want to replace it?"},
    {ExText::CompetitorsFile, "Deltakere.csv", "Competitors.csv"},
    {ExText::ResultsFile, "Resultater_%1.csv", "Results_%1.csv"},
    {ExText::FinishBadLine,
     "Resultatfila %1 kan ikke leses: linje %2 mangler felt eller har et startnummer som ikke er et tall.",
     "The result file %1 cannot be read: line %2 lacks fields or holds a start number that is no number."},
    {ExText::FinishNoGrid,
     "Resultatfila %1 gjelder øvelse %2, runde %3, heat %4, som ikke har noen grind. Ingenting er endret.",
     "The result file %1 is for event %2, round %3, heat %4, which has no grid. Nothing was changed."},
    {ExText::FinishNotInGrid,
     "Resultatfila %1, linje %2: startnummer %3 er ikke i grinden %4. Ingenting er endret.",
     "The result file %1, line %2: start number %3 is not in the grid %4. Nothing was changed."},
    {ExText::FinishStored, "%1 resultater fra %2 er lagt inn i grinden %3.",
     "%1 results of %2 were stored in the grid %3."},
    {ExText::StartListsWritten, "Startlister for målfoto er skrevet for %1 grinder i %2.",
     "Photo-finish start lists were written for %1 grids in %2."},
    {ExText::StartListsCommand, "Skriv startlister for &målfoto...", "Write p&hoto-finish start lists..."},
    {ExText::FinishCommand, "Les resultat&fil fra målfoto...", "Read photo-finish result &file..."},
    {ExText::FinishFilter, "Resultatfiler|*.lif *.LIF|Alle filer|*", "Result files|*.lif *.LIF|All files|*"},
    {ExText::ExportFailed, "%1 kunne ikke skrives: %2", "%1 could not be written: %2"},
    {ExText::CameraFrame, "Målfoto", "Photo-finish camera"},
    {ExText::CameraFolder, "Målf&otomappe", "P&hoto-finish folder"},
    {ExText::CameraChoose, "Bla g&jennom...", "&Browse..."},
    {ExText::CameraClear, "Fje&rn", "Remo&ve"},
    {ExText::CameraWatch, "Les inn res&ultatfiler når de kommer", "Import result files as the&y appear"},
    {ExText::CameraFolderTitle, "Mappe for målfotokameraets filer",
     "Folder of the photo-finish camera's files"},
    {ExText::CameraFolderUnusable, "Mappa %1 kan ikke brukes for målfoto: %2",
     "The folder %1 cannot be used for the photo-finish camera: %2"},
    {ExText::CameraFolderMissing, "mappa finnes ikke", "the folder does not exist"},
    {ExText::CameraFolderReadOnly, "mappa kan ikke skrives i", "the folder cannot be written to"},
    {ExText::CameraListsFailed,
     "Startlistene for målfoto i %1 kunne ikke skrives på nytt: %2. Grinden er lagret som før; filene "
     "skrives "
     "igjen ved neste endring.",
     "The photo-finish start lists in %1 could not be written again: %2. The grid is stored all the same; "
     "the "
     "files are written again at the next change."},
    {ExText::CameraFileFailed, "Resultatfila %1 fra målfotomappa ble ikke lest inn: %2",
     "The result file %1 from the photo-finish folder was not read in: %2"},
};

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        if (kTexts[i].id != ExText(i))
            return false;
    return std::size(kTexts) == std::size_t(ExText::Count);
}
static_assert(inOrder(), "every exchange text once, in the order of the names");

} // namespace

QString exchangeText(ExText id, Language language)
{
    const auto i = std::size_t(id);
    if (i >= std::size(kTexts))
        return {};
    return QString::fromUtf8(language == Language::English ? kTexts[i].english : kTexts[i].norwegian);
}

} // namespace arenor::exchange
