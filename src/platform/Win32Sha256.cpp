#include "platform/Win32Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Digits.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Handle.h"
#include "platform/Win32SystemLibraries.h"

namespace quenlix {

namespace {

// BCrypt reports an NTSTATUS, not a Win32 error: it is shown as it is.
void Check(NTSTATUS status, const char16_t* step) {
    if (status >= 0) return;
    const std::u16string hex = u"0x" + HexText(static_cast<std::uint32_t>(status), 8);
    throw Failure(static_cast<std::uint32_t>(status),
                  u"系统的 BCrypt 无法计算 SHA-256（" + std::u16string(step) + u"，状态 " + hex + u"）。");
}

}  // namespace

Sha256Digest Win32Sha256(std::string_view bytes) {
    using OpenFunction = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
    using GetPropertyFunction = NTSTATUS(WINAPI*)(BCRYPT_HANDLE, LPCWSTR, PUCHAR, ULONG, ULONG*, ULONG);
    using CreateHashFunction =
        NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR, ULONG, ULONG);
    using HashDataFunction = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
    using FinishHashFunction = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);

    const UniqueModule bcrypt = LoadSystemLibrary(L"bcrypt.dll");
    const auto open = RequiredFunction<OpenFunction>(bcrypt.Get(), "BCryptOpenAlgorithmProvider");
    const auto getProperty = RequiredFunction<GetPropertyFunction>(bcrypt.Get(), "BCryptGetProperty");
    const auto createHash = RequiredFunction<CreateHashFunction>(bcrypt.Get(), "BCryptCreateHash");
    const auto hashData = RequiredFunction<HashDataFunction>(bcrypt.Get(), "BCryptHashData");
    const auto finishHash = RequiredFunction<FinishHashFunction>(bcrypt.Get(), "BCryptFinishHash");
    const BcryptAlgorithmRelease closeAlgorithm{
        RequiredFunction<BcryptAlgorithmRelease::CloseFunction>(bcrypt.Get(), "BCryptCloseAlgorithmProvider")};
    const BcryptHashRelease destroyHash{
        RequiredFunction<BcryptHashRelease::DestroyFunction>(bcrypt.Get(), "BCryptDestroyHash")};

    BCRYPT_ALG_HANDLE opened = nullptr;
    Check(open(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0), u"BCryptOpenAlgorithmProvider");
    const UniqueBcryptAlgorithm algorithm(opened, closeAlgorithm);
    // Windows 7 wants the room for the hash object from the caller.
    DWORD objectLength = 0;
    ULONG got = 0;
    Check(getProperty(algorithm.get(), BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectLength),
                      sizeof objectLength, &got, 0),
          u"BCryptGetProperty");
    std::vector<UCHAR> object(objectLength);
    BCRYPT_HASH_HANDLE created = nullptr;
    Check(createHash(algorithm.get(), &created, object.data(), objectLength, nullptr, 0, 0), u"BCryptCreateHash");
    const UniqueBcryptHash hash(created, destroyHash);
    while (!bytes.empty()) {
        const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), 1u << 30));
        Check(hashData(hash.get(), reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), chunk, 0),
              u"BCryptHashData");
        bytes.remove_prefix(chunk);
    }
    Sha256Digest digest{};
    Check(finishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0), u"BCryptFinishHash");
    return digest;
}

}  // namespace quenlix
