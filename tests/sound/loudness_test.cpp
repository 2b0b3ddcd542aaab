// The louder default at the output: a quiet mix is lifted to about -1 dBFS, never by more
// than +12 dB, never turned down, and silence stays silence.
#include "sound/loudness.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zerkavi;

TEST(Loudness, GainBringsThePeakToMinusOneDbfsWithinItsCap) {
    EXPECT_EQ(peakOf(std::vector<std::int16_t>{3, -32768, 32767}), 32768);
    EXPECT_EQ(playbackGain(0), 1.0);     // silence
    EXPECT_EQ(playbackGain(32768), 1.0); // full scale
    EXPECT_EQ(playbackGain(kPlaybackPeak), 1.0);
    EXPECT_DOUBLE_EQ(playbackGain(14602), 2.0);
    EXPECT_DOUBLE_EQ(playbackGain(7336), kPlaybackPeak / 7336.0); // just under the cap
    EXPECT_EQ(playbackGain(7335), kMaxPlaybackGain);
    EXPECT_EQ(playbackGain(1), kMaxPlaybackGain);
    std::vector<std::int16_t> s{0, 1, -1, 14602, -14602, 7301};
    applyGain(s, playbackGain(14602));
    EXPECT_EQ(s, (std::vector<std::int16_t>{0, 2, -2, 29204, -29204, 14602}));
    std::vector<std::int16_t> loud{30000, -30000};
    applyGain(loud, 1.5); // held at the 16-bit limits
    EXPECT_EQ(loud, (std::vector<std::int16_t>{32767, -32768}));
}
