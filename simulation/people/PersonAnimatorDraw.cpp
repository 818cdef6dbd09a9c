// The person animator's draw step: placing the body in the lot, its box on
// the screen, fading, picking under the cursor, the selection, the censor
// box, attached objects and the camera that follows the person.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "simulation/people/CharacterData.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/PersonView.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kDataNoFollow = 34;
constexpr int32_t kViewSlack = 32;
constexpr int32_t kWideMargin = 16;
constexpr uint32_t kFirstStateFlag = 1;

bool gOnScreenTest = false;
bool gWideMargins = false;

}  // namespace

void PersonAnimator::SetOnScreenTest(bool on) { gOnScreenTest = on; }
void PersonAnimator::SetWideMargins(bool on) { gWideMargins = on; }

void PersonAnimator::SetCensorLevel(int32_t n) {
  if (person_ != nullptr) person_->SetWord(kCensorWord, static_cast<int16_t>(n));
}

int32_t PersonAnimator::GetCensorLevel() const { return person_ != nullptr ? person_->Word(kCensorWord) : 0; }

void PersonAnimator::ComputePlacement() {
  if (person_ == nullptr) return;
  if (grid[0] == kNoPosition) {
    const FinePoint p = person_->GetPosition();
    grid[0] = static_cast<float>(p.x);
    grid[1] = static_cast<float>(p.y);
    grid[2] = static_cast<float>(person_->GetData(kDataDirection));
  }
  const float x = (grid[0] + offset[0]) * kFinePerUnit;
  const float z = (grid[1] + offset[1]) * kFinePerUnit;
  PersonView* view = GetPersonView();
  float y = 0;
  if (person_->GetContainer() == nullptr && view != nullptr) {
    y = view->AltitudeAt(grid[0] + offset[0], grid[1] + offset[1]) * kAltitudeScale;
  }
  if (view != nullptr) y += static_cast<float>(person_->GetLevel() - 1) * view->LevelHeight();
  const float turn = view != nullptr ? static_cast<float>(view->Rotation()) * kPi * 0.5f : 0.0f;
  const float at[3] = {x, y, z};
  PoseMatrix::TurnY(turn).Apply(at, placement);
  placement[3] = (grid[2] + 6) * 45.0f * kPi / 180.0f + turn;
  placementDirty = false;
  if (body_ != nullptr) body_->SetPlacement(placement, placement[3], Clock());
}

void PersonAnimator::ComputeScreenBox() {
  PersonView* view = GetPersonView();
  float lo[3] = {}, hi[3] = {};
  if (!gOnScreenTest || view == nullptr || body_ == nullptr || !body_->Bounds(lo, hi)) {
    onScreen = true;
    return;
  }
  float box[4] = {1e30f, 1e30f, -1e30f, -1e30f};
  for (int corner = 0; corner < 8; ++corner) {
    const float at[3] = {(corner & 1) ? hi[0] : lo[0], (corner & 2) ? hi[1] : lo[1], (corner & 4) ? hi[2] : lo[2]};
    float s[3] = {};
    view->WorldToScreen(at, s);
    box[0] = std::min(box[0], s[0]);
    box[1] = std::min(box[1], s[1]);
    box[2] = std::max(box[2], s[0]);
    box[3] = std::max(box[3], s[1]);
  }
  screenBox[0] = static_cast<int32_t>(box[0]);
  screenBox[1] = static_cast<int32_t>(box[1]);
  screenBox[2] = static_cast<int32_t>(box[2] + 0.9999f);
  screenBox[3] = static_cast<int32_t>(box[3] + 0.9999f);
  const platform::Rect r = view->ViewRect();
  onScreen = !(screenBox[2] <= r.left || screenBox[0] >= r.right || screenBox[3] <= r.top || screenBox[1] >= r.bottom);
}

