#include "TextTables.h"

#include <array>

namespace arenor {

namespace {

struct OwnText {
    Text id;
    const char *norwegian; // UTF-8
    const char *english;   // UTF-8
};

// In the order of the names, which the check below holds to.
constexpr OwnText kTexts[] = {
    {Text::FileMissing, "finnes ikke", "does not exist"},
    {Text::FileEmpty, "er tom og er ingen stevnedatabase", "is empty and is no meet database"},
    {Text::FileOldFormat, "er i det gamle Windows-formatet, som dette programmet ikke kan lese",
     "is of the old Windows format, which this program cannot read"},
    {Text::FileNotDatabase, "er ingen database, eller den er skadet", "is not a database, or it is damaged"},
    {Text::FileForeign, "er en database fra et annet program", "is a database of another program"},
    {Text::FileUnreadable, "kan ikke leses", "cannot be read"},
    {Text::FileIncomplete, "er ingen hel stevnedatabase; den mangler ",
     "is no complete meet database; it lacks "},
    {Text::FileNewer, "er laget av en nyere versjon av programmet",
     "was made by a newer version of the program"},
    {Text::FileUntouched, " Fila er ikke endret og blir ikke brukt.",
     " The file was left untouched and is not used."},
    {Text::RepairSaved,
     "%1 var skadet. %2 poster ble berget over i en hel fil. Den skadde fila er tatt vare på som %3.",
     "%1 was damaged. %2 records were saved into a sound file. The damaged file was kept as %3."},
    {Text::RepairLostTables, " Ingen poster kunne leses i: %1.", " No record could be read in: %1."},
    {Text::CopyNameRefused,
     "%1 er navnet på kopien som \"Kopier\" lager, og kan ikke være navnet på et stevne. Velg et annet navn.",
     "%1 is the name of the copy that \"Copy\" makes and cannot be the name of a meet. Choose another name."},
    {Text::CopyIsOpenMeet,
     "%1 er det åpne stevnet, og kopien skulle fått samme navn. Åpne et annet stevne først.",
     "%1 is the open meet, and the copy would get the same name. Open another meet first."},
    {Text::DirectoryInUse,
     "Programkatalogen %1 er i bruk av et annet program som kjører nå (prosess %2). To programmer i samme "
     "katalog ville skrive over hverandres stevne og tider.\n\nVil du avslutte? (Nei prøver igjen.)",
     "The program directory %1 is in use by another program that is running now (process %2). Two programs "
     "in one directory would overwrite each other's meet and times.\n\nDo you want to quit? (No tries "
     "again.)"},
    {Text::GridMissing, "Grinden %1 finnes ikke. Lag den med \u00ABGrindliste\u00BB først.",
     "The grid %1 does not exist. Make it with \u00ABGridlist\u00BB first."},
    {Text::GridLacksColumns, "Grinden mangler kolonnene: %1", "The grid lacks the columns: %1"},
    {Text::NoEditor, "Fant ingen editor for å vise %1. Velg en editor under Alternativer.",
     "No editor was found to show %1. Choose an editor in Alternatives."},
    {Text::QuitQuestion, "Vil du avslutte?", "Do you want to quit?"},
    {Text::EntriesLackRecord, "Påmeldingen mangler post %1.", "The entries lack record %1."},
    {Text::NumberNotTaken,
     "%1 \"%2\" ble ikke tatt i bruk: nummeret er postens plass i registeret, og denne posten står på plass "
     "%3. Posten beholder nummer \"%4\".",
     "%1 \"%2\" was not taken: the number is the record's place in the register, and this record is in "
     "place %3. The record keeps number \"%4\"."},
    {Text::StartNumber, "Startnummer", "Start number"},
    {Text::ClubNumber, "Klubbnummer", "Club number"},
    {Text::RelayTeamNumber, "Stafettlag nummer", "Relay team number"},
    {Text::FirstRecord, "Første post", "First record"},
    {Text::PreviousRecord, "Forrige post", "Previous record"},
    {Text::NextRecord, "Neste post", "Next record"},
    {Text::LastRecord, "Siste post", "Last record"},
    {Text::TimesListFull, "%1 er full (%2 tider). Tiden %3 fra kanal %4 ble ikke lagret; skriv den opp.",
     "The %1 list is full (%2 times). The time %3 from channel %4 was not stored; write it down."},
    {Text::OutTimesList, "Utlista", "out-times"},
    {Text::InTimesList, "Innlista", "in-times"},
    {Text::TimesOverflow, "%1 har %2 tider for mye. Bare de %3 første vises; resten blir stående i fila.",
     "%1 holds %2 times too many. Only the first %3 are shown; the rest stay in the file."},
    {Text::TimeFileHeldBack,
     "%1\n\nTidsfila blir ikke skrevet over. Nye tider holdes tilbake og registreres når fila kan leses.",
     "%1\n\nThe time file is not overwritten. New times are held back and registered once the file can be "
     "read."},
    {Text::StartSetupNotAvailable, "Startoppsettet er ikke tilgjengelig ennå.",
     "The start setup is not available yet."},
    // Sorting list files
    {Text::SortNoRuler,
     "%1 kan ikke sorteres: ingen av de 15 første linjene begynner med \"=\". Fila er ikke endret.",
     "%1 cannot be sorted: none of its first 15 lines starts with \"=\". The file was not changed."},
    {Text::SortNoColumns,
     "%1 kan ikke sorteres: overskriften har ingen kjent kolonnelinje (Øv.pl, Heat eller Bane). Fila er ikke "
     "endret.",
     "%1 cannot be sorted: its header has no known column line (Co.pl, Heat or Lane). The file was not "
     "changed."},
    {Text::SortTooManyRows, "%1 har flere enn %2 rader og kan ikke sorteres. Fila er ikke endret.",
     "%1 has more than %2 rows and cannot be sorted. The file was not changed."},
    {Text::SortUnknownOrder, "Ukjent sortering (%1). Ingen liste ble sortert.",
     "Unknown sort order (%1). No list was sorted."},
    {Text::AdapterMissing, "%1 finnes ikke. Er adapteret koblet til?",
     "%1 does not exist. Is the adapter plugged in?"},
    {Text::AdapterDenied,
     "Ingen tilgang til %1. Brukeren må være med i gruppen \"%2\" (sudo adduser $USER %2), og så logge inn "
     "på nytt.",
     "No permission to use %1. The user has to be in group \"%2\" (sudo adduser $USER %2), then log in "
     "again."},
    {Text::AdapterBusy, "%1 er i bruk av et annet program.", "%1 is in use by another program."},
    {Text::AdapterNotSupported, "%1 kan ikke melde endringer på linjene.",
     "%1 cannot report changes of its lines."},
    {Text::AdapterUnplugged,
     "%1 ble borte (frakoblet?). Registrerte tider er beholdt; koble til igjen og slå på automatisk "
     "tidtaking.",
     "%1 went away (unplugged?). The registered times are kept; plug it in again and switch automatic timing "
     "on."},
    {Text::AdapterBadSetup, "Oppsettet for %1 kan ikke brukes.", "The setup for %1 cannot be used."},
    {Text::AdapterError, "Feil på %1.", "Error on %1."},
    {Text::NotWired, "Ikke koblet til: kanal %1.", "Not wired: channel %1."},
    {Text::GpioChip, "GPIO-brikke", "GPIO chip"},
    {Text::GpioInputs, "Inngangslinjer, kanal 1-6", "Input lines, channels 1-6"},
    {Text::GpioOutputs, "Utgangslinjer, bit 0-6", "Output lines, bits 0-6"},
    {Text::SerialPort, "Seriell port", "Serial port"},
    {Text::GpioLinesTip, "Linjenumre skilt med mellomrom; \"-\" for en kanal uten linje.",
     "Line numbers separated by blanks; \"-\" for a channel without a line."},
    // The timing window's design texts read the same in both languages.
    {Text::PollingRate, "Kontrollerer I/O portene", "Kontrollerer I/O portene"},
    {Text::PerSecond, "pr.  sekund", "pr.  sekund"},
    {Text::IntervalLabel, "&Innsignaler     [ Intervall ms ]", "&Innsignaler     [ Intervall ms ]"},
    {Text::DelayLabel, "&Forsinkelse    [ Ca Intervall ms ]", "&Forsinkelse    [ Ca Intervall ms ]"},
    {Text::ToolBar, "Verktøylinje", "Toolbar"},
    {Text::ButtonBar, "Knappelinje", "Buttonbar"},
    {Text::WindowArea, "Windows", "Windows"},
    {Text::Progress, "Progress", "Progress"},
    // The button bar's design captions (spelling kept); in English the menu's words.
    {Text::BarEntries, "&Startliste", "&Startlist"},
    {Text::BarEventSetup, "&Øvelser", "&Competitions"},
    {Text::BarCompetitors, "&Deltakere", "&Competitors"},
    {Text::BarClubs, "&Klubber", "&Clubs"},
    {Text::BarRelays, "&Satfettlag", "&Relayparties"},
    {Text::BarClasses, "&Klasser", "&Classes"},
    {Text::BarOptions, "&Alternativer", "&Alternatives"},
    {Text::BarPoints, "&Poeng", "&Points"},
    {Text::BarTiming, "&Tidtaking", "&Timeing"},
    {Text::TitleEventSetup, " Oppsett", " Setup"},
    {Text::TitleEntries, "Startliste", "Startlist"},
    {Text::TitleOptions, "Alternativer", "Alternatives"},
    {Text::TitleCompetitors, "Deltakere", "Competitors"},
    {Text::TitleClubs, "Klubber", "Clubs"},
    {Text::TitlePoints, "Poeng", "Points"},
    {Text::TitleRelays, "Stafettlag", "Relayparties"},
    {Text::TitleClasses, "Klasser", "Classes"},
    {Text::TitleTiming, "Tidtaking", "Timeing"},
    {Text::OptionsFrame, "Alternativer", "Options"},
    {Text::EditorFrame, "Editor", "Editor"},
    {Text::LanguageFrame, "Språk", "Language"},
    {Text::Help, "Hjelp", "Help"},
    {Text::HelpSearchLabel, "&Søk:", "&Search:"},
    {Text::HelpContents, "Innhold", "Contents"},
    {Text::HelpSearch, "Søk", "Search"},
    {Text::HelpPage, ":/help/Hjelp.html", ":/help/Help.html"},
    {Text::HelpFile, "Hjelp.hlp", "Help.hlp"},
    {Text::Ok, "OK", "OK"},
    {Text::Cancel, "Avbryt", "Cancel"},
    {Text::Yes, "&Ja", "&Yes"},
    {Text::No, "&Nei", "&No"},
    {Text::Back, "&Tilbake", "&Tilbake"},
    // Meet lists
    {Text::ContingentRefused,
     "Kontigenten \"%1\" kan ikke brukes: skriv et beløp fra 0 til 1000000. Ingen liste ble laget.",
     "The contingent \"%1\" cannot be used: type an amount from 0 to 1000000. No list was made."},
    // The heading of the clubs in the points list, where the message table has none.
    {Text::ClubsHeading, "KLUBBER", "CLUBS"},
    // Command line and the about box
    {Text::CommandLineAbout, "Kjører et friidrettsstevne fra påmelding til de endelige resultatlistene.",
     "Runs an athletics meet from registration to the final result lists."},
    {Text::CommandLineDir, "Bruk KATALOG som programkatalog i stedet for %1. Den lages om den mangler.",
     "Use DIRECTORY as the program directory instead of %1. It is created when missing."},
    {Text::CommandLineDirValue, "KATALOG", "DIRECTORY"},
    {Text::CommandLineHelp, "Vis valgene og avslutt.", "Show the options and exit."},
    {Text::CommandLineVersion, "Vis versjonen og avslutt.", "Show the version and exit."},
    {Text::CommandLineStray, "Ukjent argument \"%1\".", "Unexpected argument \"%1\"."},
    {Text::ProgramDirUnusable, "Kan ikke lage programkatalogen %1.",
     "Cannot create the program directory %1."},
    {Text::VersionLine, "Versjon %1", "Version %1"},
    // The event setup and its grid
    {Text::ChooseOptionsFirst, "Velg først: %1", "Choose first: %1"},
    // Results, start times, result handling and the grid's import of times
    {Text::ResultsUnreadable,
     "%1 av resultatene kan ikke leses med tidsformatet \u00AB%3\u00BB og er regnet som uten resultat "
     "(startnummer %2). Rett dem, eller velg riktig tidsformat i øvelsesoppsettet, og gjør det på nytt.",
     "%1 of the results cannot be read in the time format \u00AB%3\u00BB and count as no result "
     "(start numbers %2). Correct them, or choose the right time format in the event setup, and do it "
     "again."},
    {Text::StartsWithoutTime,
     "Ingen starttid for startnummer %1: tidsformatet rommer tider til og med %2. De andre fikk sine "
     "tider. Velg et tidligere starttidspunkt, et kortere intervall eller større grupper for dem.",
     "No start time for start numbers %1: the time format holds times up to %2. The others got "
     "theirs. Choose an earlier first start, a shorter interval or larger groups for them."},
    {Text::HelpColumnsLacking,
     "Grinden mangler kolonnene %1 (den ble laget før antallet hjelpekolonner ble økt). Bare %2 ble "
     "brukt.",
     "The grid lacks the columns %1 (it was made before the number of help columns was raised). Only "
     "%2 were used."},
    {Text::TimeFileNotRewritten,
     "Tidene er lagret i grinden, men tidfila %1 kunne ikke skrives på nytt: %2. De importerte tidene "
     "står fortsatt i fila.",
     "The times are stored in the grid, but the time file %1 could not be written again: %2. The "
     "imported times are still in the file."},
    // Lists found under either language's name
    {Text::JoinFoundNothing, "Fant ingen lister å slå sammen (%2), så %1 ble ikke skrevet.",
     "No lists to join were found (%2), so %1 was not written."},
    // The results site
    {Text::PublishOption, "&Publiser resultater til mappe", "&Publish results to folder"},
    {Text::PublishChooseFolder, "Vel&g mappe...", "Choose f&older..."},
    {Text::PublishFolderTitle, "Mappe for resultatsidene", "Folder for the results site"},
    {Text::PublishFailed,
     "Resultatene ble ikke publisert i mappa %1: %2. Lista er laget som tekstfil likevel, og sidene som "
     "lå i mappa er som før.",
     "The results were not published to the folder %1: %2. The list was made as a text file all the same, "
     "and the pages in the folder are as they were."},
    {Text::PublishRefused, "Resultatene kan ikke publiseres i mappa %1: %2.",
     "The results cannot be published to the folder %1: %2."},
    {Text::PublishFolderMissing, "mappa finnes ikke", "the folder does not exist"},
    {Text::PublishFolderReadOnly, "mappa kan ikke skrives i", "the folder cannot be written to"},
    {Text::PublishFolderIsMeet, "det er stevnekatalogen, der tekstlistene ligger; velg en annen mappe",
     "it is the meet directory, which holds the text lists; choose another folder"},
    {Text::PublishWriteFailed, "%1 kunne ikke skrives (%2)", "%1 could not be written (%2)"},
    {Text::SiteHome, "Resultater", "Results"},
    {Text::SiteRounds, "Runder", "Rounds"},
    {Text::SiteMeetLists, "Lister for hele stevnet", "Lists of the whole meet"},
    {Text::SiteEvents, "Øvelser", "Events"},
    {Text::SiteClasses, "Klasser", "Classes"},
    {Text::SiteOtherLists, "Andre lister", "Other lists"},
    {Text::SiteUpdated, "Oppdatert %1", "Updated %1"},
    {Text::SiteInProgress, "pågår", "in progress"},
    {Text::CommandLinePublish,
     "Publiser listene som lages, også som resultatsider i MAPPE. Den lages om den mangler.",
     "Publish the lists made also as a results site in FOLDER. It is created when missing."},
    {Text::CommandLinePublishValue, "MAPPE", "FOLDER"},
    // Printing and PDF
    {Text::PageOf, "Side %1 av %2", "Page %1 of %2"},
    // Letters free in the list menu; a window moves them where its own controls have the letter.
    {Text::PrintCommand, "Skriv &ut …", "Pri&nt …"},
    {Text::PdfCommand, "Lagre som PD&F …", "Save as PD&F …"},
    {Text::ClassListItem, "&Klasseliste", "&Class list"},
    {Text::EventListItem, "&Øvelsesliste", "&Event list"},
    {Text::PdfFilter, "PDF-filer (*.pdf)", "PDF files (*.pdf)"},
    {Text::PdfFailed, "PDF-fila %1 ble ikke skrevet: %2", "The PDF file %1 was not written: %2"},
    {Text::PrintFailed, "Utskriften mislyktes: %1", "Printing failed: %1"},
    {Text::NoListToPrint, "Listen %1 er ikke laget ennå. Lag den først.",
     "The list %1 has not been made yet. Make it first."},
    {Text::CommandLineMeet, "Åpne stevnefila FIL (i programkatalogen, eller en full sti).",
     "Open the meet file FILE (in the program directory, or a full path)."},
    {Text::CommandLineMeetValue, "FIL", "FILE"},
    {Text::CommandLineMakeLists,
     "Lag alle listene i stevnets aktuelle runde uten å åpne et vindu, og avslutt.",
     "Make every list of the meet's current round without opening a window, and exit."},
    {Text::CommandLinePdf, "Lagre også hver liste som PDF i KATALOG (sammen med --make-lists).",
     "Also save every list as a PDF in DIRECTORY (with --make-lists)."},
    {Text::CommandLineOnlyWithLists, "%1 brukes bare sammen med --make-lists.",
     "%1 is only used with --make-lists."},
    {Text::ListsMadeSummary, "%1 lister laget i %2", "%1 lists made in %2"},
    // Seeding heats and lanes, advancing between rounds
    {Text::LaneNotANumber, "\u00AB%1\u00BB er ikke et banenummer.", "\u00AB%1\u00BB is not a lane number."},
    {Text::LaneTwice, "Bane %1 står to ganger i banetabellen.", "Lane %1 is in the lane table twice."},
    {Text::LaneMissing, "Banetabellen mangler bane %1.", "The lane table lacks lane %1."},
    {Text::LaneBeyond, "Bane %1 finnes ikke med %2 baner.", "There is no lane %1 with %2 lanes."},
    {Text::LaneTableUnfit, "Banetabellen passer ikke til %1 baner; banene ble trukket fra midten og utover.",
     "The lane table does not fit %1 lanes; the lanes were drawn from the centre outwards."},
    {Text::SeedNoLanes, "Uten antall baner ble ingen plassert i heat og bane.",
     "Without a number of lanes nobody was placed in heats and lanes."},
    {Text::SeedTooFewHeats, "%1 heat rommer ikke %2 deltakere på %3 baner; det ble %4 heat.",
     "%1 heats cannot hold %2 competitors in %3 lanes; %4 heats were made."},
    {Text::SeedMarksUnreadable,
     "Seedingsresultatet til startnummer %1 kan ikke leses i øvelsens tidsformat; de er rangert sist.",
     "The seed marks of start numbers %1 cannot be read in the event's time format; they are ranked last."},
    {Text::SeedQuestion,
     "Plassere etter seedingsresultat (de beste spredt over heatene, banene trukket i grupper etter "
     "rangering)?\n\nJa: etter seedingsresultat. Nei: tilfeldig.",
     "Place by seed mark (the best spread over the heats, lanes drawn in groups by rank)?\n\nYes: by seed "
     "mark. No: at random."},
    {Text::SeedMark, "Seedingsresulta&t:", "Seed mar&k:"},
    {Text::SeedMarkTip, "Sesongbeste eller personlig beste i denne øvelsen og runden, som resultater skrives",
     "Season's or personal best in this event and round, typed as results are"},
    {Text::AdvanceNoFinisher, "Heat %1 har ingen i mål.", "Heat %1 has no finisher."},
    {Text::AdvanceHeatShort, "Heat %1 har bare %2 plasserte; regelen tar %3.",
     "Heat %1 has only %2 placed; the rule takes %3."},
    {Text::AdvanceTooMany, "Regelen tar %1, men runden har bare %2 plasserte.",
     "The rule takes %1, but the round has only %2 placed."},
    {Text::AdvanceTiePlace, "Delt %2. plass i heat %1: startnummer %4 om %3 plass(er) videre.",
     "Tie for place %2 in heat %1: start numbers %4 for %3 place(s) in the next round."},
    {Text::AdvanceTieTime, "Likt resultat %1 om de siste plassene på tid: startnummer %3 om %2 plass(er).",
     "Equal result %1 for the last places on time: start numbers %3 for %2 place(s)."},
    {Text::AdvanceButton, "&Avansement", "&Advance"},
    {Text::AdvanceTitle, "Avansement", "Advancement"},
    {Text::AdvanceRulePrompt,
     "De N første i hvert heat går videre på plass (Q), deretter de n beste andre på tid (q).\nSkriv "
     "regelen som N+n, for eksempel 2+2:",
     "The first N of each heat advance by place (Q), then the n fastest others by time (q).\nType the "
     "rule as N+n, for example 2+2:"},
    {Text::AdvanceRuleBad, "\u00AB%1\u00BB er ingen regel. Skriv N+n, for eksempel 2+2.",
     "\u00AB%1\u00BB is no rule. Type N+n, for example 2+2."},
    {Text::AdvanceTieQuestion, "%1\n\nJa: alle går videre (når banene rekker). Nei: velg hvem.",
     "%1\n\nYes: all of them advance (when the lanes allow). No: choose who."},
    {Text::AdvancePickPrompt, "Skriv de %1 startnumrene av %2 som går videre, skilt med mellomrom:",
     "Type the %1 start numbers of %2 that advance, separated by blanks:"},
    {Text::AdvancePickBad, "\u00AB%1\u00BB er ikke %2 av startnumrene %3.",
     "\u00AB%1\u00BB is not %2 of the start numbers %3."},
    {Text::AdvanceOverridePrompt,
     "Dommerens overstyring (kan stå tom): +startnummer tar med (protest tatt til følge), -startnummer tar "
     "ut (trukket), skilt med mellomrom:",
     "The referee's overrides (may be left empty): +start number puts in (protest upheld), -start number "
     "takes out (withdrawn), separated by blanks:"},
    {Text::AdvanceOverrideBad,
     "\u00AB%1\u00BB er ingen overstyring: skriv +startnummer eller -startnummer fra grinden, skilt med "
     "mellomrom.",
     "\u00AB%1\u00BB is no override: type +start number or -start number of the grid, separated by blanks."},
    {Text::AdvanceNotHeats, "Avansement gjelder heatlister med heat og plasser.",
     "Advancement works on heat lists with heats and places."},
    {Text::AdvanceLastRound, "Finalen er siste runde; ingen kan gå videre derfra.",
     "The final is the last round; nobody advances from it."},
    {Text::AdvanceDone,
     "%1 går videre til %2 og er påmeldt der, rangert Q før q. Velg runden og lag grinden med "
     "\u00ABGrindliste\u00BB: svar Ja på spørsmålet om seeding.",
     "%1 advance to %2 and are entered there, ranked Q before q. Choose that round and make its grid "
     "with \u00ABGridlist\u00BB: answer Yes to the seeding question."},
    {Text::LanePriority, "Baneprioritet &i stevnet (for eksempel 3 4 2 5 1 6):",
     "Meet's lane pr&iority (for example 3 4 2 5 1 6):"},
    {Text::FileServerDown,
     "kan ikke nås: tjeneren svarer ikke, eller den avviser brukeren eller databasen",
     "cannot be reached: the server does not answer, or it refuses the user or the database"},
    {Text::FilePasswordNeeded, "krever et passord, og det ble ikke gitt eller var feil",
     "needs a password, and none was given or it was wrong"},
    {Text::FileServerNoMeet,
     "holder ikke noe stevne ennå; last opp et stevne dit med \u00ABLast opp til server\u00BB",
     "holds no meet yet; upload a meet to it with \u00ABUpload to server\u00BB"},
    {Text::ServerUntouched, " Databasen er ikke endret og blir ikke brukt.",
     " The database was left untouched and is not used."},
    {Text::ServerOpenCommand, "Åpne database på &server...", "Open database on &server..."},
    {Text::ServerUploadCommand, "Last &opp til server...", "Upload &to server..."},
    {Text::ServerDownloadCommand, "Last &ned fra server...", "Dow&nload from server..."},
    {Text::ServerTitle, "Database på server", "Database on server"},
    {Text::ServerHostPrompt, "Tjeneren (navn eller IP-adresse):", "The server (name or IP address):"},
    {Text::ServerPortPrompt, "Port:", "Port:"},
    {Text::ServerDatabasePrompt, "Databasen på tjeneren:", "The database on the server:"},
    {Text::ServerUserPrompt, "Brukeren:", "The user:"},
    {Text::ServerPasswordPrompt, "Passord for %1:", "Password for %1:"},
    {Text::ServerPortBad, "\u00AB%1\u00BB er ingen port; skriv et tall fra 1 til 65535.",
     "\u00AB%1\u00BB is no port; type a number from 1 to 65535."},
    {Text::ServerNameBad, "Svaret kan ikke stå tomt eller inneholde / @ ? eller mellomrom: \u00AB%1\u00BB.",
     "The answer cannot be empty or hold / @ ? or blanks: \u00AB%1\u00BB."},
    {Text::ServerOnlyFiles,
     "Denne kommandoen gjelder stevnefiler. Stevnet på serveren holdes i orden av tjeneren; en kopi "
     "får du med \u00ABLast ned fra server\u00BB.",
     "This command works on meet files. The server looks after the meet on the server; \u00ABDownload "
     "from server\u00BB makes a copy."},
    {Text::UploadFromServer,
     "Det åpne stevnet ligger allerede på serveren %1. Åpne stevnefila som skal lastes opp først.",
     "The open meet is already on the server %1. Open the meet file to upload first."},
    {Text::UploadTargetHoldsMeet,
     "%1 holder allerede et stevne. Et stevne lastes bare opp til en tom database; stevnefila er uendret.",
     "%1 holds a meet already. A meet is only uploaded to an empty database; the meet file is unchanged."},
    {Text::UploadFailed,
     "Opplastingen til %1 mislyktes. Ingenting ble skrevet der, og stevnefila er uendret.\n\n%2",
     "The upload to %1 failed. Nothing was written there, and the meet file is unchanged.\n\n%2"},
    {Text::UploadDone, "Stevnet er lastet opp til %1.\n\nFortsette med stevnet på serveren?",
     "The meet was uploaded to %1.\n\nGo on with the meet on the server?"},
    {Text::DownloadNotServer,
     "Det åpne stevnet er en stevnefil. \u00ABLast ned fra server\u00BB gjelder et stevne på serveren.",
     "The open meet is a meet file. \u00ABDownload from server\u00BB works on a meet on the server."},
    {Text::DownloadFailed, "Nedlastingen mislyktes; fila %1 ble ikke laget.\n\n%2",
     "The download failed; the file %1 was not made.\n\n%2"},
    {Text::DownloadDone, "Stevnet er lagret i %1.\n\nFortsette med fila i stedet for serveren?",
     "The meet was saved in %1.\n\nGo on with the file instead of the server?"},
    {Text::CommandLineServer,
     "Åpne stevnet på serveren ADRESSE (postgresql://bruker@tjener:port/database); med --make-lists: "
     "lag listene fra det.",
     "Open the meet on the server ADDRESS (postgresql://user@host:port/database); with --make-lists: "
     "make the lists from it."},
    {Text::CommandLineServerValue, "ADRESSE", "ADDRESS"},
    {Text::CommandLineServerBad, "--server: \u00AB%1\u00BB er ingen adresse som postgresql://bruker@tjener:port/database.",
     "--server: \u00AB%1\u00BB is no address like postgresql://user@host:port/database."},
    {Text::CommandLineServerAndMeet, "--server og --meet kan ikke brukes sammen.",
     "--server and --meet cannot be used together."},
};

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        if (kTexts[i].id != Text(i))
            return false;
    return std::size(kTexts) == std::size_t(Text::Count);
}
static_assert(inOrder(), "every own text once, in the order of the names");

} // namespace

QString TextTables::text(Text id, Language language)
{
    const auto i = std::size_t(id);
    if (i >= std::size(kTexts))
        return {};
    const std::array<const char *, 2> both = {kTexts[i].norwegian, kTexts[i].english};
    return QString::fromUtf8(both[std::size_t(language)]);
}

} // namespace arenor
