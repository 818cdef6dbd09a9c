// The person's record in the lot's object stream, written and read back at
// the versions whose layout differs, and damaged records.
#include <gtest/gtest.h>

#include <cstring>

#include "PersonFixture.h"
#include "resfile/ReconStream.h"

namespace tova_test {
namespace {

using Codec = OneBehaviorCodec;

// Size of one action record from version 62 on.
constexpr size_t kActionBytes = 40;

class PersonRecord : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    thing = MakeThing({Interaction(1, "Use"), Interaction(2, "Eat")});
  }

  // A person with something in every field the record holds.
  cXPerson* Filled() {
    cXPerson* p = MakePerson();
    for (int i = 0; i < kMotiveCount; ++i) {
      p->Motives().current[i] = static_cast<float>(i) - 7.5f;
      p->Motives().previous[i] = static_cast<float>(i) * 2;
    }
    for (int i = 0; i < kPersonDataWords; ++i) p->SetWord(i, static_cast<int16_t>(100 + i));
    p->Routes().resize(3);
    p->PathPoints() = {{16, 32}, {48, 64}};
    PersonAnimator& a = p->Animator();
    a.grid[0] = 20;
    a.grid[1] = 30;
    a.grid[2] = 2;
    a.destination = 1;
    a.eventsFired = 4;
    a.primitiveRunning = 1;
    a.dressings[0] = {"b1", "t1"};
    a.dressings[4] = {"head", "face"};
    a.extraDressings = {{"hat", "red"}};
    a.practices[0] = "a2o-standing-loop;1;1000;500;1000;0;0;0";
    a.practices[2] = "a2o-idle;1;1000;0;1000;1;-1;-1";
    a.movementState = 2;
    a.head[3] = 0.5f;
    a.offset[1] = -1.25f;
    QueuedAction running = ActionOn(*p, *thing, 1, 60);
    running.SetParameters(1, 2, 3, 4);
    running.flags |= kActionAtHead | kActionEvaluated | kActionAvailable;
    p->SetCurrentAction(running);
    p->PreviousAction() = ActionOn(*p, *thing, 2, 30);
    p->PreviousAction().serial = 77;
    p->PreviousAction().flags = kActionSucceeded;
    EXPECT_TRUE(p->PushAction(ActionOn(*p, *thing, 2, 50)));
    EXPECT_TRUE(p->PushTreeCall(behavior(), 4096, thing->GetId(), true));
    p->MotiveChanges() = {{kMotiveFun, 0.25f, 80}, {kMotiveHunger, -1, -50}};
    return p;
  }

  std::vector<uint8_t> Save(cXPerson& p, int32_t version) {
    Codec codec(behavior());
    ReconStream measure;
    measure.InitMeasure();
    EXPECT_TRUE(p.Transfer(measure, version, false, codec));
    std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
    EXPECT_TRUE(p.Transfer(s, version, false, codec));
    EXPECT_EQ(s.GetPosition(), static_cast<int32_t>(bytes.size()));
    return bytes;
  }

  bool Load(cXPerson& p, std::vector<uint8_t> bytes, int32_t version) {
    Codec codec(behavior());
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
    return p.Transfer(s, version, false, codec);
  }

  // A person to read into, not on the lot: records before version 47 carry
  // the object id of the person that wrote them.
  cXPerson* Reader() {
    readers.push_back(std::make_unique<cXPerson>(personDefinition.get(), &module));
    readers.back()->InitFromDefinition();
    return readers.back().get();
  }

  static void PutLong(std::vector<uint8_t>& bytes, size_t at, int32_t value) { std::memcpy(&bytes[at], &value, 4); }

  cXObject* thing = nullptr;
  std::vector<std::unique_ptr<cXPerson>> readers;
};

