// Pictures of an usul's notation from the command line, drawn by the editor's painter.
#pragma once

#include "plans/texts.h"
#include "usul/record.h"
#include "window/picture.h"

#include <filesystem>

namespace zerkavi::cli {

// Writes the picture (.png .jpg .svg .pdf) of `usul` to `file`, the loudness letters in
// `lang`. Starts a Gui application on the offscreen platform for the drawing only, so no
// display is needed and the other commands never start one.
PictureResult writeUsulPicture(const UsulRecord& usul, Language lang,
                               const std::filesystem::path& file);

} // namespace zerkavi::cli
