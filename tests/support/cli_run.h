// zerkavi-cli run as a user runs it: arguments in, exit code and both outputs back.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace zerkavi::testing {

struct CliRun {
    int exitCode = -1; // -1: it did not end within a minute
    QByteArray out, err;
};

// `tmpdir`, when given, is the TMPDIR the program sees.
inline CliRun runCli(const QStringList& args, const QString& tmpdir = {}) {
    QProcess p;
    if (!tmpdir.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmpdir);
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(ZERKAVI_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace zerkavi::testing
