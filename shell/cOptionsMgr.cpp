#include "shell/cOptionsMgr.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gamedata/RecordIO.h"
#include "gamedata/ResFileSource.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"
#include "resfile/ReconStream.h"

namespace tova {

namespace {

int32_t ClampOptionValue(int32_t value, int32_t high) { return std::clamp(value, int32_t{0}, high); }

// One byte of the record: written as 0 or 1, read back as a flag.
bool TransferFlag(ReconStream& s, bool value) {
    uint8_t byte = value ? 1 : 0;
    s.SerializeBytes(&byte, 1);
    return byte != 0;
}

// One byte holding a small number (a detail or a volume step).
int32_t TransferStep(ReconStream& s, int32_t value, int32_t high) {
    uint8_t byte = static_cast<uint8_t>(ClampOptionValue(value, high));
    s.SerializeBytes(&byte, 1);
    return ClampOptionValue(byte, high);
}

}  // namespace

cOptionsMgr& GetOptions() {
    static cOptionsMgr options;
    return options;
}

bool cOptionsMgr::Transfer(ReconStream& s) {
    const bool reading = s.IsReading();
    int16_t version = kVersion;
    s.SerializeShorts(&version, 1);
    if (s.Failed() || version < 1 || version > kVersion) return false;

    // The record is read into a copy and taken only when it read whole, so a
    // cut file leaves the settings as they were.
    cOptionsMgr read = *this;
    cOptionsMgr& r = reading ? read : *this;
    if (!reading && mFactoryReset) mRunCount = 0;
    const bool customised = TransferFlag(s, !mFactoryReset);
    if (reading) r.mCustomised = customised;
    r.mBlended = TransferFlag(s, mBlended);
    r.mShadows = TransferFlag(s, mShadows);
    r.mLighting = TransferFlag(s, mLighting);
    r.mTerrainDetail = TransferStep(s, mTerrainDetail, kMaxDetail);
    r.mCharacterDetail = TransferStep(s, mCharacterDetail, kMaxDetail);
    for (int32_t& volume : r.mVolumes) volume = TransferStep(s, volume, kMaxVolumeStep);
    r.mAutoCenter = TransferFlag(s, mAutoCenter);
    r.mFreeWill = TransferFlag(s, mFreeWill);
    r.mEdgeScroll = TransferFlag(s, mEdgeScroll);
    r.mPauseInBackground = !TransferFlag(s, !mPauseInBackground);
    r.mTransparentUI = TransferFlag(s, mTransparentUI);
    if (version >= 2) {
        int32_t runs = mRunCount;
        s.SerializeLongs(&runs, 1);
        r.mRunCount = runs;
    } else {
        r.mRunCount = 0;
    }
    if (version >= 3) {
        r.mQuickTips = TransferFlag(s, GetQuickTips());
        r.mSnapshots = TransferFlag(s, mSnapshots);
        r.mLivePip = TransferFlag(s, mLivePip);
    } else {
        r.mQuickTips = r.mSnapshots = r.mLivePip = true;
    }
    r.mExportHtml = version >= 4 ? TransferFlag(s, mExportHtml) : true;
    if (s.Failed()) return false;
    if (!reading) return true;

    // Through the setters, so the engines hear of every value.
    Hooks hooks = mHooks;
    *this = read;
    mHooks = std::move(hooks);
    SetBlended(mBlended);
    SetShadows(mShadows);
    SetLighting(mLighting);
    SetTerrainDetail(mTerrainDetail);
    SetCharacterDetail(mCharacterDetail);
    for (int32_t which = 0; which < 3; ++which) SetVolume(which, mVolumes[which]);
    SetFreeWill(mFreeWill);
    SetEdgeScroll(mEdgeScroll);
    SetQuickTips(mQuickTips);
    return true;
}

std::vector<uint8_t> cOptionsMgr::ToBytes() {
    return WritePlain([this](ReconStream& s) { Transfer(s); });
}

bool cOptionsMgr::FromBytes(const std::vector<uint8_t>& bytes) {
    bool ok = false;
    ReadPlain(bytes, [this, &ok](ReconStream& s) { ok = Transfer(s); });
    return ok;
}

bool cOptionsMgr::Load(const std::string& path, bool countRun, const std::vector<std::string>& switches,
                       int32_t speed3D) {
    bool read = false;
    if (platform::FileExists(path)) {
        IFFResFile2 file;
        if (file.Open(platform::ResolvePath(path)) == 0) {
            ResFileSource source(&file);
            if (auto bytes = source.GetResource(kType, kId, nullptr))
                read = FromBytes(std::vector<uint8_t>(bytes->begin(), bytes->end()));
            file.Close();
        }
    }
    if (!countRun) return read;
    ++mRunCount;
    mFactoryReset = false;
    ApplyOptionSwitches(switches);
    if (mRunCount == 5 && mHooks.requestQuickTip) mHooks.requestQuickTip();
    if (mRunCount == 1 && speed3D >= 0 && speed3D < 20) ApplyLowDetail();
    return read;
}

bool cOptionsMgr::Save(const std::string& path, std::string* error) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        std::fprintf(stderr, "options: %s\n", why.c_str());
        return false;
    };
    const std::vector<uint8_t> record = ToBytes();
    if (record.empty()) return fail("the options record could not be written");
    // The resource file is made beside the target, read back whole and then
    // renamed over the old file in one step.
    const std::string target = platform::ResolvePath(path);
    const std::string building = target + ".~build";
    platform::DeleteFile(building);
    int status = 0;
    {
        IFFResFile2 file;
        status = file.Create(building);
        if (status == 0) status = file.Open(building);
        if (status == 0) {
            MemHandle h = NewMemHandle(static_cast<int32_t>(record.size()));
            if (!h) status = -1;
            else {
                std::copy(record.begin(), record.end(), GetMemHandleData(h));
                status = file.AddResource(h, kType, kId, "", true);
                if (status != 0) DisposeMemHandle(h);
            }
        }
        const int closed = file.Close();
        if (status == 0) status = closed;
    }
    std::stringstream bytes;
    if (status == 0) {
        std::ifstream in(building, std::ios::binary);
        bytes << in.rdbuf();
        if (!in) status = -1;
    }
    platform::DeleteFile(building);
    if (status != 0) return fail("cannot build " + building + " (status " + std::to_string(status) + ")");
    std::string why;
    if (!platform::SaveFileAtomically(target, bytes.str(), &why)) return fail(why);
    return true;
}

