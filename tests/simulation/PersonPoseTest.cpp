// A person's still picture: drawn in the corner of a 640 by 480 view with
// depth, in the outfit asked for and without its extra suits, cropped,
// centred with its feet 40 rows above the area's bottom and halved to 100
// by 220; the view's screen and depth and the person's dressing come back
// as they were. And the draw step: placement, screen box, dressing, fading,
// picking, the censor box, attached things and the following camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AnimatorFixture.h"
#include "platform/PngFile.h"
#include "simulation/people/CharacterData.h"
#include "simulation/people/PersonView.h"
#include "support/GoldenImage.h"

namespace tova_test {
namespace {

using platform::PixelLayout;
using platform::Rect;
using platform::Surface;

// A mesh of the fake device: flat-coloured triangles in body space.
struct FakeMesh {
  uint16_t color = 0;
  std::vector<std::array<std::array<float, 3>, 3>> triangles;
};

// An axis-aligned box as twelve triangles.
FakeMesh Box(uint16_t color, std::array<float, 3> lo, std::array<float, 3> hi) {
  FakeMesh mesh;
  mesh.color = color;
  const auto corner = [&](int i) {
    return std::array<float, 3>{(i & 1) ? hi[0] : lo[0], (i & 2) ? hi[1] : lo[1], (i & 4) ? hi[2] : lo[2]};
  };
  const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
  for (const auto& f : faces) {
    mesh.triangles.push_back({corner(f[0]), corner(f[1]), corner(f[2])});
    mesh.triangles.push_back({corner(f[0]), corner(f[2]), corner(f[3])});
  }
  return mesh;
}

// A view looking straight at the world's x-y plane: screen x = x, screen
// y = -y, depth = z.
class PoseView : public PersonView {
 public:
  PoseView(int32_t width, int32_t height)
      : screen(Surface::Create(width, height, PixelLayout::Rgb565)),
        depth(Surface::Create(width, height, PixelLayout::Depth16)) {
    // Something on the screen for the picture to leave alone.
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        screen->SetPixel(x, y, static_cast<uint32_t>((x * 7 + y * 13) & 0xFFFF));
        depth->SetPixel(x, y, static_cast<uint32_t>((x + y * 3) & 0xFFFF));
      }
    }
  }
  Surface* ScreenBuffer() override { return screen.get(); }
  Surface* DepthBuffer() override { return depth.get(); }
  int32_t Zoom() const override { return zoom; }
  int32_t Rotation() const override { return rotation; }
  void ScreenToWorld(float x, float y, float d, float out[3]) const override {
    out[0] = x;
    out[1] = -y;
    out[2] = d;
  }
  void CameraPosition(float out[3]) const override {
    out[0] = 100;
    out[1] = 50;
    out[2] = 0;
  }
  bool HasLight() const override { return light; }
  bool FindContentBounds(const Surface& buffer, const Rect& rect, uint32_t background, Rect& content) const override {
    content = {rect.right, rect.bottom, rect.left, rect.top};
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
      for (int32_t x = rect.left; x < rect.right; ++x) {
        if (buffer.Pixel16(x, y) == background) continue;
        content = {std::min(content.left, x), std::min(content.top, y), std::max(content.right, x + 1),
                   std::max(content.bottom, y + 1)};
      }
    }
    return !content.IsEmpty();
  }
  std::unique_ptr<Surface> ScaleBuffer(float xf, float yf, const Rect& rect, const Surface& buffer) const override {
    const auto w = static_cast<int32_t>(std::lround(rect.Width() * xf));
    const auto h = static_cast<int32_t>(std::lround(rect.Height() * yf));
    auto out = Surface::Create(w, h, buffer.Layout());
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        out->SetPixel(x, y,
                      buffer.Pixel16(rect.left + static_cast<int32_t>(x / xf), rect.top + static_cast<int32_t>(y / yf)));
      }
    }
    return out;
  }

  void WorldToScreen(const float w[3], float out[3]) const override {
    out[0] = w[0];
    out[1] = -w[1];
    out[2] = w[2];
  }
  Rect ViewRect() const override { return {0, 0, 640, 480}; }
  int32_t ViewLevel() const override { return level; }
  float LevelHeight() const override { return 10; }
  void SetViewLevel(int32_t l) override {
    level = l;
    scrolls.push_back("level " + std::to_string(l));
  }
  float TileHeight() const override { return 16; }
  int32_t ZoomShift() const override { return 2; }
  void ScrollTo(float x, float y) override { scrolls.push_back(std::to_string(x) + "," + std::to_string(y)); }
  float AltitudeAt(float, float) const override { return altitude; }
  bool CursorInDevice(int32_t& x, int32_t& y) const override {
    x = 5;
    y = 6;
    return cursorInside;
  }
  int32_t ObjectIdAt(int32_t, int32_t) const override { return idUnderCursor; }

  std::unique_ptr<Surface> screen, depth;
  int32_t zoom = 2, rotation = 0, level = 1;
  float altitude = 0;
  bool light = true, cursorInside = false;
  int32_t idUnderCursor = -1;
  std::vector<std::string> scrolls;
};

