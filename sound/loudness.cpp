#include "sound/loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zerkavi {

int peakOf(std::span<const std::int16_t> samples) {
    int peak = 0;
    for (const std::int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

double playbackGain(int peak) {
    if (peak <= 0 || peak >= kPlaybackPeak) return 1.0;
    return std::min(kMaxPlaybackGain, double(kPlaybackPeak) / peak);
}

void applyGain(std::span<std::int16_t> samples, double gain) {
    if (gain == 1.0) return;
    for (std::int16_t& s : samples)
        s = std::int16_t(std::clamp(std::lround(s * gain), -32768L, 32767L));
}

} // namespace zerkavi
