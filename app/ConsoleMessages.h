// The messages of a run without windows: each goes to standard error, and no question is
// answered "Yes".
#pragma once

#include "texts/UserMessages.h"

#include <QTextStream>

class ConsoleMessages final : public UserMessages {
public:
    explicit ConsoleMessages(QTextStream& err) : m_err(err) {}
    void error(const QString& text) override { m_err << text << Qt::endl; }
    void warning(const QString& caption, const QString& text) override
    {
        m_err << caption << ": " << text << Qt::endl;
    }
    void notice(const QString& caption, const QString& text) override { warning(caption, text); }
    bool confirm(const QString& text, Buttons) override
    {
        m_err << text << Qt::endl;
        return false;
    }

private:
    QTextStream& m_err;
};