// Fills the meshes' triangles into the view's screen with a depth test.
class FakeDevice : public PoseDevice {
 public:
  explicit FakeDevice(PoseView& view) : view_(view) {}
  void SetRenderState() override { calls.push_back("state"); }
  void PushTransform(const PoseMatrix&) override { calls.push_back("push transform"); }
  void PopTransform() override { calls.push_back("pop transform"); }
  void PushLight(const float p[3]) override {
    calls.push_back("push light");
    lightAt = {p[0], p[1], p[2]};
  }
  void PopLight() override { calls.push_back("pop light"); }
  void BeginScene() override { calls.push_back("begin"); }
  void EndScene() override { calls.push_back("end"); }
  void DrawMesh(const WornMesh& mesh, const PoseMatrix& transform) override {
    const auto* m = static_cast<const FakeMesh*>(mesh.mesh);
    for (const auto& t : m->triangles) {
      float s[3][3];
      for (int i = 0; i < 3; ++i) {
        float w[3];
        transform.Apply(t[static_cast<size_t>(i)].data(), w);
        s[i][0] = w[0];
        s[i][1] = -w[1];
        s[i][2] = w[2];
      }
      Fill(s, m->color);
    }
    ++meshesDrawn;
  }

  std::vector<std::string> calls;
  std::array<float, 3> lightAt{};
  int meshesDrawn = 0;

 private:
  void Fill(const float s[3][3], uint16_t color) {
    Surface& screen = *view_.screen;
    Surface& depth = *view_.depth;
    const float area = (s[1][0] - s[0][0]) * (s[2][1] - s[0][1]) - (s[2][0] - s[0][0]) * (s[1][1] - s[0][1]);
    if (std::fabs(area) < 1e-6f) return;
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(std::min({s[0][0], s[1][0], s[2][0]}))));
    const int32_t x1 = std::min(screen.Width() - 1, static_cast<int32_t>(std::ceil(std::max({s[0][0], s[1][0], s[2][0]}))));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(std::min({s[0][1], s[1][1], s[2][1]}))));
    const int32_t y1 = std::min(screen.Height() - 1, static_cast<int32_t>(std::ceil(std::max({s[0][1], s[1][1], s[2][1]}))));
    for (int32_t y = y0; y <= y1; ++y) {
      for (int32_t x = x0; x <= x1; ++x) {
        const float px = x + 0.5f, py = y + 0.5f;
        const float b0 = ((s[1][0] - px) * (s[2][1] - py) - (s[2][0] - px) * (s[1][1] - py)) / area;
        const float b1 = ((s[2][0] - px) * (s[0][1] - py) - (s[0][0] - px) * (s[2][1] - py)) / area;
        const float b2 = 1 - b0 - b1;
        if (b0 < 0 || b1 < 0 || b2 < 0) continue;
        const auto z = static_cast<uint32_t>(std::clamp(b0 * s[0][2] + b1 * s[1][2] + b2 * s[2][2], 0.0f, 65534.0f));
        if (z >= depth.Pixel16(x, y)) continue;
        depth.SetPixel(x, y, z);
        screen.SetPixel(x, y, color);
      }
    }
  }
  PoseView& view_;
};

constexpr uint16_t kBackground = 0x07E0;  // green

