// The entries of the message table (texts of both languages in plans/texts.h). The core
// returns these; the window and the command line turn them into text. The numbers are the
// places of the texts in the table and never change.
#pragma once

#include <iosfwd>

namespace zerkavi {

enum class Message : int {
    none = 0, // nothing to say: the input was accepted
    loadError = 1,
    nameMissing = 2,
    noBeats = 3, // an usul without strokes
    protectedSlot = 4,
    beatsShort = 5,
    beatsExceed = 6,
    durationsAtLimit = 7,
    confirmQuit = 8,
    libraryNotFound = 9,
    confirmDelete = 10,
    // 11 and 12 have no text.
    soundFileError = 13,
    unknownError = 14,
    loadAnUsulFirst = 15,
    // Words and letters rather than messages: the length indicator and the loudness letters.
    wordExceed = 16,
    wordMatch = 17,
    wordShort = 18,
    letterStrong = 19,
    letterMedium = 20,
    letterWeak = 21,
    forbiddenName = 22,
    helpText = 23,
    aboutText = 24,

    // Refusals of the plan screen.
    noPlanSelected = 25,
    planNameMissing = 26,
    noSections = 27,
    fieldCount = 28,
    usulNumber = 29,
    dash = 30,
    circleNumber = 31,
    unitNote = 32,
    bpmTooHigh = 33,
    bpmTooLow = 34,
    greaterThan = 35,
    introBpmTooHigh = 36,
    introBpmTooLow = 37,
    finalBpmTooHigh = 38,
    finalBpmTooLow = 39,

    // Refusals of values the record cannot hold.
    timeSignatureRange = 40,
    totalTooLong = 41,

    // Refusals and failures of plan files and plan sounds.
    planFileName = 42,    // the plan name cannot be a file name
    planNotSaved = 43,    // writing the plan file failed
    planTooLong = 44,     // the sound would not fit a WAV file
    planNoDiskSpace = 45, // the sound would not fit the disk

    // A write to the library file failed: it is read-only.
    libraryReadOnly = 46,
};

// The highest number in the table.
inline constexpr int kLastMessage = int(Message::libraryReadOnly);

// Written as its number, for diagnostics.
std::ostream& operator<<(std::ostream& os, Message m);

} // namespace zerkavi
