// Runs the real window offscreen on a fresh temporary program folder, with messages
// recorded instead of shown.
#pragma once

#include "platform/message_boxes.h"
#include "tests/support/support.h"
#include "window/arayuz_kalip.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <filesystem>
#include <memory>

namespace zerkavi::testing {

// Runs the tests in a QApplication whose user settings live in a temporary folder: no test
// reads or writes those of the user running it.
inline int runTestsInApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

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

// Whether a control can be used now (a timer: whether it runs).
inline bool isEnabled(const QObject* o) {
    if (auto* w = qobject_cast<const QWidget*>(o)) return w->isEnabled();
    if (auto* a = qobject_cast<const QAction*>(o)) return a->isEnabled();
    if (auto* t = qobject_cast<const QTimer*>(o)) return t->isActive();
    return false;
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
    // Started, shown and active: keys reach an active window only.
    bool startActive() {
        if (!start()) return false;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    // Opens the library list with its button and picks `slot` with the left button.
    void load(int slot) {
        window->But_yükle->click();
        window->List1_Pick(slot - 1, Qt::LeftButton);
    }
    // Slot `slot` of the library file as it is on disk.
    RecordBytes slotOnDisk(int slot) const {
        const auto bytes = readBytes<std::uint8_t>(folder / "usuller.usl");
        RecordBytes b{};
        std::copy_n(bytes.begin() + std::ptrdiff_t(slot - 1) * kRecordBytes, kRecordBytes,
                    b.begin());
        return b;
    }
    // The text of message `k` in `lang`.
    static QString msg(Message k, Language lang = Language::Turkish) {
        return QString::fromStdString(languageTexts(lang).message[k]);
    }

    std::filesystem::path folder;
    RecordingMessages messages;
    std::unique_ptr<ArayüzKalıp> window;
};

// The window started and shown, its sound on a clock (no device needed) and its plan
// frames sliding without waiting.
class StartedWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->media.forceClock();
        window->slideWaitMs = 0;
        window->show();
    }
};

} // namespace zerkavi::testing
