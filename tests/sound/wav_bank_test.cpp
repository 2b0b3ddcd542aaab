// WAV header, reader and data-chunk search; level files and the eighteen files of the bank.
#include "sound/embedded_samples.h"
#include "sound/sample_bank.h"
#include "sound/wav.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

using Samples = std::vector<std::int16_t>;

std::vector<int> samplesOf(const Bytes& file, std::size_t from) {
    std::vector<int> s;
    for (std::size_t o = from; o + 1 < file.size(); o += 2)
        s.push_back(std::int16_t(std::uint16_t(file[o] | (file[o + 1] << 8))));
    return s;
}

// The "smpl" chunk the kudüm and def strokes carry: it puts the data chunk at byte 80.
const Bytes kSmpl = chunk("smpl", 36);

} // namespace

// The header's bytes are in every golden WAV file; here the one rounding of its sizes:
// bits × frames × channels ÷ 8, ties to even: 12 × 3 ÷ 8 = 4.5 → 4.
TEST(WavHeader, DataSizeRoundsTiesToEven) {
    EXPECT_EQ(BuildWavHeader(3, 1, 44100, 12).dataSize, 4u);
}

Bytes dataAt(std::size_t byte, bool withSize = true) {
    Bytes b = riffAndFormat();
    put(b, "junk");
    b.resize(byte, 0);
    put(b, "data");
    if (withSize) {
        put32(b, 2);
        put16(b, 1234);
    }
    return b;
}
Bytes withBlockAlignZero(Bytes b) {
    b[32] = 0;
    return b;
}
// A "dAtA" at byte 57, inside the smpl body, is taken although a real chunk follows at 80.
Bytes dataInsideSmpl() {
    Bytes b = wavFile({-32768, 5}, {.between = kSmpl});
    std::memcpy(&b[57], "dAtA\x02\x00\x00\x00", 8);
    return b;
}

// Files the reader meets, against tests/golden/wav-reading.txt: the data chunk is searched for
// at every byte position (a chunk header at byte p − 1 for p = 1 … 1,000, or up to one before
// the end of a shorter file), its id in any case; the sample count is the data size ÷ the
// block align, ties to even, and samples past the end read as 0. A block align of 0 has no
// sample count. Each line: the status, where the samples start (0: no chunk), the data id
// the header is left with and the samples.
TEST(WavReadingGolden, FindsTheDataAndReadsItsSamples) {
    const std::pair<const char*, Bytes> files[] = {
        {"plain", wavFile({1, -2, 32767})},
        {"upper case", wavFile({7, 8}, {.dataId = "DATA"})},
        {"after smpl", wavFile({-32768, 5}, {.between = kSmpl, .dataId = "Data"})},
        {"inside smpl", dataInsideSmpl()},
        {"position 999", dataAt(999)},
        {"position 1000", dataAt(1000)},
        {"last four bytes", dataAt(40, false)},
        {"empty", {}},
        {"no block align", withBlockAlignZero(wavFile({1}))},
        {"nothing and no block align", withBlockAlignZero(wavFile({}, {.dataBytes = 0}))},
        {"2.5 samples", wavFile({10, 20, 30}, {.dataBytes = 5})},
        {"3.5 samples", wavFile({10, 20, 30, 40}, {.dataBytes = 7})},
        {"past the end", wavFile({-1}, {.dataBytes = 8})}};
    std::ostringstream out;
    for (const auto& [what, file] : files) {
        const WavReadResult r = ReadWavBytes(file);
        const DataChunk c = findDataChunk(file);
        std::string id(r.header.dataId.data(), 4);
        std::replace_if(
            id.begin(), id.end(), [](char ch) { return ch < ' '; }, '.');
        out << what << ": status " << int(r.status) << " at " << (c.found ? c.sampleOffset : 0)
            << " id " << id << " samples";
        for (int v : r.samples)
            out << ' ' << v;
        out << '\n';
    }
    EXPECT_TRUE(matchesGolden("wav-reading.txt", out.str()));
}

