#include "usul/library_check.h"

#include "usul/record.h"

#include <algorithm>
#include <fstream>

namespace zerkavi {

LibraryState inspectLibrary(const std::filesystem::path& path) {
    LibraryState s;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return s;
    if (!std::filesystem::is_regular_file(status)) {
        s.shape = LibraryShape::NotALibrary;
        return s;
    }
    if (!std::ifstream(path, std::ios::binary)) return s;
    s.bytes = std::filesystem::file_size(path, ec);
    if (ec) return s;
    s.readableSlots = int(std::min<std::uintmax_t>(s.bytes / kRecordBytes, kSlots));
    if (s.bytes % kRecordBytes != 0)
        s.shape = LibraryShape::NotALibrary;
    else if (s.bytes < kLibraryBytes)
        s.shape = LibraryShape::Short;
    else if (s.bytes > kLibraryBytes)
        s.shape = LibraryShape::Long;
    else
        s.shape = LibraryShape::Whole;
    return s;
}

} // namespace zerkavi
