// zerkavi-cli: the library and the renderer of the editor without its window, for
// preparing practice recordings and checking renders. It shares the editor's core, makes
// the library in its program folder as the editor does, and keeps its sample bank in a
// private temporary folder.
//
// Exit codes: 0 success, 1 refused input (the program's own message on stderr),
// 2 usage error.
#include "app/cli/export_command.h"
#include "app/cli/options.h"
#include "app/cli/output_file.h"
#include "app/cli/plan_commands.h"
#include "app/cli/practice_options.h"
#include "app/cli/private_folder.h"
#include "common/text_codec.h"
#include "sound/usul_render.h"
#include "usul/browser.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace zerkavi;
using namespace zerkavi::cli;

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
    kPlanUsage +
    "\n"
    "Global options (before or after the command):\n"
    "  --dir D                    program folder holding usuller.usl (default: the current\n"
    "                             folder; ~/.local/share/zerkavi when installed)\n"
    "  --lang tr|en               language of messages (default tr)\n"
    "  --medium P, --weak P       loudness of medium and weak strokes, 20..90 percent in\n"
    "                             steps of 10 (defaults 60 and 40)\n"
    "  --help                     this text\n";

void list(const Options& o) {
    LibraryFile library;
    openLibrary(o, library);
    for (int slot = 1; slot <= kLastUsulSlot; ++slot) {
        std::string line =
            toUtf8(UsulListItem(slot, library.readUsul(slot).value_or(UsulRecord{})));
        // Control characters of an old or damaged slot would break the one-line-a-slot
        // listing or drive the terminal, so they are listed as blanks.
        for (char& c : line)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        std::cout << line << '\n';
    }
}

void render(const Options& o) {
    requireArgument(o, CliText::takesOneSlot, true);
    const int slot = slotArgument(o);
    LibraryFile library;
    openLibrary(o, library);
    const PrivateFolder folder;
    const fs::path sound = prepareSoundFolder(o, folder.path());
    const auto usul = library.readUsul(slot);
    if (!usul) throw Refusal{o.message(Message::loadError)};
    // As on screen, the total comes from the circles, not from the stored field.
    if (sumOfStrokes(*usul) == 0) throw Refusal{o.message(Message::noBeats)};
    SampleReader reader;
    if (o.practice.any()) {
        const PracticeOptions& p = o.practice;
        const PracticeRender r =
            renderPractice(*usul, UsulRenderSettings{o.bpm, o.unit, o.instrumentCode(), false},
                           {p.countIn, p.click, PracticeSettings{}.clickVolume, p.mute},
                           practiceTempos(p, o.bpm), sound, reader);
        for (WavStatus s : r.messages)
            if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
        if (r.status != UsulRenderStatus::Ok) throw Refusal{o.message(Message::noBeats)};
        const WavHeader h =
            BuildWavHeader(std::uint32_t(r.samples.size()), 1, kSampleRate, kBitsPerSample);
        OutputFile file(*o.out);
        if (file.path().empty() || !writeWavFile(file.path(), h, r.samples) || !file.commit())
            throw Refusal{o.say(CliText::cannotWrite, {o.out->string()})};
        return;
    }
    const UsulRender r = placeUsul(
        *usul, UsulRenderSettings{o.bpm, o.unit, o.instrumentCode(), o.looped}, sound, reader);
    for (WavStatus s : r.messages)
        if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
    if (r.status != UsulRenderStatus::Ok) throw Refusal{o.message(Message::noBeats)};
    OutputFile file(*o.out);
    if (file.path().empty() || !writeUsulFile(file.path(), r) || !file.commit())
        throw Refusal{o.say(CliText::cannotWrite, {o.out->string()})};
    if (o.schedule)
        for (int k = 1; k <= r.strokeCount(); ++k) {
            const ScheduledStroke& s = r.stroke(k);
            std::cout << k << ' ' << s.x << ' ' << s.row << ' ' << s.endMs << '\n';
        }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = parseOptions(argc, argv);
        if (o.help) {
            std::cout << kUsage;
        } else if (o.command == "list") {
            list(o);
        } else if (o.command == "render") {
            render(o);
        } else if (o.command == "export" || o.command == "export-plan") {
            runExportCommand(o);
        } else if (o.command == "check-plan" || o.command == "render-plan") {
            runPlanCommand(o);
        } else {
            throw UsageError{o.command.empty() ? o.say(CliText::noCommand)
                                               : o.say(CliText::unknownCommand, {o.command})};
        }
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const UsageError& e) {
        std::cerr << "zerkavi-cli: " << e.what << "\n\n" << kUsage;
        return 2;
    } catch (const Refusal& e) {
        if (!e.what.empty()) std::cerr << e.what << '\n'; // else already said

        return 1;
    }
}
