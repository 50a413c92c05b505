#include "hosts/BusyRetry.h"

#include <algorithm>

namespace quenlix {

bool IsBusyFailure(const Failure& failure) {
    return failure.Number() == FailureNumber::SharingViolation || failure.Number() == FailureNumber::LockViolation;
}

void BusyRetry::WaitOrRethrow(const Failure& failure) {
    if (!IsBusyFailure(failure)) throw;
    if (waited_ >= BusyFileBudget)
        // The system's own text speaks of "the process", which the user never
        // started: the report names the file and how long the program waited.
        throw Failure(failure.Number(), u"另一个程序正在使用 Hosts 文件，等待 2 秒后仍未释放。请稍后再试。\n（" +
                                            failure.Description() + u"）");
    const std::chrono::milliseconds wait = std::min(next_, BusyFileBudget - waited_);
    platform_.Pause(wait);
    waited_ += wait;
    next_ *= 2;
}

}  // namespace quenlix
