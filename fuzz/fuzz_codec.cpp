// Code page 1254 and UTF-8: every byte string survives decode and encode unchanged, and any
// UTF-8 input (valid or not) converts without a crash to text that converts back the same.
#include "common/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace zerkavi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u32string text;
    for (std::size_t i = 0; i < size; ++i)
        text += cp1254ToChar(data[i]);
    const std::u32string back = fromUtf8(toUtf8(text));
    if (back != text) std::abort();
    for (std::size_t i = 0; i < size; ++i)
        if (charToCp1254(back[i]) != data[i]) std::abort();

    const std::u32string decoded = fromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    if (fromUtf8(toUtf8(decoded)) != decoded) std::abort();
    const std::u32string trimmed = trimBlanks(decoded);
    if (trimmed.size() > decoded.size()) std::abort();
    if (foldTurkishLetters(decoded).size() != decoded.size()) std::abort();
    for (char32_t c : decoded)
        (void)charToCp1254(c);
    return 0;
}
