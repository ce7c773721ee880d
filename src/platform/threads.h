// Threads with a given stack size, the runtime's thread numbering and thread names.
//
// Threads are numbered as the runtime expects: the main thread is 1, and every further
// thread takes the next number when it is started here or when it first asks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Starts `body` on a new detached thread with a stack of `stackSize` bytes (at least the
// system's minimum). Returns false when the system refuses the thread.
bool startthread(std::function<void()> body, size_t stackSize);

// The calling thread's number.
int64_t currentthreadnumber();

// Names the calling thread. The system keeps at most 15 bytes, so a longer name is cut
// there (on a character boundary); the thread's description keeps the whole name.
void setthreadname(const std::string& name);

// Names the calling thread for the system only (top, ps, debuggers); its description keeps
// the name given by setthreadname, "(null)" while none was given.
void setsystemthreadname(const std::string& name);
// Forgets a name given by setthreadname, if any, and names the thread `systemName` for the
// system again.
void resetthreadname(const std::string& systemName);

// "<Thread: 0x...>{number = N, name = NAME}", the name "(null)" while none was given.
std::string threaddescription();

// Whether the calling thread is the process's main thread.
bool isprocessmainthread();
