// What the program says about its library file, in both languages: a file it will not
// write to, and a save that did not reach the disk.
#pragma once

#include "plans/texts.h"
#include "usul/library_check.h"

#include <string>

namespace zerkavi {

// Empty for a whole library; otherwise what is wrong, how much is read and that nothing
// will be saved to the file.
std::string libraryProblemText(const LibraryState& state, Language lang);

// A save (usul, deletion or colours) that the file did not take.
std::string saveFailedText(Language lang);

} // namespace zerkavi
