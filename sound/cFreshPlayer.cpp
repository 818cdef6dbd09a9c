#include "sound/cFreshPlayer.h"

#include <algorithm>
#include <cstdlib>

#include "framework/cGZFrameWork.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZLock.h"
#include "sound/cFreshDriver.h"
#include "sound/cGZSnd3D.h"

namespace {

// The chance of a cell of each probability class, out of 32768, before it
// is shared among the eligible cells.
constexpr int64_t kClassChance[21] = {0,     600,    1500,   3000,   7500,   12000,    15000,
                                      18000, 21000,  25500,  32767,  36000,  45000,    58000,
                                      67500, 90000,  120000, 210000, 300000, 40000000, 40000000};

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

cFreshPlayer::cFreshPlayer() = default;
cFreshPlayer::cFreshPlayer(uint32_t seed) : mRandom(seed) {}

cFreshPlayer::~cFreshPlayer() { Shutdown(); }

uint32_t cFreshPlayer::AddRef() { return ++mRefCount; }

uint32_t cFreshPlayer::Release() {
    const uint32_t left = --mRefCount;
    if (left == 0) delete this;
    return left;
}

cIFreshPlayer* cFreshPlayer::QueryInterface(uint32_t id) {
    if (id != kInterfaceId) return nullptr;
    AddRef();
    return this;
}

cFreshCellPlayer* cFreshPlayer::CellPlayer(int32_t row, int32_t column) {
    return const_cast<cFreshCellPlayer*>(CellPlayerAt(row, column));
}

const cFreshCellPlayer* cFreshPlayer::CellPlayerAt(int32_t row, int32_t column) const {
    if (!mpCells || row < 0 || row >= mRows || column < 0 || column >= mColumns) return nullptr;
    return &(*mpCells)[static_cast<size_t>(row) * kMaxSide + static_cast<size_t>(column)];
}

// --- loading -----------------------------------------------------------------

bool cFreshPlayer::Load(const std::string& path, cFreshDriver* driver, cIFreshObserver* observer) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return LoadFrom("", path, driver, observer);
    return LoadFrom(path.substr(0, slash + 1), path.substr(slash + 1), driver, observer);
}

bool cFreshPlayer::LoadFrom(const std::string& folder, const std::string& file, cFreshDriver* driver,
                            cIFreshObserver* observer) {
    auto score = std::make_unique<cFreshScore>();
    if (!score->Read((folder + file).c_str())) return false;
    return Bind(score.release(), folder, driver, observer);
}

bool cFreshPlayer::Bind(cFreshScore* score, const std::string& folder, cFreshDriver* driver,
                        cIFreshObserver* observer) {
    cRZLock lock(cFreshDriver::Lock());
    Shutdown();
    if (!score) return false;
    mpScore.reset(score);
    mFolder = folder;
    mpDriver = driver;
    mpObserver = observer;
    const cFreshScoreHeader& h = score->header;
    mVolume = std::clamp(h.volume, 0, 1024);
    mRowRadius = std::clamp(h.rowRadius, 0, kMaxSide);
    mColumnRadius = std::clamp(h.columnRadius, 0, kMaxSide);
    mTempo = h.tempo;
    mRows = std::clamp(h.rows, 1, kMaxSide);
    mColumns = std::clamp(h.columns, 1, kMaxSide);
    mRow = std::min(1, mRows - 1);
    mColumn = std::min(1, mColumns - 1);
    mpCells = std::make_unique<std::array<cFreshCellPlayer, kMaxSide * kMaxSide>>();
    for (int32_t r = 0; r < mRows; ++r)
        for (int32_t c = 0; c < mColumns; ++c) CellPlayer(r, c)->Bind(this, r, c);
    mbLoaded = true;
    RefreshCounts();
    return true;
}

void cFreshPlayer::Shutdown() {
    cRZLock lock(cFreshDriver::Lock());
    if (mbPlaying) StopUnlocked();
    StopFadeUnlocked();
    mpCells.reset();
    mpScore.reset();
    mbLoaded = false;
    mLastPlayedRow = mLastPlayedColumn = mLastFinishedRow = mLastFinishedColumn = -1;
}

// --- position and range ------------------------------------------------------

int32_t cFreshPlayer::Position(int32_t p, int32_t size, int32_t radius) const {
    int64_t v = int64_t{std::clamp(p, 0, 1000)} * size / 1000;
    if (mpScore->header.quantise) v = radius + (2 * int64_t{radius} + 1) * (v / (2 * int64_t{radius} + 1));
    v = std::max<int64_t>(std::min<int64_t>(v, size - radius - 1), radius);
    v = std::clamp<int64_t>(v, 0, size - 1);
    return static_cast<int32_t>(v);
}

