#include "app/cli/export_command.h"
#include "app/cli/private_folder.h"

#include "app/cli/picture_command.h"

#include "common/text_codec.h"
#include "exchange/export.h"
#include "plans/plan_format.h"
#include "plans/texts.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zerkavi::cli {

namespace fs = std::filesystem;

namespace {

struct UsageError {
    std::string what;
};
struct Refusal {
    std::string what;
};

struct Options {
    fs::path dir = ".";
    Language lang = Language::Turkish;
    int medium = 60, weak = 40;
    std::string command;
    std::vector<std::string> positional;
    int bpm = 150, unit = 8, cycles = 1;
    std::string instrument = "bendir";
    MidiKeys keys;
    bool help = false;
    std::optional<fs::path> out;
    std::optional<UsageError> error; // the first complaint, raised once the command is known
};

int toInt(std::string_view s, const char* option) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        throw UsageError{std::string(option) + " takes a whole number, not '" + std::string(s) +
                         "'"};
    return v;
}

Options parse(int argc, char** argv) {
    Options o;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        try {
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
                if (l != "tr" && l != "en") throw UsageError{"--lang takes tr or en"};
                o.lang = l == "tr" ? Language::Turkish : Language::English;
            } else if (a == "--medium")
                o.medium = toInt(value("--medium"), "--medium");
            else if (a == "--weak")
                o.weak = toInt(value("--weak"), "--weak");
            else if (a == "--bpm")
                o.bpm = toInt(value("--bpm"), "--bpm");
            else if (a == "--unit")
                o.unit = toInt(value("--unit"), "--unit");
            else if (a == "--cycles")
                o.cycles = toInt(value("--cycles"), "--cycles");
            else if (a == "--dum-key")
                o.keys.dum = toInt(value("--dum-key"), "--dum-key");
            else if (a == "--tek-key")
                o.keys.tek = toInt(value("--tek-key"), "--tek-key");
            else if (a == "--instrument")
                o.instrument = std::string(value("--instrument"));
            else if (a == "--out")
                o.out = fs::path(std::string(value("--out")));
            else if (a.size() > 1 && a[0] == '-')
                throw UsageError{"unknown option " + std::string(a)};
            else if (o.command.empty())
                o.command = std::string(a);
            else
                o.positional.emplace_back(a);
        } catch (const UsageError& e) {
            if (!o.error) o.error = e;
        }
    }
    return o;
}

void check(const Options& o) {
    if (o.error) throw *o.error;
    for (int percent : {o.medium, o.weak})
        if (percent < 20 || percent > 90 || percent % 10 != 0)
            throw UsageError{"--medium and --weak take 20, 30, ... 90"};
    if (o.unit != 4 && o.unit != 8 && o.unit != 16) throw UsageError{"--unit takes 4, 8 or 16"};
    if (o.instrument != "kudum" && o.instrument != "bendir" && o.instrument != "def")
        throw UsageError{"--instrument takes kudum, bendir or def"};
    if (o.cycles < 1) throw UsageError{"--cycles takes 1 or more"};
    for (int key : {o.keys.dum, o.keys.tek})
        if (key < 0 || key > 127) throw UsageError{"--dum-key and --tek-key take 0..127"};
    if (o.positional.size() != 1)
        throw UsageError{o.command +
                         (o.command == "export" ? " takes one SLOT" : " takes one PLANFILE")};
    if (!o.out) throw UsageError{o.command + " needs --out FILE"};
}

// The format of --out, refused with the formats the command writes.
ExportFormat formatOf(const Options& o) {
    const bool usul = o.command == "export";
    const std::span<const ExportFormat> writes =
        usul ? std::span<const ExportFormat>(kUsulExportFormats) : kPlanExportFormats;
    const std::string known = extensionList(writes);
    const auto f = exportFormatOf(*o.out);
    if (!f)
        throw UsageError{"cannot tell the format of " + o.out->string() + "; " + o.command +
                         " writes " + known};
    if (std::find(writes.begin(), writes.end(), *f) != writes.end()) return *f;
    throw UsageError{o.command + " does not write " + exportExtension(*f) + "; it writes " + known};
}

std::string message(const Options& o, Message m) {
    return languageTexts(o.lang).message[m];
}

std::string instrumentCodeOf(const Options& o) {
    return instrumentCode(instrumentOption(o.instrument));
}

