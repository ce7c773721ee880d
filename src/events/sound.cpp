#include "events/sound.h"

#include "platform/main_thread.h"
#include "platform/widgets.h"

void playBeep()
{
    runOnMainThreadAsync(systembeep);
}
