#include "tests/support/audio_server.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>

namespace zerkavi::testing {

namespace {
// A process run to its end within 20 s: its exit code, -1 when it did not end normally.
int runTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
            QByteArray* output = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ended = p.waitForFinished(20000);
    if (output) *output = p.readAll();
    return ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() <= timeoutMs)
        runFor(5);
    return done();
}

bool PrivateServer::start(QString& why) {
    for (const char* tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            why = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return false;
        }
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
    env_.insert(QStringLiteral("HOME"), folder_.path()); // cookie and config stay in here
    env_.insert(QStringLiteral("PULSE_SERVER"),
                QStringLiteral("unix:") + folder_.filePath(QStringLiteral("pulse/native")));
    QByteArray log;
    const auto rc = runTool(
        QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1"),
         QStringLiteral("--load=module-null-sink sink_name=test_sink rate=44100 channels=1")},
        env_, &log);
    QFile pidFile(folder_.filePath(QStringLiteral("pulse/pid")));
    if (pidFile.open(QIODevice::ReadOnly)) pid_ = pidFile.readAll().trimmed().toLongLong();
    if (rc != 0 || pid_ <= 0) {
        why = QStringLiteral("pulseaudio did not start: %1")
                  .arg(QString::fromLocal8Bit(log).trimmed());
        return false;
    }
    QByteArray info;
    if (runTool(QStringLiteral("pactl"),
                {QStringLiteral("set-default-sink"), QStringLiteral("test_sink")}, env_) != 0 ||
        runTool(QStringLiteral("pactl"), {QStringLiteral("info")}, env_, &info) != 0) {
        why = QStringLiteral("the server does not answer pactl: %1")
                  .arg(QString::fromLocal8Bit(info));
        return false;
    }
    qputenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit());
    qputenv("PULSE_SERVER", env_.value(QStringLiteral("PULSE_SERVER")).toLocal8Bit());
    return true;
}

void PrivateServer::shutDown() {
    // Its sockets and files go with the folder; nothing of it needs to be kept.
    if (pid_ > 0) ::kill(pid_t(pid_), SIGKILL);
    pid_ = 0;
}

Recorder::Recorder(const QProcessEnvironment& env) {
    wall_.start();
    parec_.setProcessEnvironment(env);
    QObject::connect(&parec_, &QProcess::readyReadStandardOutput, &parec_, [this] {
        bytes_ += parec_.readAllStandardOutput();
        // A chunk arrives only after its last sample was recorded: every arrival bounds the
        // time of sample 0 from above, and the tightest bound is the best estimate.
        firstSampleAt_ = std::min(firstSampleAt_, nowMs() - sampleCount() / kSamplesPerMs);
    });
}

bool Recorder::startHeard() {
    parec_.start(QStringLiteral("parec"),
                 {QStringLiteral("-d"), QStringLiteral("test_sink.monitor"),
                  QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                  QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
    return parec_.waitForStarted(5000) &&
           runUntil([&] { return sampleCount() > kRate / 10; }, 10000);
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

} // namespace zerkavi::testing
