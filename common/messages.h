// Numbers of the entries of the message table (texts of both languages in plans/texts.h).
// The core returns these numbers; the window and the command line turn them into text.
#pragma once

namespace zerkavi {

inline constexpr int kMessageCount = 39;
inline constexpr int kMessageLoadError = 1;
inline constexpr int kMessageNameMissing = 2;
inline constexpr int kMessageNoBeats = 3; // an usul without strokes
inline constexpr int kMessageBeatsShort = 5;
inline constexpr int kMessageBeatsExceed = 6;
inline constexpr int kMessageDurationsAtLimit = 7;
inline constexpr int kMessageConfirmDelete = 10;
inline constexpr int kMessageSoundFileError = 13;
inline constexpr int kMessageLoadAnUsulFirst = 15;
// Words and letters rather than messages: the length indicator and the loudness letters.
inline constexpr int kWordExceed = 16;
inline constexpr int kWordMatch = 17;
inline constexpr int kWordShort = 18;
inline constexpr int kLetterStrong = 19;
inline constexpr int kLetterMedium = 20;
inline constexpr int kLetterWeak = 21;
inline constexpr int kMessageForbiddenName = 22;
inline constexpr int kTextHelp = 23;
inline constexpr int kTextAbout = 24;

// Refusals of the plan screen.
inline constexpr int kMessageNoPlanSelected = 25;
inline constexpr int kMessagePlanNameMissing = 26;
inline constexpr int kMessageNoSections = 27;
inline constexpr int kMessageFieldCount = 28;
inline constexpr int kMessageUsulNumber = 29;
inline constexpr int kMessageDash = 30;
inline constexpr int kMessageCircleNumber = 31;
inline constexpr int kMessageUnitNote = 32;
inline constexpr int kMessageBpmTooHigh = 33;
inline constexpr int kMessageBpmTooLow = 34;
inline constexpr int kMessageGreaterThan = 35;
inline constexpr int kMessageIntroBpmTooHigh = 36;
inline constexpr int kMessageIntroBpmTooLow = 37;
inline constexpr int kMessageFinalBpmTooHigh = 38;
inline constexpr int kMessageFinalBpmTooLow = 39;

// Refusals of values the record cannot hold.
inline constexpr int kMessageTimeSignatureRange = 40;
inline constexpr int kMessageTotalTooLong = 41;

// Refusals and failures of plan files and plan sounds.
inline constexpr int kMessagePlanFileName = 42;    // the plan name cannot be a file name
inline constexpr int kMessagePlanNotSaved = 43;    // writing the plan file failed
inline constexpr int kMessagePlanTooLong = 44;     // the sound would not fit a WAV file
inline constexpr int kMessagePlanNoDiskSpace = 45; // the sound would not fit the disk

// A write to the library file failed: it is read-only.
inline constexpr int kMessageLibraryReadOnly = 46;
inline constexpr int kLastMessage = 46;

} // namespace zerkavi
