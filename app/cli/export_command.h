// zerkavi-cli export SLOT and export-plan PLANFILE: an usul or a work plan written as
// sound (WAV, FLAC, Ogg Vorbis, MP3), MIDI, MusicXML or LilyPond, or an usul's notation
// as a picture (PNG, PDF, SVG, JPEG), the format from the file's extension.
#pragma once

namespace zerkavi::cli {

// Runs the command line when its command is export or export-plan and returns the exit
// code (0 done, 1 refused with the program's own message, 2 usage error, with `usage`
// printed after the complaint); -1 for any other command, which is left to the caller.
int runExportCommand(int argc, char** argv, const char* usage);

} // namespace zerkavi::cli
