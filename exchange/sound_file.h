// Compressed sound files of the program's samples (16-bit mono, 44,100 a second), written
// with libsndfile: FLAC (lossless), Ogg Vorbis and MP3.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace zerkavi {

enum class SoundFileFormat { Flac, OggVorbis, Mp3 };

// Writes samples a stretch at a time. A failure is kept and every later call does nothing.
class SoundFileWriter {
  public:
    SoundFileWriter(const std::filesystem::path& file, SoundFileFormat format);
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    bool write(std::span<const std::int16_t> samples);
    // Finishes the file; false when anything failed on the way.
    bool close();
    bool ok() const { return error_.empty(); }
    // libsndfile's words for the first failure.
    const std::string& error() const { return error_; }

  private:
    void* file_ = nullptr; // SNDFILE*
    std::string error_;
};

} // namespace zerkavi
