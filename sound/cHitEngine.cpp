#include "sound/cHitEngine.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "framework/CTGFileManager.h"
#include "framework/cRZLock.h"
#include "platform/Clock.h"
#include "sound/cGZSnd3DListener.h"
#include "sound/cHitControlGroup.h"
#include "sound/cHitList.h"
#include "sound/cIGZSndSys.h"
#include "sound/cISoundObject.h"
#include "sound/cSampleChannel.h"
#include "sound/cSamplePatch.h"

namespace {

std::atomic<cHitEngine*> gHitEngine{nullptr};

}  // namespace

cHitEngine::cHitEngine() : mCursor(mActive.end()) { ResetVariables(); }

cHitEngine::~cHitEngine() {
    if (mbRunning) Shutdown();
    cHitEngine* self = this;
    gHitEngine.compare_exchange_strong(self, nullptr);
}

cHitEngine* cHitEngine::Current() { return gHitEngine; }

void cHitEngine::ResetVariables() {
    // System defaults of 17..62 (48 and 49 belong to no bank and read 0).
    mDefaults.Fill(0);
    const std::pair<int32_t, int32_t> defaults[] = {{17, 32},   {18, 1024}, {19, 1024}, {20, 512}, {21, 3600},
                                                    {28, 100},  {29, 10000}, {39, 1},   {52, 120}, {57, 20}};
    for (const auto& [id, value] : defaults) mDefaults.Set(id, value);
    mGlobalLow.Fill(0);
    mGlobalHighDefaults.Fill(0);
    mGlobalHighDefaults.Set(124, 1024);
    for (int32_t id = 113; id <= 127; ++id) mGlobalHigh.Set(id, mGlobalHighDefaults.Own(id));
    mGlobalHigh.SetFallback(&mGlobalHighDefaults);
    mGlobalHigh.SetSuccessor(&mGlobalLow);
}

bool cHitEngine::Init(cIGZSndSys* soundSystem) {
    return Init(soundSystem, static_cast<uint32_t>(platform::TimeMs()));
}

bool cHitEngine::Init(cIGZSndSys* soundSystem, uint32_t seed) {
    mTickCount = 0;
    mSequenceGroups.fill(0);
    mpSoundSystem = soundSystem;
    gHitEngine = this;
    mRandom.Seed(seed);
    mpListener = nullptr;
    if (soundSystem) {
        mpListener = soundSystem->GetListenerIfAny();
        if (!mpListener) mpListener = soundSystem->GetListener();
    }
    if (mpListener) {
        mpListener->SetRolloffFactor(0.0f);
        mpListener->SetPosition(0, 0, 0);
    }
    std::fill(std::begin(mListenerPosition), std::end(mListenerPosition), 0.0f);
    const float front[3] = {0, 0, -1};
    if (!std::equal(std::begin(front), std::end(front), std::begin(mListenerFront))) {
        std::copy(std::begin(front), std::end(front), std::begin(mListenerFront));
        if (mpListener) mpListener->SetOrientation(0, 0, -1, 0, 1, 0);
    }
    ResetVariables();
    mObjects.fill(nullptr);
    mLargeObjects.clear();
    mHighestId = 0;
    mTrackData.fill({});
    mTime = 1;
    mbRunning = true;
    mbEnabled = true;
    return true;
}

void cHitEngine::Update() {
    if (!mbEnabled) return;
    cRZLock lock(mLock);
    ++mTickCount;
    if (mbRunning) ++mTime;
    // A track leaving the list during its own tick moves the cursor on.
    mbWalking = true;
    for (mCursor = mActive.begin(); mCursor != mActive.end();) {
        cISoundObject* track = *mCursor;
        ++mCursor;
        track->Tick();
    }
    mbWalking = false;
    mCursor = mActive.end();
}

// --- objects ---------------------------------------------------------------

bool cHitEngine::RegisterObject(uint32_t id, cISoundObject* object) {
    cISoundObject* old = nullptr;
    if (id < kArrayIds) {
        old = mObjects[id];
        mObjects[id] = object;
    } else {
        auto it = mLargeObjects.find(id);
        if (it != mLargeObjects.end()) {
            old = it->second;
            mLargeObjects.erase(it);
        }
        if (object) mLargeObjects[id] = object;
    }
    if (object && object != old) {
        object->SetId(id);
        object->AddRef();
        mHighestId = std::max(mHighestId, id);
    }
    if (old && old != object) {
        // Out of the walks as well; holders of their own references keep it.
        Deactivate(old);
        mDucking.erase(old);
        old->Release();
    }
    return true;
}

