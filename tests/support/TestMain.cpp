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
    // Qt's offscreen screen is 800 x 800; the panels are laid out for a desktop's.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" ICCD_SOURCE_DIR "/tests/support/screen-1920x1200.json");
#endif
    TestApplication app(argc, argv);
    InstallDeviceTransports();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
