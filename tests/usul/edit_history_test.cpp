// Undo and redo of whole usul states, and what counts as a change to lose.
#include "usul/edit_history.h"

#include <gtest/gtest.h>

using namespace zerkavi;

namespace {

UsulState named(const char* name) {
    UsulState s;
    s.name = name;
    return s;
}

TEST(EditHistory, UndoesAndRedoesStepByStepAndANewChangeDropsTheRedo) {
    EditHistory h;
    h.reset(named("a"));
    EXPECT_FALSE(h.record(named("a"))); // nothing changed
    EXPECT_FALSE(h.modified());
    h.record(named("b"));
    h.record(named("c"));
    EXPECT_TRUE(h.modified());
    EXPECT_EQ(h.undo()->name, "b");
    EXPECT_EQ(h.undo()->name, "a");
    EXPECT_FALSE(h.undo());
    EXPECT_FALSE(h.modified()); // back where it was loaded
    EXPECT_EQ(h.redo()->name, "b");
    h.record(named("d"));
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.undo()->name, "b");
    h.markSaved(named("b"));
    EXPECT_FALSE(h.modified());
    EXPECT_TRUE(h.canUndo()); // saving keeps the steps before it
}

TEST(EditHistory, KeepsTheLastStepsOnly) {
    EditHistory h;
    h.reset(named(""));
    for (std::size_t k = 1; k <= EditHistory::kKeptSteps + 5; ++k)
        h.record(named(std::to_string(k).c_str()));
    std::size_t steps = 0;
    while (h.undo())
        ++steps;
    EXPECT_EQ(steps, EditHistory::kKeptSteps);
}

} // namespace
