#include "ControllerView.h"

namespace {

template <typename T> void take(std::optional<T>& field, const std::optional<T>& later)
{
    if (later)
        field = later;
}

} // namespace

void ControllerView::merge(const ControllerView& later)
{
    for (auto it = later.m_changes.cbegin(); it != later.m_changes.cend(); ++it) {
        ControlChange& change = m_changes[it.key()];
        take(change.text, it->text);
        take(change.hint, it->hint);
        take(change.visible, it->visible);
        take(change.enabled, it->enabled);
        take(change.colour, it->colour);
    }
}
