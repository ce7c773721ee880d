// The end of a program: a closing message in its window and the end of the program thread.
#include "app/program_thread.h"
#include "platform/log.h"
#include "windows/window_lookup.h"

#include <pthread.h>
#include <time.h>

void t_QuitProgram(uint8_t window)
{
    // A program's mouse or menu handler runs on a worker of the pool: ending that thread would
    // take the worker from every later runAsync, so only the handler ends.
    if (incallout()) {
        logline("t_QuitProgram: Called outside the program thread; only this call-out ends.");
        endcallout();
    }
    logtext("t_QuitProgram: Quitting current thread");
    if (windowobject(window) != nullptr) {
        t_FullArea(window);
        t_CursorEnd(window);
        t_Htab(window, 1);
        t_DisplayMode(window, 0);
        t_Normal(window);
        t_Color(window, 1);
        t_Print(window, "(Programm Ende)");
        t_WindowUpdate(window, false);
        const timespec pause{0, 100000000};
        nanosleep(&pause, nullptr);
        logtext(" with message in window #" + std::to_string(window));
    }
    logline(".");
    pthread_exit(nullptr);
}
