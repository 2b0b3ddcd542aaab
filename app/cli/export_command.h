// zerkavi-cli export SLOT and export-plan PLANFILE: an usul or a work plan written as
// sound (WAV, FLAC, Ogg Vorbis, MP3), MIDI, MusicXML or LilyPond, or an usul's notation
// as a picture (PNG, PDF, SVG, JPEG), the format from the file's extension.
#pragma once

#include "app/cli/options.h"

namespace zerkavi::cli {

// Runs export or export-plan; throws UsageError or Refusal.
void runExportCommand(const Options& o);

} // namespace zerkavi::cli