class PersonPose : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    SetPersonView(&view);
    SetPoseDevice(&device);
    // A figure: legs and body, a head, two hands; the outfit-1 body is wider.
    meshes["legs"] = Box(0x001F, {-3, 0, -2}, {3, 14, 2});
    meshes["body"] = Box(0xF800, {-4, 14, -2}, {4, 26, 2});
    meshes["wide"] = Box(0xFFE0, {-7, 14, -3}, {7, 26, 3});
    meshes["head"] = Box(0xFD20, {-2.5f, 26, -2.5f}, {2.5f, 32, 2.5f});
    meshes["lhand"] = Box(0x8410, {-6, 16, -1}, {-4, 24, 1});
    meshes["rhand"] = Box(0x8410, {4, 16, -1}, {6, 24, 1});
    meshes["hat"] = Box(0x0000, {-4, 32, -4}, {4, 34, 4});
    body->suitMeshes = {{"legs", &meshes["legs"]}, {"b001", &meshes["body"]}, {"b002", &meshes["wide"]},
                        {"c001", &meshes["head"]}, {"lhand0", &meshes["lhand"]}, {"rhand0", &meshes["rhand"]},
                        {"lhand2", &meshes["lhand"]}, {"rhand2", &meshes["rhand"]}, {"hat", &meshes["hat"]}};
    const std::vector<std::string> looks = {"adult", "b001,BODY=x", "c001,HEAD-HEAD=x", "", "", "", "", "", "", "",
                                            "", "", "", "", "", "b002,BODY=x", "", "lhand0,HAND=x", "rhand0,HAND=x",
                                            "", "", "lhand2,HAND=x", "rhand2,HAND=x"};
    person = PersonWithLooks(looks);
    animator = &person->Animator();
    animator->AttachBody(body.get());
    body->AddDressing("legs", "", 0);
    person->SetWord(22, 2);
    person->SetWord(23, 2);
    animator->ChooseSuits();
    animator->AddExtraDressing("hat", "");
    library.Add("pose").frames = 10;
  }
  void TearDown() override {
    SetPoseDevice(nullptr);
    SetPersonView(nullptr);
    AnimatorPractices::TearDown();
  }
  std::vector<uint8_t> Bytes(const Surface& s) {
    return std::vector<uint8_t>(s.Pixels(), s.Pixels() + static_cast<size_t>(s.PitchBytes()) * s.Height());
  }

  PoseView view{640, 480};
  FakeDevice device{view};
  std::map<std::string, FakeMesh> meshes;
};

TEST_F(PersonPose, APictureIsCentredAboveTheBottomAndTheScreenIsLeftAsItWas) {
  const std::vector<uint8_t> screenBefore = Bytes(*view.screen), depthBefore = Bytes(*view.depth);
  const std::vector<std::string> playingBefore = body->Playing();
  const std::set<std::string> onBefore = body->on;

  std::unique_ptr<Surface> picture = animator->RenderPose(kBackground, 1, "pose", 0.5f);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 100);
  EXPECT_EQ(picture->Height(), 220);
  EXPECT_TRUE(MatchesGolden(platform::ImageFromSurface(*picture), "simulation/golden/person_pose.png"));

  int32_t left = 100, right = -1, bottom = -1;
  for (int32_t y = 0; y < 220; ++y) {
    for (int32_t x = 0; x < 100; ++x) {
      if (picture->Pixel16(x, y) == kBackground) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, 0) << "the person was drawn";
  EXPECT_EQ(bottom, 220 - 20 - 1);
  EXPECT_LE(std::abs(left - (99 - right)), 1) << left << " " << right;
  bool wide = false;
  for (int32_t y = 0; y < 220; ++y) {
    for (int32_t x = 0; x < 100; ++x) wide = wide || picture->Pixel16(x, y) == 0xFFE0;
  }
  EXPECT_TRUE(wide) << "drawn in outfit 1";

  EXPECT_EQ(Bytes(*view.screen), screenBefore);
  EXPECT_EQ(Bytes(*view.depth), depthBefore);
  EXPECT_EQ(body->Playing(), playingBefore) << "the pose practice is gone";
  EXPECT_EQ(body->on, onBefore) << "the outfit, hands and extra suits are back";
  EXPECT_EQ(person->Word(kPersonOutfit), 0);
  EXPECT_EQ(person->Word(22), 2);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"state", "push transform", "push light", "begin", "end",
                                                    "pop light", "pop transform"}));
  EXPECT_EQ(device.meshesDrawn, 5) << "legs, wide body, head and bare hands; no hat";
  // The camera's position turned a ninth of a half turn about the vertical.
  EXPECT_NEAR(device.lightAt[0], 100 * std::cos(3.14159265f / 9), 1e-3f);
  EXPECT_NEAR(std::fabs(device.lightAt[2]), 100 * std::sin(3.14159265f / 9), 1e-3f);
  EXPECT_EQ(device.lightAt[1], 50);
}

TEST_F(PersonPose, WithoutRoomOrALightOrAnything) {
  view.light = false;
  ASSERT_NE(animator->RenderPose(kBackground, 0, "no such pose", 0), nullptr);
  EXPECT_EQ(device.calls, (std::vector<std::string>{"state", "push transform", "begin", "end", "pop transform"}));

  PoseView small(199, 480);
  SetPersonView(&small);
  const std::vector<uint8_t> before = Bytes(*small.screen);
  EXPECT_EQ(animator->RenderPose(kBackground, 0, "pose", 0), nullptr);
  EXPECT_EQ(Bytes(*small.screen), before) << "nothing drawn";
  SetPersonView(nullptr);
  EXPECT_EQ(animator->RenderPose(kBackground, 0, "pose", 0), nullptr);
}


