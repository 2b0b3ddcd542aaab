#include "app/cli/plan_commands.h"

#include "app/cli/private_folder.h"

#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "plans/plan_store.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace zerkavi::cli {

namespace {

// The command line's own refusals, in the language of --lang.
std::string say(Language lang, const char* english, const char* turkish, const std::string& what) {
    return std::string(lang == Language::English ? english : turkish) + what;
}

struct Refused {
    std::string what;
};

struct PlanFile {
    std::u32string text; // lines joined by CR LF, as the plan reader gives them
    std::u32string name; // the file name without ".txt", as the plan screen shows it
};

PlanFile readPlan(const PlanCommandOptions& o) {
    if (o.positional.size() != 1)
        throw PlanUsageError{say(o.lang, "the command takes one FILE", "komut bir DOSYA alır", "")};
    const fs::path file = o.positional[0];
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(file, ec))
        throw Refused{say(o.lang, "cannot read ", "okunamıyor: ", file.string())};
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return {planTextFromBytes(bytes), planNameFromFileName(fromUtf8(file.filename().string()))};
}

// The library the usul numbers refer to: the one of --dir, or, where there is none yet, the
// built-in library put into the private folder (the program folder is left as it is).
void openLibrary(const PlanCommandOptions& o, const fs::path& privateFolder, LibraryFile& library) {
    std::error_code ec;
    if (!fs::is_directory(o.dir, ec))
        throw Refused{say(o.lang, "no such folder: ", "böyle bir klasör yok: ", o.dir.string())};
    fs::path path = o.dir / kLibraryFileName;
    if (!fs::exists(path, ec)) {
        path = privateFolder / kLibraryFileName;
        createLibraryIfMissing(path, defaultLibraryImage());
    }
    if (!library.open(path)) throw Refused{languageTexts(o.lang).message[Message::loadError]};
}

PlanSaveResult check(const PlanFile& plan, const LibraryFile& library, Language lang) {
    PlanSaveResult r = checkPlanForSave(plan.text, plan.name, lastCircleReader(library));
    if (!r.ok()) throw Refused{planMessageText(r.message, r.line, lang)};
    return r;
}

int checkPlan(const PlanCommandOptions& o, std::ostream& out) {
    const PlanFile plan = readPlan(o);
    PrivateFolder folder;
    LibraryFile library;
    openLibrary(o, folder.path(), library);
    out << planFileBytes(check(plan, library, o.lang).normalisedText);
    return out.flush() ? 0 : 1;
}

int renderPlanFile(const PlanCommandOptions& o, std::ostream& out, std::ostream& err) {
    if (!o.out)
        throw PlanUsageError{
            say(o.lang, "render-plan needs --out OUT", "render-plan için --out ÇIKTI gerekir", "")};
    const PlanFile plan = readPlan(o);
    PrivateFolder folder;
    if (folder.path().empty())
        throw Refused{say(o.lang, "no temporary folder", "geçici klasör açılamadı", "")};
    LibraryFile library;
    openLibrary(o, folder.path(), library);
    const PlanSaveResult saved = check(plan, library, o.lang);

    // The sample bank as the editor makes it, in the private folder.
    const fs::path sound = folder.path() / "zrkv";
    fs::create_directory(sound);
    const SampleBankResult bank = prepareSampleBank(sound, o.mediumFactor, o.weakFactor);
    for (const char* text : bank.messages)
        err << text << '\n';
    if (bank.fatal) throw Refused{languageTexts(o.lang).message[Message::soundFileError]};

    // What Start plays is the stored plan: the normalised text Save wrote.
    UsulRecord current;
    SampleReader reader;
    const UsulOfSlot readSlot = [&library](int slot) { return library.readUsul(slot); };
    const PlanRenderResult r = renderPlan(saved.normalisedText, readSlot, current, sound, reader,
                                          o.instrumentCode, *o.out);
    if (r.refusal != Message::none) throw Refused{languageTexts(o.lang).message[r.refusal]};
    for (WavStatus s : r.readerMessages)
        if (const char* text = wavStatusMessage(s)) err << text << '\n';
    for (Message m : r.messages)
        err << languageTexts(o.lang).message[m] << '\n';
    if (!r.fileOk) {
        std::error_code ec;
        fs::remove(*o.out, ec);
        throw Refused{say(o.lang, "cannot write ", "yazılamıyor: ", o.out->string())};
    }
    for (std::size_t i = 0; i < r.sectionNames.size(); ++i)
        out << toUtf8(r.sectionNames[i]) << ' ' << r.sectionEndMs[i] << '\n';
    return out.flush() ? 0 : 1;
}

} // namespace

bool isPlanCommand(std::string_view command) {
    return command == "check-plan" || command == "render-plan";
}

int runPlanCommand(std::string_view command, const PlanCommandOptions& o, std::ostream& out,
                   std::ostream& err) {
    try {
        return command == "check-plan" ? checkPlan(o, out) : renderPlanFile(o, out, err);
    } catch (const Refused& r) {
        err << r.what << '\n';
        return 1;
    }
}

} // namespace zerkavi::cli