void cFreshPlayer::SetRow(int32_t position) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded) return;
    mpScore->rowPosition = std::clamp(position, 0, 1000);
    mRow = Position(position, mRows, mRowRadius);
    RefreshCounts();
}

void cFreshPlayer::SetColumn(int32_t position) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded) return;
    mpScore->columnPosition = std::clamp(position, 0, 1000);
    mColumn = Position(position, mColumns, mColumnRadius);
    RefreshCounts();
}

void cFreshPlayer::SetRadii(int32_t row, int32_t column) {
    cRZLock lock(cFreshDriver::Lock());
    mRowRadius = std::clamp(row, 0, kMaxSide);
    mColumnRadius = std::clamp(column, 0, kMaxSide);
    if (mbLoaded) RefreshCounts();
}

void cFreshPlayer::GetRadii(int32_t& row, int32_t& column) const {
    row = mRowRadius;
    column = mColumnRadius;
}

bool cFreshPlayer::InRange(int32_t row, int32_t column) const {
    return std::abs(row - mRow) <= mRowRadius && std::abs(column - mColumn) <= mColumnRadius;
}

// --- eligibility and choice --------------------------------------------------

// Whether a place cannot start now: no cell, busy, out of range, the last
// cell finished, another cell of its group or a conflict sounding.
bool cFreshPlayer::Blocked(int32_t row, int32_t column) const {
    const cFreshCell* cell = mpScore->Cell(row, column);
    const cFreshCellPlayer* player = CellPlayerAt(row, column);
    if (!cell || !player || player->IsBusy() || !InRange(row, column)) return true;
    if (row == mLastFinishedRow && column == mLastFinishedColumn) return true;
    const auto sounding = [this](int32_t r, int32_t c) {
        const cFreshCellPlayer* other = CellPlayerAt(r, c);
        return other && other->IsBusy() && !other->IsFinishing();
    };
    if (cell->group != 0)
        for (int32_t r = 0; r < mRows; ++r)
            for (int32_t c = 0; c < mColumns; ++c) {
                const cFreshCell* other = mpScore->Cell(r, c);
                if ((r != row || c != column) && other && other->group == cell->group && sounding(r, c)) return true;
            }
    for (const auto& [r, c] : cell->conflicts)
        if (sounding(r, c)) return true;
    return false;
}

// 0: not eligible. A cell of class 20 answers 100 (101 for the wanted
// group), a cell of the wanted group 2, any other cell 1 when a random
// draw falls below its class's chance shared among the eligible cells.
int32_t cFreshPlayer::Eligibility(int32_t row, int32_t column, int32_t group) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded || Blocked(row, column)) return 0;
    const cFreshCell* cell = mpScore->Cell(row, column);
    const int32_t cls = cell->Class();
    if (cls == 0) return 0;
    if (cls == 20) return group != 0 && group == cell->group ? 101 : 100;
    if (group != 0 && group == cell->group) return 2;
    const int64_t count = mEligibleCount == 0 ? 10 : mEligibleCount;
    return mRandom.Next(32768) < kClassChance[cls] / count ? 1 : 0;
}

bool cFreshPlayer::ChooseCell(int32_t group, int32_t& row, int32_t& column) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded) return false;
    const int32_t firstRow = std::max(0, mRow - mRowRadius), lastRow = std::min(mRows - 1, mRow + mRowRadius);
    const int32_t firstColumn = std::max(0, mColumn - mColumnRadius);
    const int32_t lastColumn = std::min(mColumns - 1, mColumn + mColumnRadius);
    const int32_t startRow = std::clamp(
        mRow + static_cast<int32_t>(mRandom.Next(256) % uint32_t(2 * mRowRadius + 1)) - mRowRadius, firstRow, lastRow);
    const int32_t startColumn =
        std::clamp(mColumn + static_cast<int32_t>(mRandom.Next(256) % uint32_t(2 * mColumnRadius + 1)) - mColumnRadius,
                   firstColumn, lastColumn);
    // From the start to the range's end, then from its beginning up to the start.
    const auto order = [](int32_t start, int32_t first, int32_t last) {
        std::vector<int32_t> out;
        for (int32_t i = start; i <= last; ++i) out.push_back(i);
        for (int32_t i = first; i < start; ++i) out.push_back(i);
        return out;
    };
    int32_t best = 0;
    for (int32_t r : order(startRow, firstRow, lastRow))
        for (int32_t c : order(startColumn, firstColumn, lastColumn)) {
            const int32_t e = Eligibility(r, c, group);
            if (e > best) {
                best = e;
                row = r;
                column = c;
            }
        }
    return best > 0;
}

