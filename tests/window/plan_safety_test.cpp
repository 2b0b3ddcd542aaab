// The plan screen under faults and while a plan plays: names that cannot be file names,
// failed writes, the state after Save, the window held by a playing plan, and the top bar
// and marker following the sound.
#include "tests/support/window_fixture.h"

#include "common/messages.h"
#include "plans/texts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <fstream>
#include <linux/capability.h>
#include <map>
#include <set>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

const char* const kPlan = "1.Hane 165 2 4 84\n"
                          "Teslim  165   1 4 84\n"
                          "Teslim 165 -48 4 84\n"
                          "Final 165 49- 4 84>50\n";

// Two short sections: Düyek twice slowing down, then Sofyan once.
const char* const kShortPlan = "Duyek 32 2 4 120>100\nSofyan 10 1 4 120\n";

std::set<std::string> filesBelow(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        names.insert(e.path().string());
    return names;
}

std::string message(Language lang, Message k) {
    return languageTexts(lang).message[k];
}

// Root writes into any folder; without CAP_DAC_OVERRIDE in this thread it obeys the mode
// bits like everyone else. Effective capabilities belong to the thread and come back.
class ObeyFileModes {
  public:
    ObeyFileModes() {
        if (::geteuid() != 0) return;
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        changed_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~ObeyFileModes() {
        if (changed_) ::syscall(SYS_capset, &header_, saved_);
    }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool changed_ = false;
};

// Files may grow to `bytes` only, as on a disk that is full; writes past it fail (EFBIG)
// instead of ending the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved_;
        lower.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }

  private:
    rlimit saved_{};
    void (*handler_)(int) = nullptr;
};

class PlanSafetyTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->slideWaitMs = 0;
        window->media.forceClock([this] { return clockMs; });
        window->show();
        window->Option4->click();
    }
    fs::path sound() const { return folder / "zrkv"; }
    void save(const QString& name, const char* text) {
        window->Text9->setText(name);
        window->Text14->setPlainText(QString::fromUtf8(text));
        window->Command8_Click();
    }
    void setLanguage(Language lang) {
        if (lang == Language::English)
            window->LisanIngilizce();
        else
            window->LisanTurkce();
    }
    // Every control by name and whether it can be used.
    std::map<std::string, bool> enabledStates() const {
        std::map<std::string, bool> states;
        for (QObject* c : window->allControls) {
            const std::string name = c->objectName().toStdString();
            if (auto* w = qobject_cast<QWidget*>(c)) states[name] = w->isEnabled();
            if (auto* a = qobject_cast<QAction*>(c)) states[name] = a->isEnabled();
        }
        return states;
    }
    // The controls whose state differs from `before`, by name.
    std::vector<std::string> changedSince(const std::map<std::string, bool>& before) const {
        std::vector<std::string> changed;
        for (const auto& [name, enabled] : enabledStates())
            if (before.at(name) != enabled) changed.push_back(name);
        return changed;
    }
    std::int64_t clockMs = 0;
};

} // namespace

TEST_F(PlanSafetyTest, NamesThatCannotBeFileNamesAreRefusedInBothLanguages) {
    // The program folder holds the sound folder: "../x" would land there.
    const auto before = filesBelow(folder);
    for (Language lang : {Language::Turkish, Language::English}) {
        setLanguage(lang);
        for (const QString& name :
             {QStringLiteral("a/b"), QStringLiteral("../x"), QStringLiteral("c:x"),
              QString(300, QChar('x')), QStringLiteral("..")}) {
            messages.shown.clear();
            save(name, kPlan);
            ASSERT_EQ(messages.shown.size(), 1) << name.toStdString();
            EXPECT_EQ(messages.shown[0].toStdString(), message(lang, Message::planFileName));
            EXPECT_EQ(window->Text14->toPlainText(), QString::fromUtf8(kPlan)) << "text kept";
        }
    }
    EXPECT_EQ(filesBelow(folder), before) << "nothing written anywhere";
    EXPECT_EQ(window->File1->count(), 0);
}