void cOptionsMgr::ApplyOptionSwitches(const std::vector<std::string>& words) {
    auto find = [&words](const char* word) -> const std::string* {
        for (size_t i = 0; i < words.size(); ++i)
            if (words[i] == word) return i + 1 < words.size() ? &words[i + 1] : nullptr;
        return nullptr;
    };
    if (std::find(words.begin(), words.end(), std::string("factory")) != words.end() ||
        std::find(words.begin(), words.end(), std::string("-factory")) != words.end()) {
        ApplyFactoryDefaults();
        return;
    }
    struct FlagWord {
        const char* word;
        std::function<void(bool)> set;
    };
    const FlagWord flags[] = {
        {"-aa", [this](bool on) { SetBlended(on); }},
        {"-shadows", [this](bool on) { SetShadows(on); }},
        {"-lighting", [this](bool on) { SetLighting(on); }},
        {"-transui", [this](bool on) { SetTransparentUI(on); }},
        {"-autocenter", [this](bool on) { SetAutoCenter(on); }},
        {"-freewill", [this](bool on) { SetFreeWill(on); }},
        {"-edgescroll", [this](bool on) { SetEdgeScroll(on); }},
        {"-simbkg", [this](bool on) { SetPauseInBackground(!on); }},
        {"-quicktips", [this](bool on) { SetQuickTips(on); }},
        {"-snapshots", [this](bool on) { SetSnapshots(on); }},
        {"-livepip", [this](bool on) { SetLivePip(on); }},
        {"-exporthtml", [this](bool on) { SetExportHtml(on); }},
    };
    for (const FlagWord& f : flags) {
        const std::string* next = find(f.word);
        if (!next) continue;
        if (*next == "on") f.set(true);
        else if (*next == "off") f.set(false);
    }
    auto detail = [](const std::string& word) {
        if (word == "low") return 0;
        if (word == "med") return 1;
        if (word == "high") return 2;
        return -1;
    };
    if (const std::string* next = find("-terrdtl"); next && detail(*next) >= 0) SetTerrainDetail(detail(*next));
    if (const std::string* next = find("-chardtl"); next && detail(*next) >= 0) SetCharacterDetail(detail(*next));
    const char* volumes[] = {"-soundfx", "-soundmusic", "-soundvox"};
    for (int32_t which = 0; which < 3; ++which)
        if (const std::string* next = find(volumes[which])) SetVolume(which, std::atoi(next->c_str()));
}

