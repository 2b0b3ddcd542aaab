// GoogleTest main for the window tests: a QApplication on the offscreen platform.
#include "tests/support/window_fixture.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + ZERKAVI_SCREENS_JSON);
    const int rc = zerkavi::testing::runTestsInApplication(argc, argv);
    std::fflush(nullptr);
    std::_Exit(rc);
}
