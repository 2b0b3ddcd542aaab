// The command line of zerkavi-cli, read once for every command: global options, the
// command, its arguments and the options of the commands, checked in the language of
// --lang. What the commands share besides: the way they refuse and the program folder.
#pragma once

#include "app/cli/cli_texts.h"
#include "app/cli/practice_options.h"
#include "exchange/midi.h"
#include "plans/texts.h"
#include "usul/library_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zerkavi::cli {

// A command line that cannot be run: the complaint, printed with the usage text (exit 2).
struct UsageError {
    std::string what;
};

// Input the program refuses: its message, printed alone (exit 1).
struct Refusal {
    std::string what;
};

struct Options {
    std::filesystem::path dir = "."; // the program folder
    Language lang = Language::Turkish;
    int medium = 60, weak = 40; // loudness of medium and weak strokes, in percent
    std::string command;
    std::vector<std::string> positional;
    int bpm = 150, unit = 8, cycles = 1;
    std::string instrument = "bendir";
    MidiKeys keys;
    bool looped = false, schedule = false, help = false;
    std::optional<std::filesystem::path> out;
    PracticeOptions practice; // render only

    std::string say(CliText t, std::initializer_list<std::string_view> args = {}) const {
        return cliText(t, lang, args);
    }
    std::string message(Message m) const { return languageTexts(lang).message[m]; }
    // The sample code of --instrument (KUDUM, BENDR or TEFOO).
    std::string instrumentCode() const;
    // The factors of the loudness menu: its item (percent ÷ 10) divided by 10, in single
    // precision, as the editor computes them.
    float mediumFactor() const { return float((medium / 10) / 10.0); }
    float weakFactor() const { return float((weak / 10) / 10.0); }
};

// Reads the command line; throws UsageError for the first complaint, in the language of
// --lang wherever on the line it stands. Options of another command are refused as unknown.
Options parseOptions(int argc, char** argv);

// A whole number typed for `what`, or a UsageError.
int wholeNumber(const Options& o, const std::string& typed, const char* what);

// The command's one argument (`takesOne` complains otherwise) and, when `needsOut`, --out.
void requireArgument(const Options& o, CliText takesOne, bool needsOut);

// The SLOT of render and export: a whole number 1..255, played at a --bpm of 20..250.
int slotArgument(const Options& o);

// The library of the program folder. When it is missing it is made from the built-in image
// in the program folder, as the editor does, or in `elsewhere` when that is given (the
// program folder then stays as it is). An existing file is never touched.
void openLibrary(const Options& o, LibraryFile& library,
                 const std::filesystem::path& elsewhere = {});

// The sample bank as the editor makes it, in the sound folder "zrkv" below `privateFolder`;
// returns that sound folder. Sample-file complaints go to stderr.
std::filesystem::path prepareSoundFolder(const Options& o,
                                         const std::filesystem::path& privateFolder);

} // namespace zerkavi::cli
