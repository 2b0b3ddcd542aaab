// The plan screen: saving, opening and deleting plan files, names and writes that fail, and
// the window while a plan plays.
#include "tests/support/window_fixture.h"

#include "notation/layout.h"

#include <cmath>
#include <fstream>
#include <map>
#include <set>

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

class PlanTest : public StartedWindowTest {
  protected:
    void SetUp() override {
        StartedWindowTest::SetUp();
        window->media.forceClock([this] { return clockMs; });
        window->Option4->click();
    }
    fs::path sound() const { return folder / "zrkv"; }
    void save(const QString& name, const char* text) {
        window->Text9->setText(name);
        window->Text14->setPlainText(QString::fromUtf8(text));
        window->Command8->click();
    }
    void select(int row) {
        window->File1->setCurrentRow(row);
        window->File1->item(row)->setSelected(true);
        window->File1_Click();
    }
    // Every control by name and whether it can be used.
    std::map<std::string, bool> states() const {
        std::map<std::string, bool> s;
        for (QObject* c : window->allControls)
            if (!qobject_cast<QTimer*>(c)) s[c->objectName().toStdString()] = isEnabled(c);
        return s;
    }
    std::int64_t clockMs = 0;
};

} // namespace

TEST_F(PlanTest, PlannedModeSlidesTheFramesUpAndBack) {
    const int low = window->innerHeight() + 2;
    EXPECT_EQ(window->Frame5->y(), low - 165);
    window->Command2->click(); // the panel opens over the usul table, with its effect
    EXPECT_TRUE(window->Picture3->isVisible());
    EXPECT_FALSE(window->Command2->isEnabled());
    EXPECT_EQ(QColor(window->lastEffectFrame.pixel(window->Picture3->geometry().center())),
              window->palette().color(QPalette::Window));
    window->Image3_Click();
    EXPECT_TRUE(window->Picture4->isVisible());
    window->Option2->click();
    EXPECT_EQ(window->Frame5->y(), low);
    EXPECT_TRUE(window->Picture1->isVisible());
}

TEST_F(PlanTest, SaveOpenAndDeleteAPlanFile) {
    window->Command4->click(); // nothing selected
    save(QString::fromUtf8("  Şarkı Ölçü "), kPlan);
    const auto file = sound() / "Sarki Olcu.txt";
    ASSERT_EQ(readBytes(file).size(), 4u * 45u); // four lines of 43 characters and CR LF
    EXPECT_EQ(window->Text14->toPlainText().split('\n').value(1),
              QStringLiteral("Teslim             165   1     4    84     "));
    EXPECT_EQ(window->File1->currentItem()->text(), QStringLiteral("Sarki Olcu.txt"));
    EXPECT_EQ(window->List3->count(), 4);
    // A refused plan names its line and writes nothing.
    window->Text14->setPlainText(QStringLiteral("Bad 300 1 4 84\n"));
    window->Command8->click();
    window->Command10->click();
    EXPECT_TRUE(window->Text14->toPlainText().isEmpty());
    select(0);
    EXPECT_EQ(window->Text9->text(), QStringLiteral("Sarki Olcu"));
    EXPECT_EQ(window->Text14->toPlainText().count('\n'), 3);
    window->Command5->click();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(window->File1->count(), 0);
    window->Command5->click(); // nothing selected
    EXPECT_EQ(messages.shown,
              QStringList({msg(Message::noPlanSelected), msg(Message::usulNumber) + "1",
                           msg(Message::noPlanSelected)}));
    // Files without a line end, or named twice ".txt", open as well; a file of anything opens
    // and plays without harm.
    std::ofstream(sound() / "a.txt.txt", std::ios::binary) << "X 32 1 8 120";
    std::ofstream(sound() / "b.txt", std::ios::binary) << "X 32 1 8 120\r\n";
    std::string foreign(512, '\0');
    for (std::size_t i = 0; i < foreign.size(); ++i)
        foreign[i] = char((i * 37) % 256);
    std::ofstream(sound() / "c.txt", std::ios::binary) << foreign;
    window->Command10->click();
    select(0);
    EXPECT_EQ(window->Text9->text(), QStringLiteral("a"));
    EXPECT_EQ(window->List3->count(), 1);
    select(2);
    window->Command4->click();
    window->Command3->click();
    EXPECT_TRUE(window->Command4->isEnabled());
}

