// Golden files in tests/golden/. On a mismatch the actual result is written to
// <build>/golden-actual/ under the same name, to look at or to take over. After a wanted
// change of the drawing or the sound, refresh them all with
//     ZERKAVI_REFRESH_GOLDEN=1 ctest --test-dir build -R Golden
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef QT_GUI_LIB
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#endif

namespace zerkavi::testing {

inline std::filesystem::path goldenPath(const std::string& name) {
    return std::filesystem::path(ZERKAVI_SOURCE_DIR "/tests/golden") / name;
}

inline bool refreshingGolden() {
    return std::getenv("ZERKAVI_REFRESH_GOLDEN") != nullptr;
}

// Writes `bytes` as the golden file when refreshing, else as the actual file beside the
// build; returns where it went.
inline std::string keepActual(const std::string& name, const std::string& bytes, bool refresh) {
    const std::filesystem::path folder = ZERKAVI_BINARY_DIR "/golden-actual";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const auto path = refresh ? goldenPath(name) : folder / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path.string();
}

// A file's bytes (text, WAV) against its golden file.
inline ::testing::AssertionResult matchesGolden(const std::string& name,
                                                const std::string& actual) {
    if (refreshingGolden()) {
        keepActual(name, actual, true);
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(goldenPath(name), std::ios::binary);
    if (in && std::string(std::istreambuf_iterator<char>(in), {}) == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name << " differs from its golden file; actual: " << keepActual(name, actual, false);
}

#ifdef QT_GUI_LIB
inline ::testing::AssertionResult matchesGolden(const QString& name, const QByteArray& actual) {
    return matchesGolden(name.toStdString(), actual.toStdString());
}

// A picture against its golden PNG, pixel by pixel.
inline ::testing::AssertionResult matchesGolden(const QString& name, const QImage& actual) {
    const QImage image = actual.convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    if (refreshingGolden()) return matchesGolden(name, png);
    const QImage golden = QImage(QString::fromStdString(goldenPath(name.toStdString()).string()))
                              .convertToFormat(QImage::Format_RGB32);
    if (golden == image) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name.toStdString() << " differs from its golden file (size " << image.width() << "x"
           << image.height()
           << "); actual: " << keepActual(name.toStdString(), png.toStdString(), false);
}
#endif

} // namespace zerkavi::testing
