// The two user guides travel inside the program and are written into the program folder,
// under the names the Help message gives, whenever they are missing there.
#pragma once

#include "plans/texts.h"

#include <filesystem>

namespace zerkavi {

inline constexpr const char* kEnglishGuideName = "ReadMe.doc";
inline constexpr const char* kTurkishGuideName = "BeniOku";

const char* guideFileName(Language language);

// Writes each guide that does not exist yet. A file of that name, even an edited or empty
// one, is the user's and is left alone. Failures are silent: the program runs without them.
void placeGuidesIfMissing(const std::filesystem::path& programFolder);

} // namespace zerkavi