TEST(ReadWav, ChannelCountsAndTheSharedReaderState) {
    TemporaryFolder dir;
    SampleReader reader;
    ASSERT_EQ(reader.read(dir.write("mono", wavFile({111, 222}))), WavStatus::Ok);
    EXPECT_EQ(reader.sampleBuffer, (Samples{111, 222}));

    // Two channels: nothing read, nothing shown, the samples stay; the header is replaced.
    const WavStatus st = reader.read(dir.write("stereo", wavFile({1, 2, 3, 4}, {.channels = 2})));
    EXPECT_EQ(st, WavStatus::Stereo);
    EXPECT_EQ(wavStatusMessage(st), nullptr);
    EXPECT_EQ(reader.sampleBuffer, (Samples{111, 222}));
    EXPECT_EQ(reader.sampleHeader.channels, 2);

    // Any other count: the Turkish text whatever the language; the samples stay.
    const WavStatus three = reader.read(dir.write("three", wavFile({5, 6, 7}, {.channels = 3})));
    EXPECT_STREQ(wavStatusMessage(three), "kanal sayısı okunamadı");
    EXPECT_EQ(reader.sampleBuffer, (Samples{111, 222}));

    // A missing file reads as an empty one (no data chunk), and is not created.
    const WavStatus missing = reader.read(dir.path() / "none");
    EXPECT_STREQ(wavStatusMessage(missing), "File format not recognized!");
    EXPECT_FALSE(fs::exists(dir.path() / "none"));

    // Written files are the header and the samples, little-endian, nothing else.
    const std::int16_t samples[] = {258, -1};
    ASSERT_TRUE(writeWavFile(dir.path() / "out", BuildWavHeader(2, 1, 44100, 16), samples));
    const Bytes back = readBytes<std::uint8_t>(dir.path() / "out");
    ASSERT_EQ(back.size(), 48u);
    EXPECT_EQ(Bytes(back.begin() + 44, back.end()), (Bytes{0x02, 0x01, 0xFF, 0xFF}));
}

TEST(SampleBank, NamesFollowInstrumentHandAndLevel) {
    // Options 1, 2, 3, and the command line's words for them.
    const std::pair<int, const char*> words[] = {{1, "kudum"}, {2, "bendir"}, {3, "def"}};
    for (const auto& [option, word] : words)
        EXPECT_EQ(instrumentCode(instrumentOption(word)), instrumentCode(option)) << word;
    EXPECT_EQ(instrumentCode(1) + instrumentCode(2) + instrumentCode(3), "KUDUMBENDRTEFOO");
    EXPECT_EQ(instrumentOption("Kudum"), 0);
    // Düm levels 3, 2, 1 are digits 3, 2, 1, Tek levels 6, 5, 4; level 0 (unset) is strong.
    EXPECT_EQ(sampleFileName("BENDR", Hand::Dum, 0), "BENDRD31.---");
    EXPECT_EQ(sampleFileName("KUDUM", Hand::Tek, 0), "KUDUMT61.---");
    EXPECT_EQ(sampleFileName("TEFOO", Hand::Tek, 1), "TEFOOT41.---");
    EXPECT_EQ(sampleFileName("TEFOO", Hand::Dum, 2), "TEFOOD21.---");
    const auto names = sampleBankFileNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 18u);
    EXPECT_EQ(names[0], "KUDUMD31.---");
    EXPECT_EQ(names[17], "TEFOOT41.---");
}

TEST(LevelFile, ScalesByTheExactProductWithTheFloatFactorTiesToEven) {
    const Bytes source = wavFile({10, -32768, 5, 7, -5, 3, 15});
    auto scaled = [&](float f) { return samplesOf(levelFileBytes(source, f), 44); };
    // 0.6f is 0.60000002384…: 10 → 6.0000002 → 6; −32768 → −19660.8008 → −19661.
    EXPECT_EQ(scaled(0.6f)[0], 6);
    EXPECT_EQ(scaled(0.6f)[1], -19661);
    // 0.5f is exact, so halves are true ties: 5 → 2, 7 → 4, −5 → −2, 3 → 2.
    EXPECT_EQ(scaled(0.5f), (std::vector<int>{5, -16384, 2, 4, -2, 2, 8}));
    // The product is exact, not first rounded to single precision: 5 × 0.7f = 3.49999994
    // (a float product would be 3.5 → 4); 15 × 0.3f = 4.50000018 (a float product: 4.5 → 4).
    EXPECT_EQ(scaled(0.7f)[2], 3);
    EXPECT_EQ(scaled(0.3f)[6], 5);
}

