// Exporting an usul or a work plan to the files musicians exchange: sound (WAV, FLAC, Ogg
// Vorbis, MP3), MIDI, MusicXML and LilyPond. The format follows the file's extension.
#pragma once

#include "exchange/midi.h"
#include "plans/plan_render.h"
#include "sound/wav.h"
#include "usul/record.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zerkavi {

enum class ExportFormat { Wav, Flac, Ogg, Mp3, Midi, MusicXml, LilyPond, Png, Pdf, Svg, Jpeg };

// Every format an usul can be exported to, in the order they are listed to the user.
inline constexpr std::array<ExportFormat, 11> kUsulExportFormats = {
    ExportFormat::Wav,  ExportFormat::Flac,     ExportFormat::Ogg,      ExportFormat::Mp3,
    ExportFormat::Midi, ExportFormat::MusicXml, ExportFormat::LilyPond, ExportFormat::Png,
    ExportFormat::Pdf,  ExportFormat::Svg,      ExportFormat::Jpeg};
inline constexpr std::array<ExportFormat, 5> kPlanExportFormats = {
    ExportFormat::Wav, ExportFormat::Flac, ExportFormat::Ogg, ExportFormat::Mp3,
    ExportFormat::Midi};

// ".wav", ".mid" …
const char* exportExtension(ExportFormat f);
// The format of a file name's extension, in any case; nullopt for any other.
std::optional<ExportFormat> exportFormatOf(const std::filesystem::path& file);
// ".wav .flac .ogg …": the extensions of `formats`, separated by blanks.
std::string extensionList(std::span<const ExportFormat> formats);
// The pictures of the notation are drawn by the window's painter, not by this module.
bool isPictureFormat(ExportFormat f);

struct UsulExportSettings {
    int bpm = 150;    // metronome value
    int unitNote = 8; // the note it counts
    std::string instrumentCode = "BENDR";
    int cycles = 1; // of sound and MIDI; the notation files hold one cycle
    MidiKeys keys;
};

enum class ExportStatus {
    Ok,
    NoStrokes,   // nothing sounds: messageText(Message::noBeats)
    NotHere,     // a picture format, which this module does not write
    BadSettings, // a metronome, unit note or cycle count that is not positive
    WriteFailed, // the file could not be written; `error` says why
};

struct ExportResult {
    ExportStatus status = ExportStatus::Ok;
    std::vector<Message> messages;         // messages the sound rendering reported
    std::vector<WavStatus> readerMessages; // sample-file failures met while mixing
    std::string error;
    bool ok() const { return status == ExportStatus::Ok; }
};

// The usul as Start plays it (`cycles` times over), or its notation. Sound is mixed from
// the sample files of `soundFolder` through `reader` and nothing is written there.
ExportResult exportUsul(const UsulRecord& usul, ExportFormat format,
                        const UsulExportSettings& settings,
                        const std::filesystem::path& soundFolder, SampleReader& reader,
                        const std::filesystem::path& file);

// A stored plan as Start renders it, or its MIDI file. The sound is rendered in a scratch
// folder holding copies of the instrument's sample files, so the sound folder is left as
// it was; a WAV is the rendered file itself.
ExportResult exportPlan(std::u32string_view planName, std::u32string_view planText,
                        ExportFormat format, const UsulOfSlot& readSlot,
                        const std::string& instrumentCode, const MidiKeys& keys,
                        const std::filesystem::path& soundFolder, SampleReader& reader,
                        const std::filesystem::path& file);

// A plan file as it is read for playing: code page 1254, its lines (ended by CR LF, CR or
// LF) joined by CR LF without a final one. Empty when the file cannot be read.
std::u32string readStoredPlanFile(const std::filesystem::path& file);

} // namespace zerkavi