bool cFreshPlayer::ChooseCellToFinish(int32_t& row, int32_t& column) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded) return false;
    const uint32_t places = static_cast<uint32_t>(mRows * mColumns);
    const uint32_t start = mRandom.Next(places);
    for (uint32_t i = 0; i < places; ++i) {
        const int32_t r = static_cast<int32_t>((start + i) % places) / mColumns;
        const int32_t c = static_cast<int32_t>((start + i) % places) % mColumns;
        const cFreshCellPlayer* p = CellPlayer(r, c);
        if (p->GetState() == cFreshCellPlayer::kPlaying && !p->IsFinishing() && !InRange(r, c)) {
            row = r;
            column = c;
            return true;
        }
    }
    std::vector<std::pair<int32_t, int32_t>> candidates;
    for (int32_t r = 0; r < mRows; ++r)
        for (int32_t c = 0; c < mColumns; ++c) {
            const cFreshCellPlayer* p = CellPlayer(r, c);
            if (p->GetState() == cFreshCellPlayer::kPlaying && !p->IsFinishing() && InRange(r, c) &&
                p->GetCell()->Class() != 20)
                candidates.emplace_back(r, c);
        }
    if (candidates.empty()) return false;
    std::tie(row, column) = candidates[mRandom.Next(static_cast<uint32_t>(candidates.size()))];
    return true;
}

void cFreshPlayer::FinishCellAt(int32_t row, int32_t column) {
    cRZLock lock(cFreshDriver::Lock());
    cFreshCellPlayer* player = CellPlayer(row, column);
    if (!player) return;
    mLastFinishedRow = row;
    mLastFinishedColumn = column;
    if (player->IsBusy()) player->FinishCell();
}

void cFreshPlayer::StartCellAt(int32_t row, int32_t column) {
    cRZLock lock(cFreshDriver::Lock());
    cFreshCellPlayer* player = CellPlayer(row, column);
    if (!player) return;
    if (player->IsBusy())
        player->FinishCell();
    else if (player->StartCell(mpScore->Cell(row, column))) {
        mLastPlayedRow = row;
        mLastPlayedColumn = column;
    }
}

// --- counts --------------------------------------------------------------------

int32_t cFreshPlayer::BusyCount() const {
    cRZLock lock(cFreshDriver::Lock());
    int32_t n = 0;
    if (mpCells)
        for (int32_t r = 0; r < mRows; ++r)
            for (int32_t c = 0; c < mColumns; ++c) n += (*mpCells)[size_t(r) * kMaxSide + size_t(c)].IsBusy();
    return n;
}

int32_t cFreshPlayer::FinishingCount() const {
    cRZLock lock(cFreshDriver::Lock());
    int32_t n = 0;
    if (mpCells)
        for (int32_t r = 0; r < mRows; ++r)
            for (int32_t c = 0; c < mColumns; ++c) n += (*mpCells)[size_t(r) * kMaxSide + size_t(c)].IsFinishing();
    return n;
}

int32_t cFreshPlayer::PlayingCount() const {
    cRZLock lock(cFreshDriver::Lock());
    int32_t n = 0;
    if (mpCells)
        for (int32_t r = 0; r < mRows; ++r)
            for (int32_t c = 0; c < mColumns; ++c)
                n += (*mpCells)[size_t(r) * kMaxSide + size_t(c)].GetState() == cFreshCellPlayer::kPlaying;
    return n;
}

// The eligible count: cells of a class above 0 that could start now,
// before their random draw (which shares its chance among them).
void cFreshPlayer::RefreshCounts() {
    cRZLock lock(cFreshDriver::Lock());
    mEligibleCount = 0;
    if (!mbLoaded) return;
    for (int32_t r = std::max(0, mRow - mRowRadius); r <= std::min(mRows - 1, mRow + mRowRadius); ++r)
        for (int32_t c = std::max(0, mColumn - mColumnRadius); c <= std::min(mColumns - 1, mColumn + mColumnRadius);
             ++c)
            mEligibleCount += !Blocked(r, c) && mpScore->Cell(r, c)->Class() > 0;
}

