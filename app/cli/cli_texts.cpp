#include "app/cli/cli_texts.h"

#include <iterator>

namespace zerkavi::cli {

namespace {

struct Text {
    CliText id;
    const char* english;
    const char* turkish;
};

// clang-format off
const Text kTexts[] = {
    {CliText::needsValue, "%1 needs a value", "%1 bir değer ister"},
    {CliText::wholeNumber, "%1 takes a whole number, not '%2'", "%1 bir tam sayı ister, '%2' değil"},
    {CliText::langValues, "--lang takes tr or en", "--lang tr veya en alır"},
    {CliText::unknownOption, "unknown option %1", "bilinmeyen seçenek %1"},
    {CliText::loudnessValues, "--medium and --weak take 20, 30, ... 90", "--medium ve --weak 20, 30, ... 90 alır"},
    {CliText::unitValues, "--unit takes 4, 8 or 16", "--unit 4, 8 veya 16 alır"},
    {CliText::instrumentValues, "--instrument takes kudum, bendir or def", "--instrument kudum, bendir veya def alır"},
    {CliText::cyclesValues, "--cycles takes 1 or more", "--cycles 1 veya daha büyük bir sayı alır"},
    {CliText::countInValues, "--count-in takes 0..8", "--count-in 0..8 alır"},
    {CliText::practiceCyclesValues, "--cycles of render takes 1..999", "render için --cycles 1..999 alır"},
    {CliText::muteValues, "--mute takes dum or tek", "--mute dum veya tek alır"},
    {CliText::trainerValues, "--speed-trainer takes START:STEP:EVERY:FINAL, tempos 20..250, EVERY at least 1 and a STEP that leads from START to FINAL", "--speed-trainer BAŞLANGIÇ:ADIM:HER:SON alır; tempolar 20..250, HER en az 1, ADIM da BAŞLANGIÇ'tan SON'a götürmeli"},
    {CliText::loopedWithPractice, "--looped goes with neither --cycles nor --speed-trainer", "--looped, --cycles ve --speed-trainer ile birlikte kullanılamaz"},
    {CliText::scheduleWithPractice, "--schedule goes with the plain render only", "--schedule yalnızca düz render ile kullanılır"},
    {CliText::trainerWithBpm, "--speed-trainer sets the tempo; leave out --bpm", "--speed-trainer tempoyu kendisi belirler; --bpm verilmez"},
    {CliText::practiceWithRender, "--count-in, --click, --mute and --speed-trainer go with render", "--count-in, --click, --mute ve --speed-trainer yalnızca render ile kullanılır"},
    {CliText::keyValues, "--dum-key and --tek-key take 0..127", "--dum-key ve --tek-key 0..127 alır"},
    {CliText::takesOneSlot, "%1 takes one SLOT", "%1 tek bir SLOT (usul numarası) alır"},
    {CliText::takesOnePlanFile, "%1 takes one PLANFILE", "%1 tek bir PLANFILE (plan dosyası) alır"},
    {CliText::takesOneFile, "%1 takes one FILE", "%1 tek bir FILE (dosya) alır"},
    {CliText::needsOut, "%1 needs --out FILE", "%1 için --out FILE gerekir"},
    {CliText::unknownFormat, "cannot tell the format of %1; %2 writes %3", "%1 dosyasının biçimi anlaşılamadı; %2 şunları yazar: %3"},
    {CliText::notWritten, "%1 does not write %2; it writes %3", "%1 %2 yazmaz; yazdıkları: %3"},
    {CliText::noCommand, "no command given", "komut verilmedi"},
    {CliText::unknownCommand, "unknown command %1", "bilinmeyen komut %1"},
    {CliText::noSuchFolder, "no such folder: %1", "böyle bir klasör yok: %1"},
    {CliText::noTemporaryFolder, "no temporary folder", "geçici klasör açılamadı"},
    {CliText::slotRange, "slot must be 1..255", "usul numarası 1..255 olmalı"},
    {CliText::bpmRange, "--bpm must be 20..250", "--bpm 20..250 olmalı"},
    {CliText::cannotRead, "cannot read %1", "okunamıyor: %1"},
    {CliText::noSuchPlanFile, "no such plan file: %1", "böyle bir plan dosyası yok: %1"},
    {CliText::cannotWrite, "cannot write %1; a file that was there is left as it was", "yazılamıyor: %1; orada olan dosya olduğu gibi kaldı"},
    {CliText::nothingWritten, "nothing written", "hiçbir şey yazılmadı"},
};
// clang-format on

} // namespace

std::string cliText(CliText t, Language lang, std::initializer_list<std::string_view> args) {
    std::string_view pattern;
    for (const Text& text : kTexts)
        if (text.id == t) pattern = lang == Language::English ? text.english : text.turkish;
    std::string s;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t place = i + 1 < pattern.size() && pattern[i] == '%'
                                      ? std::size_t(pattern[i + 1] - '1')
                                      : args.size();
        if (place < args.size()) {
            s += *(args.begin() + place);
            ++i;
        } else {
            s += pattern[i];
        }
    }
    return s;
}

} // namespace zerkavi::cli
