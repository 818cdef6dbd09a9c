// Autonomy: the person scores what the objects of the lot offer and picks
// one, and the developer log of its last decision.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/SimRandom.h"
#include "gamedata/TreeTableData.h"
#include "platform/TextFile.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/AutonomyConstants.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/LogFileName.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr uint32_t kOffersInteractions = static_cast<uint32_t>(kSchedOffersInteractions) << 16;

// Tiles between two objects, a storey counting 20 tiles.
float DistanceBetween(const cXObject& a, const cXObject& b) {
  const double dx = static_cast<double>(a.GetPosition().x) - b.GetPosition().x;
  const double dy = static_cast<double>(a.GetPosition().y) - b.GetPosition().y;
  const double dl = 20.0 * (a.GetLevel() - b.GetLevel());
  return static_cast<float>(std::sqrt((dx * dx + dy * dy) / 256.0 + dl * dl));
}

std::array<MotiveAdvertisement, MotiveCurveSet::kCurveCount> Advertisements(const TreeTableEntry& entry) {
  std::array<MotiveAdvertisement, MotiveCurveSet::kCurveCount> ads{};
  for (int i = 0; i < MotiveCurveSet::kCurveCount; ++i) {
    const size_t m = static_cast<size_t>(MotiveCurveSet::kMotiveIndexes[i]);
    if (m < entry.motives.size()) {
      const MotiveEntry& e = entry.motives[m];
      ads[static_cast<size_t>(i)] = {e.modifier, e.base, e.range};
    }
  }
  return ads;
}

}  // namespace

bool cXPerson::FindBestInteraction(TreeStackFrame& frame) {
  iPeopleHost& host = PeopleHost();
  const AutonomyConstantsClient& k = AutonomyConstantsClient::Instance();
  if (!host.FreeWill() && !IsVisitor()) return false;
  candidates_.clear();
  baseHappiness_ = curves_.GetCurrentScore();
  decisionTicks_ = host.GetTickCount();
  decisionResult_ = false;
  const float least = IsVisitor() ? k.minVisitorScore : k.minFamilyScore;

  ObjectModule* module = GetModule();
  if (module == nullptr) return false;
  for (int32_t id = 1; id <= module->IdCount(); ++id) {
    cXObject* o = module->GetObjectById(static_cast<int16_t>(id));
    if (o == nullptr || o == this || !(module->GetSchedulerWord(o->GetId()) & kOffersInteractions)) continue;
    if ((o->GetData(kDataFlags) & kFlagInUse) || o->GetData(kDataUseCount) >= 1) continue;
    InteractionList list(*this, o, true);
    std::vector<QueuedAction> actions;
    list.BuildList(actions);
    if (actions.empty()) continue;
    const float distance = DistanceBetween(*this, *o);
    for (QueuedAction& a : actions) {
      TreeTableEntry scratch;
      if (!(list.AddEntry(a, &scratch) & kActionAvailable)) continue;
      const float raw = curves_.ScoreAdvertisements(Advertisements(scratch));
      // A negative attenuation from the data would make distance a bonus.
      const float attenuation = std::max(0.0f, a.attenuation);
      const float factor = 1.0f / (attenuation * distance + 1.0f);
      const float score = (raw - baseHappiness_) * factor;
      if (score >= least) {
        candidates_.push_back({o->GetId(), a.entryKey, score, (a.flags & kActionEntryFlag100) != 0, raw, distance,
                               attenuation});
      }
    }
  }
  std::stable_sort(candidates_.begin(), candidates_.end(),
                   [](const ScoredCandidate& a, const ScoredCandidate& b) { return a.score > b.score; });
  if (candidates_.empty()) return false;
  size_t chosen = 0;
  if (!IsVisitor() && !candidates_.front().noRandom) {
    const int32_t n = std::max(1, std::min(static_cast<int32_t>(candidates_.size()), k.randomSelectionCount));
    chosen = NextRandom() % static_cast<uint32_t>(n);
  }
  const ScoredCandidate& c = candidates_[chosen];
  if (Word(kPersonPosture) != 0 && c.score < k.minSittingScore) return false;
  SetData(kDataChosenInteraction, static_cast<int16_t>(c.entryKey));
  frame.stackObject = c.object;
  decisionResult_ = true;
  return true;
}

bool cXPerson::LogScoredInteractions() {
  char number[16];
  std::snprintf(number, sizeof number, "%03d", GetId());
  const std::string path = SafeLogName(GetName()) + number + "_ScoredInteractions.txt";
  std::string out = "Scored Interactions\n";
  out += "Name\t" + GetName() + "\n";
  out += "ID\t" + std::to_string(GetId()) + "\n";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%f", static_cast<double>(baseHappiness_));
  out += std::string("Base Happy\t") + buf + "\n";
  out += "Ticks\t" + std::to_string(decisionTicks_) + "\n";
  out += std::string("Result\t") + (decisionResult_ ? "succeeded" : "failed") + "\n";
  out += "Number\tObject Name\tTree Name\tScore\tRaw Score\tTreeTab index\tObject ID\tDistance\tAttenuation\n";
  ObjectModule* module = GetModule();
  for (size_t i = 0; i < candidates_.size(); ++i) {
    const ScoredCandidate& c = candidates_[i];
    cXObject* o = module != nullptr ? module->GetObjectById(c.object) : nullptr;
    std::string objectName = "NULL";
    std::string treeName = "???";
    if (o != nullptr && o->GetDefinition() != nullptr) {
      objectName = o->GetDefinition()->GetName();
      TreeTableData* table = PeopleHost().GetTreeTable(*o);
      const TreeTableEntry* e = table != nullptr ? table->FindByNumber(c.entryKey) : nullptr;
      if (e != nullptr && o->GetBehavior() != nullptr) treeName = o->GetBehavior()->GetTreeName(e->actionTree);
    }
    out += std::to_string(i) + "\t" + objectName + "\t" + treeName;
    for (float f : {c.score, c.rawScore}) {
      std::snprintf(buf, sizeof buf, "\t%.10f", static_cast<double>(f));
      out += buf;
    }
    out += "\t" + std::to_string(c.entryKey) + "\t" + std::to_string(c.object);
    for (float f : {c.distance, c.attenuation}) {
      std::snprintf(buf, sizeof buf, "\t%.10f", static_cast<double>(f));
      out += buf;
    }
    out += "\n";
  }
  if (!platform::WriteTextFile(path, out, platform::LineEnd::kLf)) {
    PeopleHost().ShowMessage("Could not open file \"" + path + "\" for appending", "");
    return false;
  }
  return true;
}

}  // namespace tova
