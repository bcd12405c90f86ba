#include "StationSync.h"

#include "db/Schema.h"
#include "db/StationTexts.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"

namespace arenor {

namespace {
// Notifications of one burst (a transaction writing several tables) are taken together.
constexpr int kGatherMs = 40;
} // namespace

StationSync::StationSync(AppState &state, QObject *parent)
    : QObject(parent), m_state(state), m_station(state.database)
{
    m_soon.setSingleShot(true);
    m_soon.setInterval(kGatherMs);
    connect(&m_soon, &QTimer::timeout, this, &StationSync::applyHeard);
    connect(&m_station, &db::Station::tableChanged, this, [this](const QString &table) {
        m_heard.insert(table);
        m_soon.start();
    });
    connect(&m_station, &db::Station::connectionLost, this, [this] {
        // Told after the statement that found it has come back to its caller.
        QTimer::singleShot(0, this, [this] {
            m_state.informText(db::stationText(db::StationText::ConnectionLost), Icon::Exclamation);
        });
    });
    connect(&m_station, &db::Station::connectionRestored, this, [this] {
        m_all = true;
        m_soon.start();
    });
    connect(&m_state.notifier, &MeetNotifier::languageChanged, this,
            [this] { db::setStationLanguage(m_state.texts.messageLanguage()); });
    m_state.addDataBound(this);
}

StationSync::~StationSync()
{
    m_state.removeDataBound(this);
}

void StationSync::bindDatabase(db::Database &)
{
    db::setStationLanguage(m_state.texts.messageLanguage());
    m_heard.clear();
    m_all = false;
    m_station.listen();
}

void StationSync::unbindDatabase()
{
    m_soon.stop();
    m_heard.clear();
    m_station.stop();
}

void StationSync::applyHeard()
{
    db::Database &database = m_state.database;
    if (!database.isOpen() || !database.onServer())
        return;
    // Never in the middle of this station's own transaction (a question asked inside one).
    if (database.inTransaction()) {
        m_soon.start();
        return;
    }
    QStringList tables;
    if (m_all) {
        m_all = false;
        m_heard.clear();
        db::RecordModel::changedElsewhere(database);
        tables = {schema::kPersoner,     schema::kStafettlag, schema::kKlubber, schema::kKlasser,
                  schema::kPoengoppsett, schema::kPamelding,  schema::kOvelser};
    } else {
        tables = m_heard.values();
        m_heard.clear();
        for (const QString &t : tables)
            db::RecordModel::changedElsewhere(database, t);
    }
    for (const QString &t : tables)
        apply(t);
}

void StationSync::reloadEntries()
{
    registers::ensureEntryLayout(m_state);
    for (int r = 0; r < kRounds; ++r)
        if (m_state.roundLoaded[size_t(r)])
            registers::loadRoundEntries(m_state, r);
}

void StationSync::apply(const QString &table)
{
    using Register = MeetNotifier::Register;
    MeetNotifier &n = m_state.notifier;
    const auto is = [&table](const QString &name) { return table.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(schema::kPersoner) || is(schema::kStafettlag)) {
        const bool persons = is(schema::kPersoner);
        if (persons)
            registers::readPersons(m_state);
        else
            registers::readRelayTeams(m_state);
        reloadEntries();
        emit n.registerChanged(persons ? Register::Competitors : Register::RelayTeams);
        emit n.entriesChanged(m_state.currentRound);
    } else if (is(schema::kKlubber)) {
        registers::readClubs(m_state);
        emit n.registerChanged(Register::Clubs);
    } else if (is(schema::kKlasser)) {
        registers::readClasses(m_state); // tells the class list's viewers itself
    } else if (is(schema::kPoengoppsett)) {
        emit n.registerChanged(Register::PointSetups);
    } else if (is(schema::kPamelding)) {
        reloadEntries();
        emit n.registerChanged(Register::Entries);
        emit n.entriesChanged(m_state.currentRound);
    } else if (is(schema::kOvelser)) {
        registers::readEventNames(m_state);
        emit n.entriesChanged(m_state.currentRound);
    } else if (is(schema::kOppsett)) {
        emit n.entriesChanged(m_state.currentRound);
    } else if (is(schema::kTidtakingoppsett) || is(schema::kVind) || is(schema::kForsok) ||
               is(schema::kHoyder) || is(schema::kHoydekort) || is(schema::kMangekamp) ||
               is(schema::kSeedmerker) || is(schema::kTrekninger) || is(schema::kAvansement) ||
               is(QStringLiteral("arenor_meet"))) {
        // Kept beside the grids and read where they are used; their models re-read above.
    } else {
        emit n.gridChanged(table); // every other table is a grid table
    }
}

} // namespace arenor
