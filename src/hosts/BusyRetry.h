#pragma once

#include <chrono>

#include "platform/Platform.h"

namespace quenlix {

// How long a write waits in all for a hosts file that another program holds.
// The DNS Client service and virus scanners open the file for a few
// milliseconds at a time; a program that holds it for seconds is not going
// to let go while the user waits.
inline constexpr std::chrono::milliseconds BusyFileBudget{2000};

// Runs the steps of one write of the hosts file; a step refused because
// another program holds the file open or locked is run again after a short
// wait, each wait twice the one before, until the waits add up to
// BusyFileBudget. The steps of one write share that budget.
class BusyRetry {
public:
    explicit BusyRetry(Platform& platform) : platform_(platform) {}

    template <typename Step>
    decltype(auto) Run(Step&& step) {
        for (;;) {
            try {
                return step();
            } catch (const Failure& failure) {
                WaitOrRethrow(failure);
            }
        }
    }

private:
    // Called while `failure` is being handled: returns after a wait when the
    // step may be tried again, otherwise throws - the failure itself, or for
    // a file still busy at the end of the budget, one that says so.
    void WaitOrRethrow(const Failure& failure);

    Platform& platform_;
    std::chrono::milliseconds waited_{0};
    std::chrono::milliseconds next_{50};
};

// Whether a failure means that another program has the file for the moment.
bool IsBusyFailure(const Failure& failure);

}  // namespace quenlix