int32_t cFreshPlayer::Target() const {
    if (!mbLoaded) return 0;
    const cFreshScoreHeader& h = mpScore->header;
    const int64_t columnDivisor = mColumns - 1 == 0 ? 1 : mColumns - 1;
    const int64_t rowDivisor = mRows - 1 == 0 ? 1 : mRows - 1;
    const int64_t t = int64_t{mDensity} * h.targetBase / 100 + (mColumn + 1) * int64_t{h.columnTargetStep} / columnDivisor +
                      (mRow + 1) * int64_t{h.rowTargetStep} / rowDivisor;
    return Clamp32(std::min<int64_t>(mEligibleCount, t));
}

int32_t cFreshPlayer::Ceiling() const {
    if (!mbLoaded) return 0;
    return Clamp32(int64_t{mpScore->header.busyCeiling} * mDensity / 100);
}

// --- the beat clock --------------------------------------------------------------

int64_t cFreshPlayer::ElapsedMs() const {
    if (!mbStopwatch || !mpDriver) return 0;
    return static_cast<uint32_t>(mpDriver->NowMs() - mStopwatchStart);
}

void cFreshPlayer::RestartStopwatch() {
    mbStopwatch = mpDriver != nullptr;
    if (mpDriver) mStopwatchStart = mpDriver->NowMs();
}

void cFreshPlayer::BeatUpdate() {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbPlaying || mPauseValue != 0 || mTempo <= 0) return;
    const int64_t t = ElapsedMs();
    const int64_t due = (mBeatCounter - mBeatBase) * 60000 / mTempo;
    if (t < due) return;
    const int32_t beatsPerBar = mpScore->header.beatsPerBar;
    if (t >= kClockWrapMs) {
        mBeatCounter = mBeatBase = mCurrentBeat = beatsPerBar;
        RestartStopwatch();
        return;
    }
    const bool late = t - due > kLateMs || mbLateOverride;
    if (beatsPerBar == mCurrentBeat + 1 || beatsPerBar == mCurrentBeat + 6) Decide();
    for (int32_t r = 0; r < mRows; ++r)
        for (int32_t c = 0; c < mColumns; ++c) CellPlayer(r, c)->BeatCell(late, mCurrentBeat);
    if (++mCurrentBeat > beatsPerBar) mCurrentBeat = 1;
    ++mBeatCounter;
}

// A decision beat: make room when enough cells play, then start cells up to
// the target, never beyond the ceiling.
void cFreshPlayer::Decide() {
    const int32_t target = Target();
    const int32_t ceiling = Ceiling();
    const auto active = [this] { return BusyCount() - FinishingCount(); };
    const auto startOne = [this](int32_t group) {
        int32_t r = 0, c = 0;
        if (!ChooseCell(group, r, c)) return;
        if (CellPlayer(r, c)->StartCell(mpScore->Cell(r, c))) {
            mLastPlayedRow = r;
            mLastPlayedColumn = c;
        }
        RefreshCounts();
    };
    bool finished = false;
    int32_t group = 0, cls = 0;
    int32_t r = 0, c = 0;
    if (!mbHold && mpScore->header.quantise && PlayingCount() >= target && ChooseCellToFinish(r, c)) {
        cFreshCellPlayer* player = CellPlayer(r, c);
        group = player->GetCell()->group;
        cls = player->GetCell()->Class();
        player->MarkFinishing();
        finished = true;
    }
    if (mbHold) return;
    if (finished && mDensity != 0 && active() < ceiling && !mpFader) {
        startOne(group);
        if (cls == 19) startOne(group);
        if (active() < target) startOne(group);
    }
    if (active() < ceiling) {
        startOne(0);
        if (active() < target && active() < ceiling) startOne(0);
    }
}

bool cFreshPlayer::Start() {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbLoaded || mbPlaying || !mpDriver) return false;
    StopFadeUnlocked();
    mTempo = mpScore->header.tempo;
    const int32_t beatsPerBar = mpScore->header.beatsPerBar;
    mBeatCounter = mBeatBase = mCurrentBeat = beatsPerBar > 2 ? beatsPerBar - 1 : beatsPerBar;
    RefreshCounts();
    RestartStopwatch();
    SetColumn(mpScore->columnPosition);
    SetRow(mpScore->rowPosition);
    mpDriver->Register(this);
    mbPlaying = true;
    return true;
}

bool cFreshPlayer::Stop() {
    cRZLock lock(cFreshDriver::Lock());
    return StopUnlocked();
}

bool cFreshPlayer::StopUnlocked() {
    StopFadeUnlocked();
    if (mpDriver) mpDriver->Unregister(this);
    mbStopwatch = false;
    if (mpCells)
        for (int32_t r = 0; r < mRows; ++r)
            for (int32_t c = 0; c < mColumns; ++c)
                if (CellPlayer(r, c)->IsBusy()) CellPlayer(r, c)->StopCell();
    mbPlaying = false;
    return true;
}

