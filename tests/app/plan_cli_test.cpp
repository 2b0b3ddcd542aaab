// zerkavi-cli check-plan and render-plan run as a user runs them, against the window.
#include "tests/support/cli_run.h"
#include "tests/support/window_fixture.h"

#include "common/text_codec.h"
#include "plans/plan_format.h"

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

// The worked example as a user types it (blanks as they come, LF line ends), and as saved.
const char* const kExample = "Birinci_hane 165 2 4 84\nTeslim_ilk   165 1 4 84\n"
                             "  Teslim_son 165 -48 4 84\n\nFinal 165 49- 4 84>50\n";
const char* const kExampleSaved = "Birinci_hane       165   2     4    84     \r\n"
                                  "Teslim_ilk         165   1     4    84     \r\n"
                                  "Teslim_son         165   -48   4    84     \r\n"
                                  "Final              165   49-   4    84>50  \r\n";

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

class PlanCli : public WindowTest {
  protected:
    fs::path writePlan(const std::string& name, const std::string& text) {
        std::ofstream(plans / name, std::ios::binary) << text;
        return plans / name;
    }
    void TearDown() override {
        fs::remove_all(plans);
        WindowTest::TearDown();
    }
    fs::path plans = makeTemporaryFolder();
};

using M = Message;
struct Bad {
    const char* plan;
    Message message;
    int line;
    const char* file = "p.txt"; // a name that cannot be a plan name is refused too
};
class PlanCliChecks : public PlanCli, public ::testing::WithParamInterface<Bad> {};

} // namespace

// check-plan and render-plan give byte for byte what Save and Start of the window write.
TEST_F(PlanCli, CheckAndRenderAsTheWindowDoes) {
    const fs::path tmp = plans / "tmp", file = writePlan("Muhammes.txt", kExample);
    const fs::path out = plans / "eser.wav";
    fs::create_directory(tmp);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), q(tmp));
    const CliRun check = runCli({"check-plan", q(file), "--dir", q(folder)}, env);
    ASSERT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_EQ(check.out.toStdString(), kExampleSaved);
    const CliRun r = runCli({"render-plan", q(file), "--out", q(out), "--dir", q(folder)}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(check.err.isEmpty() && r.err.isEmpty());
    EXPECT_TRUE(fs::is_empty(folder)) << "no library, no sound folder in the program folder";
    EXPECT_TRUE(fs::is_empty(tmp)) << "the private folder went, with the sample bank";

    ASSERT_TRUE(start()); // the same plan saved and started on the plan screen
    window->slideWaitMs = 0;
    window->Option4->click();
    window->Text9->setText(QStringLiteral("Muhammes"));
    window->Text14->setPlainText(QString::fromUtf8(kExample));
    window->Command8_Click();
    const auto saved = readBytes(folder / "zrkv" / "Muhammes.txt");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), kExampleSaved);
    window->media.forceClock();
    window->List3->setCurrentRow(0);
    window->Command4->click();
    window->Command3->click();
    const auto eser = readBytes(folder / "zrkv" / "Eser.---");
    ASSERT_GT(eser.size(), 44u);
    EXPECT_TRUE(readBytes(out) == eser) << "the sound differs from the window's";
    std::string ends;
    for (std::size_t i = 0; i < window->plan.sectionNames.size(); ++i)
        ends += toUtf8(window->plan.sectionNames[i]) + ' ' +
                std::to_string(window->plan.sectionEndMs[i]) + '\n';
    EXPECT_EQ(r.out.toStdString(), ends);
}

// The core tests hold every check; these prove the messages and lines reach the user.
TEST_P(PlanCliChecks, ARefusalNamesItsLineInBothLanguages) {
    const Bad& c = GetParam();
    const fs::path file = writePlan(c.file, c.plan);
    for (auto [lang, code] : {std::pair{Language::Turkish, "tr"}, {Language::English, "en"}})
        for (const char* command : {"check-plan", "render-plan"}) {
            const CliRun r = runCli({command, q(file), "--lang", code, "--dir", q(folder), "--out",
                                     q(plans / "x.wav")});
            EXPECT_EQ(r.exitCode, 1) << command;
            EXPECT_EQ(r.err.toStdString(), planMessageText(c.message, c.line, lang) + "\n");
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_FALSE(fs::exists(plans / "x.wav"));
        }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Refusals, PlanCliChecks, ::testing::Values(
    Bad{"\n  \n", M::noSections, 0}, Bad{"A 32 1 4 84\nB 32 1-2 4 84", M::dash, 2},
    Bad{"A 32 1 4 84\n\nB 32 1 4 84>\n", M::finalBpmTooLow, 2},
    Bad{"A 1 1 4 84", M::planFileName, 0, "a:b.txt"}));
// clang-format on
