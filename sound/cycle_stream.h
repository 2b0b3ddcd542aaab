// An endless (or counted) stream of mixed cycles, read by the audio thread a buffer at a
// time while the window changes the tempo. Cycles follow each other sample for sample, so
// the seam is the same as inside a looped file. A new tempo takes over at the next stroke:
// the stream jumps to the same stroke of the cycle rendered at the new tempo, so the
// marker keeps its place. Every member may be called from any thread.
#pragma once

#include "sound/practice.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace zerkavi {

class CycleStream {
  public:
    using CyclePtr = std::shared_ptr<const PracticeCycle>;
    // Whether cycle number `index` (0-based) plays: false ends the stream there. It may
    // put another cycle into `cycle` (which holds the one that played last). Called on the
    // reading thread: it must only hand out cycles made before.
    using NextCycle = std::function<bool(std::int64_t index, CyclePtr& cycle)>;

    // `countIn` plays first; then `first`, and from cycle 1 on what `next` says (the same
    // cycle for ever when `next` is empty). A tempo change waiting at a seam wins.
    CycleStream(std::vector<std::int16_t> countIn, CyclePtr first, NextCycle next = {});

    // Fills `out` with the next samples; fewer than asked (then 0 for good) once the stream
    // has ended.
    std::size_t read(std::span<std::int16_t> out);
    // Goes on from sample `at` of the cycles as if all before it had been read: for a stream
    // that takes over from a file of the same cycles. Before the first read, with no count-in.
    void startAt(std::int64_t at);
    // From the next stroke on, play `cycle` (the same usul at another tempo).
    void changeCycle(CyclePtr cycle);

    // Where sample `at` (0-based, counted from the start of the stream) is.
    struct Place {
        bool countIn = true;    // still in the count-in: no stroke yet
        std::int64_t cycle = 0; // 0-based cycle number
        int stroke = 1;         // 1-based stroke of the cycle that sounds
        int bpm = 0;            // tempo of that cycle
        bool ended = false;     // past the end of the stream
    };
    Place placeAt(std::int64_t at) const;
    std::int64_t samplesRead() const;

  private:
    // From stream sample `start` on, cycle number `cycle` plays from its sample `from`.
    struct Segment {
        std::int64_t start;
        std::int64_t cycle;
        CyclePtr played;
        std::int64_t from;
    };
    void beginSegment(CyclePtr cycle, std::int64_t from);

    mutable std::mutex mutex_;
    std::vector<std::int16_t> countIn_;
    NextCycle next_;
    CyclePtr current_, pending_;
    std::int64_t cycleIndex_ = 0;
    std::int64_t pos_ = 0;  // sample of current_ to read next
    std::int64_t read_ = 0; // samples handed out so far
    bool ended_ = false;
    std::int64_t endedAt_ = -1;
    std::deque<Segment> segments_; // the last few, for placeAt
};

} // namespace zerkavi
