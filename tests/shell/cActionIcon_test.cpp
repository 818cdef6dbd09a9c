#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/cActionIcon.h"
#include "shell/iShellSound.h"

namespace {

using shell::cActionIcon;

class IconSound : public tova::iShellSound {
public:
    std::vector<std::string> played;
    int32_t GetVolume(Volume) const override { return 0; }
    void SetVolume(Volume, int32_t) override {}
    void PlayMusic(const std::string&) override {}
    void FadeMusic(uint32_t) override {}
    void Pause() override {}
    void Resume() override {}
    void QuietAll() override {}
    void PlayUISound(const std::string& name) override { played.push_back(name); }
};

TEST(cActionIcon, ThePictureGridFollowsTheListedSizes) {
    const struct {
        int32_t w, h, columns, rows, row, cellW, cellH;
    } cases[] = {{45, 45, 1, 1, 0, 45, 45},   {180, 135, 4, 3, 1, 45, 45}, {270, 45, 6, 1, 0, 45, 45},
                 {180, 45, 4, 1, 0, 45, 45},  {50, 60, 1, 1, 0, 50, 60},   {0, 0, 1, 1, 0, 45, 45}};
    for (const auto& c : cases) {
        const cActionIcon::Grid g = cActionIcon::GridFor(c.w, c.h);
        EXPECT_EQ(g.columns, c.columns) << c.w << "x" << c.h;
        EXPECT_EQ(g.rows, c.rows) << c.w << "x" << c.h;
        EXPECT_EQ(g.row, c.row) << c.w << "x" << c.h;
        EXPECT_EQ(g.cellWidth, c.cellW) << c.w << "x" << c.h;
        EXPECT_EQ(g.cellHeight, c.cellH) << c.w << "x" << c.h;
    }
}

TEST(cActionIcon, CancellingAsksThePersonOnceAndSoundsOnce) {
    IconSound sound;
    tova::SetShellSound(&sound);
    std::vector<int32_t> asked;
    bool accept = false;
    cActionIcon icon([&](int32_t person, int32_t action) {
        asked.push_back(person * 100 + action);
        return accept;
    }, [] { return 1000u; });
    icon.SetAction(7, 3, false, 180, 135, "Eat");
    EXPECT_EQ(icon.Width(), 45);
    icon.OnLButtonUp(1, 1, 0);
    icon.OnLButtonUp(1, 1, 0);
    EXPECT_EQ(asked, (std::vector<int32_t>{307}));
    EXPECT_EQ(sound.played, (std::vector<std::string>{"UI_error"}));
    accept = true;
    icon.SetAction(8, 3, false, 45, 45, "Sleep");
    icon.Cancel();
    EXPECT_EQ(sound.played.back(), "UI_queue_delete");
    tova::SetShellSound(nullptr);
}

TEST(cActionIcon, ASlideMovesAlongTheRampAndStopsAtItsEnd) {
    uint32_t now = 5000;
    cActionIcon icon(nullptr, [&] { return now; });
    icon.SetAction(1, 1, false, 45, 45, "Walk");
    icon.PlaceAt(100, 5);
    EXPECT_TRUE(icon.IsPlaced());
    icon.SlideTo(200, 5, 0);
    icon.OnLButtonUp(1, 1, 0);
    EXPECT_FALSE(icon.IsCancelled()) << "no cancel while sliding";
    now += 250;
    icon.StepSlide();
    EXPECT_EQ(icon.GetArea().left, 150);
    now += 250;
    icon.StepSlide();
    EXPECT_EQ(icon.GetArea().left, 200);
    EXPECT_FALSE(icon.IsSliding());
    EXPECT_TRUE(icon.TestFlag(kGZWinHasToolTip));
}

}  // namespace
