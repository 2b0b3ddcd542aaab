#include "sound/sample_bank.h"

#include "common/rounding.h"

#include <algorithm>
#include <system_error>

namespace zerkavi {

namespace {

constexpr const char* kCodes[kInstruments] = {"KUDUM", "BENDR", "TEFOO"};

char levelDigit(Hand hand, int level) {
    // Tek files are numbered three above the Düm files of the same level.
    const int strength = (level == 1 || level == 2) ? level : 3;
    return char('0' + strength + (hand == Hand::Tek ? 3 : 0));
}

std::string bankName(const std::string& code, Hand hand, char digit) {
    return code + (hand == Hand::Dum ? "D" : "T") + digit + "1.---";
}

} // namespace

std::string instrumentCode(int instrumentOption) {
    if (instrumentOption == 1) return kCodes[0];
    if (instrumentOption == 2) return kCodes[1];
    return kCodes[2];
}

int instrumentOption(std::string_view word) {
    if (word == "kudum") return 1;
    if (word == "bendir") return 2;
    if (word == "def") return 3;
    return 0;
}

std::string sampleFileName(const std::string& code, Hand hand, int level) {
    return bankName(code, hand, levelDigit(hand, level));
}

std::array<std::string, kBankFiles> sampleBankFileNames() {
    std::array<std::string, kBankFiles> names;
    std::size_t i = 0;
    for (const char* code : kCodes)
        for (Hand hand : {Hand::Dum, Hand::Tek})
            for (int level : {3, 2, 1})
                names[i++] = sampleFileName(code, hand, level);
    return names;
}

std::vector<std::uint8_t> levelFileBytes(std::span<const std::uint8_t> source, float factor) {
    const DataChunk c = findDataChunk(source);
    if (!c.found) return {};
    const WavHeader& s = c.header;
    WavHeader h = BuildWavHeader(0, 1, kSampleRate, kBitsPerSample);
    h.channels = s.channels;
    h.sampleRate = s.sampleRate;
    h.byteRate = s.byteRate;
    h.blockAlign = s.blockAlign;
    h.bitsPerSample = s.bitsPerSample;
    h.dataSize = s.dataSize;
    h.riffSize = s.dataSize + 36;

    const auto encoded = encodeWavHeader(h);
    std::vector<std::uint8_t> out(encoded.begin(), encoded.end());
    out.reserve(kWavHeaderBytes + 2 * std::size_t(c.sampleCount));
    // Samples are read as mono 16-bit whatever the header says; past the end they read as 0.
    // The exact product of a 16-bit sample and a float fits a double exactly, so the only
    // rounding is the final one, to nearest with ties to even.
    const double f = double(factor);
    for (std::uint32_t i = 0; i < c.sampleCount; ++i) {
        const std::uint64_t o = c.sampleOffset + 2 * std::uint64_t(i);
        std::uint16_t raw = 0;
        if (o < source.size()) raw = source[o];
        if (o + 1 < source.size()) raw = std::uint16_t(raw | (source[o + 1] << 8));
        const double v = roundHalfEven(double(std::int16_t(raw)) * f);
        const auto q = std::uint16_t(std::int16_t(std::clamp(v, -32768.0, 32767.0)));
        out.push_back(std::uint8_t(q));
        out.push_back(std::uint8_t(q >> 8));
    }
    return out;
}

LevelFileStatus MakeLevelFile(const std::filesystem::path& source,
                              const std::filesystem::path& target, float factor) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(source, bytes)) return LevelFileStatus::SourceUnreadable;
    const std::vector<std::uint8_t> out = levelFileBytes(bytes, factor);
    if (out.empty()) return LevelFileStatus::FormatNotRecognized;
    return writeFileBytes(target, out) ? LevelFileStatus::Written
                                       : LevelFileStatus::TargetUnwritable;
}

SampleBankResult prepareSampleBank(const std::filesystem::path& soundFolder, float mediumFactor,
                                   float weakFactor, std::span<const StrongSample, 6> strong) {
    SampleBankResult result;
    std::error_code ec;
    std::filesystem::create_directories(soundFolder, ec);
    if (!std::filesystem::is_directory(soundFolder, ec)) {
        result.fatal = true;
        return result;
    }
    // A strong file that cannot be written leaves a bank that cannot sound: treated like a
    // failed level file.
    for (const StrongSample& s : strong) {
        if (!writeFileBytes(soundFolder / s.fileName, s.image)) {
            result.fatal = true;
            return result;
        }
    }
    for (const StrongSample& s : strong) {
        const std::filesystem::path source = soundFolder / s.fileName;
        if (!std::filesystem::exists(source, ec)) continue;
        const std::string name = s.fileName;
        const std::string code = name.substr(0, 5);
        const Hand hand = name[5] == 'D' ? Hand::Dum : Hand::Tek;
        const std::pair<int, float> levels[] = {{2, mediumFactor}, {1, weakFactor}};
        for (const auto& [level, factor] : levels) {
            const auto target = soundFolder / sampleFileName(code, hand, level);
            switch (MakeLevelFile(source, target, factor)) {
            case LevelFileStatus::Written:
                break;
            case LevelFileStatus::FormatNotRecognized:
                result.messages.push_back(wavStatusMessage(WavStatus::FormatNotRecognized));
                break;
            case LevelFileStatus::SourceUnreadable:
            case LevelFileStatus::TargetUnwritable:
                result.fatal = true;
                return result;
            }
        }
    }
    return result;
}

} // namespace zerkavi
