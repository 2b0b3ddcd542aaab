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

// `env` is what the program sees; `fileSizeLimitKb` > 0 makes every file it writes fail
// beyond that size, as a full disk does.
inline CliRun runCli(const QStringList& args,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                     int fileSizeLimitKb = 0) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (fileSizeLimitKb > 0)
        p.start(QStringLiteral("/bin/sh"),
                QStringList{"-c",
                            QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"")
                                .arg(fileSizeLimitKb),
                            QStringLiteral(ZERKAVI_CLI)} +
                    args);
    else
        p.start(QStringLiteral(ZERKAVI_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace zerkavi::testing
