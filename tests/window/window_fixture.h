// Runs the real window offscreen on a fresh temporary program folder, with messages
// recorded instead of shown.
#pragma once

#include "app/platform/message_boxes.h"
#include "app/window/arayuz_kalip.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QStringList>

#include <filesystem>
#include <memory>

namespace zerkavi::testing {

class RecordingMessages : public MessageBoxes {
  public:
    void inform(const QString& text) override { shown << text; }
    bool confirm(const QString& text) override {
        asked << text;
        return answer;
    }
    QStringList shown, asked;
    bool answer = true;
};

std::filesystem::path makeTemporaryFolder();

// The eight buttons that change an usul, enabled only for the user's slots.
inline std::vector<QWidget*> editingButtons(ArayüzKalıp& w) {
    return {w.But_Sil,  w.But_kaydet, w.But_Temizle,    w.But_optimize,
            w.But_uzat, w.But_kısalt, w.But_mertebe[0], w.But_mertebe[1]};
}
std::vector<char> readBytes(const std::filesystem::path& file);

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { folder = makeTemporaryFolder(); }
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