// ---- the draw step ----

using PersonDraw = PersonPose;

TEST_F(PersonDraw, ThePlacementComesFromThePersonItsOffsetTheGroundAndTheView) {
  person->SetPosition({32, 48});
  person->SetLevel(1);
  person->SetData(kDataDirection, 2);
  animator->offset[0] = 1;
  animator->offset[1] = 2;
  view.altitude = 4;
  animator->ComputePlacement();
  EXPECT_EQ(animator->grid[0], 32);
  EXPECT_EQ(animator->grid[2], 2);
  const float x = 33 * 0.1875f, y = 4 * 0.61237244f, z = 50 * 0.1875f;
  EXPECT_FLOAT_EQ(animator->placement[0], x);
  EXPECT_FLOAT_EQ(animator->placement[1], y);
  EXPECT_FLOAT_EQ(animator->placement[2], z);
  EXPECT_FLOAT_EQ(animator->placement[3], 8 * 45 * 3.14159265f / 180);
  EXPECT_EQ(body->placed[0], animator->placement[0]);

  // A quarter turn of the view turns the position with it.
  view.rotation = 1;
  animator->ComputePlacement();
  EXPECT_NEAR(std::hypot(animator->placement[0], animator->placement[2]), std::hypot(x, z), 1e-4f);
  EXPECT_NEAR(std::fabs(animator->placement[0]), z, 1e-4f);
  EXPECT_FLOAT_EQ(animator->placement[3], (8 * 45 + 90) * 3.14159265f / 180);
}

TEST_F(PersonDraw, TheScreenBoxIsTruncatedAndRoundedUpAndDecidesOnScreen) {
  body->boundsMin = {1.5f, 2.2f, 0};
  body->boundsMax = {10.1f, 5.5f, 1};
  animator->ComputeScreenBox();
  EXPECT_TRUE(animator->onScreen) << "without the test every body is on screen";
  PersonAnimator::SetOnScreenTest(true);
  animator->ComputeScreenBox();
  EXPECT_EQ(std::vector<int32_t>(animator->screenBox, animator->screenBox + 4),
            (std::vector<int32_t>{1, -5, 11, -1}));
  EXPECT_FALSE(animator->onScreen) << "wholly above the view";
  body->boundsMin = {1.5f, -2.2f, 0};
  animator->ComputeScreenBox();
  EXPECT_TRUE(animator->onScreen);
  PersonAnimator::SetOnScreenTest(false);
}

TEST_F(PersonDraw, ADrawDressesAgainAfterAHandChangeAndFadesTheGroup) {
  body->worn.clear();
  person->SetWord(22, 0);
  PersonDrawContext context;
  context.hasGroup = true;
  context.alpha = 0.5f;
  animator->Draw(context, true);
  EXPECT_EQ(body->worn, (std::vector<std::string>{"c001|HEAD-HEAD=x|0", "b001|BODY=x|0", "lhand0|HAND=x|0",
                                                  "rhand2|HAND=x|0"}));
  EXPECT_FLOAT_EQ(context.groupAlpha, 0.5f) << "the first alpha jumps";
  EXPECT_EQ(body->selections, std::vector<bool>{true});
  EXPECT_EQ(body->draws, 1);
  animator->Draw(context, true);
  EXPECT_EQ(body->selections, std::vector<bool>{true}) << "told only on a change";
  context.fullOpacity = true;
  animator->Draw(context, false);
  EXPECT_FLOAT_EQ(context.groupAlpha, 0.5f) << "fading towards full";
  host.tick += 5;
  animator->Draw(context, false);
  EXPECT_FLOAT_EQ(context.groupAlpha, 1.0f);

  // The person's first state flag asks for full opacity too.
  context.fullOpacity = false;
  animator->SetAlpha(0.5f, true);
  person->SetStateFlags(person->GetStateFlags() | 1);
  animator->Draw(context, false);
  host.tick += 5;
  animator->Draw(context, false);
  EXPECT_FLOAT_EQ(context.groupAlpha, 1.0f);
  person->SetStateFlags(person->GetStateFlags() & ~1u);
  animator->Draw(context, false);
  host.tick += 5;
  animator->Draw(context, false);
  EXPECT_FLOAT_EQ(context.groupAlpha, 0.5f);
}

