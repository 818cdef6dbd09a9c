// The interpreter's speed on arithmetic: one tick of a plain object whose tree
// loops a thousand times over eight expression nodes (+, -, *, /, %, &, two
// compares) on temps and a local, then sleeps; beside it the same arithmetic
// on 16-bit values in plain C++.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ResourceSource.h"
#include "simulation/ObjectModule.h"

namespace {

using namespace tova;

std::string Expr(int leftOwner, int left, int op, int rightOwner, int right) {
  return "Expression " + std::to_string(left) + " " + std::to_string(right) + " " + std::to_string(op << 8) + " " +
         std::to_string((leftOwner & 0xFF) | ((rightOwner & 0xFF) << 8));
}

constexpr int kRounds = 1000;

const std::string& LoopTree() {
  static const std::string text =
      "tree 4096 \"Arithmetic\"\n params 4\n locals 1\n"
      "start: " + Expr(kOwnerParam, 1, 5, kOwnerLiteral, kRounds) + " -> n0 n0\n"
      "n0: " + Expr(kOwnerTemp, 0, 3, kOwnerTemp, 1) + " -> n1 n1\n"      // +
      "n1: " + Expr(kOwnerTemp, 2, 4, kOwnerLocal, 0) + " -> n2 n2\n"     // -
      "n2: " + Expr(kOwnerTemp, 3, 6, kOwnerTemp, 1) + " -> n3 n3\n"      // *
      "n3: " + Expr(kOwnerTemp, 4, 7, kOwnerTemp, 1) + " -> n4 n4\n"      // /
      "n4: " + Expr(kOwnerTemp, 5, 12, kOwnerTemp, 1) + " -> n5 n5\n"     // %
      "n5: " + Expr(kOwnerTemp, 6, 13, kOwnerTemp, 2) + " -> n6 n6\n"     // &
      "n6: " + Expr(kOwnerTemp, 0, 0, kOwnerTemp, 3) + " -> n7 n7\n"      // >
      "n7: " + Expr(kOwnerLocal, 0, 1, kOwnerTemp, 4) + " -> n8 n8\n"     // <
      "n8: " + Expr(kOwnerParam, 1, 17, kOwnerLiteral, 0) + " -> n0 n9\n"  // next round
      "n9: " + Expr(kOwnerParam, 2, 5, kOwnerLiteral, 1) + " -> n10 n10\n"
      "n10: Sleep 2 -> start start\n"
      "end\n";
  return text;
}

void BM_TreeStepExpressionLoop(benchmark::State& state) {
  MemoryResourceSource global{"Global.iff"}, own{"Bench.iff"}, semi{"BenchGlobals.iff"};
  for (AssembledTree& t : AssembleTrees(LoopTree())) own.Add(kTypeBHAV, t.id, std::move(t.bytes), t.label);
  ObjectDefinitionRecord record;
  record.SetWord(ObjectDefinitionRecord::kObjectType, 4);
  record.SetWord(ObjectDefinitionRecord::kStackSize, 4);
  auto definition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Bench", 0, 128);
  definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  {
    ObjectModule module;
    auto owned = std::make_unique<cXObject>(definition.get(), &module);
    cXObject* o = owned.get();
    o->InitFromDefinition();
    module.AddObject(std::move(owned), 0, true);
    o->ResetAndPush(definition->GetBehavior(), 4096);
    o->Temps()[1] = 3;
    int64_t nodes = 0;
    for (auto _ : state) {
      o->Tick();
      nodes += o->IterationCount();
    }
    if (o->GetErrorCode() != 0) state.SkipWithError(ObjectErrorMessage(o->GetErrorCode()));
    state.SetItemsProcessed(nodes);
  }
}
BENCHMARK(BM_TreeStepExpressionLoop);

void BM_TreeStepBaselineCpp(benchmark::State& state) {
  int16_t t[8] = {0, 3, 0, 0, 0, 0, 0, 0};
  int16_t local = 0;
  int64_t nodes = 0;
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      benchmark::DoNotOptimize(t);
      benchmark::DoNotOptimize(local);
      t[0] = static_cast<int16_t>(t[0] + t[1]);
      t[2] = static_cast<int16_t>(t[2] - local);
      t[3] = static_cast<int16_t>(t[3] * t[1]);
      t[4] = static_cast<int16_t>(t[4] / t[1]);
      t[5] = static_cast<int16_t>(std::abs(t[5]) % std::abs(t[1]));
      t[6] = static_cast<int16_t>(t[6] & t[2]);
      bool a = t[0] > t[3];
      bool b = local < t[4];
      benchmark::DoNotOptimize(a);
      benchmark::DoNotOptimize(b);
    }
    nodes += kRounds * 9 + 3;
  }
  state.SetItemsProcessed(nodes);
}
BENCHMARK(BM_TreeStepBaselineCpp);

}  // namespace