TEST_F(PersonRecord, RoundTripsAtEachLayout) {
  for (int32_t v : {3, 10, 40, 43, 44, 59, 62}) {
    SCOPED_TRACE(v);
    cXPerson* written = Filled();
    const std::vector<uint8_t> bytes = Save(*written, v);
    cXPerson* read = Reader();
    QueuedAction::SetSerialCounter(0);
    ASSERT_TRUE(Load(*read, bytes, v));

    const PersonAnimator& a = read->Animator();
    // Old records keep the route points and destination in the animator's.
    EXPECT_EQ(a.destination, v < 47 ? 1 : -1);
    EXPECT_EQ(read->PathPoints().size(), v < 47 ? 2u : 0u);
    if (v < 47) {
      EXPECT_EQ(read->PathPoints(), (std::vector<PathPoint>{{16, 32}, {48, 64}}));
    }
    EXPECT_EQ(a.eventsFired, v > 12 ? 4 : 0);
    EXPECT_EQ(a.extraDressings.size(), v > 50 ? 1u : 0u);
    EXPECT_EQ(a.practices[2], v > 58 ? "a2o-idle;1;1000;0;1000;1;-1;-1" : "");
    EXPECT_EQ(a.movementState, v > 60 ? 2 : 3);
    EXPECT_FLOAT_EQ(a.offset[1], v > 60 ? -1.25f : 0);

    EXPECT_FLOAT_EQ(read->Motives().current[1], v >= 4 ? -6.5f : 0);
    EXPECT_FLOAT_EQ(read->Motives().previous[1], v >= 8 ? 2 : 0);

    if (v < 11) {
      EXPECT_EQ(read->Word(0), 0);
    } else {
      EXPECT_EQ(read->Word(0), 100);
      EXPECT_EQ(read->Word(63), 163);
      EXPECT_EQ(read->Word(64), v <= 40 ? 0 : 164) << "64 words up to version 40";
      EXPECT_EQ(read->Word(79), v <= 40 ? 0 : 179);
      // Old records carry stale words that are cleared.
      for (int w : {1, 8, 21, 26}) EXPECT_EQ(read->Word(w), v <= 44 ? 0 : 100 + w) << w;
      EXPECT_EQ(read->Word(20), 120);
    }
    EXPECT_EQ(read->Routes().size(), v >= 13 ? 3u : 0u);

    if (v >= 43) {
      EXPECT_EQ(read->CurrentAction().target, thing->GetId());
      EXPECT_EQ(read->CurrentAction().params[3], 4);
      EXPECT_EQ(read->CurrentAction().priority, 60);
      EXPECT_EQ(read->CurrentAction().actor, written->GetId());
      EXPECT_EQ((read->CurrentAction().flags & kActionAtHead) != 0, v >= 60) << "no head flag before version 60";
      EXPECT_TRUE(read->CurrentAction().flags & kActionAvailable);
      EXPECT_EQ(read->PreviousAction().serial, 77u);
      EXPECT_TRUE(read->PreviousAction().flags & kActionSucceeded);
      ASSERT_EQ(read->QueuedCount(), 1);
      EXPECT_EQ(read->GetQueuedAction(0)->entryKey, 2);
      EXPECT_EQ(read->WithList(), written->WithList());
      EXPECT_EQ(QueuedAction::SerialCounter(), std::max(77u, written->GetQueuedAction(0)->serial))
          << "reading raises the serial counter";
    } else {
      EXPECT_EQ(read->QueuedCount(), 0);
      EXPECT_TRUE(read->WithList().empty());
    }
    if (v >= 44) {
      EXPECT_EQ(read->MotiveChanges(), written->MotiveChanges());
    } else {
      EXPECT_TRUE(read->MotiveChanges().empty());
    }
  }
}

TEST_F(PersonRecord, WrittenAgainReadsTheSameBytes) {
  cXPerson* written = Filled();
  const std::vector<uint8_t> bytes = Save(*written, 62);
  cXPerson* read = Reader();
  ASSERT_TRUE(Load(*read, bytes, 62));
  EXPECT_EQ(Save(*read, 62), bytes);
}

