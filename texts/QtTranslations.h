// Qt's own texts (the standard buttons of message boxes, the file dialog) in the tool's language:
// Qt's catalogue of that language, installed on the application in place of the previous one.
#pragma once

// Call after every change of the current language. English needs no catalogue; a language whose
// catalogue is not installed leaves Qt's texts English; a number outside 0..5 counts as German.
void ApplyQtTranslations(int language);
