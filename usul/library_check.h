// What the library file on disk looks like before the program trusts it. A file of another
// size is the user's data all the same: it is read as far as it holds whole slots and never
// written, so a save cannot grow, cut or overwrite it.
#pragma once

#include <cstdint>
#include <filesystem>

namespace zerkavi {

enum class LibraryShape {
    Whole,       // 256 slots exactly
    Short,       // fewer than 256 whole slots
    Long,        // more bytes than 256 slots; the rest is left alone
    NotALibrary, // not a whole number of slots, or not a regular file
    Unreadable,  // missing, or it cannot be opened for reading
};

struct LibraryState {
    LibraryShape shape = LibraryShape::Unreadable;
    std::uintmax_t bytes = 0;
    int readableSlots = 0; // whole slots present, at most 256
    // Saves go to the file only when it is a whole library.
    bool writable() const { return shape == LibraryShape::Whole; }
};

LibraryState inspectLibrary(const std::filesystem::path& path);

} // namespace zerkavi
