#include "Scan.h"

#include "Sprachen.h"
#include "assets/Pictures.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kCompactHeight = 182;
constexpr QSize kPhotoSize(400, 250);

} // namespace

TfmScan::TfmScan(QWidget* parent)
    : QDialog(parent), GroupBox2(new QGroupBox(this)), Label1(new QLabel(GroupBox2)),
      lblPort(new QLabel(GroupBox2)), Label2(new QLabel(GroupBox2)), lblBaud(new QLabel(GroupBox2)),
      bnAendern(new QPushButton(GroupBox2)), gbBild(new QGroupBox(this)),
      imFoto(new QLabel(gbBild)), imLogo(new QLabel(gbBild)), bnStart(new QPushButton(this)),
      bnAbbrechen(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmScan"));
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    lblPort->setObjectName(QStringLiteral("lblPort"));
    Label2->setObjectName(QStringLiteral("Label2"));
    lblBaud->setObjectName(QStringLiteral("lblBaud"));
    bnAendern->setObjectName(QStringLiteral("bnAendern"));
    gbBild->setObjectName(QStringLiteral("gbBild"));
    imFoto->setObjectName(QStringLiteral("imFoto"));
    imLogo->setObjectName(QStringLiteral("imLogo"));
    bnStart->setObjectName(QStringLiteral("bnStart"));
    bnAbbrechen->setObjectName(QStringLiteral("bnAbbrechen"));

    imFoto->setPixmap(ProductPhoto());
    imFoto->setScaledContents(true);
    imFoto->setFixedSize(kPhotoSize);
    imLogo->setPixmap(WideLogo());
    imLogo->setFixedSize(268, 32);
    bnAbbrechen->hide();
    bnStart->setDefault(true);

    auto* settings = new QGridLayout(GroupBox2);
    settings->addWidget(Label1, 0, 0);
    settings->addWidget(lblPort, 0, 1);
    settings->addWidget(Label2, 1, 0);
    settings->addWidget(lblBaud, 1, 1);
    settings->addWidget(bnAendern, 0, 2, 2, 1, Qt::AlignVCenter);
    settings->setColumnStretch(1, 1);
    auto* pictures = new QVBoxLayout(gbBild);
    pictures->addWidget(imFoto);
    pictures->addWidget(imLogo, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnStart);
    buttons->addWidget(bnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox2);
    layout->addWidget(gbBild);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(bnAendern, &QPushButton::clicked, this, &TfmScan::changeSettingsRequested);
    connect(bnStart, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    SetLanguage();
}

void TfmScan::showSettings(const BusPort& port, int baud)
{
    lblPort->setText(port.text());
    lblBaud->setText(QString::number(baud));
}

void TfmScan::SetLanguage()
{
    setWindowTitle(LanguageText(31));
    GroupBox2->setTitle(LanguageText(129));
    Label1->setText(LanguageText(170));
    Label2->setText(LanguageText(21));
    bnAendern->setText(LanguageText(57));
    bnStart->setText(LanguageText(92));
    bnAbbrechen->setText(LanguageText(2));
}

void TfmScan::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bnStart->setFocus();
}

void TfmScan::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel) && bnAbbrechen->isHidden())
        return;
    QDialog::keyPressEvent(event);
}

void TfmScan::done(int result)
{
    QDialog::done(result);
    makeCompact();
}

void TfmScan::makeCompact()
{
    gbBild->hide();
    bnAbbrechen->show();
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setFixedSize(width(), kCompactHeight);
}
