// GoogleTest main for the window tests: a QApplication on the offscreen platform.
#include "tests/support/window_fixture.h"

#include <cstdlib>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + ZERKAVI_SCREENS_JSON);
    const int rc = zerkavi::testing::runTestsInApplication(argc, argv);
    std::fflush(nullptr);
#ifdef __SANITIZE_ADDRESS__
    // _Exit skips the leak check that would run at exit.
    __lsan_do_leak_check();
#endif
    std::_Exit(rc);
}
