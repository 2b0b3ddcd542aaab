// zerkavi-cli: the library and the renderer of the editor without its window, for
// preparing practice recordings and checking renders. It shares the editor's core, makes
// the library in its program folder as the editor does, and keeps its sample bank in a
// private temporary folder.
//
// Exit codes: 0 success, 1 refused input (the program's own message on stderr),
// 2 usage error.
#include "app/cli/export_command.h"
#include "app/cli/plan_commands.h"
#include "app/cli/practice_options.h"
#include "app/cli/private_folder.h"
#include "app/data_folder.h"
#include "common/text_codec.h"
#include "plans/texts.h"
#include "sound/sample_bank.h"
#include "sound/usul_render.h"
#include "usul/browser.h"
#include "usul/library_file.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace zerkavi;

namespace {

const std::string kUsage =
    std::string(
        "usage: zerkavi-cli [global options] COMMAND [options]\n"
        "\n"
        "Commands:\n"
        "  list                       the 255 library slots, one line each\n"
        "  render SLOT --out FILE     the sound the Start button makes for that slot's usul\n"
        "      [--bpm N]              metronome value 20..250 (default 150)\n"
        "      [--unit 4|8|16]        the note the metronome counts (default 8)\n"
        "      [--instrument kudum|bendir|def]  (default bendir)\n"
        "      [--looped]             repeat the cycle to fill about two minutes\n"
        "      [--schedule]           print 'index strokeX strokeRow strokeEndMs' per "
        "stroke\n" +
        std::string(cli::kPracticeUsage) +
        "  export SLOT --out FILE     the usul as a file: .wav .flac .ogg .mp3 .mid .musicxml "
        ".ly,\n"
        "                             or its notation: .png .pdf .svg .jpg\n"
        "      [--bpm N] [--unit 4|8|16] [--instrument kudum|bendir|def]  as for render\n"
        "      [--cycles N]           cycles of sound and MIDI (default: once, as Start plays)\n"
        "      [--dum-key K] [--tek-key K]  MIDI percussion keys (defaults 64 and 63)\n"
        "  export-plan PLANFILE --out FILE  a saved work plan: .wav .flac .ogg .mp3 .mid\n"
        "      [--instrument kudum|bendir|def] [--dum-key K] [--tek-key K]\n") +
    cli::kPlanUsage +
    "\n"
    "Global options (before or after the command):\n"
    "  --dir D                    program folder holding usuller.usl (default: the current\n"
    "                             folder; ~/.local/share/zerkavi when installed)\n"
    "  --lang tr|en               language of messages (default tr)\n"
    "  --medium P, --weak P       loudness of medium and weak strokes, 20..90 percent in\n"
    "                             steps of 10 (defaults 60 and 40)\n"
    "  --help                     this text\n";

struct UsageError {
    std::string what;
};
struct Refusal {
    std::string what;
};

int toInt(std::string_view s, const char* option) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        throw UsageError{std::string(option) + " takes a whole number, not '" + std::string(s) +
                         "'"};
    return v;
}

struct Options {
    fs::path dir = ".";
    Language lang = Language::Turkish;
    int medium = 60, weak = 40;
    std::string command;
    std::vector<std::string> positional;
    int bpm = 150, unit = 8;
    std::string instrument = "bendir";
    bool looped = false, schedule = false, help = false, bpmGiven = false;
    std::optional<fs::path> out;
    cli::PracticeOptions practice;
};