// Bad names, a full disk and a file that cannot be replaced (a mount point, where one can be
// made) leave the plans on disk and no temporary file, and say why.
TEST_F(PlanTest, RefusedNamesAndFailedWritesLeaveEverythingAsItWas) {
    save(QStringLiteral("Pesrev"), "A 32 1 8 120\n");
    save(QStringLiteral("Bozuk"), "A 32 1 8 120\n");
    const auto old = readBytes(sound() / "Pesrev.txt");
    const std::string busy = "'" + (sound() / "Bozuk.txt").string() + "' 2>/dev/null";
    const bool mounted = std::system(("mount --bind /dev/null " + busy).c_str()) == 0;
    const auto files = filesBelow(folder);
    for (Language lang : {Language::Turkish, Language::English}) {
        messages.shown.clear();
        if (lang == Language::English) window->LisanIngilizce();
        save(QStringLiteral("../x"), kPlan); // the program folder holds the sound folder
        save(QString(300, QChar('x')), kPlan);
        {
            FileSizeLimit full(64); // the new plan needs 180 bytes
            save(QStringLiteral("Pesrev"), kPlan);
        }
        if (mounted) save(QStringLiteral("Bozuk"), kPlan);
        const QString name = msg(Message::planFileName, lang),
                      write = msg(Message::planNotSaved, lang);
        EXPECT_EQ(messages.shown, QStringList({name, name, write, write}).mid(0, mounted ? 4 : 3));
    }
    if (mounted) std::system(("umount " + busy).c_str());
    EXPECT_EQ(window->Text14->toPlainText(), QString::fromUtf8(kPlan)) << "text kept";
    EXPECT_EQ(readBytes(sound() / "Pesrev.txt"), old);
    EXPECT_EQ(filesBelow(folder), files);
}

// A plan too long for a WAV file is refused before anything is written.
TEST_F(PlanTest, ALongPlanWritesNoSound) {
    save(QStringLiteral("Long"), "Long 164 9999 2 20\n"); // too long for a WAV file
    const auto before = states();
    window->Command4->click();
    EXPECT_EQ(messages.shown, QStringList{msg(Message::planTooLong)});
    EXPECT_FALSE(fs::exists(sound() / "Eser.---"));
    EXPECT_EQ(states(), before);
}

namespace {

struct StopCase {
    const char* name;
    bool paused, planStop; // the plan's Stop or the usul player's
};
class PlanStopTest : public PlanTest, public ::testing::WithParamInterface<StopCase> {};

} // namespace

