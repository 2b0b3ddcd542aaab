// After the Help message the program offers the guide of the language on screen and opens
// it with the desktop's viewer, so that the pointer in that message leads somewhere.
#pragma once

#include "plans/texts.h"
#include "platform/message_boxes.h"

#include <QUrl>

#include <filesystem>
#include <functional>

namespace zerkavi {

// Opens a file URL the way the desktop does; true when a viewer took it.
using UrlOpener = std::function<bool(const QUrl&)>;

// Tests put a recorder here; an empty opener brings back the desktop's.
void setUrlOpener(UrlOpener opener);

// Asks whether to open the guide (OK / Cancel); on OK places it again if it was removed
// and opens it. When no viewer takes it, the user is told where the file is.
void offerGuide(MessageBoxes& messages, const std::filesystem::path& programFolder,
                Language language);

} // namespace zerkavi
