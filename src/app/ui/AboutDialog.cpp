#include "AboutDialog.h"

#include "base/Version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace arenor {

AboutDialog::AboutDialog(const TextTables &texts, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(texts.caption(43));
    auto *layout = new QVBoxLayout(this);
    auto *logo = new QLabel(this);
    logo->setPixmap(
        QPixmap(QStringLiteral(":/images/splash.png")).scaledToWidth(320, Qt::SmoothTransformation));
    logo->setAlignment(Qt::AlignCenter);
    logo->setAccessibleName(texts.caption(45));
    layout->addWidget(logo);
    auto *product = new QLabel(texts.caption(45), this);
    product->setObjectName(QStringLiteral("productLabel"));
    product->setAlignment(Qt::AlignCenter);
    QFont f = product->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    product->setFont(f);
    layout->addWidget(product);
    auto *version = new QLabel(texts.caption(Text::VersionLine).arg(QLatin1String(kProgramVersion)), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    auto *back = new QPushButton(texts.caption(Text::Back), this);
    back->setObjectName(QStringLiteral("backPushButton"));
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(back, 0, Qt::AlignCenter);
}

} // namespace arenor
