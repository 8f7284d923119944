#include "ToolBarButton.h"

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
