#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>

namespace quenlix {

// The one exception type every platform operation throws. It carries what the
// error report shows: a number (for Win32 failures, GetLastError()) and a
// description (the system's own text for that number).
class Failure : public std::exception {
public:
    Failure(std::uint32_t number, std::u16string description)
        : number_(number), description_(std::move(description)) {}

    std::uint32_t Number() const noexcept { return number_; }
    const std::u16string& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return "quenlix::Failure"; }

private:
    std::uint32_t number_;
    std::u16string description_;
};

// The failure numbers the program tells apart (Win32's own).
namespace FailureNumber {
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t NotEnoughMemory = 8;
inline constexpr std::uint32_t InvalidData = 13;
// Another program holds the file open, or a part of it locked, for the
// moment.
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t LockViolation = 33;
inline constexpr std::uint32_t NotSupported = 50;
inline constexpr std::uint32_t FileExists = 80;
inline constexpr std::uint32_t InvalidParameter = 87;
inline constexpr std::uint32_t FileTooLarge = 223;
// The user declined when the system asked whether to give a program
// administrator rights.
inline constexpr std::uint32_t Cancelled = 1223;
inline constexpr std::uint32_t InternalError = 1359;
inline constexpr std::uint32_t Timeout = 1460;
}  // namespace FailureNumber

// Whether a failure number says that nothing is at a path: no such file, or
// no such folder on the way to it.
inline bool IsMissingFile(std::uint32_t number) {
    return number == FailureNumber::FileNotFound || number == FailureNumber::PathNotFound;
}
inline bool IsMissingFile(const Failure& failure) { return IsMissingFile(failure.Number()); }

// Called inside a catch block: the exception being handled as the failure
// to report. A Failure stays itself; running out of memory (or a text too
// long for it), which a command on a huge hosts file can meet, is
// NotEnoughMemory; anything else is InternalError.
inline Failure CurrentFailure() {
    try {
        throw;
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    } catch (...) {
        return Failure(FailureNumber::InternalError, u"发生内部错误。");
    }
    return Failure(FailureNumber::NotEnoughMemory, u"存储空间不足，无法处理此命令。");
}

}  // namespace quenlix
