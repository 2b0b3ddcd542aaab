#include "exchange/sound_file.h"

#include "sound/wav.h"

#include <sndfile.h>

#include <algorithm>

namespace zerkavi {

namespace {

int majorFormat(SoundFileFormat f) {
    switch (f) {
    case SoundFileFormat::Flac:
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case SoundFileFormat::OggVorbis:
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case SoundFileFormat::Mp3:
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    }
    return 0;
}

} // namespace

SoundFileWriter::SoundFileWriter(const std::filesystem::path& file, SoundFileFormat format) {
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = majorFormat(format);
    if (!sf_format_check(&info)) {
        error_ = "this libsndfile cannot write the format";
        return;
    }
    SNDFILE* f = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!f) {
        error_ = sf_strerror(nullptr);
        return;
    }
    file_ = f;
    if (format == SoundFileFormat::OggVorbis) {
        // Vorbis quality 0.6 of 1 keeps the attacks of the strokes clean.
        double quality = 0.6;
        sf_command(f, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    } else if (format == SoundFileFormat::Mp3) {
        int mode = SF_BITRATE_MODE_CONSTANT;
        sf_command(f, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        double level = 0.5; // 160 kbit/s for a mono 44.1 kHz stream
        sf_command(f, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    }
}

SoundFileWriter::~SoundFileWriter() {
    if (file_) sf_close(static_cast<SNDFILE*>(file_));
}

bool SoundFileWriter::write(std::span<const std::int16_t> samples) {
    if (!file_ || !ok()) return false;
    SNDFILE* f = static_cast<SNDFILE*>(file_);
    // The Vorbis encoder fails on very long single writes, so every format gets stretches.
    constexpr std::size_t kStretch = 1 << 15;
    for (std::size_t at = 0; ok() && at < samples.size(); at += kStretch) {
        const auto part = samples.subspan(at, std::min(kStretch, samples.size() - at));
        if (sf_write_short(f, part.data(), sf_count_t(part.size())) != sf_count_t(part.size()))
            error_ = sf_strerror(f);
    }
    return ok();
}

bool SoundFileWriter::close() {
    if (file_) {
        if (sf_close(static_cast<SNDFILE*>(file_)) != 0 && ok())
            error_ = "the file could not be finished";
        file_ = nullptr;
    } else if (ok()) {
        error_ = "the file was not open";
    }
    return ok();
}

} // namespace zerkavi
