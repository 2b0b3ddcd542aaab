// Standard MIDI Files (type 1) of an usul and of a work plan.
//
// Track 1 is the conductor: the name, the time signatures, the tempo map and a marker at
// every cycle or section start. Track 2 holds the strokes on the General MIDI percussion
// channel (channel 10), Düm and Tek on two keys, the loudness levels as velocities.
// Text is UTF-8. 480 ticks to the quarter make every length of 64ths a whole tick count.
#pragma once

#include "plans/plan_render.h"
#include "usul/record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zerkavi {

inline constexpr int kMidiTicksPerQuarter = 480;
inline constexpr int kMidiTicksPer64th = kMidiTicksPerQuarter / 16;
inline constexpr int kMidiPercussionChannel = 9; // channel 10 as musicians count

struct MidiKeys {
    int dum = 64; // Low Conga
    int tek = 63; // Open High Conga
};

// Microseconds of a quarter note when `unitNote` notes go at `bpm` a minute.
std::uint32_t microsecondsPerQuarter(int bpm, int unitNote);

// `cycles` cycles of the usul at a constant metronome, with a marker of its name at each
// cycle. The usul must hold strokes and bpm, unitNote and cycles be positive.
std::vector<std::uint8_t> usulMidi(const UsulRecord& usul, int bpm, int unitNote, int cycles,
                                   const MidiKeys& keys = {});

struct PlanMidi {
    std::vector<std::uint8_t> bytes;
    // Message numbers to show, as the plan's sound rendering reports them (no beats).
    std::vector<Message> messages;
    int sections = 0; // sections that sound
};

// A stored plan as it plays: its sections in order with their stretches and repetitions,
// read and split into passages exactly as the plan is rendered to sound. A constant
// metronome is one tempo event; a ramp gets one tempo event at every stroke, each lasting
// as long as that stroke lasts in the rendered sound. Each sounding section starts with a
// marker "section name: usul name" and the time signature of its usul.
PlanMidi planMidi(std::u32string_view planName, std::u32string_view planText,
                  const UsulOfSlot& readSlot, const MidiKeys& keys = {});

} // namespace zerkavi
