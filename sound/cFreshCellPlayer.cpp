#include "sound/cFreshCellPlayer.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "sound/cFreshDriver.h"
#include "sound/cFreshPlayer.h"
#include "sound/cGZSnd3D.h"
#include "sound/cIGZSndSys.h"

namespace {

std::atomic<int32_t> gForcedDirection{-1};

// 2^(i/12): the twelve-tone ratios of one octave.
constexpr double kSemitoneRatio[13] = {1.0,         1.059463094, 1.122462048, 1.189207115, 1.259921050,
                                       1.334839854, 1.414213562, 1.498307077, 1.587401052, 1.681792831,
                                       1.781797436, 1.887748625, 2.0};

// The ratio of k semitones up (k >= 0), from whole octaves and the table.
double UpRatio(int32_t k) { return std::ldexp(kSemitoneRatio[k % 12], k / 12); }

}  // namespace

void cFreshCellPlayer::ForceDirection(int32_t direction) { gForcedDirection = direction; }

cFreshCellPlayer::~cFreshCellPlayer() {
    if (mpClip) {
        mpClip->Stop();
        mpClip->Unload();
        mpClip->Release();
    }
}

void cFreshCellPlayer::Bind(cFreshPlayer* owner, int32_t row, int32_t column) {
    mpOwner = owner;
    mRow = row;
    mColumn = column;
}

std::string cFreshCellPlayer::Path() const { return mpOwner->GetFolder() + mpCell->name; }

bool cFreshCellPlayer::StartCell(const cFreshCell* cell) {
    if (IsBusy() || !cell || !mpOwner) return false;
    mbFinishing = false;
    mpCell = cell;
    if (cell->counted) mBeatsLeft = cell->beats;
    if (cIFreshObserver* observer = mpOwner->Observer()) observer->ClipStarted(Path(), mRow, mColumn);
    mState = kStarted;
    return true;
}

void cFreshCellPlayer::BeatCell(bool late, int32_t beat) {
    switch (mState) {
    case kIdle:
        return;
    case kStarted: {
        std::string path = Path();
        if (cIFreshObserver* observer = mpOwner->Observer()) {
            if (!observer->MayPlay(path)) {
                StopCell();
                return;
            }
            path = observer->MapPath(path);
        }
        cIGZSndSys* system = mpOwner->Driver() ? mpOwner->Driver()->SoundSystem() : nullptr;
        mpClip = system ? system->Create3DSound(path.c_str(), 0, true) : nullptr;
        if (!mpClip || !mpClip->Load()) {
            StopCell();
            return;
        }
        mpClip->SetMinDistance(100.0f);
        mpClip->SetMaxDistance(100000.0f);
        mState = kLoaded;
        return;
    }
    case kLoaded:
        if (beat == 1 && (!mpCell->barSync || !late)) {
            StartPlaying();
        } else if (mpCell->barSync && beat == mpOwner->Score()->header.beatsPerBar) {
            HoldBar();
        }
        return;
    case kLoadedAgain:
        mState = kLoaded;
        return;
    case kPlaying:
        if (mpCell->counted) {
            --mBeatsLeft;
            if (mbFinishing) {
                if (mBeatsLeft != 0 && !(mpCell->barSync && late)) StopCell();
                return;
            }
            if (mBeatsLeft == 1 && mpCell->barSync) HoldBar();
            if (mBeatsLeft <= 0) {
                mBeatsLeft = mpCell->beats;
                if (!late) ReleaseBar();
            }
        } else if (!mpClip->IsPlaying()) {
            StopCell();
        }
        return;
    case kDraining:
        // The fade-out ends at silence without stopping the clip.
        if (!mpClip->IsPlaying() || mpClip->GetVolume() == 0) StopCell();
        return;
    }
}

