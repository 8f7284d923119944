#include "ReportRead.h"

#include "buslink/Veltradt.h"
#include "service/core/EepromFlowHost.h"
#include "service/core/ProductionData.h"
#include "texts/ProgressReporter.h"
#include "texts/ReportText.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kWindowListHeading = 94;

// The refresh as the report runs it: no window to close, so the cancel button stops it.
class ReportRefreshHost final : public RefreshHost {
public:
    explicit ReportRefreshHost(EepromFlowHost& host) : m_host(host) {}
    void processEvents() override { m_host.processEvents(); }
    [[nodiscard]] bool closed() const override { return m_host.progress().aborted(); }
    [[nodiscard]] bool rollerTestRunning() const override { return false; }
    // Each controller is read with a state of its own, so its version is never watched long
    // enough to ask for this.
    void reconnect() override {}

private:
    EepromFlowHost& m_host;
};

} // namespace

ReportRead::ReportRead(TFensterSteuerung& bus, Clock& clock, EepromFlowHost& host)
    : m_bus(bus), m_clock(clock), m_host(host)
{}

std::optional<CommissioningReport> ReportRead::read(const WindowListModel& list,
                                                    const ReportVisit& visit)
{
    ProgressReporter& progress = m_host.progress();
    progress.PrepareProgress(ProgressReporter::Export, list.deviceCount());
    progress.showProgress();
    m_host.processEvents();

    const QString title = ReportLanguageText(ReportText::Title);
    CommissioningReport report{title,
                               visit.site.isEmpty() ? title
                                                    : title + QStringLiteral(" – ") + visit.site,
                               CoverRows(visit, list.summary()),
                               LanguageText(kWindowListHeading),
                               WindowListTable(list),
                               {},
                               {ReportLanguageText(ReportText::TechnicianSignature),
                                ReportLanguageText(ReportText::CustomerSignature)}};
    const int windowAddress = m_bus.GetWindowAddress();
    // Every value comes from the device, none from the polling cache.
    m_bus.PausePolling();
    for (int row = 0; row < list.deviceCount() && !progress.aborted(); ++row) {
        report.sections << (list.device(row)->isGroupUnit() ? groupUnit() : controller(list, row));
        progress.setPosition(row + 1);
        m_host.processEvents();
    }
    m_bus.ResumePolling();
    m_bus.SetWindowAddress(windowAddress);
    progress.closeProgress();
    if (progress.aborted())
        return std::nullopt;
    return report;
}

ReportSection ReportRead::controller(const WindowListModel& list, int row)
{
    const TFensterInfo& device = *list.device(row);
    m_bus.SetWindowAddress(device.address);
    ControllerReading reading;
    // The event list's reads come first: a controller that does not answer them is not read on.
    reading.events = ReadEventWords(m_bus);
    m_host.processEvents();
    if (!reading.events.read)
        return SilentControllerSection(list, row);

    ControllerState state;
    state.topHungArticle = device.isTopHungArticle();
    ReportRefreshHost refreshHost(m_host);
    ControllerRefresh refresh(m_bus, state, refreshHost);
    reading.refresh = refresh.open();
    reading.refresh.merge(refresh.run());
    if (m_host.progress().aborted())
        return {};
    reading.production = ReadProductionData(m_bus);
    reading.controllerType = state.controllerType;
    reading.variantByte = state.variantByte;
    return ControllerSection(list, row, reading);
}

ReportSection ReportRead::groupUnit()
{
    return GroupUnitSection(GroupUnitSettings(m_bus, m_clock).read());
}
