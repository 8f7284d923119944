// Main of the widget tests: Google Test inside a QApplication, headless unless a platform is
// named in QT_QPA_PLATFORM (for instance xcb under xvfb-run to look at the windows).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
