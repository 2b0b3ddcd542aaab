// What the core benchmarks share: a sound folder with the full sample bank, made on first
// use and removed at exit, and the built-in usuls.
#pragma once

#include "sound/sample_bank.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zerkavi::bench {

inline const std::filesystem::path& bankFolder() {
    struct Bank {
        std::filesystem::path folder;
        Bank() {
            std::string t =
                (std::filesystem::temp_directory_path() / "zerkavi-bench-XXXXXX").string();
            folder = ::mkdtemp(t.data());
            if (prepareSampleBank(folder, 0.6f, 0.4f).fatal) std::abort();
        }
        ~Bank() {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    };
    static const Bank b;
    return b.folder;
}

inline UsulRecord builtInUsul(int slot) {
    RecordBytes b{};
    std::copy_n(defaultLibraryImage().begin() + std::ptrdiff_t(slot - 1) * kRecordBytes,
                kRecordBytes, b.begin());
    return decodeRecord(b);
}

} // namespace zerkavi::bench
