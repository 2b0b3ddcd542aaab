// zerkavi-cli check-plan and render-plan run as a user runs them, against the window.
#include "tests/support/cli_run.h"
#include "tests/support/window_fixture.h"

#include "common/messages.h"
#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/texts.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

// The worked example as a user types it (blanks as they come, LF line ends).
const char* const kExample = "Birinci_hane 165 2 4 84\n"
                             "Teslim_ilk   165 1 4 84\n"
                             "  Teslim_son 165 -48 4 84\n"
                             "\n"
                             "Final 165 49- 4 84>50\n";

const char* const kExampleSaved = "Birinci_hane       165   2     4    84     \r\n"
                                  "Teslim_ilk         165   1     4    84     \r\n"
                                  "Teslim_son         165   -48   4    84     \r\n"
                                  "Final              165   49-   4    84>50  \r\n";

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

class PlanCliTest : public WindowTest {
  protected:
    fs::path writePlan(const std::string& name, const std::string& text) {
        std::ofstream(plans / name, std::ios::binary) << text;
        return plans / name;
    }
    void SetUp() override {
        WindowTest::SetUp();
        fs::create_directory(plans);
    }
    void TearDown() override {
        fs::remove_all(plans);
        WindowTest::TearDown();
    }
    fs::path plans = makeTemporaryFolder();
};

struct Refusal {
    const char* plan;
    Message message;
    int line;
};
void PrintTo(const Refusal& r, std::ostream* os) {
    *os << "message " << r.message << " line " << r.line;
}

class PlanCliChecks : public PlanCliTest, public ::testing::WithParamInterface<Refusal> {};

} // namespace

TEST_F(PlanCliTest, CheckPlanPrintsWhatSaveWritesAndLeavesNothingBehind) {
    const fs::path tmp = plans / "tmp";
    fs::create_directory(tmp);
    const fs::path file = writePlan("Muhammes.txt", kExample);
    const CliRun r = runCli({"check-plan", q(file), "--dir", q(folder)}, q(tmp));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), kExampleSaved);
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_TRUE(fs::is_empty(folder)) << "no library, no sound folder in the program folder";
    EXPECT_TRUE(fs::is_empty(tmp)) << "the private folder is gone";
    const CliRun render =
        runCli({"render-plan", q(file), "--out", q(plans / "out.wav"), "--dir", q(folder)}, q(tmp));
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_TRUE(fs::is_empty(tmp)) << "the sample bank went with its folder";
    EXPECT_TRUE(fs::is_empty(folder));

    // The same text saved by the window gives the same file.
    ASSERT_TRUE(start());
    window->slideWaitMs = 0;
    window->Option4->click();
    window->Text9->setText(QStringLiteral("Muhammes"));
    window->Text14->setPlainText(QString::fromUtf8(kExample));
    window->Command8_Click();
    const auto saved = readBytes(folder / "zrkv" / "Muhammes.txt");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), kExampleSaved);
}