void cFreshCellPlayer::StartPlaying() {
    const cFreshCell& cell = *mpCell;
    RandomSequence& random = mpOwner->Random();
    if ((cell.pitchLow != 0 || cell.pitchHigh != 0) && cell.pitchHigh >= cell.pitchLow) {
        const int64_t span = std::min<int64_t>(int64_t{cell.pitchHigh} - cell.pitchLow + 1, 0xFFFFFE);
        // Beyond eight octaves the mixer's frequency limits decide anyway.
        const int32_t k = static_cast<int32_t>(
            std::clamp<int64_t>(cell.pitchLow + int64_t{random.Next(static_cast<uint32_t>(span))}, -96, 96));
        const double frequency = mpClip->GetFrequency();
        const double shifted = k >= 0 ? frequency * UpRatio(k) : frequency / UpRatio(-k);
        mpClip->SetFrequency(static_cast<uint32_t>(std::lround(std::min(shifted, 4.0e9))));
    }
    const int64_t g = int64_t{cell.volume} * mpOwner->GetVolume();
    int64_t h = g / 1024;
    if (cell.randomVolume && h > 3)
        h -= random.Next(static_cast<uint32_t>(std::clamp<int64_t>(g / 3072, 0, 0xFFFFFE)));
    const int32_t level = static_cast<int32_t>(std::clamp<int64_t>(h, 0, 1024));
    if (cell.fadeIn != 0)
        mpClip->SetVolume(0);
    else
        SetCellVolume();
    if (!mpClip->Play(mpClip->GetVolume(), cell.counted, 1)) {
        StopCell();
        return;
    }
    mpClip->SetReverbMix(mpOwner->GetIndoorDamping());
    Place();
    if (cell.fadeIn != 0) mpClip->Fade(0, level, 2000, true, false);
    mState = kPlaying;
    ReleaseBar();
}

void cFreshCellPlayer::Place() {
    float x = (mpCell->across - 512) / 512.0f;
    float z = (mpCell->depth - 512) / 512.0f;
    if (mpCell->randomPlace) {
        RandomSequence& random = mpOwner->Random();
        if (mpCell->across == 512 && mpCell->depth == 512) {
            static constexpr float kDirections[4][2] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};
            const int32_t forced = gForcedDirection;
            const uint32_t d = forced >= 0 && forced < 4 ? static_cast<uint32_t>(forced) : random.Next(4);
            x = kDirections[d][0];
            z = kDirections[d][1];
        } else if (mpCell->across == 512) {
            x = random.Next(2) ? 1.0f : -1.0f;
        } else if (mpCell->depth == 512) {
            z = random.Next(2) ? 1.0f : -1.0f;
        }
    }
    mpClip->SetPosition(x * 100.0f, 0.0f, z * 100.0f);
}

void cFreshCellPlayer::FinishCell() {
    switch (mState) {
    case kPlaying:
        if (mpCell->fadeOut != 0) {
            // The fade leaves the clip to this player: StopCell releases it,
            // once.
            if (!mpClip->Fade(mpClip->GetVolume(), 0, static_cast<uint32_t>(std::max(mpCell->fadeOut, 0)), true,
                              false)) {
                StopCell();
                return;
            }
            mState = kDraining;
            mbFinishing = true;
            ReleaseBar();
            if (cIFreshObserver* observer = mpOwner->Observer()) observer->ClipFinishing(Path(), mRow, mColumn);
            return;
        }
        StopCell();
        return;
    case kStarted:
    case kLoaded:
        StopCell();
        return;
    default:
        return;
    }
}

void cFreshCellPlayer::MarkFinishing() {
    if (!IsBusy() || mbFinishing) return;
    mbFinishing = true;
    if (cIFreshObserver* observer = mpOwner->Observer()) observer->ClipFinishing(Path(), mRow, mColumn);
}

void cFreshCellPlayer::SetCellVolume() {
    if (!mpClip || !mpCell) return;
    const int64_t v = int64_t{mpCell->volume} * mpOwner->GetVolume() / 1024 * mpOwner->Score()->header.volume / 1024;
    mpClip->SetVolume(static_cast<int32_t>(std::clamp<int64_t>(v, 0, 1024)));
}

void cFreshCellPlayer::StopCell() {
    if (mpClip) {
        cIGZSnd3D* clip = mpClip;
        mpClip = nullptr;
        clip->Stop();
        clip->Unload();
        clip->Release();
    }
    ReleaseBar();
    if (mpCell)
        if (cIFreshObserver* observer = mpOwner->Observer()) observer->ClipStopped(Path(), mRow, mColumn);
    mpCell = nullptr;
    mbFinishing = false;
    mBeatsLeft = 0;
    mState = kIdle;
}

void cFreshCellPlayer::HoldBar() {
    mbHoldsBar = true;
    if (cFreshDriver* driver = mpOwner->Driver()) driver->MarkHold();
}

void cFreshCellPlayer::ReleaseBar() {
    if (!mbHoldsBar) return;
    mbHoldsBar = false;
    if (cFreshDriver* driver = mpOwner->Driver()) driver->ReleaseHold();
}