void PersonAnimator::Draw(PersonDrawContext& context, bool selected) {
  if (person_ == nullptr || body_ == nullptr) return;
  if (dressingsDirty) {
    dressingsDirty = false;
    ResetBody();
  }
  ChooseSuits();
  if (placementDirty) ComputePlacement();
  if (practicesDirty_) {
    practicesDirty_ = false;
    body_->UpdatePractices(Clock());
    poseDirty = true;
  }
  if (poseDirty) {
    poseDirty = false;
    body_->UpdateTransforms();
    UpdateHeadTurn();
    UpdateHeadTarget();
    ComputePlacement();
    ComputeScreenBox();
  }
  if (onScreen) {
    body_->UpdateSkins();
    Dump();
    if (context.hasGroup) {
      const bool opaque = context.fullOpacity || (person_->GetStateFlags() & kFirstStateFlag) != 0;
      SetAlpha(opaque ? 1.0f : context.alpha, false);
      context.groupAlpha = AlphaNow();
      context.groupTransform = body_->GetTransform();
    }
  }

  PersonView* view = GetPersonView();
  int32_t cx = 0, cy = 0;
  const bool picking = GetPersonPickEnabled() && view != nullptr && view->CursorInDevice(cx, cy);
  const int32_t before = picking ? view->ObjectIdAt(cx, cy) : -1;
  if (selected != selectedShown) {
    selectedShown = selected;
    body_->SetSelected(selected);
  }
  body_->Draw();
  if (picking) {
    const int32_t after = view->ObjectIdAt(cx, cy);
    // The id under the cursor changed while this body was drawn: it covers the cursor.
    if (after != before && before != -1 && after != -1) SetPersonUnderCursor(person_);
  } else {
    SetPersonUnderCursor(nullptr);
  }

  std::fill(censorBox, censorBox + 4, 0);
  censorCentre[0] = censorCentre[2] = 0;
  censorCentre[1] = kNoCensorCentre;
  if (person_->Word(kCensorWord) == 0) return;
  if (!censorDressing.worn) {
    UpdateCensor();
    body_->UpdateTransforms();
  }
  const std::vector<std::array<float, 3>> vertices = censorDressing.worn ? body_->SuitVertices(censorSuit)
                                                                         : std::vector<std::array<float, 3>>{};
  if (vertices.empty() || view == nullptr) return;
  body_->BonePosition("PELVIS", censorCentre);
  float box[4] = {1e30f, 1e30f, -1e30f, -1e30f};
  for (const auto& v : vertices) {
    float s[3] = {};
    view->WorldToScreen(v.data(), s);
    box[0] = std::min(box[0], s[0]);
    box[1] = std::min(box[1], s[1]);
    box[2] = std::max(box[2], s[0]);
    box[3] = std::max(box[3], s[1]);
  }
  const int32_t shift = view->ZoomShift();
  censorBox[0] = static_cast<int32_t>(box[0]) - shift;
  censorBox[1] = static_cast<int32_t>(box[1]) - shift;
  censorBox[2] = static_cast<int32_t>(box[2] + 0.9999f) + shift;
  censorBox[3] = static_cast<int32_t>(box[3] + 0.9999f) + shift;
}

bool PersonAnimator::PlaceAtAttachment(PersonDrawContext& context, int32_t which) const {
  if (body_ == nullptr || person_ == nullptr || !context.canDraw) return false;
  const char* point = which == 0 ? kHandPoint : which == 1 || which == 2 ? kHeadPoint : nullptr;
  const bool made = which == 0 ? hasHandPoint : hasHeadPoint;
  if (point == nullptr || !made || !body_->AttachmentPosition(point, context.position)) return false;
  context.level = person_->GetLevel();
  return true;
}

void PersonAnimator::FollowWithCamera(bool scroll) {
  PersonView* view = GetPersonView();
  if (view == nullptr || person_ == nullptr || person_->GetData(kDataNoFollow) != 0) return;
  float at[3] = {};
  view->WorldToScreen(placement, at);
  if (person_->GetLevel() != view->ViewLevel()) {
    view->SetViewLevel(person_->GetLevel());
    view->ScrollTo(at[0], at[1]);
    return;
  }
  if (!scroll) return;
  const platform::Rect r = view->ViewRect();
  const float w = static_cast<float>(r.Width()), h = static_cast<float>(r.Height());
  float inner[4];
  if (gWideMargins) {
    const float margin = static_cast<float>(kWideMargin + view->ZoomShift());
    inner[0] = r.left + margin;
    inner[1] = r.top + view->TileHeight() * 9.0f / 8.0f;
    inner[2] = r.right - margin;
    inner[3] = r.bottom - view->TileHeight() / 8.0f;
  } else {
    inner[0] = r.left + w / 4;
    inner[1] = r.top + h / 4;
    inner[2] = r.right - w / 4;
    inner[3] = r.bottom - h / 4;
  }
  if (at[0] >= inner[0] && at[0] < inner[2] && at[1] >= inner[1] && at[1] < inner[3]) return;
  // The box around the person and the route ahead, as far as the view holds it.
  float box[4] = {at[0], at[1], at[0], at[1]};
  const std::vector<PathPoint>& points = person_->PathPoints();
  for (size_t i = destination >= 0 ? static_cast<size_t>(destination) : points.size(); i < points.size(); ++i) {
    const float world[3] = {points[i].x * kFinePerUnit, placement[1], points[i].y * kFinePerUnit};
    float s[3] = {};
    view->WorldToScreen(world, s);
    const float grown[4] = {std::min(box[0], s[0]), std::min(box[1], s[1]), std::max(box[2], s[0]),
                            std::max(box[3], s[1])};
    if (grown[2] - grown[0] > w - kViewSlack || grown[3] - grown[1] > h - kViewSlack) break;
    std::copy(grown, grown + 4, box);
  }
  view->ScrollTo((box[0] + box[2]) / 2, (box[1] + box[3]) / 2 - view->TileHeight() / 2);
}

}  // namespace tova