// The sound of the worked example is byte for byte what the window's Start writes.
TEST_F(PlanCliTest, RenderPlanWritesTheWindowsSoundAndTheSectionEnds) {
    ASSERT_TRUE(start());
    window->slideWaitMs = 0;
    window->media.forceClock();
    window->Option4->click();
    window->Text9->setText(QStringLiteral("Muhammes"));
    window->Text14->setPlainText(QString::fromUtf8(kExample));
    window->Command8_Click();
    window->List3->setCurrentRow(0);
    window->Command4->click();
    window->Command3->click();
    const auto eser = readBytes(folder / "zrkv" / "Eser.---");
    ASSERT_GT(eser.size(), 44u);

    const fs::path file = writePlan("Muhammes.txt", kExample);
    const fs::path out = plans / "eser.wav";
    const CliRun r = runCli({"render-plan", q(file), "--out", q(out), "--dir", q(folder)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(readBytes(out) == eser) << "the sound differs from the window's";
    QString expected;
    for (std::size_t i = 0; i < window->plan.sectionNames.size(); ++i)
        expected += QString::fromStdString(toUtf8(window->plan.sectionNames[i])) + ' ' +
                    QString::number(window->plan.sectionEndMs[i]) + '\n';
    EXPECT_EQ(QString::fromUtf8(r.out), expected);

    // Another instrument, another sound; the program folder's library was used, not changed.
    const CliRun kudum = runCli({"render-plan", q(file), "--out", q(plans / "k.wav"),
                                 "--instrument", "kudum", "--dir", q(folder)});
    ASSERT_EQ(kudum.exitCode, 0);
    EXPECT_EQ(readBytes(plans / "k.wav").size(), eser.size());
    EXPECT_FALSE(readBytes(plans / "k.wav") == eser);
}

TEST_P(PlanCliChecks, EverySaveCheckWithItsLineInBothLanguages) {
    const Refusal& c = GetParam();
    const fs::path file = writePlan("p.txt", c.plan);
    for (auto [lang, code] : {std::pair{Language::Turkish, "tr"}, {Language::English, "en"}}) {
        for (const char* command : {"check-plan", "render-plan"}) {
            const CliRun r = runCli({command, q(file), "--lang", code, "--dir", q(folder), "--out",
                                     q(plans / "x.wav")});
            EXPECT_EQ(r.exitCode, 1) << command;
            EXPECT_EQ(r.err.toStdString(), planMessageText(c.message, c.line, lang) + "\n")
                << command << ' ' << code;
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_FALSE(fs::exists(plans / "x.wav"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Refusals, PlanCliChecks,
                         ::testing::Values(Refusal{"", Message::noSections, 0},
                                           Refusal{"A 32 1 4 84\n\nB 32 1 4\n", Message::fieldCount,
                                                   2},
                                           Refusal{"A 300 1 4 84", Message::usulNumber, 1},
                                           Refusal{"A 32 1 4 84\nB 32 1-2 4 84", Message::dash, 2},
                                           Refusal{"A 32 -99 4 84", Message::circleNumber, 1},
                                           Refusal{"A 32 1 5 84", Message::unitNote, 1},
                                           Refusal{"A 32 1 4 209", Message::bpmTooHigh, 1},
                                           Refusal{"A 32 1 4 19", Message::bpmTooLow, 1},
                                           Refusal{"A 32 1 4 84>60>50", Message::greaterThan, 1},
                                           Refusal{"A 32 1 4 209>50", Message::introBpmTooHigh, 1},
                                           Refusal{"A 32 1 4 >50", Message::introBpmTooLow, 1},
                                           Refusal{"A 32 1 4 84>209", Message::finalBpmTooHigh, 1},
                                           Refusal{"A 32 1 4 84>", Message::finalBpmTooLow, 1},
                                           Refusal{"\n  \n", Message::noSections, 0}),
                         [](const auto& info) {
                             return "message" + std::to_string(int(info.param.message)) + "_line" +
                                    std::to_string(info.param.line) + "_" +
                                    std::to_string(info.index);
                         });

TEST_F(PlanCliTest, BadInputsAndUsage) {
    // A file name that cannot be a plan name, a file that is not there, a folder.
    const fs::path colon = writePlan("a:b.txt", "A 32 1 4 84");
    CliRun r = runCli({"check-plan", q(colon), "--lang", "en", "--dir", q(folder)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(),
              languageTexts(Language::English).message[Message::planFileName] + "\n");
    r = runCli({"check-plan", q(plans / "none.txt"), "--dir", q(folder)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(), "okunamıyor: " + (plans / "none.txt").string() + "\n");
    r = runCli({"check-plan", q(plans / "none.txt"), "--lang", "en", "--dir", q(folder)});
    EXPECT_EQ(r.err.toStdString(), "cannot read " + (plans / "none.txt").string() + "\n");
    // Bytes of any kind are read as code page 1254 text, and refused, not crashed on.
    std::string foreign;
    for (int i = 0; i < 256; ++i)
        foreign += char(i);
    r = runCli({"check-plan", q(writePlan("f.txt", foreign)), "--dir", q(folder)});
    EXPECT_EQ(r.exitCode, 1);
    // A plan too long for one sound file.
    r = runCli({"render-plan", q(writePlan("l.txt", "L 164 9999 2 20")), "--out",
                q(plans / "l.wav"), "--dir", q(folder)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(),
              languageTexts(Language::Turkish).message[Message::planTooLong] + "\n");
    EXPECT_FALSE(fs::exists(plans / "l.wav"));

    const fs::path ok = writePlan("ok.txt", "A 32 1 4 84");
    for (const QStringList& bad : {QStringList{"check-plan"}, QStringList{"render-plan", q(ok)},
                                   QStringList{"check-plan", q(ok), q(ok)}}) {
        r = runCli(bad + QStringList{"--dir", q(folder)});
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:"));
    }
    r = runCli({"--help"});
    EXPECT_TRUE(r.out.contains("check-plan FILE"));
    EXPECT_TRUE(r.out.contains("render-plan FILE --out OUT"));
    EXPECT_TRUE(fs::is_empty(folder));
}
