#include "gamedata/House.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>

#include "gamedata/Family.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/RoomManager.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "resfile/ResStatus.h"
#include "resfile/StringSet.h"
#include "resfile/TypeCode.h"

namespace tova {

namespace {

constexpr uint32_t kTypeHOUS = TypeCode("HOUS");
constexpr int16_t kCurveStrings = 505;
constexpr int16_t kCmdRefreshRooms = 133;
constexpr int16_t kCmdNewDay = 220;
constexpr int16_t kCmdTimeOfDay = 221;
constexpr int16_t kCmdRescoreLevel = 240;
constexpr int16_t kCmdRoomChanged = 241;
constexpr int16_t kCmdObjectDeleted = 243;
constexpr int16_t kCmdFamilyLeft = 259;
constexpr int16_t kCmdResetRooms = 262;
constexpr int16_t kCmdDumpRooms = 1012;
constexpr int16_t kNoRoom = static_cast<int16_t>(0xFFFB);
constexpr int32_t kSimFamilyGlobal = 9;
constexpr int32_t kSimLotFlagGlobal = 22;
constexpr int32_t kSimWorldSizeGlobal = 23;

int32_t Clamp100(float value) { return static_cast<int32_t>(std::clamp(value, 0.0f, 100.0f)); }

std::string LotFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int32_t HouseRatings::GetUpkeepRating() const {
  const int32_t counted = (*this)[kCountedObjects];
  if (counted == 0) return 0;
  const float share = static_cast<float>(counted - (*this)[kUpkeepPenalty]) / static_cast<float>(counted);
  return static_cast<int32_t>(std::clamp(share, 0.0f, 1.0f) * 100.0f);
}

House::House(Neighborhood* neighborhood, HousePartsFactory factory, ObjectFolder* catalogue)
    : neighborhood_(neighborhood), factory_(std::move(factory)), catalogue_(catalogue) {}

House::~House() {
  if (parts_) parts_->SetRoomManager(nullptr);
  rooms_.reset();
  parts_.reset();
}

void House::CreateWorld() {
  if (parts_) parts_->SetRoomManager(nullptr);
  rooms_.reset();
  parts_ = factory_ ? factory_(kDefaultSize) : nullptr;
  if (!parts_) return;
  LotServices services;
  services.world = &parts_->World();
  services.objects = &parts_->Objects();
  services.simulator = &parts_->Simulator();
  rooms_ = std::make_unique<RoomManager>(services);
  parts_->SetRoomManager(rooms_.get());
  sizeCurve_.Allocate(8);
  furnishingsCurve_.Allocate(8);
  iResFile* global = catalogue_ != nullptr ? catalogue_->GetGlobalFile() : nullptr;
  StringSet strings;
  if (global != nullptr && strings.LoadFromFile(global, kCurveStrings, false) == kResOK) {
    if (const char* text = strings.GetString(1)) sizeCurve_.Parse(text);
    if (const char* text = strings.GetString(2)) furnishingsCurve_.Parse(text);
  }
}

void House::SetWorldSize(int32_t size) {
  if (!parts_ || size < 4 || size == World().GetSize()) return;
  if (!World().Resize(size)) return;
  Objects().Regrid(size);
  World().Recompute();
  if (rooms_) rooms_->UpdateChangedRooms();
  Broadcast(cmd::kWorldSizeChanged, size);
}

void House::Reconstitute(ReconStream& stream, int32_t version) {
  if (version > 18) stream.SerializeString(text_);
  if (version > 37) {
    for (Day& day : history_) {
      stream.SerializeLongs(&day.flagged, 1);
      stream.SerializeLongs(&day.all, 1);
    }
    stream.SerializeLongs(&todayFlagged_, 1);
    stream.SerializeLongs(&todayAll_, 1);
  } else if (stream.IsReading()) {
    for (Day& day : history_) day = {tuning_.layoutHistoryFill, tuning_.layoutHistoryFill};
    todayAll_ = todayFlagged_ = 0;
  }
}

void House::ResetLayoutHistory() {
  for (Day& day : history_) day = {tuning_.layoutHistoryFill, tuning_.layoutHistoryFill};
  todayAll_ = todayFlagged_ = 0;
}

int32_t House::Load(iResFile& file, int32_t* outVersion) {
  if (!parts_) return kResBadData;
  iLotSimulator& sim = Simulator();
  sim.ResetState();
  int32_t version = 0;
  bool found = sim.LoadState(file, 1, &version) == kResOK;
  if (!found) {
    version = 0;
    int32_t ignored = 0;
    found = sim.LoadState(file, 0, &ignored) == kResOK;
  }
  const int16_t size = sim.GetGlobal(kSimWorldSizeGlobal);
  SetWorldSize(size == 0 ? kDefaultSize : size);
  text_.clear();
  SimpleReconObject<House> record(this, kTypeHOUS);
  if (ReconObject::LoadFromResFile(record, file, 1) == kResOK) found = true;
  if (!found) return kResNotFound;

  World().MakeNoToolCurrent();
  sim.SetGlobal(kSimFamilyGlobal, 0);
  Objects().PrepareForLoad();
  int32_t status = World().LoadLayers(file, version);
  if (status == kResOK) status = World().LoadPatterns(file);
  if (status == kResOK) status = Objects().LoadObjects(file, version);
  if (status != kResOK) return status;

  Broadcast(cmd::kHouseLoaded, reinterpret_cast<intptr_t>(&file));
  Broadcast(cmd::kRedrawAll, 0);
  Broadcast(cmd::kBuildChanged, 0);
  Broadcast(cmd::kFamilyChanged, 0);
  Broadcast(cmd::kClockOrStatistic, sim.GetGlobal(0));
  Broadcast(kCmdTimeOfDay, 0);
  if (rooms_) rooms_->UpdateChangedRooms();
  if (outVersion != nullptr) *outVersion = version;
  return kResOK;
}

int32_t House::WriteChunks(iResFile& file) {
  const int32_t version = gGlobalContext != nullptr ? gGlobalContext->saveVersion : kGameSaveVersion;
  int32_t status = Simulator().SaveState(file, 1, version);
  SimpleReconObject<House> record(this, kTypeHOUS);
  if (status == kResOK) status = ReconObject::SaveToResFile(record, version, file, 1);
  World().MakeNoToolCurrent();
  if (status == kResOK) status = World().SavePatterns(file);
  if (status == kResOK) status = World().SaveLayers(file, version);
  if (status == kResOK) status = Objects().SaveObjects(file, version);
  if (status == kResOK) Broadcast(cmd::kHouseSaving, reinterpret_cast<intptr_t>(&file));
  return status;
}

int32_t House::Save(const std::string& lotPath) {
  if (!parts_) return kHouseSaveCannotWrite;
  // A temporary left by an interrupted save would carry its chunks over.
  const std::string temp = LotFolderOf(lotPath) + "HouseTemp.iff";
  platform::DeleteFile(temp);
  IFFResFile2 file;
  int32_t status = file.Create(temp);
  if (status == kResOK) status = file.Open(temp);
  if (status != kResOK) {
    platform::DeleteFile(temp);
    return kHouseSaveCannotCreate;
  }
  if (!file.IsWritable()) {
    file.Close();
    platform::DeleteFile(temp);
    return kHouseSaveCannotWrite;
  }
  UpdateFigures();
  status = WriteChunks(file);
  const int32_t closed = file.Close();
  if (status != kResOK || closed != kResOK) {
    platform::DeleteFile(temp);
    return kHouseSaveCannotWrite;
  }
  // The finished temporary replaces the lot in one step: there is never a
  // moment without a lot file, and a failure leaves the old one.
  std::ifstream in(temp, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const bool read = static_cast<bool>(in);
  in.close();
  const bool moved = read && platform::SaveFileAtomically(lotPath, bytes.str());
  platform::DeleteFile(temp);
  return moved ? static_cast<int32_t>(kResOK) : kHouseSaveCannotMove;
}

void House::UpdateFigures() {
  if (!parts_) return;
  const LotObjectStatistics stats = Objects().GetStatistics();
  bool built = false;
  const int32_t buildValue = World().GetBuildValue(built);
  iLotSimulator& sim = Simulator();
  sim.SetFigure(1, stats.valueTotal1);
  sim.SetFigure(2, stats.valueTotal2 + buildValue);
  sim.SetGlobal(kSimWorldSizeGlobal, static_cast<int16_t>(World().GetSize()));
  sim.SetGlobal(kSimLotFlagGlobal, stats.onUnroofedTile || built ? 1 : 0);
}

void House::RefreshAll() {
  if (rooms_) rooms_->UpdateChangedRooms();
  UpdateFigures();
}

void House::ComputeRatings(HouseRatings& r) {
  r.Clear();
  if (!parts_) return;
  if (rooms_) {
    for (const auto& [id, room] : rooms_->Rooms()) {
      if (!room->IsUsed() || room->IsOutdoors()) continue;
      r[HouseRatings::kIndoorArea] += 9 * room->GetTileCount();
      if (room->GetClass4Count() >= 1) ++r[HouseRatings::kRoomsWithClass4];
      if (room->GetClass5To7Count() >= 1) ++r[HouseRatings::kRoomsWithClass5To7];
    }
  }
  r[HouseRatings::kFloors] = World().HasUpperLevel() ? 2 : 1;
  const int32_t size = World().GetSize();
  r[HouseRatings::kLotSizeClass] = size < 40 ? 0 : size < 50 ? 1 : 2;
  const LotObjectStatistics stats = Objects().GetStatistics();
  r[HouseRatings::kIndoorObjectValue] = stats.indoorValue;
  r[HouseRatings::kOutdoorObjectValue] = stats.outdoorValue;
  r[HouseRatings::kUpkeepPenalty] = stats.broken * tuning_.upkeepPenaltyBroken + stats.dirty * tuning_.upkeepPenaltyDirty;
  r[HouseRatings::kCountedObjects] = stats.counted;
  // Without a neighbourhood the lot has no family.
  r[HouseRatings::kFamilySize] = currentFamily_ != nullptr ? currentFamily_->GetMemberCount() : 0;
  int64_t all = todayAll_, flagged = todayFlagged_;
  for (const Day& day : history_) {
    all += day.all;
    flagged += day.flagged;
  }
  all = std::max<int64_t>(all, 1);
  const double share = std::clamp(static_cast<double>(all - 2 * flagged) / static_cast<double>(all), 0.0, 1.0);
  r[HouseRatings::kLayoutPercentage] = static_cast<int32_t>(share * 100.0);
}

int32_t House::GetSizeRating(const HouseRatings& r) const {
  if (r[HouseRatings::kFamilySize] == 0) return 0;
  const float perPerson = static_cast<float>(r[HouseRatings::kIndoorArea]) / static_cast<float>(r[HouseRatings::kFamilySize]);
  return Clamp100(sizeCurve_.Evaluate(perPerson));
}

int32_t House::GetFurnishingsRating() const {
  if (!parts_) return 0;
  iLotSimulator& sim = const_cast<House*>(this)->Simulator();
  const int32_t a = sim.GetFigure(1);
  if (a == 0) return Clamp100(furnishingsCurve_.Evaluate(100.0f));
  return Clamp100(furnishingsCurve_.Evaluate(static_cast<float>(sim.GetFigure(2)) / static_cast<float>(a)));
}

int32_t House::GetYardRating() const {
  if (!rooms_) return 0;
  return Clamp100(rooms_->GetOutdoorScoreSum() * tuning_.yardScoreMultiplier);
}

int32_t House::GetOverallRating(const HouseRatings& r) const {
  const float w = tuning_.houseSizeWeight;
  const float sum = static_cast<float>(GetYardRating() + GetFurnishingsRating() + r.GetUpkeepRating() +
                                       r[HouseRatings::kLayoutPercentage]) +
                    static_cast<float>(GetSizeRating(r)) * w;
  return static_cast<int32_t>(sum / (w + 4.0f));
}

void House::CountSample(bool flagged) {
  ++todayAll_;
  if (flagged) ++todayFlagged_;
}

void House::NewDay() {
  for (size_t k = kHistoryDays - 1; k > 0; --k) history_[k] = history_[k - 1];
  history_[0] = {todayAll_, todayFlagged_};
  todayAll_ = todayFlagged_ = 0;
  UpdateFigures();
}

int16_t House::DoCommand(int32_t command, intptr_t argument) {
  const int16_t c = static_cast<int16_t>(command);
  switch (c) {
    case kCmdRefreshRooms:
      if (rooms_) {
        rooms_->RefreshRooms(1);
        rooms_->RefreshRooms(2);
      }
      return 1;
    case kCmdNewDay:
      NewDay();
      return 1;
    case kCmdTimeOfDay:
      if (rooms_) rooms_->InvalidateAll();
      return 1;
    case cmd::kObjectCreated:
      // A person arriving changes the neighbourhood's visitor marks.
      if (neighborhood_ != nullptr && parts_ &&
          Objects().GetDefinitionType(static_cast<int16_t>(argument)) == kDefinitionTypePerson)
        neighborhood_->RecomputeVisitorMarks();
      return 1;
    case kCmdRescoreLevel:
      if (parts_) Objects().Rescore(static_cast<int32_t>(argument));
      if (rooms_) rooms_->ScoreRooms(static_cast<int32_t>(argument));
      return 1;
    case kCmdRoomChanged:
      if (rooms_) rooms_->MarkRoomChanged(static_cast<int16_t>(argument));
      return 1;
    case kCmdObjectDeleted:
      if (rooms_ && static_cast<int16_t>(argument) != kNoRoom) rooms_->MarkRoomChanged(static_cast<int16_t>(argument));
      return 1;
    case kCmdFamilyLeft:
      if (parts_ && argument == Simulator().GetGlobal(kSimFamilyGlobal)) Simulator().SetGlobal(kSimFamilyGlobal, 0);
      return 1;
    case kCmdResetRooms:
      if (rooms_) rooms_->ResetAll();
      return 1;
    case kCmdDumpRooms:
      if (rooms_ && debug_ != nullptr) rooms_->DumpStatistics(*debug_);
      return 1;
    default:
      return 0;
  }
}

}  // namespace tova
