#include "app/DiskChangeWatch.h"

#include "app/DiskFileState.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Noticing that another program changed or removed an open document's file, and what to do.
namespace {

using Action = DiskChangeWatch::Action;
using Occasion = DiskChangeWatch::Occasion;

// Sets the file's modification time, so that two writes within one clock tick still differ.
void SetModified(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(DiskFileState, TellsEveryKindOfChangeAndNothingElse) {
    TempFolder folder;
    const std::string path = folder.Write("prog.85", "nop\n");
    SetModified(path, 1000);
    const DiskFileState first = DiskFileState::Of(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 4);
    EXPECT_EQ(DiskFileState::Of(path), first) << "a second look at an untouched file";

    // The same size, another time: rewritten in place.
    folder.Write("prog.85", "hlt\n");
    SetModified(path, 2000);
    const DiskFileState rewritten = DiskFileState::Of(path);
    EXPECT_NE(rewritten, first);
    EXPECT_EQ(rewritten.inode, first.inode);

    // Another length at the same time.
    folder.Write("prog.85", "hlt\nhlt\n");
    SetModified(path, 2000);
    EXPECT_NE(DiskFileState::Of(path), rewritten);

    // Replaced by another file (as editors save), with the same size and time.
    const DiskFileState before = DiskFileState::Of(path);
    const std::string other = folder.Write("other.85", "hlt\nhlt\n");
    SetModified(other, 2000);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    const DiskFileState replaced = DiskFileState::Of(path);
    EXPECT_EQ(replaced.size, before.size);
    EXPECT_NE(replaced, before) << "another inode";

    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_FALSE(DiskFileState::Of(path).exists);
    EXPECT_EQ(DiskFileState::Of(path), DiskFileState{});
    EXPECT_EQ(DiskFileState::Of(""), DiskFileState{});
}

TEST(DiskFileState, ANamedPipeIsLookedAtWithoutWaiting) {
    TempFolder folder;
    const std::string path = folder.File("pipe.85");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_TRUE(DiskFileState::Of(path).exists);
}

DiskFileState State(std::int64_t size, std::int64_t seconds) {
    DiskFileState state;
    state.exists = true;
    state.inode = 7;
    state.size = size;
    state.modifiedSeconds = seconds;
    return state;
}

TEST(DiskChangeWatch, DecidesByTheFileTheDocumentAndTheOccasion) {
    const DiskFileState known = State(10, 100);
    const DiskFileState changed = State(12, 200);
    const DiskFileState gone{};
    struct Case {
        DiskFileState now;
        bool modified;
        Occasion occasion;
        Action expected;
    };
    const Case cases[] = {
        {known, false, Occasion::Activated, Action::None},
        {known, true, Occasion::BeforeSave, Action::None},
        {known, true, Occasion::BeforeCompile, Action::None},
        {changed, false, Occasion::Activated, Action::Reload},
        {changed, false, Occasion::BeforeSave, Action::Reload},
        {changed, false, Occasion::BeforeCompile, Action::Reload},
        {changed, true, Occasion::Activated, Action::AskReload},
        {changed, true, Occasion::BeforeSave, Action::AskReload},
        {changed, true, Occasion::BeforeCompile, Action::AskReload},
        {gone, false, Occasion::Activated, Action::TellDeleted},
        {gone, true, Occasion::Activated, Action::TellDeleted},
        {gone, true, Occasion::BeforeCompile, Action::TellDeleted},
        {gone, true, Occasion::BeforeSave, Action::None},
        {gone, false, Occasion::BeforeSave, Action::None},
    };
    DiskChangeWatch watch;
    watch.Remember(known);
    for (const Case& c : cases) {
        EXPECT_EQ(watch.Decide(c.now, c.modified, c.occasion), c.expected)
            << "size " << c.now.size << " modified " << c.modified << " occasion "
            << static_cast<int>(c.occasion);
    }
}

TEST(DiskChangeWatch, ADocumentWithoutAFileIsNotWatched) {
    DiskChangeWatch watch;
    EXPECT_FALSE(watch.IsWatching());
    EXPECT_EQ(watch.Decide(State(1, 1), true, Occasion::BeforeSave), Action::None);
    watch.Remember(State(1, 1));
    EXPECT_TRUE(watch.IsWatching());
    watch.Forget();
    EXPECT_EQ(watch.Decide(DiskFileState{}, true, Occasion::Activated), Action::None);
}

TEST(DiskChangeWatch, AnAnswerHoldsForThatStateOfTheFileUntilTheNextSave) {
    DiskChangeWatch watch;
    watch.Remember(State(10, 100));
    const DiskFileState theirs = State(12, 200);
    // "Keep mine": not asked again for the same file, on no occasion, but the save itself goes
    // ahead.
    watch.Acknowledge(theirs);
    for (Occasion occasion : {Occasion::Activated, Occasion::BeforeSave, Occasion::BeforeCompile}) {
        EXPECT_EQ(watch.Decide(theirs, true, occasion), Action::None);
    }
    // Another change after that is asked about again.
    EXPECT_EQ(watch.Decide(State(14, 300), true, Occasion::Activated), Action::AskReload);
    // A removal told once is not told again; the file coming back is a change.
    watch.Acknowledge(DiskFileState{});
    EXPECT_EQ(watch.Decide(DiskFileState{}, true, Occasion::Activated), Action::None);
    EXPECT_EQ(watch.Decide(theirs, true, Occasion::Activated), Action::AskReload);
    // The save makes the saved file the known one and forgets the answer.
    const DiskFileState saved = State(16, 400);
    watch.Remember(saved);
    EXPECT_EQ(watch.Decide(saved, false, Occasion::Activated), Action::None);
    EXPECT_EQ(watch.Decide(DiskFileState{}, false, Occasion::Activated), Action::TellDeleted);
}

} // namespace
