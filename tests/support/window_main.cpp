// GoogleTest main for the window tests: a QApplication on the offscreen platform.
#include "tests/support/window_fixture.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + ZERKAVI_SCREENS_JSON);
    QApplication app(argc, argv);
    // No test reads or writes the settings of the user running it.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    settings.remove();
    std::fflush(nullptr);
    std::_Exit(rc);
}
