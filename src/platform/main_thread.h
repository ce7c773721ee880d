// Running work on the GUI thread from any thread.
//
// Without a GUI application (plain tests of the runtime's core) there is no event loop to
// hand work to, and the work runs directly on the calling thread.
#pragma once

#include <functional>

// Whether the calling thread is the GUI thread.
bool isMainThread();
// Runs `work` on the GUI thread and waits for it; directly when already there.
void runOnMainThread(const std::function<void()>& work);
// Queues `work` for the GUI thread and returns at once, also when called there.
void runOnMainThreadAsync(std::function<void()> work);

// Runs `compute` on the GUI thread and returns its result.
template <typename Result>
Result mainThreadValue(const std::function<Result()>& compute)
{
    Result result{};
    runOnMainThread([&] { result = compute(); });
    return result;
}