TEST_F(PlanSafetyTest, SaveNormalisesTheBoxAndSelectsTheSavedPlanForStart) {
    save(QStringLiteral("Zeta"), "Z 32 1 8 120\n");
    save(QStringLiteral(" Şarkı "), kPlan);
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    const QStringList lines = window->Text14->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("Teslim             165   1     4    84     "));
    ASSERT_EQ(window->File1->count(), 2);
    ASSERT_NE(window->File1->currentItem(), nullptr);
    EXPECT_EQ(window->File1->currentItem()->text(), QStringLiteral("Sarki.txt"));
    EXPECT_TRUE(window->File1->currentItem()->isSelected());
    window->Command4->click();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(window->plan.sectionNames.size(), 4u) << "Start plays the plan just saved";
    window->Command3->click();
}

TEST_F(PlanSafetyTest, AFailedWriteLeavesTheOldPlanAndSaysSo) {
    save(QStringLiteral("Pesrev"), "A 32 1 8 120\n");
    const auto old = readBytes(sound() / "Pesrev.txt");
    ASSERT_FALSE(old.empty());
    const auto files = filesBelow(sound());
    for (Language lang : {Language::Turkish, Language::English}) {
        setLanguage(lang);
        {
            SCOPED_TRACE("full disk");
            messages.shown.clear();
            FileSizeLimit full(64); // the new plan needs 180 bytes
            save(QStringLiteral("Pesrev"), kPlan);
        }
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].toStdString(), message(lang, Message::planNotSaved));
        EXPECT_EQ(readBytes(sound() / "Pesrev.txt"), old);
        EXPECT_EQ(filesBelow(sound()), files) << "no temporary file left";

        fs::permissions(sound(), fs::perms::owner_read | fs::perms::owner_exec);
        {
            ObeyFileModes obey;
            if (std::ofstream(sound() / "probe").good()) {
                fs::permissions(sound(), fs::perms::owner_all);
                GTEST_SKIP() << "this process writes into read-only folders";
            }
            messages.shown.clear();
            save(QStringLiteral("Pesrev"), kPlan);
        }
        fs::permissions(sound(), fs::perms::owner_all);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].toStdString(), message(lang, Message::planNotSaved));
        EXPECT_EQ(readBytes(sound() / "Pesrev.txt"), old);
        EXPECT_EQ(filesBelow(sound()), files);
    }
}

TEST_F(PlanSafetyTest, EmptyAndForeignPlanFilesOpenAndPlay) {
    { std::ofstream(sound() / "empty.txt", std::ios::binary); }
    {
        std::ofstream f(sound() / "foreign.txt", std::ios::binary);
        for (int i = 0; i < 512; ++i)
            f.put(char((i * 37) % 256));
    }
    window->Command10_Click();
    for (int row = 0; row < window->File1->count(); ++row) {
        window->File1->setCurrentRow(row);
        window->File1_Click();
        window->Command4->click();
        window->Command3->click();
        EXPECT_TRUE(window->Command4->isEnabled());
    }
}

TEST_F(PlanSafetyTest, APlanTooLongForAWavFileIsRefusedBeforeAnythingIsWritten) {
    save(QStringLiteral("Long"), "Long 164 9999 2 20\n");
    ASSERT_TRUE(messages.shown.isEmpty());
    const auto before = enabledStates();
    window->Command4->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(), message(Language::Turkish, Message::planTooLong));
    EXPECT_FALSE(fs::exists(sound() / "Eser.---"));
    EXPECT_TRUE(window->media.sentCommands().filter(QStringLiteral("open")).isEmpty());
    EXPECT_EQ(changedSince(before), std::vector<std::string>{});
}

