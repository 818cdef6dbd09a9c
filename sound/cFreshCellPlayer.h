// The player of one place of a score's grid: it loads the cell's clip as a
// 3D sound when the score player starts the cell, waits for the first beat
// of a bar, places the clip around the listener with its volume and a random
// pitch within the cell's range, plays it once or for a number of beats and
// frees it when it ends. The score player gives it every beat.
#pragma once

#include <cstdint>
#include <string>

class cFreshPlayer;
class cIGZSnd3D;
struct cFreshCell;

class cFreshCellPlayer {
public:
    enum State : int32_t { kIdle = 0, kStarted = 1, kLoaded = 2, kLoadedAgain = 3, kPlaying = 4, kDraining = 5 };

    cFreshCellPlayer() = default;
    ~cFreshCellPlayer();
    cFreshCellPlayer(const cFreshCellPlayer&) = delete;
    cFreshCellPlayer& operator=(const cFreshCellPlayer&) = delete;

    void Bind(cFreshPlayer* owner, int32_t row, int32_t column);

    // Refused (false) while busy.
    bool StartCell(const cFreshCell* cell);
    void BeatCell(bool late, int32_t beat);
    void FinishCell();
    void SetCellVolume();
    void StopCell();
    // Marked by the beat clock to make room; counts out of the busy cells.
    void MarkFinishing();

    State GetState() const { return mState; }
    bool IsBusy() const { return mState != kIdle; }
    bool IsFinishing() const { return mbFinishing; }
    const cFreshCell* GetCell() const { return mpCell; }
    cIGZSnd3D* GetClip() const { return mpClip; }
    int32_t BeatsLeft() const { return mBeatsLeft; }

    // Forces the direction a centred cell with random placement takes:
    // 0..3 for (0, 1), (0, -1), (-1, 0), (1, 0); -1 draws it.
    static void ForceDirection(int32_t direction);

private:
    void StartPlaying();
    void Place();
    void HoldBar();
    void ReleaseBar();
    std::string Path() const;

    cFreshPlayer* mpOwner = nullptr;
    int32_t mRow = 0;
    int32_t mColumn = 0;
    cIGZSnd3D* mpClip = nullptr;
    State mState = kIdle;
    const cFreshCell* mpCell = nullptr;
    int32_t mBeatsLeft = 0;
    bool mbFinishing = false;
    bool mbHoldsBar = false;
};
