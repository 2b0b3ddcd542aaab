// One usul as the library file stores it, and the colour record of slot 256.
//
// On disk a record is 1,684 bytes: 180 circles of 9 bytes, then numerator, mertebe,
// a 40-character name, the total length (signed 16-bit, in 64th notes) and two spare
// 10-character fields. Text is Windows code page 1254; in memory text fields hold the
// decoded characters and always keep their fixed length (3, 40, 10, 10).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zerkavi {

inline constexpr int kCircles = 180;
inline constexpr int kHalkaBytes = 9;
inline constexpr int kRecordBytes = 1684;
inline constexpr int kSlots = 256;
inline constexpr int kColourSlot = 256;
inline constexpr int kLastUsulSlot = 255;
inline constexpr int kFirstUserSlot = 201;
inline constexpr std::size_t kLibraryBytes = std::size_t(kSlots) * kRecordBytes; // 431,104
inline constexpr int kNameChars = 40;
inline constexpr int kSyllableChars = 3;
inline constexpr int kSpareChars = 10;

using RecordBytes = std::array<std::uint8_t, kRecordBytes>;

// One beat circle. A Düm (right hand) stroke has rightDuration > 0, a Tek (left hand)
// stroke leftDuration > 0; both zero is an empty place on the grid.
struct Halka {
    std::uint8_t rightDuration = 0; // 64ths
    std::uint8_t leftDuration = 0;  // 64ths
    std::uint8_t level = 0;         // 3 strong, 2 medium, 1 weak, 0 unset
    std::u32string syllable = std::u32string(kSyllableChars, U'\0');
    std::uint8_t barLine = 0;
    std::uint8_t reserved1 = 0;
    std::uint8_t reserved2 = 0;

    bool hasStroke() const { return rightDuration != 0 || leftDuration != 0; }
    // The duration that counts for the total: Düm wins when both are set.
    int strokeLength() const { return rightDuration != 0 ? rightDuration : leftDuration; }
    bool operator==(const Halka&) const = default;
};

struct UsulRecord {
    std::array<Halka, kCircles> circles{}; // circles[0] is circle 1
    std::uint8_t numerator = 0;
    std::uint8_t mertebe = 0;
    std::u32string name = std::u32string(kNameChars, U'\0');
    std::int16_t totalLength = 0; // 64ths
    std::u32string spare1 = std::u32string(kSpareChars, U'\0');
    std::u32string spare2 = std::u32string(kSpareChars, U'\0');

    // 1-based access, as circles are numbered on the notation.
    Halka& circle(int k) { return circles[std::size_t(k - 1)]; }
    const Halka& circle(int k) const { return circles[std::size_t(k - 1)]; }
    bool operator==(const UsulRecord&) const = default;
};

struct ColourRecord {
    std::uint8_t red = 0, green = 0, blue = 0;
    // Bytes 3..1683 are kept exactly as read so a colour save never disturbs them.
    std::array<std::uint8_t, kRecordBytes - 3> filler{};
    bool operator==(const ColourRecord&) const = default;
};

// The record Delete writes: blank syllables and names, mertebe 8, blank spares.
UsulRecord emptyRecord();

RecordBytes encodeRecord(const UsulRecord& r);
UsulRecord decodeRecord(std::span<const std::uint8_t, kRecordBytes> bytes);
RecordBytes encodeColour(const ColourRecord& c);
ColourRecord decodeColour(std::span<const std::uint8_t, kRecordBytes> bytes);

// Highest circle holding a stroke, 0 when there is none.
int MevcutHalka(const UsulRecord& r);
// Sum over all circles of rightDuration where set, else leftDuration.
int sumOfStrokes(const UsulRecord& r);
// round(64 / mertebe * numerator), ties to even; mertebe must not be 0.
int expectedLength(int numerator, int mertebe);

// A text of exactly n characters: cut, or padded with blanks on the right.
std::u32string fixedText(std::u32string_view text, std::size_t n);

} // namespace zerkavi
