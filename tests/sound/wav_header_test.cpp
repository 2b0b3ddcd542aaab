// Headers that claim nothing: a data chunk of size 0 under a block align of 0 has no sample
// count, so the file is not recognised rather than read as an empty sound.
#include "sound/wav.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

namespace zerkavi::testing {
namespace {

TEST(WavHeader, DataSizeZeroAndBlockAlignZeroIsNotRecognised) {
    Bytes file = riffAndFormat();
    file[32] = file[33] = 0; // block align
    put(file, "data");
    put32(file, 0);
    const WavReadResult r = ReadWavBytes(file);
    EXPECT_EQ(r.status, WavStatus::FormatNotRecognized);
    EXPECT_TRUE(r.samples.empty());
    EXPECT_FALSE(findDataChunk(file).found);
}

} // namespace
} // namespace zerkavi::testing
