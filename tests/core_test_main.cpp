// Main of the tests that need Qt's event loop: Google Test inside a QCoreApplication, as the
// serial ports live in the program.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