// While a plan plays or is paused, all that would disturb it is locked; either Stop gives
// the window back as it was.
TEST_P(PlanStopTest, APlayingPlanHoldsTheWindowAndStopGivesItBack) {
    window->currentSlot = 230; // a user's slot: its editing buttons are enabled
    window->loadCurrentSlot();
    save(QStringLiteral("Kisa"), kShortPlan);
    const auto before = states();
    window->Command4->click();
    ASSERT_TRUE(window->planPlaying);
    if (GetParam().paused) window->Command1->click();
    const auto locked = states();
    for (const char* name :
         {"But_Baslat", "But_yükle", "But_kaydet", "But_uzat", "VScroll1", "Option1(1)", "Option2",
          "Command4", "Command8", "Text14", "Picture1", "Text2", "Mn_RenkZemin"})
        EXPECT_FALSE(locked.at(name)) << name;
    for (QPushButton* w : {window->Command1, window->Command3, window->But_Dur})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    (GetParam().planStop ? window->Command3 : window->But_Dur)->click();
    EXPECT_FALSE(window->planPlaying);
    EXPECT_FALSE(window->planEnd.planEndTimer());
    EXPECT_EQ(window->sectionTimers.runningCount(), 0);
    EXPECT_FALSE(window->media.isOpen(QStringLiteral("kivo")));
    EXPECT_EQ(states(), before);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("230"));
}
INSTANTIATE_TEST_SUITE_P(Stops, PlanStopTest,
                         ::testing::Values(StopCase{"PlanStop", false, true},
                                           StopCase{"PausedPlanStop", true, true},
                                           StopCase{"UsulStop", false, false},
                                           StopCase{"PausedUsulStop", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Rendering shows how far it got; the top bar and the marker follow the position the sound
// reports, across the repetitions, the tempo ramp and a pause; Stop gives the usul back, and a
// later section plays from its start.
TEST_F(PlanTest, PlayPauseContinueStopAndTheMarkerFollowsTheSound) {
    window->currentSlot = 17;
    window->loadCurrentSlot();
    save(QStringLiteral("Kisa"), kShortPlan);
    window->renderProgressMs = 0;
    QStringList progress;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { progress << window->Label3->text(); });
    watch.start(0);
    window->Command4->click();
    watch.stop();
    EXPECT_GT(progress.size(), 1);
    EXPECT_EQ(progress.last(), QStringLiteral("100 %"));
    const PlanRenderResult& plan = window->plan;
    ASSERT_EQ(plan.strokes.size(), 5u + 5u + 3u) << "Düyek twice, then Sofyan";
    EXPECT_EQ(window->sectionTimers.runningCount(), 1); // the boundary still ahead
    EXPECT_NE(window->planEnd.planEndTimer(), 0u);
    std::int64_t pausedMs = 0; // the clock runs on while the sound is paused
    for (std::size_t k = 0; k < plan.strokes.size(); ++k) {
        const PlanStroke& s = plan.strokes[k];
        const QImage before = window->Picture1->image();
        clockMs = std::int64_t(std::ceil(double(s.startSample) / 44.1)) + 1 + pausedMs;
        if (k == 7) {
            window->Command1->click(); // the marker below shows the sound held still
            EXPECT_EQ(window->Command1->text(), QStringLiteral("Devam"));
            EXPECT_EQ(window->sectionTimers.runningCount(), 0);
            pausedMs = 1000;
            clockMs += pausedMs;
            window->Command1->click();
            EXPECT_EQ(window->Command1->text(), QStringLiteral("Bekle"));
        }
        window->followPlan();
        EXPECT_EQ(window->planMarkerStroke, int(k) + 1);
        const int slot = plan.sectionUsul[std::size_t(s.section)];
        EXPECT_EQ(window->Label1->text(), QString::number(slot));
        EXPECT_EQ(window->List3->currentRow(), s.section);
        EXPECT_EQ(window->Text2->text().toInt(), window->library().readUsul(slot)->numerator);
        EXPECT_EQ(window->Label4->text(), msg(Message::wordMatch));
        const ScheduledStroke at = strokeList(window->currentUsul)[std::size_t(s.ordinal - 1)];
        const QPoint ring(at.x + 3, 150 * at.row - 75);
        const bool moved = before.pixel(ring) != window->Picture1->image().pixel(ring);
        EXPECT_TRUE(moved || k == 0 || plan.strokes[k - 1].section != s.section) << k;
    }
    window->Command3->click();
    EXPECT_FALSE(window->TimerWav->isActive());
    EXPECT_EQ(window->Label1->text(), QStringLiteral("17"));
    EXPECT_EQ(window->currentUsul, *window->library().readUsul(17));

    window->List3->setCurrentRow(1);
    window->Command4->click();
    EXPECT_TRUE(window->media.sentCommands().contains(
        QStringLiteral("play kivo from %1").arg(plan.endMsOfSection(1))));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("10"));
    window->Command3->click();
    EXPECT_EQ(window->List3->currentRow(), 1);
}
