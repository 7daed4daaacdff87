// gtest entry point shared by every test program: the Qt application object
// must exist before any port, timer or widget is made, and ports open the
// simulated camera as the programs do.
#include <gtest/gtest.h>
#include <QApplication>

#include "devices/DeviceTransports.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallDeviceTransports();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
