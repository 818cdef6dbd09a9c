#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gamedata/Commander.h"
#include "support/RecordingDevice3D.h"
#include "world/roofs/cRoofMeshFactory.h"
#include "world/undo/cRoofUndoable.h"
#include "world/undo/UndoManager.h"

namespace {

// Counts the history broadcasts.
struct HistoryListener : tova::Commander {
    int changes = 0;
    int16_t DoCommand(int32_t command, intptr_t) override {
        if (static_cast<int16_t>(command) == tova::cmd::kUndoChanged) ++changes;
        return 0;
    }
};

// A record with scripted results that logs its calls and its deletion.
struct ScriptedRecord : Undoable {
    std::string name;
    std::vector<std::string>* log;
    int32_t applyResult = 0, undoResult = 0, redoResult = 0;
    ScriptedRecord(std::string n, std::vector<std::string>* l) : name(std::move(n)), log(l) {}
    ~ScriptedRecord() override { log->push_back("delete " + name); }
    int32_t DoApply() override {
        log->push_back("apply " + name);
        return applyResult;
    }
    int32_t DoUndo() override {
        log->push_back("undo " + name);
        return undoResult;
    }
    int32_t DoRedo() override {
        log->push_back("redo " + name);
        return redoResult;
    }
    using Undoable::RedoBeforeList;
    using Undoable::UndoBeforeList;
};

class UndoHistory : public ::testing::Test {
protected:
    std::vector<std::string> log;
    HistoryListener listener;
    UndoManager manager;
    ScriptedRecord* Done(const std::string& name) {
        auto* r = new ScriptedRecord(name, &log);
        r->MarkDone();
        return r;
    }
};

TEST_F(UndoHistory, The257thPushDropsTheOldest) {
    for (int i = 0; i < 256; ++i) manager.Push(Done(std::to_string(i)));
    EXPECT_EQ(manager.UndoCount(), 256);
    EXPECT_TRUE(log.empty()) << "records pushed done are not applied again";
    manager.Push(Done("last"));
    EXPECT_EQ(manager.UndoCount(), 256);
    EXPECT_EQ(log, std::vector<std::string>{"delete 0"});
    log.clear();
    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(log, std::vector<std::string>{"undo last"});
    EXPECT_EQ(listener.changes, 258);
}

TEST_F(UndoHistory, UndoRedoMoveOneRecordAndAPushEmptiesRedo) {
    manager.Push(Done("a"));
    manager.Push(Done("b"));
    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(manager.UndoCount(), 1);
    EXPECT_EQ(manager.RedoCount(), 1);
    ASSERT_EQ(manager.Redo(), 0);
    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"undo b", "redo b", "undo b"}));
    log.clear();
    manager.Push(Done("c"));
    EXPECT_EQ(log, std::vector<std::string>{"delete b"});
    EXPECT_FALSE(manager.CanRedo());
    EXPECT_EQ(manager.UndoCount(), 2);
}

TEST_F(UndoHistory, AFailureForgetsOnlyItsOwnStackAndStillBroadcasts) {
    manager.Push(Done("a"));
    auto* b = Done("b");
    manager.Push(b);
    manager.Push(Done("c"));
    ASSERT_EQ(manager.Undo(), 0);  // c to redo
    b->undoResult = 5;
    const int before = listener.changes;
    EXPECT_EQ(manager.Undo(), 5);
    EXPECT_EQ(listener.changes, before + 1);
    EXPECT_FALSE(manager.CanUndo());
    EXPECT_EQ(manager.RedoCount(), 1);
    EXPECT_NE(std::find(log.begin(), log.end(), "delete a"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "delete c"), log.end());
}

TEST_F(UndoHistory, AFailingRedoForgetsTheRedoStackOnly) {
    manager.Push(Done("a"));
    auto* b = Done("b");
    manager.Push(b);
    ASSERT_EQ(manager.Undo(), 0);
    b->redoResult = 2;
    const int before = listener.changes;
    EXPECT_EQ(manager.Redo(), 2);
    EXPECT_EQ(listener.changes, before + 1);
    EXPECT_EQ(manager.UndoCount(), 1);
    EXPECT_FALSE(manager.CanRedo());
    EXPECT_NE(std::find(log.begin(), log.end(), "delete b"), log.end());
}

TEST_F(UndoHistory, ARecordWhoseApplyFailsLeavesBothStacksEmptyWithoutABroadcast) {
    manager.Push(Done("a"));
    manager.Push(Done("b"));
    ASSERT_EQ(manager.Undo(), 0);
    auto* fresh = new ScriptedRecord("new", &log);
    fresh->applyResult = 1;
    const int before = listener.changes;
    log.clear();
    manager.Push(fresh);
    EXPECT_FALSE(manager.CanUndo());
    EXPECT_FALSE(manager.CanRedo());
    EXPECT_EQ(listener.changes, before);
    EXPECT_EQ(log, (std::vector<std::string>{"apply new", "delete a", "delete b", "delete new"}));
}

