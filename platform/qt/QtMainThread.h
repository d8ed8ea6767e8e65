#pragma once

#include "platform/MainThread.h"

namespace vesko {

// The thread of the running QCoreApplication; jobs are queued on its event loop.
class QtMainThread : public MainThread {
public:
    void post(Job job) override;
    bool isMainThread() const override;
};

}  // namespace vesko
