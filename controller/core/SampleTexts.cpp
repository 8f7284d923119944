#include "SampleTexts.h"

#include "StateCodes.h"
#include "service/core/EventList.h"
#include "service/core/Tools01.h"
#include "texts/Sprachen.h"
#include "texts/TrendText.h"

#include <QDateTime>

namespace {

constexpr int kNoCommunicationText = 121;
constexpr int kCommissioningText = 115;
constexpr int kNormalOperationText = 154;

} // namespace

QString StateTextOf(const RefreshSample& sample)
{
    if (!sample.stateCode)
        return {};
    if (sample.commissioning)
        return CommissioningStateText();
    return StateCodeRowFor(*sample.stateCode, sample.controllerType).text;
}

QString ModeTextOf(const RefreshSample& sample)
{
    return LanguageText(sample.commissioning ? kCommissioningText : kNormalOperationText);
}

QString EventBitsTextOf(const RefreshSample& sample)
{
    return sample.eventBits ? HexText(*sample.eventBits & 0xFFFF, 4) : QString();
}

QString EventTextsOf(const RefreshSample& sample)
{
    if (!sample.eventBits)
        return LanguageText(kNoCommunicationText);
    const QStringList bitTexts = EventBitTexts(sample.controllerType);
    QStringList set;
    for (int bit = 0; bit < kEventBits; ++bit) {
        if (*sample.eventBits & (1 << bit))
            set << bitTexts[bit];
    }
    return set.isEmpty() ? TrendLanguageText(TrendText::NoEvents) : set.join(QStringLiteral("; "));
}

QString ReversalTextOf(const RefreshSample& sample)
{
    return sample.reversal ? ReversalText(*sample.reversal) : QString();
}

QString IsoTimeText(qint64 atMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(atMs);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}
