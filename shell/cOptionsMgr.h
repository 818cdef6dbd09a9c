// The player's settings: display quality, the three volume steps, interface
// behaviour and the automatic web pages. Saved as resource 'Optn' 128 of
// "options.iff"; command-line words override them. The engines that own a
// setting (renderer flags, the sound player) hear of it through the hooks;
// the record keeps the value so it can be saved without them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ReconStream;

namespace tova {

class cOptionsMgr {
public:
    static constexpr uint32_t kType = 0x4F70746E;  // 'Optn'
    static constexpr int16_t kId = 128;
    static constexpr int16_t kVersion = 4;
    static constexpr int32_t kMaxVolumeStep = 10;
    static constexpr int32_t kMaxDetail = 2;

    // What reading or setting a value tells the rest of the game.
    struct Hooks {
        std::function<void()> redrawView;                      // a renderer flag changed
        std::function<void(int32_t which, int32_t step)> volume;  // 0 effects, 1 music, 2 voice
        std::function<void(bool on)> freeWill;
        std::function<void(bool on)> edgeScroll;
        std::function<void(uint32_t delay, uint32_t fade)> tooltipTiming;
        std::function<bool()> quickTipsSuppressed;              // the simulator's global 26
        std::function<void()> requestQuickTip;
    };

    cOptionsMgr() = default;
    void SetHooks(Hooks hooks) { mHooks = std::move(hooks); }

    // The record's serialisation, the same order for reading and writing;
    // false when the stream ran out or the version is unknown.
    bool Transfer(ReconStream& stream);
    // The record at version 4 as resource bytes.
    std::vector<uint8_t> ToBytes();
    bool FromBytes(const std::vector<uint8_t>& bytes);

    // Reads "options.iff" at `path`. With `countRun` (the neighbourhood copy)
    // the run count goes up, the factory mark is cleared and `switches`
    // apply; a count of 5 asks for a quick tip, a count of 1 with a 3D speed
    // below 20 frames lowers the detail. False when nothing was read.
    bool Load(const std::string& path, bool countRun = false, const std::vector<std::string>& switches = {},
              int32_t speed3D = -1);
    // Writes the record through a temporary file renamed over `path`; on any
    // failure the old file stays whole and `error` says why.
    bool Save(const std::string& path, std::string* error = nullptr);

    // The option words of the command line ("-shadows off", "factory").
    void ApplyOptionSwitches(const std::vector<std::string>& words);
    void ApplyFactoryDefaults();
    void ApplyLowDetail();

    bool GetCustomised() const { return mCustomised; }
    bool GetTransparentUI() const { return mTransparentUI; }
    void SetTransparentUI(bool on) { mTransparentUI = on; }
    bool GetQuickTips() const;
    void SetQuickTips(bool on);
    bool GetSnapshots() const { return mSnapshots; }
    void SetSnapshots(bool on) { mSnapshots = on; }
    bool GetLivePip() const { return mLivePip; }
    void SetLivePip(bool on) { mLivePip = on; }
    bool GetExportHtml() const { return mExportHtml; }
    void SetExportHtml(bool on) { mExportHtml = on; }
    int32_t GetRunCount() const { return mRunCount; }
    bool GetEdgeScroll() const { return mEdgeScroll; }
    void SetEdgeScroll(bool on);
    // Volume steps, clamped to 0..10.
    int32_t GetVolume(int32_t which) const;
    void SetVolume(int32_t which, int32_t step);
    bool GetFactoryReset() const { return mFactoryReset; }

    bool GetBlended() const { return mBlended; }
    void SetBlended(bool on);
    bool GetShadows() const { return mShadows; }
    void SetShadows(bool on);
    bool GetLighting() const { return mLighting; }
    void SetLighting(bool on);
    // Details 0 low, 1 medium, 2 high (clamped).
    int32_t GetTerrainDetail() const { return mTerrainDetail; }
    void SetTerrainDetail(int32_t detail);
    int32_t GetCharacterDetail() const { return mCharacterDetail; }
    void SetCharacterDetail(int32_t detail);
    bool GetAutoCenter() const { return mAutoCenter; }
    void SetAutoCenter(bool on) { mAutoCenter = on; }
    bool GetFreeWill() const { return mFreeWill; }
    void SetFreeWill(bool on);
    bool GetPauseInBackground() const { return mPauseInBackground; }
    void SetPauseInBackground(bool on) { mPauseInBackground = on; }

private:
    Hooks mHooks;
    // The record.
    bool mCustomised = false;
    bool mTransparentUI = false;
    bool mQuickTips = false;
    bool mSnapshots = false;
    bool mLivePip = false;
    bool mExportHtml = false;
    int32_t mRunCount = 0;
    bool mEdgeScroll = true;
    int32_t mVolumes[3] = {8, 8, 8};
    bool mFactoryReset = false;
    // Settings the engines own.
    bool mBlended = false;
    bool mShadows = false;
    bool mLighting = false;
    int32_t mTerrainDetail = 2;
    int32_t mCharacterDetail = 2;
    bool mAutoCenter = false;
    bool mFreeWill = true;
    bool mPauseInBackground = true;
};

// The one record of the running program.
cOptionsMgr& GetOptions();

}  // namespace tova
