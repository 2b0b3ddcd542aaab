// The stream of cycles: sample-exact seams, a tempo change at the next stroke with the
// marker's place kept, and an end given by the next-cycle function.
#include "sound/cycle_stream.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace zerkavi;
using Samples = std::vector<std::int16_t>;

namespace {

// A cycle whose sample i holds base + i, so every sample read tells where it came from.
CycleStream::CyclePtr cycleOf(int size, int base, std::vector<std::int64_t> starts, int bpm) {
    auto c = std::make_shared<PracticeCycle>();
    c->bpm = bpm;
    c->samples.resize(std::size_t(size));
    std::iota(c->samples.begin(), c->samples.end(), std::int16_t(base));
    c->strokeStarts = std::move(starts);
    return c;
}

// Reads n samples in pieces of 7, as an output reading a little at a time would.
Samples readSome(CycleStream& s, int n) {
    Samples out(std::size_t(n), -9);
    std::size_t got = 0;
    while (got < out.size()) {
        const std::size_t r =
            s.read(std::span(out).subspan(got, std::min<std::size_t>(7, out.size() - got)));
        if (r == 0) break;
        got += r;
    }
    out.resize(got);
    return out;
}

Samples run(int base, int from, int to) { // base + from .. base + to − 1
    Samples s;
    for (int i = from; i < to; ++i)
        s.push_back(std::int16_t(base + i));
    return s;
}

Samples operator+(Samples a, const Samples& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const auto kFast = cycleOf(100, 0, {0, 40, 70}, 120);
const auto kSlow = cycleOf(200, 1000, {0, 80, 140}, 60);

TEST(CycleStream, RepeatsTheCycleWithoutAGapAfterTheCountIn) {
    CycleStream s({-1, -1, -1}, kFast);
    EXPECT_EQ(readSome(s, 253),
              (Samples{-1, -1, -1} + run(0, 0, 100) + run(0, 0, 100) + run(0, 0, 50)));
    EXPECT_TRUE(s.placeAt(2).countIn);
    EXPECT_EQ(s.placeAt(3 + 45).stroke, 2);
    const CycleStream::Place p = s.placeAt(3 + 100 + 75);
    EXPECT_EQ(std::tuple(p.countIn, p.cycle, p.stroke, p.bpm), std::tuple(false, 1, 3, 120));
}

TEST(CycleStream, ANewTempoTakesOverAtTheNextStrokeInItsPlace) {
    CycleStream s({}, kFast);
    EXPECT_EQ(readSome(s, 47), run(0, 0, 47));
    s.changeCycle(kSlow);
    // Stroke 3 of the fast cycle starts at 70: from there the slow cycle's stroke 3 (140).
    EXPECT_EQ(readSome(s, 100), run(0, 47, 70) + run(1000, 140, 200) + run(1000, 0, 17));
    EXPECT_EQ(s.placeAt(69).stroke, 2);
    EXPECT_EQ(std::tuple(s.placeAt(70).stroke, s.placeAt(70).bpm), std::tuple(3, 60));
    EXPECT_EQ(std::tuple(s.placeAt(70 + 60).cycle, s.placeAt(70 + 60).stroke), std::tuple(1, 1));
}

TEST(CycleStream, EndsWhereTheNextCycleIsNone) {
    CycleStream s({}, kFast, [](std::int64_t i, CycleStream::CyclePtr& c) {
        c = kSlow;
        return i < 2;
    });
    EXPECT_EQ(readSome(s, 1000), run(0, 0, 100) + run(1000, 0, 200));
    EXPECT_TRUE(s.placeAt(300).ended);
    EXPECT_FALSE(s.placeAt(299).ended);
}

TEST(CycleStream, StartAtGoesOnInsideTheCyclesAsIfAllBeforeHadBeenRead) {
    CycleStream s({}, kFast, [](std::int64_t i, CycleStream::CyclePtr&) { return i < 3; });
    s.startAt(250); // cycle 2 (0-based), its sample 50: stroke 2
    EXPECT_EQ(std::tuple(s.placeAt(250).cycle, s.placeAt(250).stroke), std::tuple(2, 2));
    EXPECT_EQ(readSome(s, 100), run(0, 50, 100));
}

} // namespace
