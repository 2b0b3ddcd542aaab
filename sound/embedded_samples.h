// The six strong strokes carried inside the program, as complete WAV files.
#pragma once

#include <cstdint>
#include <span>

namespace zerkavi::embedded {

std::span<const std::uint8_t> kudum_dum();
std::span<const std::uint8_t> kudum_tek();
std::span<const std::uint8_t> bendir_dum();
std::span<const std::uint8_t> bendir_tek();
std::span<const std::uint8_t> def_dum();
std::span<const std::uint8_t> def_tek();

} // namespace zerkavi::embedded
