#include "HostLookup.h"

#include <QThreadPool>

#include <condition_variable>
#include <memory>
#include <mutex>

std::optional<QHostInfo> LookUpHost(const QString& name, QDeadlineTimer deadline)
{
    if (QHostAddress address; address.setAddress(name)) {
        QHostInfo info;
        info.setAddresses({address});
        return info;
    }
    // Shared with the lookup, which may outlive this call.
    struct Lookup {
        std::mutex lock;
        std::condition_variable done;
        std::optional<QHostInfo> result;
    };
    auto lookup = std::make_shared<Lookup>();
    QThreadPool::globalInstance()->start([lookup, name] {
        QHostInfo info = QHostInfo::fromName(name);
        const std::lock_guard guard(lookup->lock);
        lookup->result = std::move(info);
        lookup->done.notify_all();
    });
    std::unique_lock guard(lookup->lock);
    lookup->done.wait_for(guard,
                          std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())),
                          [&] { return lookup->result.has_value(); });
    return lookup->result;
}