cISoundObject* cHitEngine::GetObject(uint32_t id) const {
    if (id < kArrayIds) return mObjects[id];
    auto it = mLargeObjects.find(id);
    return it == mLargeObjects.end() ? nullptr : it->second;
}

size_t cHitEngine::ObjectCount() const {
    return static_cast<size_t>(std::count_if(mObjects.begin(), mObjects.end(), [](auto* o) { return o; })) +
           mLargeObjects.size();
}

std::vector<cISoundObject*> cHitEngine::TakeObjects() const {
    std::vector<cISoundObject*> objects;
    for (cISoundObject* object : mObjects)
        if (object) objects.push_back(object);
    for (const auto& [id, object] : mLargeObjects) objects.push_back(object);
    for (cISoundObject* object : objects) object->AddRef();
    return objects;
}

void cHitEngine::ReleaseObjects(const std::vector<cISoundObject*>& objects) {
    for (cISoundObject* object : objects) object->Release();
}

void cHitEngine::StopAll() {
    const std::vector<cISoundObject*> objects = TakeObjects();
    for (cISoundObject* object : objects) object->Kill();
    ReleaseObjects(objects);
}

void cHitEngine::MuteAll() {
    mbMuted = true;
    const std::vector<cISoundObject*> objects = TakeObjects();
    for (cISoundObject* object : objects) object->Pause();
    ReleaseObjects(objects);
    ClearDucking();
}

void cHitEngine::ResumeAll() {
    if (mbRunning) ++mTime;
    mbMuted = false;
    const std::vector<cISoundObject*> objects = TakeObjects();
    for (cISoundObject* object : objects) object->Resume();
    ReleaseObjects(objects);
}

void cHitEngine::Shutdown() {
    StopAll();
    if (mpSharedChannel) {
        mpSharedChannel->Shutdown();
        mpSharedChannel->Release();
        mpSharedChannel = nullptr;
    }
    ResetVariables();
    mActive.clear();
    mCursor = mActive.end();
    mDucking.clear();
    std::vector<cISoundObject*> objects;
    for (cISoundObject*& object : mObjects) {
        if (object) objects.push_back(object);
        object = nullptr;
    }
    for (auto& [id, object] : mLargeObjects) objects.push_back(object);
    mLargeObjects.clear();
    for (cISoundObject* object : objects) {
        object->Shutdown();
        object->Release();
    }
    mHitLists.clear();
    for (auto& [id, group] : mControlGroups) group->Release();
    mControlGroups.clear();
    mTrackData.fill({});
    mpCurrentBank = nullptr;
    mBanks.clear();
    mpListener = nullptr;
    mbRunning = false;
    cHitEngine* self = this;
    gHitEngine.compare_exchange_strong(self, nullptr);
}

// --- banks and symbols -----------------------------------------------------

bool cHitEngine::LoadBank(const char* path) {
    CTGFile* file = CTGFileManager::Global().Open(path, false);
    if (!file) return false;
    auto bank = std::make_unique<std::vector<uint8_t>>(static_cast<size_t>(std::max(file->GetSize(), 0)));
    const bool ok = bank->empty() || file->Read(bank->data(), static_cast<int32_t>(bank->size())) ==
                                         static_cast<int32_t>(bank->size());
    CTGFileManager::Global().Close(file);
    if (!ok) return false;
    mpCurrentBank = bank.get();
    mBanks.push_back(std::move(bank));
    return true;
}

bool cHitEngine::SetTrackData(uint32_t index, uint32_t offset) {
    if (index >= kTrackDataSlots || !mpCurrentBank || offset >= mpCurrentBank->size()) return false;
    mTrackData[index] = {mpCurrentBank, offset};
    return true;
}

const uint8_t* cHitEngine::GetTrackData(uint32_t index, size_t* bytesLeft) const {
    if (bytesLeft) *bytesLeft = 0;
    if (index >= kTrackDataSlots || !mTrackData[index].bank) return nullptr;
    const TrackData& slot = mTrackData[index];
    if (bytesLeft) *bytesLeft = slot.bank->size() - slot.offset;
    return slot.bank->data() + slot.offset;
}

const std::vector<uint8_t>* cHitEngine::GetTrackBank(uint32_t index, size_t* offset) const {
    if (offset) *offset = 0;
    if (index >= kTrackDataSlots || !mTrackData[index].bank) return nullptr;
    if (offset) *offset = mTrackData[index].offset;
    return mTrackData[index].bank;
}

