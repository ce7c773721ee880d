// The runtime's alarm.
#pragma once

// Sounds the runtime's beep.
void playBeep();
