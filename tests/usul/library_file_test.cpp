// The library file: made from the built-in image only when missing, written one slot in place.
#include "common/text_codec.h"
#include "tests/support/support.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace zerkavi;
using namespace zerkavi::testing;

TEST(LibraryFile, CreatedOnlyWhenMissingAndNeverOverwritten) {
    const TemporaryFolder dir;
    const std::string path = dir.path() / "usuller.usl";
    EXPECT_TRUE(createLibraryIfMissing(path, defaultLibraryImage()));
    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), defaultLibraryImage().size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(),
                           reinterpret_cast<const char*>(defaultLibraryImage().data())));
    // A damaged (short) file stays exactly as it is.
    { std::ofstream(path, std::ios::binary | std::ios::trunc) << "short file"; }
    EXPECT_FALSE(createLibraryIfMissing(path, defaultLibraryImage()));
    EXPECT_EQ(readBytes(path),
              std::vector<char>({'s', 'h', 'o', 'r', 't', ' ', 'f', 'i', 'l', 'e'}));
    // Reading from it fails instead of crashing.
    LibraryFile lib;
    ASSERT_TRUE(lib.open(path));
    EXPECT_FALSE(lib.readUsul(1));
    EXPECT_FALSE(lib.readUsul(255));
    EXPECT_FALSE(lib.readColour());
    EXPECT_FALSE(lib.readUsul(0));
    EXPECT_FALSE(lib.readUsul(257));
}

TEST(LibraryFile, WritesOneSlotInPlace) {
    const TemporaryFolder dir;
    const std::string path = dir.path() / "usuller.usl";
    createLibraryIfMissing(path, defaultLibraryImage());
    LibraryFile lib;
    ASSERT_TRUE(lib.open(path));
    // Slots 32 and 158 written back unchanged leave the file byte-identical.
    for (int slot : {32, 158}) {
        auto r = lib.readUsul(slot);
        ASSERT_TRUE(r);
        ASSERT_TRUE(lib.writeUsul(slot, *r));
    }
    auto after = readBytes(path);
    EXPECT_TRUE(std::equal(after.begin(), after.end(),
                           reinterpret_cast<const char*>(defaultLibraryImage().data())));

    UsulRecord mine = emptyRecord();
    mine.name = fixedText(U"Benim usulüm", 40);
    mine.circle(1).rightDuration = 64;
    mine.totalLength = 64;
    ASSERT_TRUE(lib.writeUsul(210, mine));
    EXPECT_EQ(*lib.readUsul(210), mine);
    after = readBytes(path);
    ASSERT_EQ(after.size(), 431104u);
    // Only the 1,684 bytes of slot 210 changed.
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i >= 209u * kRecordBytes && i < 210u * kRecordBytes) continue;
        ASSERT_EQ(std::uint8_t(after[i]), defaultLibraryImage()[i]) << "byte " << i;
    }
    ColourRecord colour = *lib.readColour();
    colour.red = 10;
    ASSERT_TRUE(lib.writeColour(colour));
    EXPECT_EQ(*lib.readColour(), colour);
    lib.close();

    // A read-only library can still be read; writing it fails without harm.
    ::chmod(path.c_str(), 0444);
    LibraryFile readOnly;
    ASSERT_TRUE(readOnly.open(path));
    EXPECT_TRUE(readOnly.readUsul(32));
    if (::geteuid() != 0) {
        EXPECT_FALSE(readOnly.writeUsul(210, emptyRecord()));
    }
}
