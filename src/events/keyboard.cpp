#include "events/keyboard.h"

void t_PauseOnKey(int64_t, bool)
{
}
