#include "TestLocale.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// Core tests use Qt's event loop (signals, timers, sockets), so a QCoreApplication must exist.
int main(int argc, char **argv)
{
    if (TestLocaleMissing())
        return kSkipExitCode;
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
