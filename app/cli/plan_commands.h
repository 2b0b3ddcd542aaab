// The work-plan commands of zerkavi-cli: check-plan and render-plan, on the editor's core.
#pragma once

#include "app/cli/options.h"

namespace zerkavi::cli {

inline constexpr const char* kPlanUsage =
    "  check-plan FILE            check a plan as Save does; print what Save writes\n"
    "  render-plan FILE --out OUT the sound a plan Start makes; print 'name sectionEndMs'\n"
    "      [--instrument kudum|bendir|def]  (default bendir)\n";

// Runs check-plan or render-plan; throws UsageError or Refusal. Works in a private
// temporary folder removed before it returns, so nothing but OUT is left behind.
void runPlanCommand(const Options& o);

} // namespace zerkavi::cli
