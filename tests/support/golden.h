// Golden files in tests/golden/. On a mismatch the actual result is written to
// <build>/golden-actual/ under the same name, to look at or to take over. After a wanted
// change of the drawing, refresh them all with
//     ZERKAVI_REFRESH_GOLDEN=1 build/tests/window_tests --gtest_filter='*Golden*'
#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

namespace zerkavi::testing {

inline QString goldenPath(const QString& name) {
    return QStringLiteral(ZERKAVI_SOURCE_DIR "/tests/golden/") + name;
}

// Writes `bytes` as the golden file when refreshing, else as the actual file beside the
// build; returns where it went.
inline QString keepActual(const QString& name, const QByteArray& bytes, bool refresh) {
    const QString folder = QStringLiteral(ZERKAVI_BINARY_DIR "/golden-actual");
    QDir().mkpath(folder);
    const QString path = refresh ? goldenPath(name) : folder + QChar('/') + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

inline bool refreshingGolden() {
    return qEnvironmentVariableIsSet("ZERKAVI_REFRESH_GOLDEN");
}

// The bytes of a text file against its golden file.
inline ::testing::AssertionResult matchesGolden(const QString& name, const QByteArray& actual) {
    if (refreshingGolden()) {
        keepActual(name, actual, true);
        return ::testing::AssertionSuccess();
    }
    QFile f(goldenPath(name));
    if (f.open(QIODevice::ReadOnly) && f.readAll() == actual) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name.toStdString() << " differs from its golden file; actual: "
           << keepActual(name, actual, false).toStdString();
}

// A picture against its golden PNG, pixel by pixel.
inline ::testing::AssertionResult matchesGolden(const QString& name, const QImage& actual) {
    const QImage image = actual.convertToFormat(QImage::Format_RGB32);
    auto bytes = [&] {
        QByteArray b;
        QBuffer buffer(&b);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return b;
    };
    if (refreshingGolden()) {
        keepActual(name, bytes(), true);
        return ::testing::AssertionSuccess();
    }
    const QImage golden = QImage(goldenPath(name)).convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    if (golden.size() == image.size())
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += golden.pixel(x, y) != image.pixel(x, y);
    if (golden.size() == image.size() && differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name.toStdString() << " differs from its golden file (" << differing
           << " pixels, size " << image.width() << "x" << image.height()
           << "); actual: " << keepActual(name, bytes(), false).toStdString();
}

} // namespace zerkavi::testing