TEST_F(PersonDraw, APersonWhoseDrawChangesWhatIsUnderTheCursorIsPicked) {
  PersonDrawContext context;
  tova::SetPersonPickEnabled(true);
  view.cursorInside = true;
  view.idUnderCursor = 3;
  animator->Draw(context, false);
  EXPECT_EQ(tova::GetPersonUnderCursor(), nullptr) << "nothing changed while it drew";
  body->onDraw = [&] { view.idUnderCursor = person->GetId(); };
  animator->Draw(context, false);
  EXPECT_EQ(tova::GetPersonUnderCursor(), person);
  view.cursorInside = false;
  animator->Draw(context, false);
  EXPECT_EQ(tova::GetPersonUnderCursor(), nullptr);
  tova::SetPersonPickEnabled(false);
}

TEST_F(PersonDraw, TheCensorBoxCoversTheCensorSuitAroundThePelvis) {
  animator->censorSuit = "adult-censor";
  body->bones["PELVIS"] = [](float) { return std::array<float, 3>{2, 10, 0}; };
  body->suitVertices["adult-censor"] = {{{-3, 8, 0}}, {{4, 12.5f, 1}}};
  PersonDrawContext context;
  person->SetWord(30, 1);
  animator->Draw(context, false);
  EXPECT_TRUE(animator->censorDressing.worn);
  EXPECT_EQ(std::vector<int32_t>(animator->GetCensorBox(), animator->GetCensorBox() + 4),
            (std::vector<int32_t>{-3 - 2, -12 - 2, 4 + 2, -7 + 2}));
  EXPECT_EQ(animator->GetCensorCentre()[1], 10);
  animator->SetCensorLevel(0);
  EXPECT_EQ(animator->GetCensorLevel(), 0);
  animator->Draw(context, false);
  EXPECT_EQ(std::vector<int32_t>(animator->GetCensorBox(), animator->GetCensorBox() + 4),
            (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(animator->GetCensorCentre()[1], PersonAnimator::kNoCensorCentre);
}

TEST_F(PersonDraw, AttachedThingsGoToTheHandOrHeadPoint) {
  body->bones["R_HAND"] = [](float) { return std::array<float, 3>{}; };
  body->bones["HEAD"] = [](float) { return std::array<float, 3>{}; };
  body->pointPositions["hand"] = {1, 2, 3};
  body->pointPositions["head"] = {0, 6, 0};
  StringSet strings;
  BodyStrings::SetEntry(strings, 4, "HEAD");
  BodyStrings::SetEntry(strings, 6, "R_HAND");
  animator->MakeAttachmentPoints(strings);
  person->SetLevel(2);
  struct Case {
    int32_t which;
    bool canDraw, placed;
    float y;
  } cases[] = {{0, true, true, 2}, {1, true, true, 6}, {2, true, true, 6}, {3, true, false, 0}, {0, false, false, 0}};
  for (const Case& c : cases) {
    PersonDrawContext context;
    context.canDraw = c.canDraw;
    EXPECT_EQ(animator->PlaceAtAttachment(context, c.which), c.placed) << c.which;
    EXPECT_EQ(context.position[1], c.y) << c.which;
    if (c.placed) {
      EXPECT_EQ(context.level, 2);
    }
  }
}

TEST_F(PersonDraw, TheCameraFollowsThePersonAndTheRouteAhead) {
  // The person at screen (400, -100): outside the middle of the view.
  animator->placement[0] = 400;
  animator->placement[1] = 100;
  person->SetLevel(2);
  animator->FollowWithCamera(true);
  EXPECT_EQ(view.scrolls, (std::vector<std::string>{"level 2", "400.000000,-100.000000"}));

  view.scrolls.clear();
  person->PathPoints() = {{0, 0}, {2400, 0}, {99999, 0}};
  animator->destination = 1;
  animator->FollowWithCamera(true);
  // The route's second point (x 450) joins the box, the third is too far.
  EXPECT_EQ(view.scrolls, (std::vector<std::string>{"425.000000,-108.000000"}));

  view.scrolls.clear();
  animator->placement[0] = 320;
  animator->placement[1] = -240;
  animator->FollowWithCamera(true);
  EXPECT_TRUE(view.scrolls.empty()) << "in the middle of the view";
  person->SetData(34, 1);
  animator->placement[0] = 0;
  animator->FollowWithCamera(true);
  EXPECT_TRUE(view.scrolls.empty()) << "object data 34 keeps the camera still";
}

}  // namespace
}  // namespace tova_test