Options parse(int argc, char** argv) {
    Options o;
    if (auto installed = installedDataFolder(runningExecutableFolder())) o.dir = *installed;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        auto value = [&](const char* option) -> std::string_view {
            if (i + 1 >= args.size()) throw UsageError{std::string(option) + " needs a value"};
            return args[++i];
        };
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--dir")
            o.dir = fs::path(std::string(value("--dir")));
        else if (a == "--lang") {
            const auto l = value("--lang");
            if (l == "tr")
                o.lang = Language::Turkish;
            else if (l == "en")
                o.lang = Language::English;
            else
                throw UsageError{"--lang takes tr or en"};
        } else if (a == "--medium")
            o.medium = toInt(value("--medium"), "--medium");
        else if (a == "--weak")
            o.weak = toInt(value("--weak"), "--weak");
        else if (a == "--bpm") {
            o.bpm = toInt(value("--bpm"), "--bpm");
            o.bpmGiven = true;
        } else if (a == "--unit")
            o.unit = toInt(value("--unit"), "--unit");
        else if (a == "--instrument")
            o.instrument = std::string(value("--instrument"));
        else if (a == "--out")
            o.out = fs::path(std::string(value("--out")));
        else if (a == "--looped")
            o.looped = true;
        else if (a == "--schedule")
            o.schedule = true;
        else if (std::string error; cli::takePracticeOption(args, i, o.practice, error)) {
            if (!error.empty()) throw UsageError{error};
        } else if (a.size() > 1 && a[0] == '-')
            throw UsageError{"unknown option " + std::string(a)};
        else if (o.command.empty())
            o.command = std::string(a);
        else
            o.positional.emplace_back(a);
    }
    for (int percent : {o.medium, o.weak})
        if (percent < 20 || percent > 90 || percent % 10 != 0)
            throw UsageError{"--medium and --weak take 20, 30, ... 90"};
    if (o.unit != 4 && o.unit != 8 && o.unit != 16) throw UsageError{"--unit takes 4, 8 or 16"};
    if (instrumentOption(o.instrument) == 0)
        throw UsageError{"--instrument takes kudum, bendir or def"};
    if (const std::string conflict =
            cli::practiceConflict(o.practice, o.looped, o.schedule, o.bpmGiven);
        !conflict.empty())
        throw UsageError{conflict};
    if (o.practice.any() && o.command != "render")
        throw UsageError{
            "--count-in, --click, --mute, --cycles and --speed-trainer go with render"};
    return o;
}

// The command line's own messages, in the language of --lang.
std::string say(const Options& o, const char* english, const char* turkish) {
    return o.lang == Language::English ? english : turkish;
}

std::string message(const Options& o, Message m) {
    return languageTexts(o.lang).message[m];
}

// The program folder as the editor prepares it: the library made from the built-in image
// when missing (an existing file is never touched). The sound folder with the bank is made
// in `privateFolder`, which goes when the command ends.
fs::path prepareFolder(const Options& o, LibraryFile& library, const fs::path& privateFolder) {
    std::error_code ec;
    if (!fs::is_directory(o.dir, ec))
        throw Refusal{say(o, "no such folder: ", "böyle bir klasör yok: ") + o.dir.string()};
    const fs::path libraryPath = o.dir / kLibraryFileName;
    createLibraryIfMissing(libraryPath, defaultLibraryImage());
    if (!library.open(libraryPath)) throw Refusal{message(o, Message::loadError)};
    if (privateFolder.empty())
        throw Refusal{say(o, "no temporary folder", "geçici klasör açılamadı")};
    const fs::path sound = privateFolder / "zrkv";
    fs::create_directory(sound, ec);
    // Factors are the menu item (percent ÷ 10) divided by 10, in single precision.
    const SampleBankResult bank =
        prepareSampleBank(sound, float((o.medium / 10) / 10.0), float((o.weak / 10) / 10.0));
    for (const char* text : bank.messages)
        std::cerr << text << '\n';
    if (bank.fatal) throw Refusal{message(o, Message::soundFileError)};
    return sound;
}

int list(const Options& o) {
    LibraryFile library;
    const fs::path libraryPath = o.dir / kLibraryFileName;
    std::error_code ec;
    if (!fs::is_directory(o.dir, ec))
        throw Refusal{say(o, "no such folder: ", "böyle bir klasör yok: ") + o.dir.string()};
    createLibraryIfMissing(libraryPath, defaultLibraryImage());
    if (!library.open(libraryPath)) throw Refusal{message(o, Message::loadError)};
    for (int slot = 1; slot <= kLastUsulSlot; ++slot) {
        std::string line =
            toUtf8(UsulListItem(slot, library.readUsul(slot).value_or(UsulRecord{})));
        for (char& c : line)
            if (c == '\0') c = ' ';
        std::cout << line << '\n';
    }
    return std::cout ? 0 : 1;
}