// While a plan plays or is paused, everything that would disturb it is locked; the plan's
// Stop and Pause and the usul player's Stop stay usable and end or pause it completely.
TEST_F(PlanSafetyTest, APlayingPlanHoldsTheWindowAndStopGivesItBack) {
    window->currentSlot = 230; // a user's slot: its editing buttons are enabled
    window->setEditingButtonsForSlot();
    save(QStringLiteral("Kisa"), kShortPlan);
    const auto before = enabledStates();
    const QString slotBefore = window->Label1->text();

    const std::vector<QObject*> locked = {window->But_Baslat,
                                          window->But_yükle,
                                          window->But_önceki,
                                          window->But_sonraki,
                                          window->But_kaydet,
                                          window->But_farklı,
                                          window->But_Sil,
                                          window->But_Temizle,
                                          window->But_optimize,
                                          window->But_uzat,
                                          window->But_kısalt,
                                          window->But_mertebe[0],
                                          window->But_mertebe[1],
                                          window->VScroll1,
                                          window->PicBirimNota,
                                          window->Label5,
                                          window->Option1[1],
                                          window->Option1[2],
                                          window->Option1[3],
                                          window->Option2,
                                          window->Option3,
                                          window->Option4,
                                          window->File1,
                                          window->Command4,
                                          window->Command5,
                                          window->Command10,
                                          window->Command8,
                                          window->Command2,
                                          window->Text9,
                                          window->Text14,
                                          window->List3,
                                          window->Picture1,
                                          window->Text5,
                                          window->Text2,
                                          window->Text3,
                                          window->Mn_RenkZemin,
                                          window->Mn_volüm->menuAction()};
    for (QPushButton* stop : {window->Command3, window->But_Dur}) {
        for (bool paused : {false, true}) {
            SCOPED_TRACE(stop->objectName().toStdString() + (paused ? " paused" : " playing"));
            window->Command4->click();
            ASSERT_TRUE(window->planPlaying);
            if (paused) window->Command1->click();
            for (QObject* c : locked) {
                const auto* w = qobject_cast<QWidget*>(c);
                const auto* a = qobject_cast<QAction*>(c);
                EXPECT_FALSE(w ? w->isEnabled() : a->isEnabled()) << c->objectName().toStdString();
            }
            for (QPushButton* w : {window->Command1, window->Command3, window->But_Dur})
                EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
            // A press on a locked control does nothing.
            window->But_Baslat->click();
            EXPECT_FALSE(window->usulPlaying);

            stop->click();
            EXPECT_FALSE(window->planPlaying);
            EXPECT_FALSE(window->planEnd.planEndTimer());
            EXPECT_EQ(window->sectionTimers.runningCount(), 0);
            EXPECT_FALSE(window->media.isOpen(QStringLiteral("kivo")));
            EXPECT_FALSE(window->PlanFollow->isActive());
            EXPECT_EQ(changedSince(before), std::vector<std::string>{}) << "as before Start";
            EXPECT_EQ(window->Label1->text(), slotBefore);
        }
    }
    // The end of the sound gives the window back as well: one stroke of Düyek, 0.6 s.
    save(QStringLiteral("Bir"), "A 32 -1 16 208\n");
    window->Command4->click();
    ASSERT_TRUE(window->planPlaying);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->planPlaying; }, 5000));
    EXPECT_EQ(changedSince(before), std::vector<std::string>{});
}

