#include "RoundGrids.h"

#include "db/Schema.h"
#include "events/EventSetup.h"

#include <QSet>

namespace arenor::exchange {

bool freeText(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || t == u'-' || t == u'_';
}

Status readPersonRecords(AppState &state, std::vector<QVariantList> &persons)
{
    QStringList fields;
    std::vector<qint64> rowids;
    return db::readTable(state.database, schema::tableName(schema::Table::Personer), fields, rowids, persons);
}

Status roundGrids(AppState &state, int round, QList<RoundGrid> &grids, int event, int cls)
{
    grids.clear();
    QStringList fields;
    std::vector<qint64> rowids;
    std::vector<QVariantList> setups;
    // One grid needs one setup record; a round reads the table once.
    const bool one = event > 0 && cls > 0;
    if (Status s = one ? Status()
                       : db::readTable(state.database, schema::tableName(schema::Table::Oppsett), fields,
                                       rowids, setups);
        !s)
        return s;
    QSet<QString> present;
    for (const QString &name : state.database.tables())
        present.insert(name.toCaseFolded());
    round = std::clamp(round, 0, kRounds - 1);
    for (int e = event > 0 ? event : 1; e <= (event > 0 ? event : kEventSlots); ++e) {
        if (e > kEventSlots || freeText(state.eventNames[size_t(e)]))
            continue;
        for (int k = cls > 0 ? cls : 1; k <= (cls > 0 ? cls : kClassCount); ++k) {
            if (k > kClassCount || freeText(state.catalogs.classes[size_t(k)]))
                continue;
            RoundGrid grid{round, e, k, {}, {}, {}};
            const size_t record = size_t(events::setupRecordNumber(round, e, k));
            if (one) {
                if (Status s = events::readSetupRecord(state, int(record), grid.setup); !s)
                    return s;
                for (QString &f : grid.setup)
                    f = f.trimmed();
            } else if (record >= 1 && record <= setups.size()) {
                for (const QVariant &v : setups[record - 1])
                    grid.setup << v.toString().trimmed();
            }
            while (grid.setup.size() < schema::kSetupFields)
                grid.setup << QString();
            QString variant = grid.setup[events::SetupVariant];
            if (variant.isEmpty())
                variant = QStringLiteral("_");
            grid.selection = events::listSelection(state, e, k, variant);
            grid.selection.roundTag = state.texts.roundName(round) + u'_';
            for (const QString &name :
                 events::classListNames(state.texts, grid.selection, state.option(OptLongFileNames))) {
                const QString bare = name.chopped(4);
                if (present.contains(bare.toCaseFolded())) {
                    grid.table = bare;
                    break;
                }
            }
            if (!grid.table.isEmpty())
                grids << grid;
        }
    }
    return {};
}

} // namespace arenor::exchange
