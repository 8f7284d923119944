#include "ToolBarButton.h"

#include <QDialog>
#include <QToolBar>
#include <QToolButton>

QToolButton* AddToolBarButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(bar->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->addWidget(button);
    return button;
}

QToolButton* AddBackAndInfoButtons(QToolBar* bar, QDialog* dialog)
{
    QObject::connect(AddToolBarButton(bar, "bnZurueck", QStyle::SP_ArrowBack),
                     &QToolButton::clicked, dialog, &QDialog::accept);
    bar->addSeparator();
    return AddToolBarButton(bar, "ToolButton1", QStyle::SP_MessageBoxInformation);
}
