#include "app/cli/options.h"

#include "app/data_folder.h"
#include "plans/library_texts.h"
#include "sound/sample_bank.h"

#include <charconv>
#include <iostream>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace zerkavi::cli {

namespace {

bool writesExports(const std::string& command) {
    return command == "export" || command == "export-plan";
}

// A complaint found while reading, said once the language is known.
struct Complaint {
    CliText text;
    std::vector<std::string> args;
};

std::string said(const Options& o, const Complaint& c) {
    switch (c.args.size()) {
    case 0:
        return o.say(c.text);
    case 1:
        return o.say(c.text, {c.args[0]});
    default:
        return o.say(c.text, {c.args[0], c.args[1]});
    }
}

} // namespace

std::string Options::instrumentCode() const {
    return zerkavi::instrumentCode(instrumentOption(instrument));
}

int wholeNumber(const Options& o, const std::string& typed, const char* what) {
    int v = 0;
    const char* end = typed.data() + typed.size();
    auto [p, ec] = std::from_chars(typed.data(), end, v);
    if (ec != std::errc() || p != end) throw UsageError{o.say(CliText::wholeNumber, {what, typed})};
    return v;
}

void requireArgument(const Options& o, CliText takesOne, bool needsOut) {
    if (o.positional.size() != 1) throw UsageError{o.say(takesOne, {o.command})};
    if (needsOut && !o.out) throw UsageError{o.say(CliText::needsOut, {o.command})};
}

int slotArgument(const Options& o) {
    const int slot = wholeNumber(o, o.positional.at(0), "SLOT");
    if (slot < 1 || slot > kLastUsulSlot) throw Refusal{o.say(CliText::slotRange)};
    if (o.bpm < 20 || o.bpm > 250) throw Refusal{o.say(CliText::bpmRange)};
    return slot;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    if (auto installed = installedDataFolder(runningExecutableFolder())) o.dir = *installed;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<Complaint> first;
    const auto complain = [&](CliText t, std::vector<std::string> a = {}) {
        if (!first) first = Complaint{t, std::move(a)};
    };
    // Options only one kind of command takes, for the complaint once the command is known.
    std::vector<std::string> soundOnly, exportOnly, renderOnly;
    bool bpmGiven = false, cyclesGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string* {
            if (i + 1 < args.size()) return &args[++i];
            complain(CliText::needsValue, {a});
            return nullptr;
        };
        const auto number = [&](int& to) {
            if (const std::string* v = value()) {
                int n = 0;
                auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
                if (ec != std::errc() || p != v->data() + v->size())
                    complain(CliText::wholeNumber, {a, *v});
                else
                    to = n;
            }
        };
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--dir") {
            if (const std::string* v = value()) o.dir = fs::path(*v);
        } else if (a == "--lang") {
            if (const std::string* v = value()) {
                if (*v == "tr")
                    o.lang = Language::Turkish;
                else if (*v == "en")
                    o.lang = Language::English;
                else
                    complain(CliText::langValues);
            }
        } else if (a == "--medium")
            number(o.medium);
        else if (a == "--weak")
            number(o.weak);
        else if (a == "--bpm") {
            number(o.bpm);
            bpmGiven = true;
        } else if (a == "--unit")
            number(o.unit);
        else if (a == "--instrument") {
            if (const std::string* v = value()) o.instrument = *v;
        } else if (a == "--out") {
            if (const std::string* v = value()) o.out = fs::path(*v);
        } else if (a == "--looped" || a == "--schedule") {
            (a == "--looped" ? o.looped : o.schedule) = true;
            soundOnly.push_back(a);
        } else if (a == "--cycles" || a == "--dum-key" || a == "--tek-key") {
            number(a == "--cycles" ? o.cycles : a == "--dum-key" ? o.keys.dum : o.keys.tek);
            if (a == "--cycles")
                cyclesGiven = true; // render takes it too, for its practice sound
            else
                exportOnly.push_back(a);
        } else if (std::optional<CliText> error; takePracticeOption(args, i, o.practice, error)) {
            if (error) complain(*error, {a});
            renderOnly.push_back(a);
        } else if (a.size() > 1 && a[0] == '-')
            complain(CliText::unknownOption, {a});
        else if (o.command.empty())
            o.command = a;
        else
            o.positional.push_back(a);
    }
    if (first) throw UsageError{said(o, *first)};
    for (const std::string& a : writesExports(o.command) ? soundOnly : exportOnly)
        throw UsageError{o.say(CliText::unknownOption, {a})};
    if (cyclesGiven && !writesExports(o.command) && o.command != "render")
        throw UsageError{o.say(CliText::unknownOption, {"--cycles"})};
    if (!renderOnly.empty() && o.command != "render")
        throw UsageError{o.say(CliText::practiceWithRender)};
    if (o.help) return o;
    for (int percent : {o.medium, o.weak})
        if (percent < 20 || percent > 90 || percent % 10 != 0)
            throw UsageError{o.say(CliText::loudnessValues)};
    if (o.unit != 4 && o.unit != 8 && o.unit != 16) throw UsageError{o.say(CliText::unitValues)};
    if (instrumentOption(o.instrument) == 0) throw UsageError{o.say(CliText::instrumentValues)};
    if (o.cycles < 1) throw UsageError{o.say(CliText::cyclesValues)};
    for (int key : {o.keys.dum, o.keys.tek})
        if (key < 0 || key > 127) throw UsageError{o.say(CliText::keyValues)};
    if (cyclesGiven && o.command == "render") {
        if (o.cycles > kMaxCycles) throw UsageError{o.say(CliText::practiceCyclesValues)};
        o.practice.cycles = o.cycles;
    }
    if (const auto conflict = practiceConflict(o.practice, o.looped, o.schedule, bpmGiven))
        throw UsageError{o.say(*conflict)};
    return o;
}

void openLibrary(const Options& o, LibraryFile& library, const fs::path& elsewhere) {
    std::error_code ec;
    if (!fs::is_directory(o.dir, ec)) throw Refusal{o.say(CliText::noSuchFolder, {o.dir.string()})};
    fs::path path = o.dir / kLibraryFileName;
    if (!elsewhere.empty() && !fs::exists(path, ec)) path = elsewhere / kLibraryFileName;
    createLibraryIfMissing(path, defaultLibraryImage());
    // A damaged file is still listed and played as far as it holds whole slots; say once
    // what is wrong with it, as the editor does at start.
    if (const std::string problem = libraryProblemText(inspectLibrary(path), o.lang);
        !problem.empty())
        std::cerr << problem << '\n';
    if (!library.open(path)) throw Refusal{o.message(Message::loadError)};
}

fs::path prepareSoundFolder(const Options& o, const fs::path& privateFolder) {
    if (privateFolder.empty()) throw Refusal{o.say(CliText::noTemporaryFolder)};
    const fs::path sound = privateFolder / "zrkv";
    std::error_code ec;
    fs::create_directory(sound, ec);
    const SampleBankResult bank = prepareSampleBank(sound, o.mediumFactor(), o.weakFactor());
    for (const char* text : bank.messages)
        std::cerr << text << '\n';
    if (bank.fatal) throw Refusal{o.message(Message::soundFileError)};
    return sound;
}

} // namespace zerkavi::cli
