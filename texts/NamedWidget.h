// A widget created under its object name, by which tests and accessibility tools find it.
#pragma once

#include <QString>
#include <QWidget>

template <typename W> W* NamedWidget(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
