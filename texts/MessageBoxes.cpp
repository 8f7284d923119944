#include "MessageBoxes.h"

#include "Sprachen.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxes::error(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), LanguageText(74), WithLineFeeds(text));
}

void MessageBoxes::warning(const QString& caption, const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), caption, WithLineFeeds(text));
}

void MessageBoxes::notice(const QString& caption, const QString& text)
{
    QMessageBox::information(QApplication::activeWindow(), caption, WithLineFeeds(text));
}

bool MessageBoxes::confirm(const QString& text, Buttons buttons)
{
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        shown |= QMessageBox::Cancel;
    return QMessageBox::warning(QApplication::activeWindow(), LanguageText(257),
                                WithLineFeeds(text), shown, QMessageBox::No) == QMessageBox::Yes;
}
