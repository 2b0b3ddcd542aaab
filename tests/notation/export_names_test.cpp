// File names and titles of the exported and printed notation (their sizes: geometry_test),
// against tests/golden/export-names.txt. Each line: the time signature and the stored name,
// the JPEG's file name (its Turkish letters folded, nothing else; "refused" where a file
// system takes a character of it), the picture's title and the printed title.
#include "common/text_codec.h"
#include "notation/export_names.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <vector>

using namespace zerkavi;

TEST(ExportNamesGolden, FileNamesAndTitles) {
    auto shown = [](const std::u32string& s) {
        std::string out = "[";
        for (char32_t c : s)
            out += c == U'\0'   ? std::string("\\0")
                   : c == U'\t' ? std::string("\\t")
                                : toUtf8(std::u32string(1, c));
        return out + "]";
    };
    std::vector<std::tuple<int, int, std::u32string>> names = {
        {8, 4, U"Düyek"},
        {10, 8, U"   Aksak   "},
        {8, 4, U""},
        {8, 4, std::u32string(40, U' ')},
        {8, 4, fixedText(U"Düyek", kNameChars)},
        {3, 4, std::u32string(3, U'\0')}, // a never-written slot
        {120, 4, U"Zencir  Usulü"},
        {9, 8, U"ıİÇçŞşÖöÜüĞğ Iii"},
        {10, 8, U"Aksak Semâî'"},
        {8, 4, U"Düyek (yürük) - 2."},
        {8, 4, U"a\tb"}};
    for (char32_t c : std::u32string(U"\\/:*?\"<>|"))
        names.emplace_back(8, 4, std::u32string(U"Düyek") + c);
    std::ostringstream out;
    for (const auto& [n, m, name] : names) {
        const std::u32string file = jpegFileName(n, m, name);
        out << n << '/' << m << ' ' << shown(name) << ": " << shown(file)
            << (hasForbiddenFileCharacters(file) ? " refused" : "") << ", "
            << shown(jpegTitle(n, m, name)) << ", printed " << shown(printTitle(n, m, name))
            << '\n';
    }
    EXPECT_TRUE(zerkavi::testing::matchesGolden("export-names.txt", out.str()));
}