// The library of the program folder, made from the built-in image when missing.
void openLibrary(const Options& o, LibraryFile& library) {
    std::error_code ec;
    if (!fs::is_directory(o.dir, ec)) throw Refusal{"no such folder: " + o.dir.string()};
    const fs::path libraryPath = o.dir / kLibraryFileName;
    createLibraryIfMissing(libraryPath, defaultLibraryImage());
    if (!library.open(libraryPath)) throw Refusal{message(o, Message::loadError)};
}

// The program folder as the editor prepares it (the library, the sample bank in the sound
// folder), as the other commands do.
fs::path prepareFolder(const Options& o, LibraryFile& library, const fs::path& privateFolder) {
    openLibrary(o, library);
    // The sample bank goes into the command's private folder, so nothing is left behind.
    if (privateFolder.empty()) throw Refusal{"no temporary folder"};
    const fs::path sound = privateFolder / "zrkv";
    std::error_code made;
    fs::create_directory(sound, made);
    const SampleBankResult bank =
        prepareSampleBank(sound, float((o.medium / 10) / 10.0), float((o.weak / 10) / 10.0));
    for (const char* text : bank.messages)
        std::cerr << text << '\n';
    if (bank.fatal) throw Refusal{message(o, Message::soundFileError)};
    return sound;
}

int report(const Options& o, const ExportResult& r) {
    for (WavStatus s : r.readerMessages)
        if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
    for (Message m : r.messages)
        std::cerr << message(o, m) << '\n';
    switch (r.status) {
    case ExportStatus::Ok:
        return 0;
    case ExportStatus::NoStrokes:
        if (r.messages.empty()) std::cerr << message(o, Message::noBeats) << '\n';
        return 1;
    case ExportStatus::WriteFailed:
        std::cerr << r.error << '\n';
        return 1;
    default:
        std::cerr << "nothing written\n";
        return 1;
    }
}

int exportUsulCommand(const Options& o) {
    const ExportFormat format = formatOf(o);
    const int slot = toInt(o.positional[0], "SLOT");
    if (slot < 1 || slot > kLastUsulSlot) throw Refusal{"slot must be 1..255"};
    if (o.bpm < 20 || o.bpm > 250) throw Refusal{"--bpm must be 20..250"};
    LibraryFile library;
    if (isPictureFormat(format)) {
        // A picture needs the library only: the sound folder is left alone.
        openLibrary(o, library);
        const auto usul = library.readUsul(slot);
        if (!usul) throw Refusal{message(o, Message::loadError)};
        const PictureResult r = writeUsulPicture(*usul, o.lang, *o.out);
        if (r.message != Message::none) throw Refusal{message(o, r.message)};
        if (!r.saved) throw Refusal{r.error};
        return 0;
    }
    const cli::PrivateFolder folder;
    const fs::path sound = prepareFolder(o, library, folder.path());
    const auto usul = library.readUsul(slot);
    if (!usul) throw Refusal{message(o, Message::loadError)};
    SampleReader reader;
    UsulExportSettings settings{o.bpm, o.unit, instrumentCodeOf(o), o.cycles, o.keys};
    return report(o, exportUsul(*usul, format, settings, sound, reader, *o.out));
}

int exportPlanCommand(const Options& o) {
    const ExportFormat format = formatOf(o);
    const fs::path planFile = o.positional[0];
    std::error_code ec;
    if (!fs::is_regular_file(planFile, ec))
        throw Refusal{"no such plan file: " + planFile.string()};
    const std::u32string text = readStoredPlanFile(planFile);
    if (text.empty()) throw Refusal{message(o, Message::noSections)};
    LibraryFile library;
    const cli::PrivateFolder folder;
    const fs::path sound = prepareFolder(o, library, folder.path());
    const UsulOfSlot readSlot = [&](int slot) { return library.readUsul(slot); };
    SampleReader reader;
    const std::u32string name = planNameFromFileName(fromUtf8(planFile.filename().string()));
    return report(o, exportPlan(name, text, format, readSlot, instrumentCodeOf(o), o.keys, sound,
                                reader, *o.out));
}

} // namespace

int runExportCommand(int argc, char** argv, const char* usage) {
    const Options o = parse(argc, argv);
    if (o.command != "export" && o.command != "export-plan") return -1;
    try {
        if (o.help) {
            std::cout << usage;
            return 0;
        }
        check(o);
        return o.command == "export" ? exportUsulCommand(o) : exportPlanCommand(o);
    } catch (const UsageError& e) {
        std::cerr << "zerkavi-cli: " << e.what << "\n\n" << usage;
        return 2;
    } catch (const Refusal& e) {
        std::cerr << e.what << '\n';
        return 1;
    }
}

} // namespace zerkavi::cli
