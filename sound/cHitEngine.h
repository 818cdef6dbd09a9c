// The sound engine's one store of sound objects (patches, tracks, control
// groups, channels) by id, with the hit lists, the track-data table over
// the loaded banks, the symbol map, the engine clock, the ducking levels and
// the variable space that tracks read and write:
//   1..16    each track's locals
//   17..47   each object's own values, falling back to the system defaults
//   50..62   each track's second bank, falling back to the system defaults
//   90..113  global
//   113..127 global, falling back to a second global bank
// Update runs every active track's Tick under the engine's own lock.
#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/RandomSequence.h"
#include "framework/cRZCriticalSection.h"
#include "sound/cHitVarBank.h"

class cIGZSndSys;
class cGZSnd3DListener;
class cHitControlGroup;
class cHitList;
class cISoundObject;
class cSampleChannel;

class cHitEngine {
public:
    static constexpr uint32_t kArrayIds = 4096;
    static constexpr size_t kTrackDataSlots = 2048;
    static constexpr int32_t kSequenceGroups = 127;
    static constexpr int32_t kDuckingVar = 123;

    cHitEngine();
    ~cHitEngine();
    cHitEngine(const cHitEngine&) = delete;
    cHitEngine& operator=(const cHitEngine&) = delete;

    // The engine that Init published.
    static cHitEngine* Current();

    // Seeded from the millisecond clock unless a seed is given (tests).
    bool Init(cIGZSndSys* soundSystem);
    bool Init(cIGZSndSys* soundSystem, uint32_t seed);
    void Update();
    void Shutdown();
    // Kill, Pause and Resume every registered object (never a walk over
    // every number up to the highest id).
    void StopAll();
    void MuteAll();
    void ResumeAll();

    // The engine holds one reference to each registered object. An object
    // already under the id is unregistered and released (a track or channel
    // still holding it keeps it alive). Null unregisters.
    bool RegisterObject(uint32_t id, cISoundObject* object);
    cISoundObject* GetObject(uint32_t id) const;
    size_t ObjectCount() const;
    uint32_t HighestId() const { return mHighestId; }

    bool LoadBank(const char* path);
    // False for a slot of 2048 and above, no bank, or an offset past the
    // current bank's end.
    bool SetTrackData(uint32_t index, uint32_t offset);
    // The program at a slot and the bytes of its bank from there on (null
    // and 0 when the slot is empty).
    const uint8_t* GetTrackData(uint32_t index, size_t* bytesLeft = nullptr) const;
    // The bank a slot's program lies in and its offset there (null when the
    // slot is empty or out of range).
    const std::vector<uint8_t>* GetTrackBank(uint32_t index, size_t* offset) const;
    bool HasBank() const { return mpCurrentBank != nullptr; }
    // Reads a symbol file: lines "NAME VALUE (", the later line winning.
    // False when the file cannot be opened.
    bool LoadSymbols(const char* path);

    void AddSymbol(const std::string& name, uint32_t value) { mSymbols[name] = value; }
    void ClearSymbols() { mSymbols.clear(); }
    uint32_t LookupSymbol(const std::string& name) const;

    cHitList* GetHitList(uint32_t id) const;
    // A new, empty list under the id (replacing one there).
    cHitList* NewHitList(uint32_t id);
    // The first id of 1..2047 with no list; 0 when every one has one.
    uint32_t FirstFreeHitListId() const;
    // The first id from 1 up to one past the highest registered id with no
    // object.
    uint32_t FirstFreeObjectId() const;
    // Made on first request.
    cHitControlGroup* GetControlGroup(uint32_t id);

    void Activate(cISoundObject* track);
    void Deactivate(cISoundObject* track);
    bool IsActive(const cISoundObject* track) const;
    size_t ActiveCount() const { return mActive.size(); }

    // Level 0 removes the track's entry. Variable 123 becomes the largest
    // level stored (0 when none), and every active track works out its
    // output volume again.
    void SetDucking(cISoundObject* track, int32_t level);
    void ClearDucking();

    // The message and a line end to the debug output (or to the sink, when
    // one is set); the object is killed.
    void ReportError(cISoundObject* object, const char* message);
    using ErrorSink = std::function<void(cISoundObject* object, const char* message)>;
    void SetErrorSink(ErrorSink sink) { mErrorSink = std::move(sink); }

