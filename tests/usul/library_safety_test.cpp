// The user's library is never lost: a save touches its one slot, a failed write says so, and
// a file of the wrong shape is read but never written.
#include "tests/support/support.h"
#include "usul/library_check.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <random>

namespace zerkavi::testing {
namespace {

namespace fs = std::filesystem;

// A thousand saves at random slots, each compared against the whole file: the slot written
// holds the new bytes and every other byte is what it was.
TEST(LibrarySafety, EverySaveWritesItsOneSlotOnly) {
    TemporaryFolder dir;
    const fs::path path = dir.write(kLibraryFileName, libraryImage());
    Bytes expected = libraryImage();
    LibraryFile file;
    ASSERT_TRUE(file.open(path));
    std::mt19937 random(12);
    for (int i = 0; i < 1000; ++i) {
        const int kind = int(random() % 4);
        int slot = kind == 3 ? kColourSlot : 1 + int(random() % kLastUsulSlot);
        RecordBytes bytes{};
        if (kind == 3) { // colours kept for good: the other 1,681 bytes of the slot stay
            ColourRecord c = *file.readColour();
            c.red = std::uint8_t(random());
            c.blue = std::uint8_t(random());
            bytes = encodeColour(c);
            ASSERT_TRUE(file.writeColour(c));
        } else {
            UsulRecord r = emptyRecord(); // Delete
            if (kind == 0) {              // Save: an usul under its own slot, edited
                r = builtIn(slot);
                r.circle(1 + int(random() % kCircles)).level = std::uint8_t(random() % 4);
            } else if (kind == 1) { // Save As: another slot's usul into a user slot
                r = builtIn(1 + int(random() % 200));
                slot = kFirstUserSlot + int(random() % (kLastUsulSlot - 200));
            }
            bytes = encodeRecord(r);
            ASSERT_TRUE(file.writeUsul(slot, r));
        }
        std::copy(bytes.begin(), bytes.end(),
                  expected.begin() + std::ptrdiff_t(slot - 1) * kRecordBytes);
        ASSERT_EQ(readBytes<std::uint8_t>(path), expected) << "save " << i;
    }
}

// A full disk, a file that may not grow past a limit (the write of the last slot stops
// half-way) and a file opened read-only: each save fails and the bytes before stay.
TEST(LibrarySafety, FailedWritesAreFailedSaves) {
    LibraryFile full;
    ASSERT_TRUE(full.open("/dev/full"));
    EXPECT_FALSE(full.writeUsul(1, builtIn(1)));
    EXPECT_FALSE(full.writeColour(ColourRecord{}));

    TemporaryFolder dir;
    const Bytes image = libraryImage();
    const Bytes first(image.begin(), image.end() - kRecordBytes);
    const fs::path path = dir.write(kLibraryFileName, first);
    LibraryFile file;
    ASSERT_TRUE(file.open(path));
    bool written = true;
    {
        FileSizeLimit limit(first.size() + 100);
        written = file.writeUsul(kLastUsulSlot + 1, builtIn(1));
    }
    EXPECT_FALSE(written);
    const Bytes after = readBytes<std::uint8_t>(path);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), after.begin()));

    LibraryFile readOnly;
    ASSERT_TRUE(readOnly.open(path, true));
    EXPECT_TRUE(readOnly.readUsul(32));
    EXPECT_FALSE(readOnly.writeUsul(201, builtIn(1)));
    EXPECT_EQ(readBytes<std::uint8_t>(path), after);
}

// The built-in image is written only where no file is; a damaged one stays as it is.
TEST(LibrarySafety, TheImageIsWrittenOnlyWhereNoFileIs) {
    TemporaryFolder dir;
    const fs::path path = dir.path() / kLibraryFileName;
    EXPECT_EQ(inspectLibrary(path).shape, LibraryShape::Unreadable);
    EXPECT_TRUE(createLibraryIfMissing(path, defaultLibraryImage()));
    EXPECT_EQ(readBytes<std::uint8_t>(path), libraryImage());
    dir.write(kLibraryFileName, {'s', 'h', 'o', 'r', 't'});
    EXPECT_FALSE(createLibraryIfMissing(path, defaultLibraryImage()));
    EXPECT_EQ(readBytes<std::uint8_t>(path), (Bytes{'s', 'h', 'o', 'r', 't'}));
    LibraryFile lib;
    ASSERT_TRUE(lib.open(path));
    for (int slot : {0, 1, 255, 257})
        EXPECT_FALSE(lib.readUsul(slot)) << slot;
    EXPECT_FALSE(lib.readColour());
}

struct ShapeCase {
    const char* what;
    long bytes; // < 0: a folder of that name
    LibraryShape shape;
    int readableSlots;
};

class LibraryShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(LibraryShapes, AreToldApartAndReadAsFarAsTheyGo) {
    const ShapeCase& c = GetParam();
    TemporaryFolder dir;
    const fs::path path = dir.path() / kLibraryFileName;
    if (c.bytes < 0) {
        fs::create_directory(path);
    } else {
        Bytes b = libraryImage();
        b.resize(std::size_t(c.bytes), 0x41);
        dir.write(kLibraryFileName, b);
    }
    const LibraryState s = inspectLibrary(path);
    EXPECT_EQ(s.shape, c.shape);
    EXPECT_EQ(s.readableSlots, c.readableSlots);
    EXPECT_EQ(s.writable(), c.shape == LibraryShape::Whole);
    if (c.bytes >= 0) {
        LibraryFile file;
        ASSERT_TRUE(file.open(path, !s.writable()));
        EXPECT_EQ(file.readUsul(c.readableSlots).has_value(), c.readableSlots > 0);
        EXPECT_FALSE(file.readUsul(c.readableSlots + 1).has_value() && c.readableSlots < kSlots);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Library, LibraryShapes,
    ::testing::Values(
        ShapeCase{"whole", long(kLibraryBytes), LibraryShape::Whole, 256},
        ShapeCase{"ten slots", 10 * kRecordBytes, LibraryShape::Short, 10},
        ShapeCase{"empty", 0, LibraryShape::Short, 0},
        ShapeCase{"longer", long(kLibraryBytes) + kRecordBytes, LibraryShape::Long, 256},
        ShapeCase{"a text", 1000, LibraryShape::NotALibrary, 0},
        ShapeCase{"half a slot more", 3 * kRecordBytes + 842, LibraryShape::NotALibrary, 3},
        ShapeCase{"a folder", -1, LibraryShape::NotALibrary, 0}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

} // namespace
} // namespace zerkavi::testing
