#include "NetworkText.h"

#include "Sprachen.h"

QString NetworkLanguageText(int networkText)
{
    return LanguageText(kTextNetwork + networkText);
}