// The top bar and the marker follow the position the sound reports: the section's usul with
// its time signature and a green length word, the marker on the stroke that sounds, across
// the repetitions, the tempo ramp and a pause; Stop brings back the usul loaded before.
TEST_F(PlanSafetyTest, TheTopBarAndTheMarkerFollowTheSound) {
    window->currentSlot = 17;
    window->loadCurrentSlot();
    const QString nameBefore = window->Text5->text();
    save(QStringLiteral("Kisa"), kShortPlan);
    window->Command4->click();
    const PlanRenderResult& plan = window->plan;
    ASSERT_EQ(plan.strokes.size(), 5u + 5u + 3u) << "Düyek twice, then Sofyan";

    std::vector<int> ordinals;
    std::int64_t pausedMs = 0; // the clock runs on while the sound is paused
    for (std::size_t k = 0; k < plan.strokes.size(); ++k) {
        const PlanStroke& s = plan.strokes[k];
        const QImage before = window->Picture1->image();
        clockMs = std::int64_t(std::ceil(double(s.startSample) / 44.1)) + 1 + pausedMs;
        if (k == 7) { // a pause and a continue in the second repetition
            window->Command1->click();
            pausedMs = 1000;
            clockMs += pausedMs;
            window->Command1->click();
        }
        window->followPlan();
        EXPECT_EQ(window->planMarkerStroke, int(k) + 1);
        ordinals.push_back(s.ordinal);
        const int slot = plan.sectionUsul[std::size_t(s.section)];
        EXPECT_EQ(window->Label1->text(), QString::number(slot));
        EXPECT_EQ(window->List3->currentRow(), s.section);
        const UsulRecord usul = *window->library().readUsul(slot);
        EXPECT_EQ(window->Text2->text(), QString::number(usul.numerator));
        EXPECT_EQ(window->Text3->text(), QString::number(usul.mertebe));
        EXPECT_EQ(window->Label4->text().toStdString(),
                  message(Language::Turkish, Message::wordMatch));
        EXPECT_TRUE(window->Label4->styleSheet().contains(QStringLiteral("0, 128, 0")));
        // The ring of the marker stands on this stroke's circle.
        const ScheduledStroke at = strokeList(window->currentUsul)[std::size_t(s.ordinal - 1)];
        const QPoint ring(at.x + 3, 150 * at.row - 75);
        if (k > 0 && plan.strokes[k - 1].section == s.section) {
            EXPECT_NE(before.pixel(ring), window->Picture1->image().pixel(ring)) << k;
        }
    }
    EXPECT_EQ(ordinals, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2, 3}));

    window->Command3->click();
    EXPECT_EQ(window->Label1->text(), QStringLiteral("17"));
    EXPECT_EQ(window->Text5->text(), nameBefore);
    EXPECT_EQ(window->currentUsul, *window->library().readUsul(17));
}

// A language switch on the plan screen draws the loudness letters of the new language.
TEST_F(PlanSafetyTest, ALanguageSwitchInPlannedModeRedrawsTheLetters) {
    window->currentSlot = 32;
    window->loadCurrentSlot();
    const QImage turkish = window->Picture1->image();
    window->LisanIngilizce();
    EXPECT_NE(window->Picture1->image(), turkish);
    window->LisanTurkce();
    EXPECT_EQ(window->Picture1->image(), turkish);
}

// A sound that would not fit the free space of the sound folder's disk is refused before
// anything is written. The disk is a small file system of its own, where one can be made.
TEST_F(PlanSafetyTest, APlanLargerThanTheFreeDiskSpaceIsRefused) {
    save(QStringLiteral("Uzun"), "Uzun 164 20 4 30\n"); // 1,280 s: 113 MB of sound
    ASSERT_TRUE(messages.shown.isEmpty());
    const fs::path small = folder / "small";
    fs::create_directory(small);
    if (std::system(
            ("mount -t tmpfs -o size=16m tmpfs '" + small.string() + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no small file system can be mounted here (needs root)";
    for (const auto& e : fs::directory_iterator(sound()))
        fs::copy(e.path(), small / e.path().filename());
    const fs::path realSound = sound();
    fs::rename(realSound, folder / "zrkv.away");
    fs::create_symlink(small, realSound);
    window->Command4->click();
    fs::remove(realSound);
    const bool written = fs::exists(small / "Eser.---");
    std::system(("umount '" + small.string() + "'").c_str());
    fs::rename(folder / "zrkv.away", realSound);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              message(Language::Turkish, Message::planNoDiskSpace));
    EXPECT_FALSE(written);
    EXPECT_FALSE(window->planPlaying);
    EXPECT_TRUE(window->Command4->isEnabled());
}

// Rendering shows how far it got and lets the window draw itself meanwhile.
TEST_F(PlanSafetyTest, RenderingShowsItsProgress) {
    save(QStringLiteral("Bes"), "Bes 32 5 4 120\n");
    window->renderProgressMs = 0;
    QStringList shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { shown << window->Label3->text(); });
    watch.start(0);
    window->Command4->click();
    watch.stop();
    EXPECT_EQ(shown, QStringList({"20 %", "40 %", "60 %", "80 %", "100 %"}));
    EXPECT_EQ(window->Label3->text(), QStringLiteral("00.00.000"));
    window->Command3->click();
}
