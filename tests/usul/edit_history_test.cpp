// Undo and redo of whole usul states, what counts as a change to lose, the steps kept.
#include "usul/edit_history.h"

#include <gtest/gtest.h>

using namespace zerkavi;

TEST(EditHistory, UndoRedoAChangeDropsTheRedoAndOnlyTheLastStepsAreKept) {
    EditHistory h;
    auto named = [](std::size_t k) { return UsulState{{}, {}, {}, std::to_string(k)}; };
    h.reset(named(0));
    EXPECT_FALSE(h.record(named(0)));
    for (std::size_t k = 1; k <= EditHistory::kKeptSteps + 5; ++k)
        h.record(named(k));
    EXPECT_EQ(h.undo()->name, std::to_string(EditHistory::kKeptSteps + 4));
    EXPECT_EQ(h.redo()->name, std::to_string(EditHistory::kKeptSteps + 5));
    h.undo();
    h.record(named(0)); // a new change: nothing to redo
    EXPECT_FALSE(h.canRedo());
    std::size_t steps = 0;
    while (h.undo())
        ++steps;
    EXPECT_EQ(steps, EditHistory::kKeptSteps);
    EXPECT_TRUE(h.modified()); // the loaded state fell out of the kept steps
    h.markSaved(named(7));
    EXPECT_FALSE(h.modified());
}
