// GoogleTest main for the tests that need a real X server with a window manager: starts
// Xvfb with a 1024 x 768 screen and openbox on it, then the application on that display.
// Where either is missing every test is skipped with the reason.
#include "tests/support/window_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zerkavi::testing {
std::string frameProblem; // empty when the display and its window manager run

// The standard output of a tool run to its end (within 5 s) on this process's display.
QString toolOutput(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}
} // namespace zerkavi::testing

int main(int argc, char** argv) {
    using namespace zerkavi::testing;
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty() &&
            frameProblem.empty())
            frameProblem = std::string(tool) + " is not installed";
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--gtest_list_tests") frameProblem = "only listing the tests";
    QProcess xvfb, openbox;
    if (frameProblem.empty()) {
        // Xvfb writes its display number once it takes connections.
        xvfb.start(QStringLiteral("Xvfb"),
                   {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (!xvfb.waitForReadyRead(10000)) frameProblem = "Xvfb did not start";
    }
    if (frameProblem.empty()) {
        qputenv("DISPLAY", ":" + xvfb.readAllStandardOutput().trimmed());
        openbox.start(QStringLiteral("openbox"), {});
        // The window manager is up once it names itself on the root window.
        const auto managed = [] {
            return toolOutput(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"})
                .contains(QStringLiteral("window id"));
        };
        for (int k = 0; k < 300 && !managed(); ++k)
            QThread::msleep(100);
        if (!managed()) frameProblem = "openbox did not start";
    }
    qputenv("QT_QPA_PLATFORM", frameProblem.empty() ? "xcb" : "offscreen");
    const int rc = runTestsInApplication(argc, argv);
    for (QProcess* p : {&openbox, &xvfb})
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
            p->waitForFinished(1000);
        }
    std::fflush(nullptr);
    std::_Exit(rc);
}