bool cHitEngine::LoadSymbols(const char* path) {
    CTGFile* file = CTGFileManager::Global().Open(path, false);
    if (!file) return false;
    std::vector<char> text(static_cast<size_t>(std::max(file->GetSize(), 0)));
    const bool ok = text.empty() || file->Read(text.data(), static_cast<int32_t>(text.size())) ==
                                        static_cast<int32_t>(text.size());
    CTGFileManager::Global().Close(file);
    if (!ok) return false;
    // Lines of at most 255 characters; the rest of a longer line is a line
    // of its own.
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && end - at < 255 && text[end] != '\n') ++end;
        const std::string line(text.data() + at, end - at);
        at = end < text.size() && text[end] == '\n' ? end + 1 : end;
        char name[256] = {};
        long value = 0;
        char open = 0;
        if (std::sscanf(line.c_str(), "%255s %ld %c", name, &value, &open) == 3 && open == '(' && name[0])
            mSymbols[name] = static_cast<uint32_t>(value);
    }
    return true;
}

cSampleChannel* cHitEngine::SharedChannel() {
    if (!mpSharedChannel)
        if (auto* patch = dynamic_cast<cPatch*>(GetObject(251))) mpSharedChannel = patch->NewChannel();
    return mpSharedChannel;
}

uint32_t cHitEngine::LookupSymbol(const std::string& name) const {
    auto it = mSymbols.find(name);
    return it == mSymbols.end() ? 0 : it->second;
}

// --- hit lists and control groups ------------------------------------------

cHitList* cHitEngine::GetHitList(uint32_t id) const {
    auto it = mHitLists.find(id);
    return it == mHitLists.end() ? nullptr : it->second.get();
}

cHitList* cHitEngine::NewHitList(uint32_t id) {
    auto& slot = mHitLists[id];
    slot = std::make_unique<cHitList>();
    return slot.get();
}

uint32_t cHitEngine::FirstFreeHitListId() const {
    for (uint32_t id = 1; id < kTrackDataSlots; ++id)
        if (!mHitLists.count(id)) return id;
    return 0;
}

uint32_t cHitEngine::FirstFreeObjectId() const {
    uint32_t id = 1;
    while (id <= mHighestId && GetObject(id)) ++id;
    return id;
}

cHitControlGroup* cHitEngine::GetControlGroup(uint32_t id) {
    cHitControlGroup*& group = mControlGroups[id];
    if (!group) {
        group = new cHitControlGroup(id);
        group->AddRef();
    }
    return group;
}

// --- active tracks and ducking ---------------------------------------------

void cHitEngine::Activate(cISoundObject* track) {
    Deactivate(track);
    mActive.push_back(track);
}

void cHitEngine::Deactivate(cISoundObject* track) {
    for (auto it = mActive.begin(); it != mActive.end(); ++it) {
        if (*it != track) continue;
        if (mbWalking && mCursor == it) ++mCursor;
        mActive.erase(it);
        return;
    }
}

bool cHitEngine::IsActive(const cISoundObject* track) const {
    return std::find(mActive.begin(), mActive.end(), track) != mActive.end();
}

void cHitEngine::RefreshActive() {
    int32_t loudest = 0;
    for (const auto& [track, level] : mDucking) loudest = std::max(loudest, level);
    SetGlobal(kDuckingVar, loudest);
    const std::vector<cISoundObject*> active(mActive.begin(), mActive.end());
    for (cISoundObject* track : active) track->RefreshOutput();
}

void cHitEngine::SetDucking(cISoundObject* track, int32_t level) {
    if (level == 0)
        mDucking.erase(track);
    else
        mDucking[track] = level;
    RefreshActive();
}

void cHitEngine::ClearDucking() {
    mDucking.clear();
    RefreshActive();
}

void cHitEngine::ReportError(cISoundObject* object, const char* message) {
    if (mErrorSink)
        mErrorSink(object, message ? message : "");
    else
        std::fprintf(stderr, "%s\n", message ? message : "");
    if (object) object->Kill();
}

// --- sequence groups -------------------------------------------------------

uint32_t cHitEngine::GetSequenceGroup(int32_t group) const {
    return group >= 1 && group <= kSequenceGroups ? mSequenceGroups[static_cast<size_t>(group)] : 0;
}

bool cHitEngine::SetSequenceGroup(int32_t group, uint32_t trackId) {
    if (group < 1 || group > kSequenceGroups) return false;
    mSequenceGroups[static_cast<size_t>(group)] = trackId;
    return true;
}
