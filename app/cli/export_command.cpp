#include "app/cli/export_command.h"

#include "app/cli/output_file.h"
#include "app/cli/picture_command.h"
#include "app/cli/private_folder.h"
#include "common/text_codec.h"
#include "exchange/export.h"
#include "plans/plan_format.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <span>
#include <string>

namespace zerkavi::cli {

namespace fs = std::filesystem;

namespace {

Refusal cannotWrite(const Options& o) {
    return Refusal{o.say(CliText::cannotWrite, {o.out->string()})};
}

bool usulCommand(const Options& o) {
    return o.command == "export";
}

// The format of --out, refused with the formats the command writes.
ExportFormat formatOf(const Options& o) {
    requireArgument(o, usulCommand(o) ? CliText::takesOneSlot : CliText::takesOnePlanFile, true);
    const std::span<const ExportFormat> writes =
        usulCommand(o) ? std::span<const ExportFormat>(kUsulExportFormats) : kPlanExportFormats;
    const std::string known = extensionList(writes);
    const auto f = exportFormatOf(*o.out);
    if (!f) throw UsageError{o.say(CliText::unknownFormat, {o.out->string(), o.command, known})};
    if (std::find(writes.begin(), writes.end(), *f) != writes.end()) return *f;
    throw UsageError{o.say(CliText::notWritten, {o.command, exportExtension(*f), known})};
}

// Says what the export reported; returns only when the file was written.
void report(const Options& o, const ExportResult& r) {
    for (WavStatus s : r.readerMessages)
        if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
    for (Message m : r.messages)
        std::cerr << o.message(m) << '\n';
    switch (r.status) {
    case ExportStatus::Ok:
        return;
    case ExportStatus::NoStrokes:
        throw Refusal{r.messages.empty() ? o.message(Message::noBeats) : std::string()};
    case ExportStatus::WriteFailed:
        throw cannotWrite(o);
    default:
        throw Refusal{o.say(CliText::nothingWritten)};
    }
}

void exportUsulCommand(const Options& o) {
    const ExportFormat format = formatOf(o);
    const int slot = slotArgument(o);
    LibraryFile library;
    openLibrary(o, library);
    if (isPictureFormat(format)) {
        // A picture needs the library only: the sound folder is left alone.
        const auto usul = library.readUsul(slot);
        if (!usul) throw Refusal{o.message(Message::loadError)};
        OutputFile file(*o.out);
        const PictureResult r = writeUsulPicture(*usul, o.lang, file.path());
        if (r.message != Message::none) throw Refusal{o.message(r.message)};
        if (file.path().empty() || !r.saved || !file.commit()) throw cannotWrite(o);
        return;
    }
    const PrivateFolder folder;
    const fs::path sound = prepareSoundFolder(o, folder.path());
    const auto usul = library.readUsul(slot);
    if (!usul) throw Refusal{o.message(Message::loadError)};
    SampleReader reader;
    UsulExportSettings settings{o.bpm, o.unit, o.instrumentCode(), o.cycles, o.keys};
    OutputFile file(*o.out);
    if (file.path().empty()) throw cannotWrite(o);
    report(o, exportUsul(*usul, format, settings, sound, reader, file.path()));
    if (!file.commit()) throw cannotWrite(o);
}

void exportPlanCommand(const Options& o) {
    const ExportFormat format = formatOf(o);
    const fs::path planFile = o.positional[0];
    std::error_code ec;
    if (!fs::is_regular_file(planFile, ec))
        throw Refusal{o.say(CliText::noSuchPlanFile, {planFile.string()})};
    const std::u32string text = readStoredPlanFile(planFile);
    if (text.empty()) throw Refusal{o.message(Message::noSections)};
    LibraryFile library;
    openLibrary(o, library);
    const PrivateFolder folder;
    const fs::path sound = prepareSoundFolder(o, folder.path());
    const UsulOfSlot readSlot = [&](int slot) { return library.readUsul(slot); };
    SampleReader reader;
    const std::u32string name = planNameFromFileName(fromUtf8(planFile.filename().string()));
    OutputFile file(*o.out);
    if (file.path().empty()) throw cannotWrite(o);
    report(o, exportPlan(name, text, format, readSlot, o.instrumentCode(), o.keys, sound, reader,
                         file.path()));
    if (!file.commit()) throw cannotWrite(o);
}

} // namespace

void runExportCommand(const Options& o) {
    if (usulCommand(o))
        exportUsulCommand(o);
    else
        exportPlanCommand(o);
}

} // namespace zerkavi::cli
