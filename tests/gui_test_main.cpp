// The tests that need a Qt application run in one, on Qt's offscreen platform unless the
// environment names another, with the application's bundle and interface loaded.
#include "app/app_delegate.h"
#include "platform/bundle.h"
#include "platform/interface_file.h"
#include "platform/leak_check.h"
#include "vxtools.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    setbundlepath(VX_CALVOTRIMEX_BUNDLE);
    initvxtools();
    if (!loadinterface(resourcespath() + "Calvotrimex.ui", appDelegate())) return 1;
    sideWindowChromeHeight = measuresidewindowchrome(appDelegate());
    const int result = RUN_ALL_TESTS();
    // The auto-update process started by the tests' windows runs on; end here, as the
    // application does, rather than tear down what it uses, after a leak check.
    std::fflush(stdout);
    std::_Exit(leaksfound() ? 1 : result);
}
