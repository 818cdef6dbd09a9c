#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "gamedata/Commander.h"

namespace tova {
namespace {

struct Receiver : Commander {
  explicit Receiver(std::vector<int>* log, int tag, bool handles = false) : log(log), tag(tag), handles(handles) {}
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    log->push_back(tag);
    lastCommand = command;
    lastArgument = argument;
    const int16_t result = handles ? 1 : 0;
    // The action may delete this receiver: run a copy, touch no member after it.
    if (std::function<void()> action = onCommand) action();
    return result;
  }
  std::vector<int>* log;
  int tag;
  bool handles;
  int32_t lastCommand = 0;
  intptr_t lastArgument = 0;
  std::function<void()> onCommand;
};

TEST(Commander, EmptyListHandlesNothing) {
  ASSERT_EQ(CommanderCount(), 0);
  EXPECT_FALSE(Broadcast(cmd::kRedrawAll, 0));
}

TEST(Commander, EveryReceiverCalledNewestFirstWithoutShortCircuit) {
  std::vector<int> log;
  Receiver a(&log, 1), b(&log, 2, true), c(&log, 3);
  EXPECT_LT(a.SerialNumber(), b.SerialNumber());
  EXPECT_LT(b.SerialNumber(), c.SerialNumber());
  int marker = 0;
  EXPECT_TRUE(Broadcast(cmd::kHouseLoaded, reinterpret_cast<intptr_t>(&marker)));
  EXPECT_EQ(log, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(a.lastCommand, cmd::kHouseLoaded);
  EXPECT_EQ(a.lastArgument, reinterpret_cast<intptr_t>(&marker));  // a pointer survives in full
}

TEST(Commander, ReceiversAddedAndRemovedDuringABroadcast) {
  std::vector<int> log;
  auto oldest = std::make_unique<Receiver>(&log, 1);
  auto middle = std::make_unique<Receiver>(&log, 2);
  auto self = std::make_unique<Receiver>(&log, 3);
  auto newest = std::make_unique<Receiver>(&log, 4);
  std::unique_ptr<Receiver> added;
  // The newest deletes the one after it, the next deletes itself and adds one.
  newest->onCommand = [&] { self.reset(); };
  middle->onCommand = [&] {
    added = std::make_unique<Receiver>(&log, 5);
    middle.reset();
  };
  EXPECT_FALSE(Broadcast(cmd::kWorldChanged, 0));
  EXPECT_EQ(log, (std::vector<int>{4, 2, 1}));  // 3 was gone before its turn, 5 came too late
  EXPECT_EQ(CommanderCount(), 3);
  log.clear();
  newest->onCommand = nullptr;
  Broadcast(cmd::kWorldChanged, 0);
  EXPECT_EQ(log, (std::vector<int>{5, 4, 1}));
}

TEST(Commander, NestedBroadcastAndUnlistedDestruction) {
  std::vector<int> log;
  Receiver a(&log, 1);
  auto b = std::make_unique<Receiver>(&log, 2);
  Receiver c(&log, 3);
  bool nested = false;
  c.onCommand = [&] {
    if (nested) return;
    nested = true;
    Broadcast(cmd::kRefresh, 0);  // the inner walk removes b; the outer walk must not reach it
    b.reset();
  };
  Broadcast(cmd::kRefresh, 0);
  EXPECT_EQ(log, (std::vector<int>{3, 3, 2, 1, 1}));
  EXPECT_EQ(CommanderCount(), 2);
}

TEST(Commander, ConstructionFromAnotherThreadWhileBroadcasting) {
  std::vector<int> log;
  Receiver base(&log, 0);
  std::atomic<bool> stop{false};
  // Plain base receivers: a derived one is on the list before its own
  // constructor has run, so only complete objects may be built this way.
  std::thread loader([&] {
    for (int i = 0; i < 2000 && !stop; ++i) {
      Commander temp;
    }
  });
  for (int i = 0; i < 2000; ++i) Broadcast(cmd::kSimulationTick, i);
  stop = true;
  loader.join();
  EXPECT_EQ(log.size(), 2000u);
  EXPECT_EQ(CommanderCount(), 1);
}

}  // namespace
}  // namespace tova
