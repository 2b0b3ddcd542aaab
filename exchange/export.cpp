#include "exchange/export.h"

#include "common/text_codec.h"
#include "exchange/lilypond.h"
#include "exchange/musicxml.h"
#include "exchange/sound_file.h"
#include "sound/sample_bank.h"
#include "sound/usul_render.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace zerkavi {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStretchSamples = 1 << 15;

bool writeText(const fs::path& file, std::string_view text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    return bool(out);
}

SoundFileFormat compressedFormat(ExportFormat f) {
    return f == ExportFormat::Flac  ? SoundFileFormat::Flac
           : f == ExportFormat::Ogg ? SoundFileFormat::OggVorbis
                                    : SoundFileFormat::Mp3;
}

ExportResult failed(const fs::path& file, std::string why = {}) {
    ExportResult r;
    r.status = ExportStatus::WriteFailed;
    r.error = "cannot write " + file.string() + (why.empty() ? "" : ": " + why);
    return r;
}

// A folder of its own under the system's temporary folder, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string t = (fs::temp_directory_path() / "zerkavi-export-XXXXXX").string();
        if (::mkdtemp(t.data())) path_ = t;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

} // namespace

const char* exportExtension(ExportFormat f) {
    switch (f) {
    case ExportFormat::Wav:
        return ".wav";
    case ExportFormat::Flac:
        return ".flac";
    case ExportFormat::Ogg:
        return ".ogg";
    case ExportFormat::Mp3:
        return ".mp3";
    case ExportFormat::Midi:
        return ".mid";
    case ExportFormat::MusicXml:
        return ".musicxml";
    case ExportFormat::LilyPond:
        return ".ly";
    case ExportFormat::Png:
        return ".png";
    case ExportFormat::Pdf:
        return ".pdf";
    case ExportFormat::Svg:
        return ".svg";
    case ExportFormat::Jpeg:
        return ".jpg";
    }
    return "";
}

std::optional<ExportFormat> exportFormatOf(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (ExportFormat f : kUsulExportFormats)
        if (ext == exportExtension(f)) return f;
    return std::nullopt;
}

std::string extensionList(std::span<const ExportFormat> formats) {
    std::string s;
    for (ExportFormat f : formats)
        s += (s.empty() ? "" : " ") + std::string(exportExtension(f));
    return s;
}

bool isPictureFormat(ExportFormat f) {
    return f == ExportFormat::Png || f == ExportFormat::Pdf || f == ExportFormat::Svg ||
           f == ExportFormat::Jpeg;
}

ExportResult exportUsul(const UsulRecord& usul, ExportFormat format,
                        const UsulExportSettings& settings, const fs::path& soundFolder,
                        SampleReader& reader, const fs::path& file) {
    ExportResult result;
    if (isPictureFormat(format)) {
        result.status = ExportStatus::NotHere;
        return result;
    }
    // As Start, the total comes from the circles, not from the stored field.
    if (sumOfStrokes(usul) == 0) {
        result.status = ExportStatus::NoStrokes;
        result.messages.push_back(Message::noBeats);
        return result;
    }
    if (settings.bpm <= 0 || settings.unitNote <= 0 || settings.cycles <= 0) {
        result.status = ExportStatus::BadSettings;
        return result;
    }
    bool written = false;
    switch (format) {
    case ExportFormat::Midi:
        written = writeFileBytes(
            file, usulMidi(usul, settings.bpm, settings.unitNote, settings.cycles, settings.keys));
        break;
    case ExportFormat::MusicXml:
        written =
            writeText(file, usulMusicXml(usul, settings.bpm, settings.unitNote, settings.keys));
        break;
    case ExportFormat::LilyPond:
        written = writeText(file, usulLilyPond(usul, settings.bpm, settings.unitNote));
        break;
    default: {
        UsulRender r = placeUsul(
            usul,
            UsulRenderSettings{settings.bpm, settings.unitNote, settings.instrumentCode, false},
            soundFolder, reader);
        result.readerMessages = r.messages;
        r.cycles = settings.cycles;
        if (format == ExportFormat::Wav) {
            written = writeUsulFile(file, r);
            break;
        }
        SoundFileWriter out(file, compressedFormat(format));
        std::vector<std::int16_t> stretch(kStretchSamples);
        for (int c = 0; out.ok() && c < r.cycles; ++c)
            for (std::int64_t at = 0; out.ok() && at < r.timing.cycleSamples;) {
                const auto n = std::size_t(std::min<std::int64_t>(std::int64_t(kStretchSamples),
                                                                  r.timing.cycleSamples - at));
                const std::span<std::int16_t> part(stretch.data(), n);
                std::fill(part.begin(), part.end(), std::int16_t(0));
                mixUsul(r, at, part);
                out.write(part);
                at += std::int64_t(n);
            }
        if (!out.close()) {
            ExportResult f = failed(file, out.error());
            f.readerMessages = result.readerMessages;
            return f;
        }
        written = true;
    }
    }
    if (!written) {
        ExportResult f = failed(file);
        f.readerMessages = result.readerMessages;
        return f;
    }
    return result;
}

