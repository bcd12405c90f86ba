#include "events/ui/SortDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace arenor {

namespace {

constexpr int kTitleCaption = 303;
constexpr int kMethodCaption = 304;
constexpr int kColumnCaption = 305;
constexpr int kFirstColumnCaption = 306;
constexpr int kFirstDirectionCaption = 316;

} // namespace

SortDialog::SortDialog(AppState &state, const events::GridContext *context, int columnCount, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sortDialog"));
    const TextTables &t = state.texts;
    setWindowTitle(t.caption(kTitleCaption));
    auto *columns = new QGroupBox(t.caption(kColumnCaption), this);
    columns->setObjectName(QStringLiteral("columnGroupBox"));
    auto *columnLayout = new QGridLayout(columns);
    for (int k = 0; k < 10; ++k) {
        auto *b = new QRadioButton(t.caption(kFirstColumnCaption + k), columns);
        b->setObjectName(QStringLiteral("column%1RadioButton").arg(k + 1));
        b->setAccessibleName(plainCaption(b->text()));
        // A table of fewer columns offers only the columns it has.
        b->setEnabled(k < columnCount);
        m_columns[size_t(k)] = b;
        columnLayout->addWidget(b, k % 5, k / 5);
    }
    auto *method = new QGroupBox(t.caption(kMethodCaption), this);
    method->setObjectName(QStringLiteral("methodGroupBox"));
    auto *methodLayout = new QVBoxLayout(method);
    for (int j = 0; j < 2; ++j) {
        auto *b = new QRadioButton(t.caption(kFirstDirectionCaption + j), method);
        b->setObjectName(j == 0 ? QStringLiteral("ascendingRadioButton")
                                : QStringLiteral("descendingRadioButton"));
        b->setAccessibleName(plainCaption(b->text()));
        m_directions[size_t(j)] = b;
        methodLayout->addWidget(b);
    }
    m_directions[0]->setChecked(true);

    if (context) {
        const events::SortProposal p = events::sortProposal(*context, false);
        if (p.column && *p.column <= columnCount)
            m_columns[size_t(*p.column - 1)]->setChecked(true);
        if (p.descending)
            m_directions[*p.descending ? 1 : 0]->setChecked(true);
    }

    const bool norwegian = t.language() == Language::Norwegian;
    auto *buttons = new QDialogButtonBox(this);
    auto *sortButton = buttons->addButton(norwegian ? QStringLiteral("&Sorter") : QStringLiteral("&Sort"),
                                          QDialogButtonBox::AcceptRole);
    sortButton->setObjectName(QStringLiteral("sortPushButton"));
    sortButton->setAccessibleName(plainCaption(sortButton->text()));
    auto *backButton = buttons->addButton(norwegian ? QStringLiteral("&Tilbake") : QStringLiteral("&Back"),
                                          QDialogButtonBox::RejectRole);
    backButton->setObjectName(QStringLiteral("backPushButton"));
    backButton->setAccessibleName(plainCaption(backButton->text()));
    connect(sortButton, &QPushButton::clicked, this, [this] {
        if (const int c = sortColumn()) {
            emit sortRequested(c, descending());
            accept();
        }
    });
    connect(backButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(columns);
    top->addWidget(method);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

int SortDialog::sortColumn() const
{
    for (int k = 0; k < 10; ++k)
        if (m_columns[size_t(k)]->isChecked())
            return k + 1;
    return 0;
}

bool SortDialog::descending() const
{
    return m_directions[1]->isChecked();
}

} // namespace arenor
