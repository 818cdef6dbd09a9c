// The outdoor ambience's score player. It keeps a position in a score's grid
// (row and column, set as 0..1000) and, on a beat clock, starts clips from
// the cells in range of it: a cell is eligible by its group, conflicts and
// probability class; on the decision beats of a bar the player makes room
// by marking a cell finishing and starts new ones up to a target and a
// ceiling. Every random number comes from the player's one generator, so a
// seed fixes a run. All state changes hold the score players' lock.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "framework/RandomSequence.h"
#include "sound/cFreshCellPlayer.h"
#include "sound/cFreshScore.h"
#include "sound/cIFreshPlayer.h"

class cRZCallbackTimer;

class cFreshPlayer : public cIFreshPlayer {
public:
    static constexpr int32_t kMaxSide = cFreshScore::kMaxSide;
    // The clock restarts after a day.
    static constexpr int64_t kClockWrapMs = 86400001;
    static constexpr int64_t kLateMs = 7;

    // Seeded with the millisecond clock.
    cFreshPlayer();
    explicit cFreshPlayer(uint32_t seed);

    uint32_t AddRef() override;
    uint32_t Release() override;
    cIFreshPlayer* QueryInterface(uint32_t id) override;
    bool Bind(cFreshScore* score, const std::string& folder, cFreshDriver* driver, cIFreshObserver* observer) override;
    void Shutdown() override;
    void BeatUpdate() override;
    bool Start() override;
    bool IsPlaying() const override { return mbPlaying; }
    bool Stop() override;
    void SetVolume(int32_t volume) override;
    bool FadeTo(uint32_t durationMs, int32_t target, int32_t stopAtEnd) override;
    void SetIndoorDamping(int32_t mix) override;
    void SetRow(int32_t position) override;
    void SetColumn(int32_t position) override;
    void SetDensity(int32_t density) override;
    int32_t GetRow() const override { return mRow; }
    int32_t GetColumn() const override { return mColumn; }
    void SetHold(bool hold) override;
    const std::string& GetFolder() const override { return mFolder; }
    void SetRadii(int32_t row, int32_t column) override;
    void GetRadii(int32_t& row, int32_t& column) const override;
    bool Load(const std::string& path, cFreshDriver* driver, cIFreshObserver* observer) override;
    bool LoadFrom(const std::string& folder, const std::string& file, cFreshDriver* driver,
                  cIFreshObserver* observer) override;
    void PlayAtVolume(int32_t volume) override;
    void StopFade() override;
    void SetTempo(int32_t bpm) override;
    void SetLateOverride(bool late) override;
    void SetPauseValue(int32_t value) override;
    void SetReverbMix(int32_t mix) override;
    int32_t PlayingCount() const override;
    int32_t FinishingCount() const override;

    // Without the lock (callers hold it).
    void SetVolumeUnlocked(int32_t volume);
    bool StopUnlocked();

    bool InRange(int32_t row, int32_t column) const;
    // 0 = not eligible; higher wins (see the .cpp).
    int32_t Eligibility(int32_t row, int32_t column, int32_t group);
    // The best eligible cell for a group (0 = none) into row and column.
    bool ChooseCell(int32_t group, int32_t& row, int32_t& column);
    // A playing cell to make room with: one out of range first, else a
    // random one in range that is not finishing and not of class 20.
    bool ChooseCellToFinish(int32_t& row, int32_t& column);
    // Remembered as the last finished cell; a busy cell is finished.
    void FinishCellAt(int32_t row, int32_t column);
    // A busy cell is finished, any other started.
    void StartCellAt(int32_t row, int32_t column);
    int32_t BusyCount() const;
    int32_t EligibleCount() const { return mEligibleCount; }
    void RefreshCounts();
    int32_t Target() const;
    int32_t Ceiling() const;

    // What the cell players read.
    RandomSequence& Random() { return mRandom; }
    cFreshDriver* Driver() const { return mpDriver; }
    cIFreshObserver* Observer() const { return mpObserver; }
    const cFreshScore* Score() const { return mpScore.get(); }
    int32_t GetVolume() const { return mVolume; }
    int32_t GetIndoorDamping() const { return mIndoorDamping; }
    int32_t GetTempo() const { return mTempo; }
    int32_t CurrentBeat() const { return mCurrentBeat; }
    int64_t BeatCounter() const { return mBeatCounter; }
    bool IsLoaded() const { return mbLoaded; }
    bool IsFading() const { return mpFader != nullptr; }
    cFreshCellPlayer* CellPlayer(int32_t row, int32_t column);

protected:
    ~cFreshPlayer() override;

private:
    bool Blocked(int32_t row, int32_t column) const;
    const cFreshCellPlayer* CellPlayerAt(int32_t row, int32_t column) const;
    int32_t Position(int32_t p, int32_t size, int32_t radius) const;
    int64_t ElapsedMs() const;
    void RestartStopwatch();
    void Decide();
    void StopFadeUnlocked();
    void FaderTick();
    static void FaderThunk(void* self);

    std::atomic<uint32_t> mRefCount{1};
    std::unique_ptr<cFreshScore> mpScore;
    std::string mFolder;
    cFreshDriver* mpDriver = nullptr;
    cIFreshObserver* mpObserver = nullptr;
    RandomSequence mRandom;
    bool mbStopwatch = false;
    uint32_t mStopwatchStart = 0;
    int32_t mVolume = 1024;
    int32_t mRow = 1;
    int32_t mColumn = 1;
    int32_t mRowRadius = 2;
    int32_t mColumnRadius = 2;
    int32_t mRows = 0;
    int32_t mColumns = 0;
    bool mbPlaying = false;
    bool mbLoaded = false;
    int32_t mCurrentBeat = 1;
    int64_t mBeatCounter = 0;
    int64_t mBeatBase = 0;
    int32_t mTempo = 120;
    bool mbLateOverride = false;
    int32_t mPauseValue = 0;
    int32_t mDensity = 100;
    bool mbHold = false;
    int32_t mIndoorDamping = 0;
    int32_t mEligibleCount = 0;
    int32_t mLastPlayedRow = -1, mLastPlayedColumn = -1;
    int32_t mLastFinishedRow = -1, mLastFinishedColumn = -1;
    std::unique_ptr<std::array<cFreshCellPlayer, kMaxSide * kMaxSide>> mpCells;
    cRZCallbackTimer* mpFader = nullptr;
    int32_t mFadeTarget = 0;
    int32_t mFadeStep = 0;
    int32_t mFadeStopAtEnd = 0;
};
