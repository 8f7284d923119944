// A host name looked up within a time limit: the lookup runs on the thread pool and is left to
// finish on its own when it takes longer, so that a resolver that hangs cannot hold the caller.
#pragma once

#include <QDeadlineTimer>
#include <QHostInfo>

#include <optional>

// The lookup's result; nothing when the deadline passed first. An address is its own result.
[[nodiscard]] std::optional<QHostInfo> LookUpHost(const QString& name, QDeadlineTimer deadline);
