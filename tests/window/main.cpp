// GoogleTest main for the window tests: a QApplication on the offscreen platform.
#include "window_fixture.h"

#include <QApplication>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace zerkavi::testing {

std::filesystem::path makeTemporaryFolder() {
    char pattern[] = "/tmp/zerkavi-window-XXXXXX";
    return ::mkdtemp(pattern);
}

std::vector<char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace zerkavi::testing

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + ZERKAVI_SCREENS_JSON);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(rc);
}
