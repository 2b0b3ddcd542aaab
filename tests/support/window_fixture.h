// Runs the real window offscreen on a fresh temporary program folder, with messages
// recorded instead of shown.
#pragma once

#include "platform/message_boxes.h"
#include "tests/support/support.h"
#include "window/arayuz_kalip.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QPushButton>
#include <QSettings>
#include <QStringList>

#include <filesystem>
#include <memory>

namespace zerkavi::testing {

class RecordingMessages : public MessageBoxes {
  public:
    using MessageBoxes::inform;
    void inform(const QString& text, const QString& title) override {
        shown << text;
        titles << title;
    }
    bool confirm(const QString& text) override {
        asked << text;
        return answer;
    }
    QStringList shown, titles, asked;
    bool answer = true;
};

inline QByteArray qBytes(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

// The eight buttons that change an usul, enabled only for the user's slots.
inline std::vector<QWidget*> editingButtons(ArayüzKalıp& w) {
    return {w.But_Sil,  w.But_kaydet, w.But_Temizle,    w.But_optimize,
            w.But_uzat, w.But_kısalt, w.But_mertebe[0], w.But_mertebe[1]};
}

class WindowTest : public ::testing::Test {
  protected:
    // Each test has its own user settings, in its folder: a first start.
    void SetUp() override {
        folder = makeTemporaryFolder();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((folder / "config").string()));
    }
    void TearDown() override {
        window.reset();
        std::filesystem::remove_all(folder);
    }
    // Builds the window on `folder` and runs its start-up.
    bool start(QSize screen = QSize(1280, 1024)) {
        window = std::make_unique<ArayüzKalıp>(folder, messages, screen);
        return window->startUp();
    }

    std::filesystem::path folder;
    RecordingMessages messages;
    std::unique_ptr<ArayüzKalıp> window;
};

} // namespace zerkavi::testing
