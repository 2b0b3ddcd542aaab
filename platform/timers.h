// Timers of the window: one-shot timers with identifiers, the window-less plan end timer
// and the stopwatch. All run on the thread of the event loop that created them, so their
// callbacks arrive between other window events and need no locks. They use Qt's precise
// timers, which keep to the millisecond where coarse timers may drift by 5 %.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace zerkavi {

// One-shot timers named by the caller. A timer is gone when its callback runs, so a
// callback that kills its own identifier does nothing more.
class WindowTimers {
  public:
    using Callback = std::function<void(int id)>;

    WindowTimers();
    ~WindowTimers();
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;

    // Calls `callback(id)` once after `ms` milliseconds (0 for negative delays). Starting
    // an identifier that is running replaces that timer.
    void start(int id, int ms, Callback callback);
    // False when no timer of that identifier was running.
    bool kill(int id);
    void killAll();
    bool isRunning(int id) const { return timers_.count(id) != 0; }
    int runningCount() const { return int(timers_.size()); }

    // Where the sound stands, in ms; negative when nothing plays. With a source, a timer
    // started for `ms` is due when the sound has moved `ms` on from where it stood at the
    // start: a timer that comes while the sound is behind waits the difference, as long
    // as the sound moves on at all. So the timers keep to what is heard, however late the
    // sound started or however long this thread was held up.
    using Position = std::function<std::int64_t()>;
    void followPosition(Position position) { position_ = std::move(position); }

  private:
    QObject host_; // parent of the QTimers, so they all go with this object
    Position position_;
    std::map<int, QTimer*> timers_;
};

// The timer that ends a playing work plan. It is not tied to a window and has at most one
// instance running; its identifier is 0 while none runs.
class PlanEndTimer {
  public:
    explicit PlanEndTimer(std::function<void()> expiry = {});
    ~PlanEndTimer();
    PlanEndTimer(const PlanEndTimer&) = delete;
    PlanEndTimer& operator=(const PlanEndTimer&) = delete;

    // What runs when the time is up (the plan's Stop).
    void setExpiry(std::function<void()> expiry) { expiry_ = std::move(expiry); }

    // Starts the timer unless one is already running; a running timer keeps its time.
    void StartPlanEndTimer(int ms);
    // Kills the running timer, if any.
    void StopPlanEndTimer();
    // Identifier of the running timer, 0 when none runs. Cleared before the expiry
    // callback runs, so that callback may start a new one.
    std::uint32_t planEndTimer() const { return id_; }

  private:
    std::unique_ptr<QTimer> timer_;
    std::uint32_t id_ = 0;
    std::uint32_t lastId_ = 0;
    std::function<void()> expiry_;
};

// Stopwatch on a high-resolution counter, in ms. Calibrieren measures what two readings
// back to back cost, and RunTime subtracts that from every measurement.
class xTimer {
  public:
    xTimer();
    void Calibrieren();
    void Start();
    void Halt();
    // (stop - start) in ms minus the calibration offset. Negative when Halt came first.
    double RunTime() const;

    // Counts per second of the counter, read once.
    std::uint64_t frequency() const { return frequency_; }
    double calibrationMs() const { return offsetMs_; }
    static std::uint64_t counter();

  private:
    double countsToMs(std::uint64_t from, std::uint64_t to) const;

    std::uint64_t frequency_;
    std::uint64_t startCount_ = 0;
    std::uint64_t stopCount_ = 0;
    double offsetMs_ = 0;
};

} // namespace zerkavi
