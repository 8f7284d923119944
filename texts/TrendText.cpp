#include "TrendText.h"

#include "Sprachen.h"

QString TrendLanguageText(int trendText)
{
    return LanguageText(kTextTrend + trendText);
}