void cOptionsMgr::ApplyFactoryDefaults() {
    SetBlended(true);
    SetShadows(true);
    SetLighting(true);
    SetTransparentUI(true);
    SetTerrainDetail(2);
    SetCharacterDetail(2);
    for (int32_t which = 0; which < 3; ++which) SetVolume(which, 8);
    SetAutoCenter(true);
    SetFreeWill(true);
    SetEdgeScroll(true);
    SetPauseInBackground(true);
    SetQuickTips(true);
    SetSnapshots(true);
    SetLivePip(true);
    SetExportHtml(true);
    mRunCount = 1;
    mFactoryReset = true;
}

void cOptionsMgr::ApplyLowDetail() {
    SetBlended(false);
    SetShadows(false);
    SetLighting(false);
    SetTransparentUI(false);
    SetTerrainDetail(0);
    SetCharacterDetail(0);
    SetLivePip(false);
}

bool cOptionsMgr::GetQuickTips() const {
    if (mHooks.quickTipsSuppressed && mHooks.quickTipsSuppressed()) return false;
    return mQuickTips;
}

void cOptionsMgr::SetQuickTips(bool on) {
    mQuickTips = on;
    if (mHooks.tooltipTiming) mHooks.tooltipTiming(on ? 0 : 750, on ? 250 : 333);
}

void cOptionsMgr::SetEdgeScroll(bool on) {
    mEdgeScroll = on;
    if (mHooks.edgeScroll) mHooks.edgeScroll(on);
}

int32_t cOptionsMgr::GetVolume(int32_t which) const {
    return which >= 0 && which < 3 ? mVolumes[which] : 0;
}

void cOptionsMgr::SetVolume(int32_t which, int32_t step) {
    if (which < 0 || which >= 3) return;
    mVolumes[which] = ClampOptionValue(step, kMaxVolumeStep);
    if (mHooks.volume) mHooks.volume(which, mVolumes[which]);
}

void cOptionsMgr::SetBlended(bool on) {
    mBlended = on;
    if (mHooks.redrawView) mHooks.redrawView();
}

void cOptionsMgr::SetShadows(bool on) {
    mShadows = on;
    if (mHooks.redrawView) mHooks.redrawView();
}

void cOptionsMgr::SetLighting(bool on) {
    mLighting = on;
    if (mHooks.redrawView) mHooks.redrawView();
}

void cOptionsMgr::SetTerrainDetail(int32_t detail) {
    mTerrainDetail = ClampOptionValue(detail, kMaxDetail);
    if (mHooks.redrawView) mHooks.redrawView();
}

void cOptionsMgr::SetCharacterDetail(int32_t detail) {
    mCharacterDetail = ClampOptionValue(detail, kMaxDetail);
    if (mHooks.redrawView) mHooks.redrawView();
}

void cOptionsMgr::SetFreeWill(bool on) {
    mFreeWill = on;
    if (mHooks.freeWill) mHooks.freeWill(on);
}

}  // namespace tova
