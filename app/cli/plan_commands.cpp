#include "app/cli/plan_commands.h"

#include "app/cli/output_file.h"
#include "app/cli/private_folder.h"

#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "plans/plan_store.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace zerkavi::cli {

namespace {

struct PlanFile {
    std::u32string text; // lines joined by CR LF, as the plan reader gives them
    std::u32string name; // the file name without ".txt", as the plan screen shows it
};

PlanFile readPlan(const Options& o) {
    const fs::path file = o.positional[0];
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(file, ec))
        throw Refusal{o.say(CliText::cannotRead, {file.string()})};
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return {planTextFromBytes(bytes), planNameFromFileName(fromUtf8(file.filename().string()))};
}

PlanSaveResult check(const Options& o, const PlanFile& plan, const LibraryFile& library) {
    PlanSaveResult r = checkPlanForSave(plan.text, plan.name, lastCircleReader(library));
    if (!r.ok()) throw Refusal{planMessageText(r.message, r.line, o.lang)};
    return r;
}

// What both commands begin with: the plan named on the command line, and the library its
// usul numbers refer to. That is the library of --dir, or, where there is none yet, the
// built-in library put into the private folder: the program folder is left as it is.
struct OpenedPlan {
    OpenedPlan(const Options& o, bool needsOut) {
        requireArgument(o, CliText::takesOneFile, needsOut);
        plan = readPlan(o);
        folder.emplace();
        if (folder->path().empty()) throw Refusal{o.say(CliText::noTemporaryFolder)};
        openLibrary(o, library, folder->path());
    }
    PlanFile plan;
    std::optional<PrivateFolder> folder; // made only once the plan has been read
    LibraryFile library;
};

void checkPlan(const Options& o) {
    const OpenedPlan opened(o, false);
    std::cout << planFileBytes(check(o, opened.plan, opened.library).normalisedText);
}

void renderPlanFile(const Options& o) {
    const OpenedPlan opened(o, true);
    const LibraryFile& library = opened.library;
    const PlanSaveResult saved = check(o, opened.plan, library);
    const fs::path sound = prepareSoundFolder(o, opened.folder->path());

    // What Start plays is the stored plan: the normalised text Save wrote.
    UsulRecord current;
    SampleReader reader;
    const UsulOfSlot readSlot = [&library](int slot) { return library.readUsul(slot); };
    OutputFile file(*o.out);
    const PlanRenderResult r = renderPlan(saved.normalisedText, readSlot, current, sound, reader,
                                          o.instrumentCode(), file.path());
    if (r.refusal != Message::none) throw Refusal{o.message(r.refusal)};
    // Nothing to hear gives no file, as export-plan refuses the same plan.
    if (r.renderedSamples == 0) throw Refusal{o.message(Message::noBeats)};
    for (WavStatus s : r.readerMessages)
        if (const char* text = wavStatusMessage(s)) std::cerr << text << '\n';
    for (Message m : r.messages)
        std::cerr << o.message(m) << '\n';
    if (file.path().empty() || !r.fileOk || !file.commit())
        throw Refusal{o.say(CliText::cannotWrite, {o.out->string()})};
    for (std::size_t i = 0; i < r.sectionNames.size(); ++i)
        std::cout << toUtf8(r.sectionNames[i]) << ' ' << r.sectionEndMs[i] << '\n';
}

} // namespace

void runPlanCommand(const Options& o) {
    if (o.command == "check-plan")
        checkPlan(o);
    else
        renderPlanFile(o);
}

} // namespace zerkavi::cli
