#include "sound/progress.h"

#include "common/rounding.h"

#include <cstdio>

namespace zerkavi {

std::string elapsedText(std::int32_t p) {
    const std::int32_t minutes = p / 60000;
    const std::int32_t seconds = (p - 60000 * minutes) / 1000;
    const std::int32_t ms = p - 60000 * minutes - 1000 * seconds;
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%03d", int(minutes), int(seconds), int(ms));
    return text;
}

int progressWidth(int width, double playLengthMs, std::int32_t positionMs) {
    if (playLengthMs <= 0) return 0;
    return int(roundHalfEven(width / playLengthMs * positionMs));
}

} // namespace zerkavi
