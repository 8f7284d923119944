#include "ReportText.h"

#include "Sprachen.h"

QString ReportLanguageText(int reportText)
{
    return LanguageText(kTextReport + reportText);
}
