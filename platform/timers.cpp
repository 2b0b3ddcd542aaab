#include "platform/timers.h"

#include <QTimer>

#include <algorithm>
#include <chrono>

namespace zerkavi {

// ---- WindowTimers ----------------------------------------------------------------------

WindowTimers::WindowTimers() = default;

// The QTimers are children of host_ and go with it, also those waiting for deleteLater.
WindowTimers::~WindowTimers() = default;

void WindowTimers::start(int id, int ms, Callback callback) {
    kill(id);
    auto* timer = new QTimer(&host_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    const std::int64_t from = position_ ? position_() : -1;
    const std::int64_t due = from + std::max(ms, 0);
    QObject::connect(
        timer, &QTimer::timeout, timer,
        [this, id, timer, from, due, seen = std::int64_t(-1), cb = std::move(callback)]() mutable {
            const auto it = timers_.find(id);
            if (it == timers_.end() || it->second != timer) return;
            if (position_ && from >= 0) {
                const std::int64_t now = position_();
                // A sound that stands still (stalled, or never started) does not hold the
                // timer up any longer: it waits once, then only while the sound moves.
                if (now >= 0 && now < due && (seen < 0 || now > seen)) {
                    seen = now;
                    timer->start(int(due - now));
                    return;
                }
            }
            timers_.erase(it);
            // The callback may start this identifier again or kill every timer; this one is
            // already out of the table, and it is deleted only once its signal has returned.
            timer->deleteLater();
            if (cb) cb(id);
        });
    timers_[id] = timer;
    timer->start(std::max(ms, 0));
}

bool WindowTimers::kill(int id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return false;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
    return true;
}

void WindowTimers::killAll() {
    while (!timers_.empty())
        kill(timers_.begin()->first);
}

// ---- PlanEndTimer ----------------------------------------------------------------------

PlanEndTimer::PlanEndTimer(std::function<void()> expiry)
    : timer_(std::make_unique<QTimer>()), expiry_(std::move(expiry)) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
        id_ = 0;
        if (expiry_) expiry_();
    });
}

PlanEndTimer::~PlanEndTimer() = default;

void PlanEndTimer::StartPlanEndTimer(int ms) {
    if (id_ != 0) return;
    id_ = ++lastId_;
    if (id_ == 0) id_ = ++lastId_; // after a wrap, 0 still means "none"
    timer_->start(std::max(ms, 0));
}

void PlanEndTimer::StopPlanEndTimer() {
    if (id_ == 0) return;
    timer_->stop();
    id_ = 0;
}

// ---- xTimer ----------------------------------------------------------------------------

std::uint64_t xTimer::counter() {
    return std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
}

xTimer::xTimer()
    : frequency_(std::uint64_t(std::chrono::steady_clock::period::den /
                               std::chrono::steady_clock::period::num)) {}

double xTimer::countsToMs(std::uint64_t from, std::uint64_t to) const {
    // Signed, so a Halt before Start gives a negative time rather than a wrapped one.
    const double counts = to >= from ? double(to - from) : -double(from - to);
    return counts / double(frequency_) * 1000.0;
}

void xTimer::Calibrieren() {
    startCount_ = counter();
    stopCount_ = counter();
    offsetMs_ = countsToMs(startCount_, stopCount_);
}

void xTimer::Start() {
    startCount_ = counter();
}

void xTimer::Halt() {
    stopCount_ = counter();
}

double xTimer::RunTime() const {
    return countsToMs(startCount_, stopCount_) - offsetMs_;
}

} // namespace zerkavi
