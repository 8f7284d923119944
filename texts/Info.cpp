#include "Info.h"

#include "Sprachen.h"
#include "assets/Pictures.h"
#include "platform/ProgramVersion.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A placeholder that reaches no one, until the service organisation names its hotline.
const QString kSupportTelephone = QStringLiteral("+49 (0) 000 000000");

} // namespace

TfmInfo::TfmInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label2(new QLabel(QStringLiteral("Fenestrix Davorurorozi "), this)), Label3(new QLabel(this)),
      lblService(new QLabel(this)), lblVersion(new QLabel(ProgramVersion(), this)),
      Label4(new QLabel(this)), Image1(new QLabel(this)), Button1(new QPushButton(this))
{
    setObjectName(QStringLiteral("fmInfo"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    lblService->setObjectName(QStringLiteral("lblService"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Button1->setObjectName(QStringLiteral("Button1"));

    QFont title = Label2->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    Label2->setFont(title);
    for (QLabel* label : {Label2, Label3, lblService, lblVersion, Label4, Image1})
        label->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(InfoLogo());
    Image1->setFixedSize(189, 44);
    Button1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(lblService);
    layout->addWidget(lblVersion);
    layout->addSpacing(10);
    layout->addWidget(Label4);
    layout->addSpacing(6);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    SetLanguage();
}

void TfmInfo::SetLanguage()
{
    setWindowTitle(LanguageText(116));
    Label3->setText(LanguageText(104));
    lblService->setText(LanguageText(224));
    Label4->setText(LanguageText(236) + u' ' + kSupportTelephone);
    Button1->setText(LanguageText(169));
}

void TfmInfo::keyPressEvent(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Cancel))
        QDialog::keyPressEvent(event);
}
