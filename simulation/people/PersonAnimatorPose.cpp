// The person animator's still pictures: the person drawn in an outfit and
// a pose in a corner of the house view's screen, cropped, centred and
// scaled down, with the screen put back as it was.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "simulation/people/PersonAnimator.h"
#include "simulation/people/PersonView.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

PersonView* gView = nullptr;
PoseDevice* gDevice = nullptr;

constexpr int32_t kAreaWidth = 200, kAreaHeight = 440;
constexpr int32_t kPictureWidth = 100, kPictureHeight = 220;
constexpr int32_t kBottomMargin = 40;
constexpr float kAnchorDepth = 32767.0f;
constexpr float kAnchorHeight = 0.9f;
constexpr float kPictureRatio = 0.45454547f;
constexpr int kPoseRate = 100;
constexpr uint32_t kFarthest = 0xFFFF;

// Copies a rectangle between two surfaces of one layout.
void Copy(const platform::Surface& from, const platform::Rect& fromRect, platform::Surface& to,
          const platform::Rect& toRect) {
  to.Blit(from, fromRect, toRect);
}

// The rectangle grown to the picture's width-to-height ratio, equally on
// both sides, within the area.
platform::Rect ToPictureRatio(platform::Rect r) {
  const int32_t width = r.Width(), height = r.Height();
  if (width == kAreaWidth && height == kAreaHeight) return r;
  if (static_cast<float>(width) / static_cast<float>(height) > kPictureRatio) {
    const int32_t grown = std::min(kAreaHeight, static_cast<int32_t>(std::lround(width * 2.2f)));
    r.top -= (grown - height) / 2;
    r.bottom = r.top + grown;
  } else {
    const int32_t grown = std::min(kAreaWidth, static_cast<int32_t>(std::lround(height * kPictureRatio)));
    r.left -= (grown - width) / 2;
    r.right = r.left + grown;
  }
  // Kept inside the area.
  const int32_t dx = r.left < 0 ? -r.left : std::min(0, kAreaWidth - r.right);
  const int32_t dy = r.top < 0 ? -r.top : std::min(0, kAreaHeight - r.bottom);
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

PersonView* GetPersonView() { return gView; }
void SetPersonView(PersonView* view) { gView = view; }
PoseDevice* GetPoseDevice() { return gDevice; }
void SetPoseDevice(PoseDevice* device) { gDevice = device; }

std::unique_ptr<platform::Surface> PersonAnimator::RenderPose(uint32_t background, int32_t outfit,
                                                              const std::string& skillName, float time) {
  PersonView* view = gView;
  platform::Surface* screen = view != nullptr ? view->ScreenBuffer() : nullptr;
  if (screen == nullptr || person_ == nullptr || body_ == nullptr || gDevice == nullptr) return nullptr;
  // Drawing where nothing can be put back would leave the picture on the screen.
  if (screen->Width() < kAreaWidth || screen->Height() < kAreaHeight) return nullptr;
  platform::Surface* depth = view->DepthBuffer();
  const platform::Rect area{0, 0, kAreaWidth, kAreaHeight};
  std::unique_ptr<platform::Surface> savedScreen = platform::Surface::Create(kAreaWidth, kAreaHeight, screen->Layout());
  std::unique_ptr<platform::Surface> savedDepth =
      depth != nullptr ? platform::Surface::Create(kAreaWidth, kAreaHeight, depth->Layout()) : nullptr;
  if (savedScreen == nullptr || (depth != nullptr && savedDepth == nullptr)) return nullptr;
  Copy(*screen, area, *savedScreen, area);
  if (depth != nullptr) Copy(*depth, area, *savedDepth, area);
  screen->Fill(&area, background);
  if (depth != nullptr) depth->Fill(&area, kFarthest);

  // The camera stands the person on the point 9/10 down the area.
  float anchor[3] = {};
  view->ScreenToWorld(area.left + area.Width() * 0.5f, area.top + kAnchorHeight * area.Height(), kAnchorDepth, anchor);
  const float scale = 9.0f / std::pow(2.0f, static_cast<float>(view->Zoom() - 1));
  const float turn = (static_cast<float>(view->Rotation()) - 0.5f) * kPi * -0.5f;
  const PoseMatrix camera =
      PoseMatrix::Scale(scale) * PoseMatrix::TurnY(turn) * PoseMatrix::Translate(anchor[0], anchor[1], anchor[2]);

  // Dressed in the outfit with empty hands and nothing extra.
  for (Dressing& d : extraDressings) d.Release(body_);
  const int16_t kept[3] = {person_->Word(kPersonOutfit), person_->Word(kLeftHandWord), person_->Word(kRightHandWord)};
  person_->SetWord(kPersonOutfit, static_cast<int16_t>(outfit));
  person_->SetWord(kLeftHandWord, 0);
  person_->SetWord(kRightHandWord, 0);
  ChooseSuits();

  iCharacterLibrary* library = GetCharacterLibrary();
  const iSkill* skill = library != nullptr ? library->GetSkill(skillName) : nullptr;
  PracticeRef* pose = skill != nullptr ? body_->AddPractice(*skill, kPoseRate, 1.0f, 1.0f, Clock()) : nullptr;
  if (pose != nullptr) pose->time = time;
  body_->UpdatePractices(Clock());
  body_->UpdateTransforms();
  body_->UpdateSkins();

  gDevice->SetRenderState();
  gDevice->PushTransform(camera);
  const bool lit = view->HasLight();
  if (lit) {
    float camPosition[3] = {}, light[3] = {};
    view->CameraPosition(camPosition);
    PoseMatrix::TurnY(kPi / 9).Apply(camPosition, light);
    gDevice->PushLight(light);
  }
  gDevice->BeginScene();
  for (const WornMesh& mesh : body_->DressingMeshes()) gDevice->DrawMesh(mesh, mesh.transform * camera);
  gDevice->EndScene();

  if (pose != nullptr) body_->RemovePractice(pose);
  person_->SetWord(kPersonOutfit, kept[0]);
  person_->SetWord(kLeftHandWord, kept[1]);
  person_->SetWord(kRightHandWord, kept[2]);
  ChooseSuits();
  RewearExtra();
  body_->UpdatePractices(Clock());
  body_->UpdateTransforms();
  body_->UpdateSkins();
  if (lit) gDevice->PopLight();
  gDevice->PopTransform();

  // The person centred across the area, its feet 40 above the bottom.
  platform::Rect content;
  if (view->FindContentBounds(*screen, area, background, content)) {
    std::unique_ptr<platform::Surface> cut = platform::Surface::Create(content.Width(), content.Height(), screen->Layout());
    if (cut != nullptr) {
      const platform::Rect whole{0, 0, content.Width(), content.Height()};
      Copy(*screen, content, *cut, whole);
      screen->Fill(&area, background);
      const int32_t left = area.left + (area.Width() - content.Width()) / 2;
      const int32_t top = area.bottom - kBottomMargin - content.Height();
      Copy(*cut, whole, *screen, {left, top, left + content.Width(), top + content.Height()});
    }
  }
  const platform::Rect framed = ToPictureRatio(area);
  std::unique_ptr<platform::Surface> picture =
      view->ScaleBuffer(static_cast<float>(kPictureWidth) / framed.Width(),
                        static_cast<float>(kPictureHeight) / framed.Height(), framed, *screen);

  Copy(*savedScreen, area, *screen, area);
  if (depth != nullptr) Copy(*savedDepth, area, *depth, area);
  return picture;
}

}  // namespace tova