void cFreshPlayer::PlayAtVolume(int32_t volume) {
    cRZLock lock(cFreshDriver::Lock());
    SetVolumeUnlocked(volume);
    Start();
}

void cFreshPlayer::SetTempo(int32_t bpm) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbPlaying || bpm == mTempo) return;
    mTempo = bpm;
    RestartStopwatch();
    mBeatBase = mBeatCounter;
}

// --- volume and fades --------------------------------------------------------------

void cFreshPlayer::SetVolume(int32_t volume) {
    cRZLock lock(cFreshDriver::Lock());
    SetVolumeUnlocked(volume);
}

void cFreshPlayer::SetVolumeUnlocked(int32_t volume) {
    if (!mbLoaded) return;
    mVolume = std::clamp(volume, 0, 1024);
    for (int32_t r = 0; r < mRows; ++r)
        for (int32_t c = 0; c < mColumns; ++c)
            if (CellPlayer(r, c)->GetState() == cFreshCellPlayer::kPlaying) CellPlayer(r, c)->SetCellVolume();
}

bool cFreshPlayer::FadeTo(uint32_t durationMs, int32_t target, int32_t stopAtEnd) {
    cRZLock lock(cFreshDriver::Lock());
    if (!mbPlaying || mpFader || mVolume == 0 || target >= mVolume) return false;
    mFadeTarget = std::max(target, 0);
    // Twenty steps; a step never rounds to nothing, so every fade ends.
    mFadeStep = std::min((mFadeTarget - mVolume) / 20, -1);
    mFadeStopAtEnd = stopAtEnd;
    mpFader = new cRZCallbackTimer(mpDriver->Thread());
    mpFader->SetCallback(&FaderThunk, this);
    mpFader->SetAuxValue(100);
    mpFader->StartRepeating(std::max<uint32_t>(durationMs / 10, 1));
    return true;
}

void cFreshPlayer::FaderTick() {
    if (!mpFader) return;
    const int32_t next = std::max({0, mVolume + mFadeStep, mFadeTarget});
    SetVolumeUnlocked(next);
    if (next > mFadeTarget) return;
    // At the target: the player stops, or the volume stays there.
    if (mFadeStopAtEnd)
        StopUnlocked();
    else
        StopFadeUnlocked();
}

void cFreshPlayer::FaderThunk(void* self) {
    // Skipped when the lock is taken: whoever holds it may be stopping this
    // timer and waiting for this call.
    if (!cFreshDriver::Lock().TryEnter()) return;
    if (!GetCallbackCrash()) {
        try {
            static_cast<cFreshPlayer*>(self)->FaderTick();
        } catch (...) {
            ReportCallbackCrash("Freshness Volume Fader");
        }
    }
    cFreshDriver::Lock().Leave();
}

void cFreshPlayer::StopFade() {
    cRZLock lock(cFreshDriver::Lock());
    StopFadeUnlocked();
}

void cFreshPlayer::StopFadeUnlocked() {
    if (!mpFader) return;
    cRZCallbackTimer* timer = mpFader;
    mpFader = nullptr;
    timer->Stop();
    timer->Release();
}

// --- settings ----------------------------------------------------------------------

void cFreshPlayer::SetDensity(int32_t density) {
    cRZLock lock(cFreshDriver::Lock());
    mDensity = std::clamp(density, 0, 100);
}

void cFreshPlayer::SetHold(bool hold) {
    cRZLock lock(cFreshDriver::Lock());
    mbHold = hold;
}

void cFreshPlayer::SetLateOverride(bool late) {
    cRZLock lock(cFreshDriver::Lock());
    mbLateOverride = late;
}

void cFreshPlayer::SetPauseValue(int32_t value) {
    cRZLock lock(cFreshDriver::Lock());
    mPauseValue = value;
}

void cFreshPlayer::SetIndoorDamping(int32_t mix) {
    cRZLock lock(cFreshDriver::Lock());
    mIndoorDamping = mix;
}

void cFreshPlayer::SetReverbMix(int32_t mix) {
    cRZLock lock(cFreshDriver::Lock());
    mIndoorDamping = mix;
    for (int32_t r = 0; r < mRows && mpCells; ++r)
        for (int32_t c = 0; c < mColumns; ++c)
            if (cIGZSnd3D* clip = CellPlayer(r, c)->GetClip()) clip->SetReverbMix(mix);
}
