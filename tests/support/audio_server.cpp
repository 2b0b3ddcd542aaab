#include "tests/support/audio_server.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <optional>

namespace zerkavi::testing {

namespace {
// A process run to its end with a time limit; empty optional when it did not end.
std::optional<int> runTool(const QString& program, const QStringList& args,
                           const QProcessEnvironment& env, int timeoutMs,
                           QByteArray* output = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs)) return std::nullopt;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    if (output) *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? std::optional<int>(p.exitCode()) : std::nullopt;
}

bool processGone(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return true;
    // "pid (name) S ...": a zombie no longer plays anything.
    const QByteArray stat = status.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 || stat.mid(close + 2, 1) == "Z";
}

} // namespace

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool PrivateServer::start(QString& why) {
    for (const char* tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            why = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return false;
        }
    if (!folder_.isValid()) {
        why = QStringLiteral("no temporary folder");
        return false;
    }
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
    env_.insert(QStringLiteral("HOME"), folder_.path()); // cookie and config stay in here
    env_.insert(QStringLiteral("PULSE_SERVER"), socket());
    QByteArray log;
    const auto rc = runTool(
        QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1"),
         QStringLiteral("--load=module-null-sink sink_name=test_sink rate=44100 channels=1")},
        env_, 20000, &log);
    QFile pidFile(folder_.filePath(QStringLiteral("pulse/pid")));
    if (pidFile.open(QIODevice::ReadOnly)) pid_ = pidFile.readAll().trimmed().toLongLong();
    if (rc != 0 || pid_ <= 0) {
        why = QStringLiteral("pulseaudio did not start: %1")
                  .arg(QString::fromLocal8Bit(log).trimmed());
        return false;
    }
    QByteArray info;
    if (runTool(QStringLiteral("pactl"),
                {QStringLiteral("set-default-sink"), QStringLiteral("test_sink")}, env_,
                5000) != 0 ||
        runTool(QStringLiteral("pactl"), {QStringLiteral("info")}, env_, 5000, &info) != 0) {
        why = QStringLiteral("the server does not answer pactl: %1")
                  .arg(QString::fromLocal8Bit(info));
        return false;
    }
    saved_ = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("PULSE_SERVER")};
    hadVariables_ = {qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"),
                     qEnvironmentVariableIsSet("PULSE_SERVER")};
    qputenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit());
    qputenv("PULSE_SERVER", socket().toLocal8Bit());
    envSet_ = true;
    return true;
}

void PrivateServer::shutDown() {
    if (pid_ > 0) {
        runTool(QStringLiteral("pulseaudio"), {QStringLiteral("--kill")}, env_, 5000);
        QElapsedTimer t;
        t.start();
        while (!processGone(pid_) && t.elapsed() < 3000)
            runFor(20);
        if (!processGone(pid_)) ::kill(pid_t(pid_), SIGKILL);
        pid_ = 0;
    }
    if (envSet_) {
        const char* names[] = {"XDG_RUNTIME_DIR", "PULSE_SERVER"};
        for (int i = 0; i < 2; ++i)
            if (hadVariables_[i])
                qputenv(names[i], saved_[i]);
            else
                qunsetenv(names[i]);
        envSet_ = false;
    }
}

QString PrivateServer::socket() const {
    return QStringLiteral("unix:") + folder_.filePath(QStringLiteral("pulse/native"));
}

Recorder::Recorder(const QProcessEnvironment& env, const QElapsedTimer& wall) : wall_(wall) {
    parec_.setProcessEnvironment(env);
    QObject::connect(&parec_, &QProcess::readyReadStandardOutput, &parec_, [this] {
        bytes_ += parec_.readAllStandardOutput();
        arrivals_.push_back({nowMs(), bytes_.size() / 2});
    });
}

