// The command line's own texts in both languages: usage complaints and refusals that are
// not in the program's message table. Every text the command line writes by itself comes
// from here, so that --lang is obeyed everywhere.
#pragma once

#include "plans/texts.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace zerkavi::cli {

enum class CliText {
    // Usage complaints (exit 2).
    needsValue,  // %1: the option
    wholeNumber, // %1: the option or SLOT, %2: what was given
    langValues,
    unknownOption, // %1
    loudnessValues,
    unitValues,
    instrumentValues,
    cyclesValues,
    keyValues,
    countInValues,
    practiceCyclesValues,
    muteValues,
    trainerValues,
    loopedWithPractice,
    scheduleWithPractice,
    trainerWithBpm,
    practiceWithRender,
    takesOneSlot,     // %1: the command
    takesOnePlanFile, // %1
    takesOneFile,     // %1
    needsOut,         // %1
    unknownFormat,    // %1: the file, %2: the command, %3: the extensions it writes
    notWritten,       // %1: the command, %2: the extension, %3: the extensions it writes
    noCommand,
    unknownCommand, // %1
    // Refusals (exit 1).
    noSuchFolder, // %1
    noTemporaryFolder,
    slotRange,
    bpmRange,
    cannotRead,     // %1: the file
    noSuchPlanFile, // %1
    cannotWrite,    // %1: the file asked for with --out
    nothingWritten,
};

// The text in `lang`, each %1, %2, %3 replaced by the argument of that place.
std::string cliText(CliText t, Language lang, std::initializer_list<std::string_view> args = {});

} // namespace zerkavi::cli
