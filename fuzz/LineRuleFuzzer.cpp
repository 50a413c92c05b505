// ApplyLineRule against the line-at-a-time reader. The hosts text it gives is
// what Text1 shows and what a save writes back, so reading it again must give
// the same text, or every load and save would change the file.

#include <cstddef>
#include <cstdint>

#include "FuzzText.h"
#include "hosts/HostsText.h"
#include "hosts/ReferenceLineRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const fuzz::ExactText fileBuffer(input.Next());
    const std::u16string_view file = fileBuffer;

    const std::u16string text = ApplyLineRule(file);
    fuzz::ExpectEqual(text, reference::ApplyLineRule(file), "ApplyLineRule");
    fuzz::ExpectEqual(ApplyLineRule(text), text, "ApplyLineRule of its own result");
    return 0;
}
