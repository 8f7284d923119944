// Every window of the tool on a laptop screen of 1366 x 768, its frame included, in each of the
// six languages: the main window and the dialogs it owns, and the controller window of each
// controller kind of the simulated default bus after its opening, showing the longest reason of a
// reversal.
#include "ControllerWindowFixture.h"
#include "controller/core/StateCodes.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>

namespace {

constexpr QSize kScreen(1366, 768);
// A title bar and borders as the window systems of the laptops draw them.
constexpr QSize kFrame(16, 39);

// The size a window takes when it shows: the size it was given, else the one it asks for, and
// never less than its layout needs.
QSize shownSize(QWidget& window)
{
    if (window.isVisible())
        return window.size().expandedTo(window.minimumSizeHint());
    if (window.layout())
        window.layout()->activate();
    const QSize asked = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    return asked.expandedTo(window.minimumSizeHint()).expandedTo(window.minimumSize());
}

TEST_F(ControllerWindowTest, EveryWindowFitsALaptopScreenInEveryLanguage)
{
    QStringList tooLarge;
    const auto measure = [&](QWidget& window, int language) {
        const QSize size = shownSize(window) + kFrame;
        if (size.width() > kScreen.width() || size.height() > kScreen.height())
            tooLarge << QStringLiteral("%1 %2: %3 x %4")
                            .arg(LanguageCode(language), window.objectName())
                            .arg(size.width())
                            .arg(size.height());
    };
    for (int language = 0; language < kLanguageCount; ++language) {
        SetCurrentLanguage(language);
        main->sprache_aendern();
        main->adapt_windows();
        measure(*main, language);
        for (QDialog* dialog : main->findChildren<QDialog*>()) {
            if (dialog != &main->controllerWindow())
                measure(*dialog, language);
        }
        // The longest reason of a reversal the window can show.
        QString longestReversal;
        for (int code = 0; code < 8; ++code) {
            if (ReversalText(code).size() > longestReversal.size())
                longestReversal = ReversalText(code);
        }
        for (int address = 1; address <= 5; ++address)
            open(address, [&](TfmFenster& window) {
                window.findChild<QLabel*>(QStringLiteral("lblReversion"))->setText(longestReversal);
                QApplication::processEvents();
                measure(window, language);
            });
    }
    EXPECT_TRUE(tooLarge.isEmpty()) << tooLarge.join(u'\n').toStdString();
}

} // namespace
