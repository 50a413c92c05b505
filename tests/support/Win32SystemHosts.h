#pragma once

#include <windows.h>

#include <string>

#include "support/Win32TempFolder.h"

namespace quenlix::testing {

// The hosts file of this Wine prefix, for the commands that write it by its
// fixed drive path. One test at a time may use it, across the test processes
// CTest runs side by side, and its bytes are put back afterwards.
class SystemHostsFile {
public:
    static constexpr wchar_t Path[] = L"C:\\windows\\system32\\drivers\\etc\\hosts";

    SystemHostsFile() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\QuenlixSystemHostsFile")) {
        if (mutex_ != nullptr) WaitForSingleObject(mutex_, INFINITE);
        saved_ = ReadBytes(Path);
    }
    ~SystemHostsFile() {
        if (saved_ == "<missing>")
            DeleteFileW(Path);
        else
            WriteBytes(Path, saved_);
        if (mutex_ != nullptr) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    SystemHostsFile(const SystemHostsFile&) = delete;
    SystemHostsFile& operator=(const SystemHostsFile&) = delete;

    void Write(const std::string& bytes) const { WriteBytes(Path, bytes); }
    std::string Read() const { return ReadBytes(Path); }

private:
    HANDLE mutex_;
    std::string saved_;
};

}  // namespace quenlix::testing