    // What the game answers about a sound's source (a person's attributes):
    // false when it refuses.
    using SourceParamCallback = std::function<bool(uint32_t source, int32_t param, int32_t& value)>;
    void SetSourceParamCallback(SourceParamCallback callback) { mSourceParam = std::move(callback); }
    bool GetSourceParam(uint32_t source, int32_t param, int32_t& value) const {
        return mSourceParam && mSourceParam(source, param, value);
    }

    // Told of every note a track plays: its patch, pitch (cents) and output
    // volume (tools and tests).
    using NoteObserver = std::function<void(cISoundObject* track, int32_t patch, int32_t pitch, int32_t volume)>;
    void SetNoteObserver(NoteObserver observer) { mNoteObserver = std::move(observer); }
    void NotePlayed(cISoundObject* track, int32_t patch, int32_t pitch, int32_t volume) const {
        if (mNoteObserver) mNoteObserver(track, patch, pitch, volume);
    }

    // The channel every track shares (on patch 251), made on first use and
    // kept until shutdown; null when there is no such patch.
    cSampleChannel* SharedChannel();

    // Global variables (90..127).
    void SetGlobal(int32_t id, int32_t value) { mGlobalHigh.Set(id, value); }
    int32_t GetGlobal(int32_t id) const { return mGlobalHigh.Get(id); }
    // The banks a track's chain ends in, and the system defaults (17..62).
    cHitVarBank& GlobalChain() { return mGlobalHigh; }
    const cHitVarBank& SystemDefaults() const { return mDefaults; }

    // 1..127; 0 = none. Out of range: 0, and a set is refused.
    uint32_t GetSequenceGroup(int32_t group) const;
    bool SetSequenceGroup(int32_t group, uint32_t trackId);

    RandomSequence& Random() { return mRandom; }
    uint32_t Now() const { return mTime; }
    uint32_t TickCount() const { return mTickCount; }
    bool IsRunning() const { return mbRunning; }
    bool IsMuted() const { return mbMuted; }
    bool IsEnabled() const { return mbEnabled; }
    void SetEnabled(bool enabled) { mbEnabled = enabled; }
    cIGZSndSys* SoundSystem() const { return mpSoundSystem; }
    cGZSnd3DListener* Listener() const { return mpListener; }
    cRZCriticalSection& Lock() { return mLock; }

private:
    void ResetVariables();
    // Every registered object, each with a reference held for the walk.
    std::vector<cISoundObject*> TakeObjects() const;
    static void ReleaseObjects(const std::vector<cISoundObject*>& objects);
    void RefreshActive();

    cIGZSndSys* mpSoundSystem = nullptr;
    ErrorSink mErrorSink;
    SourceParamCallback mSourceParam;
    NoteObserver mNoteObserver;
    cSampleChannel* mpSharedChannel = nullptr;
    cGZSnd3DListener* mpListener = nullptr;
    float mListenerPosition[3] = {0, 0, 0};
    float mListenerFront[3] = {0, 0, 0};
    uint32_t mTickCount = 0;
    bool mbRunning = false;
    uint32_t mTime = 0;
    bool mbMuted = false;
    bool mbEnabled = false;
    std::list<cISoundObject*> mActive;
    std::list<cISoundObject*>::iterator mCursor;
    bool mbWalking = false;
    RandomSequence mRandom;
    std::array<cISoundObject*, kArrayIds> mObjects{};
    std::map<uint32_t, cISoundObject*> mLargeObjects;
    uint32_t mHighestId = 0;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> mBanks;
    const std::vector<uint8_t>* mpCurrentBank = nullptr;
    std::map<std::string, uint32_t> mSymbols;
    std::map<uint32_t, std::unique_ptr<cHitList>> mHitLists;
    std::map<uint32_t, cHitControlGroup*> mControlGroups;
    cRZCriticalSection mLock;
    std::map<cISoundObject*, int32_t> mDucking;
    struct TrackData {
        const std::vector<uint8_t>* bank = nullptr;
        size_t offset = 0;
    };
    std::array<TrackData, kTrackDataSlots> mTrackData{};
    std::array<uint32_t, kSequenceGroups + 1> mSequenceGroups{};
    cHitVarBank mDefaults{17, 62};
    cHitVarBank mGlobalLow{90, 113, 0};
    cHitVarBank mGlobalHigh{113, 127, 0};
    cHitVarBank mGlobalHighDefaults{113, 127, 0};
};
