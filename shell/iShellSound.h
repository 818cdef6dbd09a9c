// What the shell asks of the sound engine built beside it: the three volume
// steps (0..10), music by track name with its fade, pause and resume, and
// quiet. Until one is installed the game runs silent.
#pragma once

#include <cstdint>
#include <string>

namespace tova {

class iShellSound {
public:
    enum Volume : int32_t { kEffects = 0, kMusic = 1, kVoice = 2 };

    virtual ~iShellSound() = default;
    virtual int32_t GetVolume(Volume which) const = 0;
    virtual void SetVolume(Volume which, int32_t step) = 0;
    // Plays a music track (argument -1) or a named sound event.
    virtual void PlayMusic(const std::string& track) = 0;
    virtual void FadeMusic(uint32_t milliseconds) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Stops every sound.
    virtual void QuietAll() = 0;
    // An interface sound by event name (argument -4).
    virtual void PlayUISound(const std::string& /*name*/) {}
    // The view's zoom changed (positional sounds follow it).
    virtual void NotifyZoom(int32_t /*zoom*/) {}
};

// The installed engine; null while the game has no sound.
iShellSound* GetShellSound();
void SetShellSound(iShellSound* sound);

}  // namespace tova
