// zerkavi-cli render with the practice options, as a user runs it: the plain render stays
// as it was, each option changes the sound it names, nonsense is a usage error.
#include "tests/support/cli_run.h"
#include "tests/support/support.h"

#include "sound/usul_render.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class PracticeCli : public ::testing::Test {
  protected:
    // The samples of `render 32` (Düyek) with `options`; empty when it failed.
    Bytes render(QStringList options, int* exitCode = nullptr) {
        const QString out = QString::fromStdString((dir.path() / "out.wav").string());
        std::filesystem::remove(out.toStdString());
        const CliRun r = runCli(QStringList{"--dir", QString::fromStdString(dir.path().string()),
                                            "render", "32", "--out", out} +
                                options);
        if (exitCode) *exitCode = r.exitCode;
        const Bytes b = readBytes<std::uint8_t>(out.toStdString());
        return b.size() < 44 ? Bytes{} : Bytes(b.begin() + 44, b.end());
    }
    TemporaryFolder dir;
    const Bytes plain = render({});
    // One eighth at the default 150 to the eighth, in bytes.
    const std::size_t beatBytes = 2 * 8 * std::size_t(usulTiming(64, 150, 8).samplesPer64th);
};

TEST_F(PracticeCli, EachOptionChangesWhatItNames) {
    ASSERT_FALSE(plain.empty());
    Bytes three = plain;
    for (int k = 0; k < 2; ++k)
        three.insert(three.end(), plain.begin(), plain.end());
    EXPECT_EQ(render({"--cycles", "3"}), three);
    const Bytes counted = render({"--count-in", "4"});
    ASSERT_EQ(counted.size(), plain.size() + 4 * beatBytes);
    EXPECT_TRUE(
        std::equal(plain.begin(), plain.end(), counted.begin() + std::ptrdiff_t(4 * beatBytes)));
    for (const char* hand : {"dum", "tek"}) {
        const Bytes muted = render({"--mute", hand});
        EXPECT_EQ(muted.size(), plain.size());
        EXPECT_NE(muted, plain) << hand;
    }
    EXPECT_NE(render({"--click"}), plain);
    const std::size_t trained = render({"--speed-trainer", "100:10:1:120"}).size();
    std::size_t expected = 0;
    for (int bpm : {100, 110, 120})
        expected += 2 * std::size_t(usulTiming(64, bpm, 8).cycleSamples);
    EXPECT_EQ(trained, expected);
}

} // namespace