TEST_F(UndoHistory, ANewRecordIsAppliedOnPush) {
    manager.Push(new ScriptedRecord("new", &log));
    EXPECT_EQ(log, std::vector<std::string>{"apply new"});
    EXPECT_EQ(manager.UndoCount(), 1);
}

TEST_F(UndoHistory, EmptyStacksAnswerFailureAndTouchNothing) {
    EXPECT_NE(manager.Undo(), 0);
    EXPECT_NE(manager.Redo(), 0);
    EXPECT_EQ(listener.changes, 0);
    manager.Push(Done("a"));
    manager.Clear();
    EXPECT_EQ(log, std::vector<std::string>{"delete a"});
    EXPECT_FALSE(manager.CanUndo());
}

TEST(UndoRecord, UndoBeforeCases) {
    std::vector<std::string> log;
    ScriptedRecord parent("parent", &log);
    parent.AddRef();
    EXPECT_FALSE(parent.UndoBefore()) << "an empty list";

    parent.AddBefore(new ScriptedRecord("1", &log));
    parent.AddBefore(new ScriptedRecord("2", &log));
    EXPECT_EQ(parent.BeforeCount(), 2u);
    log.clear();
    EXPECT_TRUE(parent.UndoBefore());
    EXPECT_EQ(log, (std::vector<std::string>{"undo 2", "delete 2", "undo 1", "delete 1"}));
    EXPECT_EQ(parent.BeforeCount(), 0u);

    // The newest child fails first: nothing undone, the older ones dropped.
    parent.AddBefore(new ScriptedRecord("old", &log));
    auto* newest = new ScriptedRecord("newest", &log);
    newest->undoResult = 1;
    parent.AddBefore(newest);
    log.clear();
    EXPECT_FALSE(parent.UndoBefore());
    EXPECT_EQ(log, (std::vector<std::string>{"undo newest", "delete newest", "delete old"}));
    EXPECT_EQ(parent.BeforeCount(), 0u);

    // A later child failing after an earlier success still counts.
    auto* first = new ScriptedRecord("first", &log);
    first->undoResult = 1;
    parent.AddAfter(first);
    parent.AddAfter(new ScriptedRecord("second", &log));
    EXPECT_TRUE(parent.UndoAfter());
}

TEST(UndoRecord, ListsUndoNewestFirstAndRedoOldestFirstKeepingTheChildren) {
    std::vector<std::string> log;
    {
        ScriptedRecord parent("parent", &log);
        parent.AddRef();
        parent.AddBefore(new ScriptedRecord("1", &log));
        auto* two = new ScriptedRecord("2", &log);
        parent.AddBefore(two);
        log.clear();
        EXPECT_EQ(parent.UndoBeforeList(), 0);
        EXPECT_EQ(parent.RedoBeforeList(), 0);
        EXPECT_EQ(log, (std::vector<std::string>{"undo 2", "undo 1", "redo 1", "redo 2"}));
        two->redoResult = 1;
        EXPECT_EQ(parent.RedoBeforeList(), 1);
        EXPECT_EQ(parent.BeforeCount(), 2u);
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"delete parent", "delete 1", "delete 2"}));
}

TEST(UndoRecord, UndoOfANewRecordAppliesFirstAndStopsWhenThatFails) {
    std::vector<std::string> log;
    auto* r = new ScriptedRecord("r", &log);
    r->AddRef();
    r->applyResult = 4;
    EXPECT_EQ(r->Undo(), 4);
    EXPECT_EQ(r->GetState(), Undoable::kFailed);
    EXPECT_EQ(log, std::vector<std::string>{"apply r"});
    r->Release();
}

TEST(RoofUndo, UndoThenRedoLeavesTheChangedSettings) {
    tova_test::RecordingDevice3D device;
    device.textures.available = {"roofs/r1_", "roofs/r4_"};
    SetRoofContext({&device, "roofs", {}});
    ASSERT_TRUE(EnsureRoofMeshFactory());
    UndoManager manager;
    auto* record = new cRoofUndoable;  // before the change
    SetRoofTexture("r4_");
    SetRoofSlope(1.25f);
    record->MarkDone();
    manager.Push(record);

    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(GetRoofTexture(), "r1_");
    EXPECT_FLOAT_EQ(GetRoofSlope(), 0.6f);
    ASSERT_EQ(manager.Redo(), 0);
    EXPECT_EQ(GetRoofTexture(), "r4_");
    EXPECT_FLOAT_EQ(GetRoofSlope(), 1.25f);
    manager.Clear();
    DeleteRoofMeshFactory();
    SetRoofContext({});
}

}  // namespace
