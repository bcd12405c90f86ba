#include "RecordForm.h"

#include <QWidget>

namespace arenor {

RecordForm::RecordForm(AppState &state, std::function<QString()> tableName, db::RecordModel *shared,
                       QObject *parent)
    : QObject(parent), m_state(state), m_tableName(std::move(tableName)),
      m_model(shared ? shared : &m_ownModel), m_shared(shared != nullptr)
{
    m_mapper.setModel(m_model);
    m_mapper.setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    connect(m_model, &db::RecordModel::recordWritten, this, [this](int row) {
        if (row == m_mapper.currentIndex())
            emit recordSaved(row);
    });
    // Another station of a server meet changed the table: shown anew at once, or, while the
    // user has edits in the controls, after they are saved, so no typing is lost.
    connect(&m_mapper, &QDataWidgetMapper::currentIndexChanged, this, &RecordForm::rememberShown);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &RecordForm::rememberShown);
    connect(m_model, &db::RecordModel::storedChanged, this, [this] {
        if (showsEdits())
            m_storedChanged = true;
        else
            refresh();
    });
    m_state.addDataBound(this);
}

void RecordForm::rememberShown()
{
    m_shown.clear();
    for (int field = 0; field < m_model->columnCount(); ++field)
        if (QWidget *w = m_mapper.mappedWidgetAt(field))
            m_shown[field] = w->property(m_mapper.mappedPropertyName(w).constData());
}

bool RecordForm::showsEdits() const
{
    for (const auto &[field, value] : m_shown)
        if (QWidget *w = m_mapper.mappedWidgetAt(field);
            w && w->property(m_mapper.mappedPropertyName(w).constData()) != value)
            return true;
    return false;
}

RecordForm::~RecordForm()
{
    m_state.removeDataBound(this);
}

void RecordForm::addMapping(QWidget *widget, int field, const QByteArray &property)
{
    if (property.isEmpty())
        m_mapper.addMapping(widget, field);
    else
        m_mapper.addMapping(widget, field, property);
}

void RecordForm::bindDatabase(db::Database &database)
{
    if (!m_shared)
        m_model->open(database, m_tableName());
    m_mapper.toFirst();
    emit currentRowChanged(m_mapper.currentIndex());
}

void RecordForm::unbindDatabase()
{
    if (m_model->isOpen() && m_mapper.currentIndex() >= 0)
        save();
    if (!m_shared)
        m_model->close();
    emit currentRowChanged(-1);
}

bool RecordForm::save()
{
    const int row = m_mapper.currentIndex();
    if (row < 0)
        return false;
    if (validate)
        validate(row);
    m_model->beginBatch();
    m_mapper.submit();
    if (!m_model->endBatch())
        return false;
    if (saved)
        saved(row);
    if (m_storedChanged) {
        m_storedChanged = false;
        refresh();
    }
    return true;
}

bool RecordForm::saveShown()
{
    if (currentRow() < 0 || save())
        return true;
    // Moving on would throw the edits away unseen.
    m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + m_model->lastError(),
                       Icon::Exclamation);
    return false;
}

bool RecordForm::setCurrentRow(int row)
{
    if (!saveShown() || row < 0 || row >= recordCount() || row == currentRow())
        return false;
    m_mapper.setCurrentIndex(row);
    emit currentRowChanged(row);
    return true;
}

void RecordForm::refresh()
{
    m_storedChanged = false;
    const int row = std::max(0, currentRow());
    m_model->refresh();
    m_mapper.setCurrentIndex(std::min(row, recordCount() - 1));
    emit currentRowChanged(m_mapper.currentIndex());
}

} // namespace arenor
