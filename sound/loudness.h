// The louder default of what is played: a gain that lifts a quiet mix until its loudest
// sample stands just under full scale. Only the output applies it; files keep their samples.
#pragma once

#include <cstdint>
#include <span>

namespace zerkavi {

// Where the loudest sample is brought (about -1 dBFS), and the most the gain may lift.
inline constexpr int kPlaybackPeak = 29204;
inline constexpr double kMaxPlaybackGain = 3.981; // +12 dB

// The loudest magnitude in `samples` (32768 for -32768).
int peakOf(std::span<const std::int16_t> samples);
// The gain that brings `peak` to kPlaybackPeak, at most kMaxPlaybackGain, and 1 for
// silence or a peak already at or above kPlaybackPeak: never quieter than the file.
double playbackGain(int peak);
// Multiplies every sample by `gain`, rounded, held within the 16-bit range.
void applyGain(std::span<std::int16_t> samples, double gain);

} // namespace zerkavi
