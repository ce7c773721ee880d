#include "fuzz_windows_support.h"

#include "app/app_delegate.h"
#include "events/sound.h"
#include "platform/bundle.h"
#include "platform/interface_file.h"
#include "windows/window_table.h"

#include <QApplication>

#include <cstdlib>

void startfuzzapplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
    setbundlepath(VX_CALVOTRIMEX_BUNDLE);
    initvxtools();
    if (!loadinterface(resourcespath() + "Calvotrimex.ui", appDelegate())) std::abort();
    sideWindowChromeHeight = measuresidewindowchrome(appDelegate());
    autoUpdateRunning = true;  // window creation starts no auto-update process
    setBeepPlayer([](const Sound&, std::function<void()> finished) {
        finished();
        return true;
    });
    ensurememory();
}

void forgetwindows()
{
    std::lock_guard<std::mutex> guard(windowRecordLock);
    windowTable.assign(8, t_Window{});
    highMemory = memoryTop;
}

int64_t fuzznumber(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int64_t>(-40, 300) : input.ConsumeIntegral<int64_t>();
}
