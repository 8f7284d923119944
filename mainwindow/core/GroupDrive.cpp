#include "GroupDrive.h"

#include "WindowListModel.h"
#include "buslink/Protocol.h"
#include "buslink/Veltradt.h"
#include "texts/Sprachen.h"

namespace {

constexpr int kCommandMemoryAddress = 0;

} // namespace

GroupDriveCommand GroupDriveCommandOf(int driveKind)
{
    switch (driveKind) {
    case GroupClose:
        return {Protocol::DriveClose, 0x0000};
    case GroupHalfOpen:
        return {Protocol::DriveToPosition, 0x0500};
    default:
        return {Protocol::DriveOpen, 0x0000};
    }
}

QString PauseStatusText(int ticksLeft)
{
    return QStringLiteral("%1 %2 %3")
        .arg(LanguageText(73))
        .arg(ticksLeft / 2)
        .arg(LanguageText(215));
}

GroupDriveSequence::GroupDriveSequence(TFensterSteuerung& bus, const WindowListModel& list)
    : m_bus(bus), m_list(list)
{}

void GroupDriveSequence::reset(int driveKind)
{
    m_driveKind = driveKind;
    m_running = false;
    m_countdown = 0;
    m_progress = 0;
    const TFensterInfo* first = m_list.device(0);
    const bool groupUnitFirst = first && first->isGroupUnit();
    m_currentRow = groupUnitFirst ? 1 : 0;
    m_progressMaximum = groupUnitFirst ? m_list.deviceCount() - 1 : m_list.deviceCount();
}

void GroupDriveSequence::start()
{
    m_countdown = 1;
    m_running = true;
}

GroupDriveSequence::Step GroupDriveSequence::tick(int pauseTicks)
{
    if (--m_countdown > 0)
        return Step::Counting;
    driveCurrentRow();
    ++m_currentRow;
    if (m_currentRow >= m_list.deviceCount()) {
        m_running = false;
        return Step::Finished;
    }
    m_countdown = pauseTicks;
    return Step::Sent;
}

void GroupDriveSequence::driveCurrentRow()
{
    ++m_progress;
    // No row at all in a list without controllers: nothing is sent.
    const int address = m_list.rowAddress(m_currentRow);
    if (address < 0)
        return;
    m_bus.SetWindowAddress(address);
    const GroupDriveCommand command = GroupDriveCommandOf(m_driveKind);
    int mode = command.mode, memoryAddress = kCommandMemoryAddress, data = command.data;
    // Not acknowledged: a controller that does not answer is passed over.
    (void)m_bus.SendToWindow(mode, memoryAddress, data);
}
