#pragma once

#include <functional>

namespace vesko {

// The application's main thread, which owns the classifier and the window.
class MainThread {
public:
    using Job = std::function<void()>;

    virtual ~MainThread() = default;

    // Queues `job` to run later on the main thread; jobs run in the order they were posted.
    // Never runs the job in place, even when called on the main thread. A job posted after
    // the main thread's loop has ended may never run. Any thread.
    virtual void post(Job job) = 0;

    // Whether the calling thread is the main thread. Any thread.
    virtual bool isMainThread() const = 0;
};

}  // namespace vesko
