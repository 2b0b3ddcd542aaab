// The sample bank: three instruments × Düm and Tek × three loudness levels, eighteen WAV
// files in the sound folder. Only the six strong strokes are carried inside the program;
// the medium and weak files are scaled copies made with the two loudness factors.
//
// File names: instrument code + "D" or "T" + level digit + "1.---". The digits are 3/2/1
// for Düm strong/medium/weak and 6/5/4 for Tek.
#pragma once

#include "sound/embedded_samples.h"
#include "sound/wav.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zerkavi {

enum class Hand { Dum, Tek }; // Düm: right hand, upper line; Tek: left hand, lower line

inline constexpr int kInstruments = 3;
inline constexpr int kBankFiles = 18;

// "KUDUM" for option 1 (kudüm), "BENDR" for option 2 (bendir), "TEFOO" for anything else
// (def). Option 2 is selected when the program starts.
std::string instrumentCode(int instrumentOption);
// The option of an instrument word of the command line: "kudum" 1, "bendir" 2, "def" 3;
// 0 for any other word.
int instrumentOption(std::string_view word);

// The file a stroke plays: level 3 and level 0 (unset) take the strong file, 2 the medium,
// 1 the weak one. Other levels do not occur in a record and are played strong.
std::string sampleFileName(const std::string& instrumentCode, Hand hand, int level);

// All eighteen names, instrument by instrument, Düm strong/medium/weak then Tek.
std::array<std::string, kBankFiles> sampleBankFileNames();

// One embedded strong stroke and the name it is written under.
struct StrongSample {
    const char* fileName;
    std::span<const std::uint8_t> image; // a complete WAV file
};

// The six strong strokes in the order they are written: for each instrument Düm, then Tek.
// Our kudum_dum image is the Düm recording and goes to the D31 name, like the others.
// Inline on purpose: the images are compiled into the library that links after the core,
// so the reference has to come from the caller's side of the link.
inline std::array<StrongSample, 6> embeddedStrongSamples() {
    return {{{"KUDUMD31.---", embedded::kudum_dum()},
             {"KUDUMT61.---", embedded::kudum_tek()},
             {"BENDRD31.---", embedded::bendir_dum()},
             {"BENDRT61.---", embedded::bendir_tek()},
             {"TEFOOD31.---", embedded::def_dum()},
             {"TEFOOT61.---", embedded::def_tek()}}};
}

enum class LevelFileStatus {
    Written,
    FormatNotRecognized, // no data chunk: "File format not recognized!" shown, no file written
    SourceUnreadable,    // the bank cannot be prepared (Message::soundFileError)
    TargetUnwritable,    // the bank cannot be prepared (Message::soundFileError)
};

// Writes `target` as `source` scaled by `factor`. Each sample becomes the exact product of
// the sample and the single-precision factor (0.6f is 0.60000002384…), rounded to nearest,
// ties to even: with 0.6f, 10 → 6 and −32768 → −19661; with 0.5f, 5 → 2 and 7 → 4.
//
// The target gets the canonical 44-byte header with the source's channels, sample rate,
// byte rate, block align and bits, the same data size and no other chunk, then
// dataSize ÷ blockAlign samples read as mono 16-bit whatever the channel count says (a
// two-channel source therefore keeps only the first half of its data, under a header that
// still claims all of it).
LevelFileStatus MakeLevelFile(const std::filesystem::path& source,
                              const std::filesystem::path& target, float factor);

// The same on bytes in memory; empty when no data chunk is found.
std::vector<std::uint8_t> levelFileBytes(std::span<const std::uint8_t> source, float factor);

struct SampleBankResult {
    // True when the bank could not be made; the window then shows
    // messageText(Message::soundFileError) and closes.
    bool fatal = false;
    // Texts to show in an OK box, in order (wavStatusMessage texts), before a fatal message.
    std::vector<const char*> messages;
};

// Creates `soundFolder` when missing, writes the six strong files (overwriting), then for
// each strong file that exists its medium file with `mediumFactor` and its weak file with
// `weakFactor`. The factors are item ÷ 10 of the loudness menus, 0.6f and 0.4f at start-up;
// nothing keeps medium above weak. Any file that cannot be written, or a strong file that
// exists but cannot be read, ends the preparation as fatal.
// `strong` is embeddedStrongSamples() in the program; tests pass other images.
SampleBankResult prepareSampleBank(const std::filesystem::path& soundFolder, float mediumFactor,
                                   float weakFactor, std::span<const StrongSample, 6> strong);
inline SampleBankResult prepareSampleBank(const std::filesystem::path& soundFolder,
                                          float mediumFactor, float weakFactor) {
    const auto strong = embeddedStrongSamples();
    return prepareSampleBank(soundFolder, mediumFactor, weakFactor, strong);
}

} // namespace zerkavi