int render(const Options& o) {
    if (o.positional.size() != 1) throw UsageError{"render takes one SLOT"};
    if (!o.out) throw UsageError{"render needs --out FILE"};
    const int slot = toInt(o.positional[0], "SLOT");
    if (slot < 1 || slot > kLastUsulSlot)
        throw Refusal{say(o, "slot must be 1..255", "usul numarası 1..255 olmalı")};
    if (o.bpm < 20 || o.bpm > 250)
        throw Refusal{say(o, "--bpm must be 20..250", "--bpm 20..250 olmalı")};
    LibraryFile library;
    const cli::PrivateFolder folder;
    const fs::path sound = prepareFolder(o, library, folder.path());
    const auto usul = library.readUsul(slot);
    if (!usul) throw Refusal{message(o, Message::loadError)};
    // As on screen, the total comes from the circles, not from the stored field.
    if (sumOfStrokes(*usul) == 0) throw Refusal{message(o, Message::noBeats)};
    const std::string code = instrumentCode(instrumentOption(o.instrument));
    SampleReader reader;
    if (o.practice.any()) {
        const cli::PracticeOptions& p = o.practice;
        const std::vector<int> tempos = cli::practiceTempos(p, o.bpm);
        const PracticeRender r = renderPractice(
            *usul, UsulRenderSettings{o.bpm, o.unit, code, false},
            {p.countIn, p.click, PracticeSettings{}.clickVolume, p.mute}, tempos, sound, reader);
        for (WavStatus s : r.messages)
            if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
        if (r.status != UsulRenderStatus::Ok) throw Refusal{message(o, Message::noBeats)};
        const WavHeader h =
            BuildWavHeader(std::uint32_t(r.samples.size()), 1, kSampleRate, kBitsPerSample);
        if (!writeWavFile(*o.out, h, r.samples))
            throw Refusal{say(o, "cannot write ", "yazılamıyor: ") + o.out->string()};
        return 0;
    }
    const UsulRender r =
        placeUsul(*usul, UsulRenderSettings{o.bpm, o.unit, code, o.looped}, sound, reader);
    for (WavStatus s : r.messages)
        if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
    if (r.status != UsulRenderStatus::Ok) throw Refusal{message(o, Message::noBeats)};
    if (!writeUsulFile(*o.out, r))
        throw Refusal{say(o, "cannot write ", "yazılamıyor: ") + o.out->string()};
    if (o.schedule)
        for (int k = 1; k <= r.strokeCount(); ++k) {
            const ScheduledStroke& s = r.stroke(k);
            std::cout << k << ' ' << s.x << ' ' << s.row << ' ' << s.endMs << '\n';
        }
    return 0;
}

cli::PlanCommandOptions planOptions(const Options& o) {
    const std::string code = instrumentCode(instrumentOption(o.instrument));
    return {o.dir,
            o.lang,
            o.positional,
            o.out,
            code,
            float((o.medium / 10) / 10.0),
            float((o.weak / 10) / 10.0)};
}

} // namespace

int main(int argc, char** argv) {
    if (const int code = cli::runExportCommand(argc, argv, kUsage.c_str()); code >= 0) return code;
    try {
        const Options o = parse(argc, argv);
        if (o.help) {
            std::cout << kUsage;
            return 0;
        }
        if (o.command == "list") return list(o);
        if (o.command == "render") return render(o);
        if (cli::isPlanCommand(o.command))
            return cli::runPlanCommand(o.command, planOptions(o), std::cout, std::cerr);
        throw UsageError{o.command.empty() ? "no command given" : "unknown command " + o.command};
    } catch (const UsageError& e) {
        std::cerr << "zerkavi-cli: " << e.what << "\n\n" << kUsage;
        return 2;
    } catch (const cli::PlanUsageError& e) {
        std::cerr << "zerkavi-cli: " << e.what << "\n\n" << kUsage;
        return 2;
    } catch (const Refusal& e) {
        std::cerr << e.what << '\n';
        return 1;
    }
}
