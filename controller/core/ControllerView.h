// What a step of the controller window changes on screen, as plain data: per control (by its
// object name) the new text, hint, visibility, enabling or text colour. The window applies it.
#pragma once

#include <QMap>
#include <QString>

#include <optional>

enum class TextColour { Normal, Red };

struct ControlChange {
    std::optional<QString> text;
    std::optional<QString> hint;
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<TextColour> colour;

    [[nodiscard]] bool operator==(const ControlChange&) const = default;
};

class ControllerView {
public:
    ControlChange& operator[](const QString& control) { return m_changes[control]; }
    void setText(const QString& control, const QString& text) { m_changes[control].text = text; }
    void setVisible(const QString& control, bool on) { m_changes[control].visible = on; }
    void setEnabled(const QString& control, bool on) { m_changes[control].enabled = on; }
    void setColour(const QString& control, TextColour c) { m_changes[control].colour = c; }
    // Later changes of a control override earlier ones field by field.
    void merge(const ControllerView& later);

    [[nodiscard]] const QMap<QString, ControlChange>& changes() const { return m_changes; }
    [[nodiscard]] bool isEmpty() const { return m_changes.isEmpty(); }
    [[nodiscard]] bool operator==(const ControllerView&) const = default;

private:
    QMap<QString, ControlChange> m_changes;
};
