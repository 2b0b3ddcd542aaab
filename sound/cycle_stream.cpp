#include "sound/cycle_stream.h"

#include <algorithm>
#include <utility>

namespace zerkavi {

namespace {

// Segments kept for placeAt: far more than the audio output's buffer ever holds back.
constexpr std::size_t kKeptSegments = 256;

// 1-based stroke sounding at sample `at` of the cycle.
int strokeAt(const PracticeCycle& c, std::int64_t at) {
    const auto& s = c.strokeStarts;
    const auto k = std::upper_bound(s.begin(), s.end(), at) - s.begin();
    return int(std::clamp<std::ptrdiff_t>(k, 1, std::max<std::ptrdiff_t>(1, std::ssize(s))));
}

} // namespace

CycleStream::CycleStream(std::vector<std::int16_t> countIn, CyclePtr first, NextCycle next)
    : countIn_(std::move(countIn)), next_(std::move(next)), current_(std::move(first)) {
    segments_.push_back({std::int64_t(countIn_.size()), 0, current_, 0});
}

void CycleStream::beginSegment(CyclePtr cycle, std::int64_t from) {
    current_ = std::move(cycle);
    pos_ = from;
    segments_.push_back({read_, cycleIndex_, current_, from});
    if (segments_.size() > kKeptSegments) segments_.pop_front();
}

std::size_t CycleStream::read(std::span<std::int16_t> out) {
    const std::lock_guard lock(mutex_);
    std::size_t n = 0;
    auto copy = [&](const std::int16_t* from, std::int64_t count) {
        std::copy(from, from + count, out.begin() + std::ptrdiff_t(n));
        n += std::size_t(count);
        read_ += count;
    };
    if (read_ < std::ssize(countIn_))
        copy(countIn_.data() + read_,
             std::min<std::int64_t>(std::ssize(countIn_) - read_, std::ssize(out)));
    while (n < out.size() && !ended_) {
        const std::vector<std::int16_t>& samples = current_->samples;
        const std::int64_t size = std::ssize(samples);
        if (pos_ >= size) {
            // The seam: the next cycle starts on the very next sample.
            CyclePtr next = current_;
            const bool goesOn = !next_ || next_(cycleIndex_ + 1, next);
            if (pending_) next = std::exchange(pending_, nullptr);
            if (!goesOn || !next || next->samples.empty()) {
                ended_ = true;
                endedAt_ = read_;
                break;
            }
            ++cycleIndex_;
            beginSegment(std::move(next), 0);
            continue;
        }
        std::int64_t until = size;
        const auto& starts = current_->strokeStarts;
        const auto nextStroke = std::upper_bound(starts.begin(), starts.end(), pos_);
        if (pending_ && nextStroke != starts.end()) until = *nextStroke;
        const std::int64_t count =
            std::min<std::int64_t>(until - pos_, std::ssize(out) - std::int64_t(n));
        copy(samples.data() + pos_, count);
        pos_ += count;
        if (pending_ && pos_ == until && until < size) {
            // The same stroke in the cycle of the new tempo.
            const auto k = std::size_t(nextStroke - starts.begin());
            CyclePtr next = std::exchange(pending_, nullptr);
            const std::int64_t from = k < next->strokeStarts.size() ? next->strokeStarts[k] : 0;
            beginSegment(std::move(next), from);
        }
    }
    return n;
}

void CycleStream::startAt(std::int64_t at) {
    const std::lock_guard lock(mutex_);
    cycleIndex_ = at / std::ssize(current_->samples);
    pos_ = at % std::ssize(current_->samples);
    read_ = at;
    segments_ = {{at, cycleIndex_, current_, pos_}};
}

void CycleStream::changeCycle(CyclePtr cycle) {
    const std::lock_guard lock(mutex_);
    if (cycle && !cycle->samples.empty()) pending_ = std::move(cycle);
}

CycleStream::Place CycleStream::placeAt(std::int64_t at) const {
    const std::lock_guard lock(mutex_);
    Place p;
    const Segment* seg = &segments_.front();
    p.bpm = seg->played->bpm;
    if (at < std::ssize(countIn_)) return p;
    p.countIn = false;
    for (const Segment& s : segments_)
        if (s.start <= at) seg = &s;
    const std::int64_t inCycle = seg->from + (at - std::max(seg->start, std::int64_t(0)));
    p.cycle = seg->cycle;
    p.bpm = seg->played->bpm;
    p.stroke = strokeAt(*seg->played, inCycle);
    p.ended = ended_ && at >= endedAt_;
    return p;
}

std::int64_t CycleStream::samplesRead() const {
    const std::lock_guard lock(mutex_);
    return read_;
}

} // namespace zerkavi
