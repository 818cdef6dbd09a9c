// The outdoor ambience's score player as the sound event layer sees it, and
// the observer a score is bound with: it may refuse or map a clip's path and
// hears when a cell's clip starts, is told to finish and stops.
#pragma once

#include <cstdint>
#include <string>

class cFreshDriver;
class cFreshScore;

class cIFreshObserver {
public:
    virtual bool MayPlay(const std::string& path) { return true; }
    virtual std::string MapPath(const std::string& path) { return path; }
    virtual void ClipStarted(const std::string& path, int32_t row, int32_t column) {}
    virtual void ClipFinishing(const std::string& path, int32_t row, int32_t column) {}
    virtual void ClipStopped(const std::string& path, int32_t row, int32_t column) {}

protected:
    virtual ~cIFreshObserver() = default;
};

class cIFreshPlayer {
public:
    static constexpr uint32_t kInterfaceId = 0xe23f047a;

    virtual uint32_t AddRef() = 0;
    // The last reference shuts the player down and deletes it.
    virtual uint32_t Release() = 0;
    // Itself, with a reference added, for kInterfaceId; else null.
    virtual cIFreshPlayer* QueryInterface(uint32_t id) = 0;
    // Takes the score (the player owns it from then on).
    virtual bool Bind(cFreshScore* score, const std::string& folder, cFreshDriver* driver,
                      cIFreshObserver* observer) = 0;
    virtual void Shutdown() = 0;
    virtual void BeatUpdate() = 0;
    virtual bool Start() = 0;
    virtual bool IsPlaying() const = 0;
    virtual bool Stop() = 0;
    virtual void SetVolume(int32_t volume) = 0;
    virtual bool FadeTo(uint32_t durationMs, int32_t target, int32_t stopAtEnd) = 0;
    virtual void SetIndoorDamping(int32_t mix) = 0;
    virtual void SetRow(int32_t position) = 0;
    virtual void SetColumn(int32_t position) = 0;
    virtual void SetDensity(int32_t density) = 0;
    virtual int32_t GetRow() const = 0;
    virtual int32_t GetColumn() const = 0;
    virtual void SetHold(bool hold) = 0;
    virtual const std::string& GetFolder() const = 0;
    virtual void SetRadii(int32_t row, int32_t column) = 0;
    virtual void GetRadii(int32_t& row, int32_t& column) const = 0;
    // A path splits into the score's folder and file.
    virtual bool Load(const std::string& path, cFreshDriver* driver, cIFreshObserver* observer) = 0;
    virtual bool LoadFrom(const std::string& folder, const std::string& file, cFreshDriver* driver,
                          cIFreshObserver* observer) = 0;
    virtual void PlayAtVolume(int32_t volume) = 0;
    virtual void StopFade() = 0;
    virtual void SetTempo(int32_t bpm) = 0;
    virtual void SetLateOverride(bool late) = 0;
    virtual void SetPauseValue(int32_t value) = 0;
    virtual void SetReverbMix(int32_t mix) = 0;
    virtual int32_t PlayingCount() const = 0;
    virtual int32_t FinishingCount() const = 0;

protected:
    virtual ~cIFreshPlayer() = default;
};
