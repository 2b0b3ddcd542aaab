// GoogleTest main for the tests that need a real X server with a window manager: starts
// Xvfb with a 1024 x 768 screen and openbox on it, then the application on that display.
// Where either is missing every test is skipped with the reason.
#include "tests/support/window_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zerkavi::testing {
std::string frameProblem; // empty when the display and its window manager run
}

namespace {

bool waitForOutput(QProcess& p, QByteArray& out, int ms) {
    QElapsedTimer t;
    t.start();
    while (!out.contains('\n') && t.elapsed() < ms && p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
    }
    return out.contains('\n');
}

// The window manager is up once it names itself on the root window.
bool windowManagerRuns(const QString& display) {
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    xprop.waitForFinished(2000);
    return xprop.readAllStandardOutput().contains("window id");
}

} // namespace

int main(int argc, char** argv) {
    using zerkavi::testing::frameProblem;
    QProcess xvfb, openbox;
    QString display;
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
            frameProblem.empty())
            frameProblem = std::string(tool) + " is not installed";
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--gtest_list_tests") listing = true;
    if (listing) frameProblem = "only listing the tests";
    if (frameProblem.empty()) {
        xvfb.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
        QByteArray out;
        if (!xvfb.waitForStarted(5000) || !waitForOutput(xvfb, out, 10000)) {
            frameProblem = "Xvfb did not start";
        } else {
            display = QStringLiteral(":") + QString::fromLatin1(out.trimmed());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), display);
            openbox.setProcessEnvironment(env);
            openbox.start(QStringLiteral("openbox"), {});
            QElapsedTimer t;
            t.start();
            while (!windowManagerRuns(display) && t.elapsed() < 30000)
                QThread::msleep(100);
            if (!windowManagerRuns(display)) frameProblem = "openbox did not start";
        }
    }
    if (frameProblem.empty()) {
        qputenv("DISPLAY", display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const int rc = zerkavi::testing::runTestsInApplication(argc, argv);
    for (QProcess* p : {&openbox, &xvfb})
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
            p->waitForFinished(1000);
        }
    std::fflush(nullptr);
    std::_Exit(rc);
}
