// UserMessages for tests: records every message and answers questions from a queue.
#pragma once

#include "texts/UserMessages.h"

#include <QList>
#include <QStringList>

struct RecordedMessages final : UserMessages {
    QStringList shown;              // "error: <text>", "warning: <caption>: <text>", ...
    QList<bool> answers;            // answers to confirm(), first first; No when empty
    QList<Buttons> questionButtons; // the buttons of every question asked

    void error(const QString& text) override { shown << QStringLiteral("error: ") + text; }
    void warning(const QString& caption, const QString& text) override
    {
        shown << QStringLiteral("warning: %1: %2").arg(caption, text);
    }
    void notice(const QString& caption, const QString& text) override
    {
        shown << QStringLiteral("notice: %1: %2").arg(caption, text);
    }
    bool confirm(const QString& text, Buttons buttons) override
    {
        questionButtons << buttons;
        shown << QStringLiteral("confirm: ") + text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
};