bool Recorder::start() {
    parec_.start(QStringLiteral("parec"),
                 {QStringLiteral("-d"), QStringLiteral("test_sink.monitor"),
                  QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                  QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
    return parec_.waitForStarted(5000);
}

bool Recorder::startHeard() {
    return start() && runUntil([&] { return sampleCount() > kRate / 10; }, 10000);
}

void Recorder::stop() {
    if (parec_.state() == QProcess::NotRunning) return;
    ::kill(pid_t(parec_.processId()), SIGINT);
    if (!parec_.waitForFinished(3000)) {
        parec_.kill();
        parec_.waitForFinished(1000);
    }
    bytes_ += parec_.readAllStandardOutput();
}

double Recorder::wallOfFirstSample() const {
    double best = 1e300;
    for (const auto& [ms, samples] : arrivals_)
        best = std::min(best, ms - samples / kSamplesPerMs);
    return best;
}

StrokeMatch matchStrokes(const Recorder& r, const std::vector<double>& renderedMs,
                         const std::vector<std::pair<int, double>>& markerSteps) {
    StrokeMatch m;
    const std::vector<qsizetype> onsets = strokeOnsets(r);
    m.onsetsFound = onsets.size();
    if (onsets.empty()) return m;
    const qsizetype first = onsets.front();
    std::vector<double> heardMs;
    for (std::size_t k = 0; k < renderedMs.size(); ++k) {
        qsizetype best = onsets.front();
        for (qsizetype o : onsets)
            if (std::abs((o - first) / kSamplesPerMs - renderedMs[k]) <
                std::abs((best - first) / kSamplesPerMs - renderedMs[k]))
                best = o;
        heardMs.push_back((best - first) / kSamplesPerMs - renderedMs[k]);
        for (const auto& [stroke, at] : markerSteps)
            if (stroke == int(k) + 1) m.markerOffsetsMs.push_back(r.heardAt(best) - at);
    }
    const double common = figuresOf(heardMs).median;
    for (double h : heardMs)
        m.spacingErrorsMs.push_back(h - common);
    return m;
}

// Sample numbers where a click starts: the first loud sample after at least 50 ms of quiet.
std::vector<qsizetype> clickOnsets(const Recorder& r) {
    std::vector<qsizetype> onsets;
    qsizetype lastLoud = -kRate;
    for (qsizetype i = 0; i < r.sampleCount(); ++i) {
        if (std::abs(int(r.sample(i))) < 8000) continue;
        if (i - lastLoud > qsizetype(50 * kSamplesPerMs)) onsets.push_back(i);
        lastLoud = i;
    }
    return onsets;
}

// Onsets of drum strokes: where the sound's first difference (its high, sharp part) rises
// well above what it was just before.
std::vector<qsizetype> strokeOnsets(const Recorder& r) {
    const qsizetype n = r.sampleCount();
    const qsizetype w = qsizetype(kSamplesPerMs); // 1 ms windows
    std::vector<double> e;
    for (qsizetype i = w; i + w <= n; i += w) {
        double sum = 0;
        for (qsizetype k = i; k < i + w; ++k)
            sum += std::abs(int(r.sample(k)) - int(r.sample(k - 1)));
        e.push_back(sum / double(w));
    }
    std::vector<qsizetype> onsets;
    std::size_t quietUntil = 0;
    for (std::size_t i = 20; i < e.size(); ++i) {
        double before = 0;
        for (std::size_t k = i - 20; k < i - 5; ++k)
            before = std::max(before, e[k]);
        if (i >= quietUntil && e[i] > 80 && e[i] > 4 * before + 30) {
            onsets.push_back(qsizetype(i + 1) * w);
            quietUntil = i + 60;
        }
    }
    return onsets;
}

Figures figuresOf(const std::vector<double>& v) {
    Figures f;
    if (v.empty()) return f;
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    f.median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    f.lowest = sorted.front();
    f.highest = sorted.back();
    f.worst = std::abs(f.lowest) > std::abs(f.highest) ? f.lowest : f.highest;
    return f;
}

} // namespace zerkavi::testing
