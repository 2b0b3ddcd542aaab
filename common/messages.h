// Numbers of the entries of the message table (texts of both languages in plans/texts.h).
// The core returns these numbers; the window and the command line turn them into text.
#pragma once

namespace zerkavi {

inline constexpr int kMessageCount = 39;
inline constexpr int kMessageNoBeats = 3; // an usul without strokes
inline constexpr int kMessageForbiddenName = 22;

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
// A write to the library file failed: it is read-only.
inline constexpr int kMessageLibraryReadOnly = 42;
inline constexpr int kLastMessage = 42;

} // namespace zerkavi
