// zerkavi-cli check-plan and render-plan run as a user runs them, against the editor's core
// (their refusals: cli_test).
#include "tests/support/cli_run.h"
#include "tests/support/support.h"

#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "plans/plan_store.h"
#include "sound/sample_bank.h"

#include <gtest/gtest.h>

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

class PlanCli : public ::testing::Test {
  protected:
    fs::path writePlan(const std::string& name, const std::string& text) {
        std::ofstream(plans / name, std::ios::binary) << text;
        return plans / name;
    }
    const TemporaryFolder programFolder, plansFolder;
    const fs::path &folder = programFolder.path(), &plans = plansFolder.path();
};

} // namespace

// check-plan gives byte for byte the text Save stores, render-plan the sound Start plays.
TEST_F(PlanCli, CheckAndRenderAsTheEditorDoes) {
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

    // Start renders the stored plan with the built-in usuls, on the bank at 60 % and 40 %.
    const fs::path bank = plans / "zrkv";
    ASSERT_FALSE(prepareSampleBank(bank, 0.6f, 0.4f).fatal);
    UsulRecord current;
    SampleReader reader;
    const PlanRenderResult sound =
        renderPlan(planTextFromBytes(kExampleSaved), builtInOrNone, current, bank, reader);
    EXPECT_TRUE(readBytes(out) == readBytes(bank / kPlanSoundFileName)) << "another sound";
    std::string ends;
    for (std::size_t i = 0; i < sound.sectionNames.size(); ++i)
        ends += toUtf8(sound.sectionNames[i]) + ' ' + std::to_string(sound.sectionEndMs[i]) + '\n';
    EXPECT_EQ(r.out.toStdString(), ends);
}
