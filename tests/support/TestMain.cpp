// gtest entry point shared by every test program: the Qt application object
// must exist before any port, timer or widget is made, and ports open the
// simulated camera as the programs do.
//
// Only the tests of the user interface and above get a QApplication; the
// layers below it are tested, like iccdctl runs, without Qt Gui.
#include <gtest/gtest.h>

#ifdef ICCD_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include "devices/DeviceTransports.h"

int main(int argc, char** argv)
{
#ifdef ICCD_TEST_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    InstallDeviceTransports();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