TEST(LevelFile, WritesTheCanonicalHeaderWithoutOtherChunks) {
    TemporaryFolder dir;
    // Data after a smpl chunk, id "DATA": found by the search, written as "data", no smpl.
    const fs::path src =
        dir.write("SRC", wavFile({1000, -1000, 3}, {.between = kSmpl, .dataId = "DATA"}));
    ASSERT_EQ(MakeLevelFile(src, dir.path() / "OUT", 0.5f), LevelFileStatus::Written);
    Bytes expected;
    const auto h = encodeWavHeader(BuildWavHeader(3, 1, 44100, 16));
    expected.assign(h.begin(), h.end());
    for (int s : {500, -500, 2})
        put16(expected, s);
    EXPECT_EQ(readBytes<std::uint8_t>(dir.path() / "OUT"), expected);

    // Two channels: format fields and data size copied, dataSize ÷ 4 samples read as mono
    // 16-bit, which is the first half of the data.
    dir.write("SRC", wavFile({100, 200, 300, 400}, {.channels = 2}));
    ASSERT_EQ(MakeLevelFile(src, dir.path() / "ST", 0.5f), LevelFileStatus::Written);
    const Bytes st = readBytes<std::uint8_t>(dir.path() / "ST");
    ASSERT_EQ(st.size(), 48u);
    const WavHeader sh = decodeWavHeader(std::span<const std::uint8_t, 44>(st.data(), 44));
    EXPECT_EQ(std::vector<unsigned>({sh.channels, sh.blockAlign, sh.byteRate, sh.dataSize}),
              (std::vector<unsigned>{2, 4, 176400, 8}));
    EXPECT_EQ(samplesOf(st, 44), (std::vector<int>{50, 100}));

    // No data chunk: nothing written. A missing source or a target that cannot be created
    // are the failures that end the bank.
    dir.write("SRC", wavFile({1, 2}, {.dataId = "dat_"}));
    EXPECT_EQ(MakeLevelFile(src, dir.path() / "NONE", 0.5f), LevelFileStatus::FormatNotRecognized);
    EXPECT_FALSE(fs::exists(dir.path() / "NONE"));
    EXPECT_EQ(MakeLevelFile(dir.path() / "missing", dir.path() / "X", 0.5f),
              LevelFileStatus::SourceUnreadable);
    dir.write("SRC", wavFile({1}));
    EXPECT_EQ(MakeLevelFile(src, dir.path() / "no" / "X", 0.5f), LevelFileStatus::TargetUnwritable);
}

TEST(SampleBank, WritesTheEighteenFilesFromTheEmbeddedStrokes) {
    TemporaryFolder dir;
    const fs::path folder = dir.path() / "zrkv";
    const SampleBankResult r = prepareSampleBank(folder, 0.6f, 0.4f);
    ASSERT_FALSE(r.fatal);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 18);

    // The strong files are the embedded images byte for byte (kudum_dum is the Düm); which
    // factor makes which level is proved on made-up images below.
    const std::pair<const char*, std::span<const std::uint8_t>> strong[] = {
        {"KUDUMD31.---", embedded::kudum_dum()},  {"KUDUMT61.---", embedded::kudum_tek()},
        {"BENDRD31.---", embedded::bendir_dum()}, {"BENDRT61.---", embedded::bendir_tek()},
        {"TEFOOD31.---", embedded::def_dum()},    {"TEFOOT61.---", embedded::def_tek()}};
    for (const auto& [name, image] : strong)
        EXPECT_EQ(readBytes<std::uint8_t>(folder / name), Bytes(image.begin(), image.end()))
            << name;
}

TEST(SampleBank, FailuresMessagesAndTheFatalCase) {
    TemporaryFolder dir;
    const Bytes good = wavFile({100, -100}, {.between = kSmpl});
    const Bytes bad = wavFile({1}, {.dataId = "nope"});
    std::array<StrongSample, 6> images = {{{"KUDUMD31.---", good},
                                           {"KUDUMT61.---", bad},
                                           {"BENDRD31.---", good},
                                           {"BENDRT61.---", good},
                                           {"TEFOOD31.---", good},
                                           {"TEFOOT61.---", good}}};
    // A strong file without a data chunk: its two level files are skipped with a message
    // each, the rest of the bank is made. 20 % medium with 90 % weak is allowed.
    SampleBankResult r = prepareSampleBank(dir.path() / "a", 0.2f, 0.9f, images);
    EXPECT_FALSE(r.fatal);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_STREQ(r.messages[1], "File format not recognized!");
    EXPECT_FALSE(fs::exists(dir.path() / "a" / "KUDUMT51.---"));
    EXPECT_EQ(samplesOf(readBytes<std::uint8_t>(dir.path() / "a" / "TEFOOD21.---"), 44),
              (std::vector<int>{20, -20}));
    EXPECT_EQ(samplesOf(readBytes<std::uint8_t>(dir.path() / "a" / "TEFOOD11.---"), 44),
              (std::vector<int>{90, -90}));

    // A level file that cannot be written ends the preparation there.
    images[1].image = good;
    fs::create_directories(dir.path() / "b" / "KUDUMD21.---");
    r = prepareSampleBank(dir.path() / "b", 0.6f, 0.4f, images);
    EXPECT_TRUE(r.fatal);
    EXPECT_FALSE(fs::exists(dir.path() / "b" / "KUDUMD11.---"));
    // So does a sound folder that cannot be made.
    dir.write("plainfile", good);
    EXPECT_TRUE(prepareSampleBank(dir.path() / "plainfile" / "zrkv", 0.6f, 0.4f, images).fatal);
}