ExportResult exportPlan(std::u32string_view planName, std::u32string_view planText,
                        ExportFormat format, const UsulOfSlot& readSlot,
                        const std::string& instrumentCode, const MidiKeys& keys,
                        const fs::path& soundFolder, SampleReader& reader, const fs::path& file) {
    ExportResult result;
    if (std::find(kPlanExportFormats.begin(), kPlanExportFormats.end(), format) ==
        kPlanExportFormats.end()) {
        result.status = ExportStatus::NotHere;
        return result;
    }
    if (format == ExportFormat::Midi) {
        const PlanMidi m = planMidi(planName, planText, readSlot, keys);
        result.messages = m.messages;
        if (m.sections == 0) {
            result.status = ExportStatus::NoStrokes;
            return result;
        }
        if (!writeFileBytes(file, m.bytes)) return failed(file);
        return result;
    }

    ScratchFolder scratch;
    if (scratch.path().empty()) return failed(file, "no scratch folder");
    for (Hand hand : {Hand::Dum, Hand::Tek})
        for (int level : {3, 2, 1}) {
            const std::string name = sampleFileName(instrumentCode, hand, level);
            std::error_code ec; // a missing file is reported by the renderer as it reads
            fs::copy_file(soundFolder / name, scratch.path() / name,
                          fs::copy_options::overwrite_existing, ec);
        }
    UsulRecord current;
    const PlanRenderResult r =
        renderPlan(planText, readSlot, current, scratch.path(), reader, instrumentCode);
    result.messages = r.messages;
    result.readerMessages = r.readerMessages;
    if (r.renderedSamples == 0) {
        result.status = ExportStatus::NoStrokes;
        return result;
    }
    const fs::path rendered = scratch.path() / kPlanSoundFileName;
    if (!r.fileOk) return failed(file, "the plan could not be rendered");
    if (format == ExportFormat::Wav) {
        std::error_code ec;
        fs::copy_file(rendered, file, fs::copy_options::overwrite_existing, ec);
        if (ec) return failed(file, ec.message());
        return result;
    }
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(rendered, bytes) || bytes.size() < std::size_t(kWavHeaderBytes))
        return failed(file, "the plan could not be rendered");
    SoundFileWriter out(file, compressedFormat(format));
    std::vector<std::int16_t> samples((bytes.size() - kWavHeaderBytes) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::uint16_t(bytes[kWavHeaderBytes + 2 * i] |
                                                (bytes[kWavHeaderBytes + 2 * i + 1] << 8)));
    out.write(samples);
    if (!out.close()) return failed(file, out.error());
    return result;
}

std::u32string readStoredPlanFile(const fs::path& file) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(file, bytes)) return {};
    std::vector<std::u32string> lines;
    std::u32string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += cp1254ToChar(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    std::u32string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += (i ? U"\r\n" : U"") + lines[i];
    return joined;
}

} // namespace zerkavi
