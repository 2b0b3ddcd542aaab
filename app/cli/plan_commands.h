// The work-plan commands of zerkavi-cli: check-plan and render-plan, on the editor's core.
#pragma once

#include "plans/texts.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zerkavi::cli {

inline constexpr const char* kPlanUsage =
    "  check-plan FILE            check a plan as Save does; print what Save writes\n"
    "  render-plan FILE --out OUT the sound a plan Start makes; print 'name sectionEndMs'\n"
    "      [--instrument kudum|bendir|def]  (default bendir)\n";

struct PlanCommandOptions {
    std::filesystem::path dir; // program folder: the library of the usul numbers
    Language lang = Language::Turkish;
    std::vector<std::string> positional; // FILE
    std::optional<std::filesystem::path> out;
    std::string instrumentCode = "BENDR"; // KUDUM, BENDR or TEFOO
    float mediumFactor = 0.6f, weakFactor = 0.4f;
};

// A command line the plan commands cannot use; main prints it with the usage text (exit 2).
struct PlanUsageError {
    std::string what;
};

bool isPlanCommand(std::string_view command);

// Runs check-plan or render-plan: 0 done, 1 refused (the message on `err`). Works in a
// private temporary folder removed before it returns, so nothing but OUT is left behind.
int runPlanCommand(std::string_view command, const PlanCommandOptions& o, std::ostream& out,
                   std::ostream& err);

} // namespace zerkavi::cli
