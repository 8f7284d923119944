// The bus scan of an empty bus on the virtual clock, which moves only by the protocol's waits and
// time limits: prints the number of requests and the milliseconds from the first to the last, the
// yardstick that scripts/bench.sh holds the real scan against. A benchmark's helper, not a test.
#include "../ScanHarness.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ScanHarness h{BusSetup{}};
    (void)h.scan();
    const QList<TracedRequest>& sent = h.ports.requests;
    if (sent.isEmpty())
        return 1;
    std::printf("%lld %.3f\n", static_cast<long long>(sent.size()),
                (sent.last().atUs - sent.first().atUs) / 1000.0);
    for (qsizetype i = 1; i < sent.size() && argc > 1; ++i)
        std::printf("%02x %.3f\n", sent[i].mode(), (sent[i].atUs - sent[i - 1].atUs) / 1000.0);
    return 0;
}