TEST_F(PersonRecord, TruncatedRecordsFail) {
  for (int32_t v : {3, 43, 62}) {
    const std::vector<uint8_t> bytes = Save(*Filled(), v);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
      cXPerson* read = Reader();
      EXPECT_FALSE(Load(*read, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)), v))
          << v << " cut at " << cut;
      readers.clear();
    }
  }
}

// From the end of a version-62 record without with-list or motive changes:
// with count, change count; before them the waiting actions, their count,
// the previous and current action, and the route count.
TEST_F(PersonRecord, HostileCountsFail) {
  cXPerson* p = MakePerson();
  for (int i = 0; i < cXPerson::kQueueSize; ++i) {
    ASSERT_TRUE(p->PushAction(ActionOn(*p, *thing, i % 2 + 1, 50)));
  }
  const std::vector<uint8_t> bytes = Save(*p, 62);
  const size_t queueCountAt = bytes.size() - 8 - 8 * kActionBytes - 4;
  const size_t routeCountAt = queueCountAt - 2 * kActionBytes - 4;

  // Nine waiting actions, all nine present: refused all the same.
  std::vector<uint8_t> nine = bytes;
  nine.insert(nine.begin() + static_cast<long>(bytes.size() - 8), bytes.begin() + static_cast<long>(queueCountAt + 4),
              bytes.begin() + static_cast<long>(queueCountAt + 4 + kActionBytes));
  PutLong(nine, queueCountAt, 9);
  EXPECT_FALSE(Load(*Reader(), nine, 62));
  std::vector<uint8_t> negative = bytes;
  PutLong(negative, queueCountAt, -1);
  EXPECT_FALSE(Load(*Reader(), negative, 62));

  struct Case {
    int32_t routes;
    bool ok;
  } cases[] = {{0, true}, {64, true}, {65, false}, {-1, false}, {0x7FFFFFFF, false}};
  for (const Case& c : cases) {
    std::vector<uint8_t> patched = bytes;
    PutLong(patched, routeCountAt, c.routes);
    cXPerson* read = Reader();
    EXPECT_EQ(Load(*read, patched, 62), c.ok) << c.routes;
    if (c.ok) {
      EXPECT_EQ(read->Routes().size(), static_cast<size_t>(c.routes));
    }
  }

  std::vector<uint8_t> changes = bytes;
  PutLong(changes, bytes.size() - 4, 1000000);
  EXPECT_FALSE(Load(*Reader(), changes, 62));
}

TEST_F(PersonRecord, WithRecordsOfObjectsNotOnTheLotAreDropped) {
  cXPerson* p = MakePerson();
  ASSERT_TRUE(p->PushTreeCall(behavior(), 4096, thing->GetId(), false));
  ASSERT_TRUE(p->PushTreeCall(behavior(), 4096, 999, false));
  ASSERT_TRUE(p->PushTreeCall(behavior(), 4096, 0, false));
  ASSERT_EQ(p->WithList().size(), 3u);
  cXPerson* read = Reader();
  ASSERT_TRUE(Load(*read, Save(*p, 62), 62));
  ASSERT_EQ(read->WithList().size(), 1u);
  EXPECT_EQ(read->WithList()[0].object, thing->GetId());
}

TEST_F(PersonRecord, AnOldDestinationOutsideItsPointsIsDropped) {
  cXPerson* p = MakePerson();
  p->PathPoints() = {{1, 2}};
  p->Animator().destination = 5;
  cXPerson* read = Reader();
  ASSERT_TRUE(Load(*read, Save(*p, 40), 40));
  EXPECT_EQ(read->Animator().destination, -1);
  EXPECT_EQ(read->Animator().followState, 0);
  p->Animator().destination = 0;
  ASSERT_TRUE(Load(*read, Save(*p, 40), 40));
  EXPECT_EQ(read->Animator().destination, 0);
  EXPECT_EQ(read->Animator().followState, 1);
}

}  // namespace
}  // namespace tova_test
