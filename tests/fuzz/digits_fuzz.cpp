// The digit rule on arbitrary text: never reads past the terminator or the
// digit limit, and gives each character its value from the rule's table.
#include <cstdlib>
#include <string>

#include "control/core/hextext.h"
#include "digit_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t got = pm::parse_hex(text.c_str());
    std::uint32_t want = 0;
    for (std::size_t i = 0; i < 8 && i < text.size() && text[i]; ++i) {
        want = want * 16 + RuleDigit(static_cast<unsigned char>(text[i]));
    }
    if (got != want) std::abort();
    return 0;
}
