#include "QtTranslations.h"

#include "Sprachen.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

void ApplyQtTranslations(int language)
{
    // Owned by the application, so it lives no longer than the application it is installed on.
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QLatin1StringView code = LanguageCode(language);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || code == LanguageCode(English))
        return;
    auto translator = std::make_unique<QTranslator>(app);
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    installed = translator.release();
}
