// Entry point of the test programs below the GUI: a QCoreApplication only.
#include "IsolatedConfig.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    testsupport::IsolateUserConfig();
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
