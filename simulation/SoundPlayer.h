#pragma once
// The one sound facade every subsystem plays through: objects, people, the
// build tools and the interface controls. The sound engine implements it;
// until one is installed nothing plays, and tests install a recorder.

#include <cstdint>
#include <string>

namespace tova {

class iSoundPlayer {
public:
    virtual ~iSoundPlayer() = default;
    // Plays a named sound event. Objects and people pass their object id as
    // the argument; tools and controls pass kUISoundArgument.
    virtual void Play(const std::string& event, int32_t argument) = 0;
    // The same, answering whether the player took the event.
    virtual bool TryPlay(const std::string& event, int32_t argument) {
        Play(event, argument);
        return true;
    }
    // Stops every sound an object started (the stop-sounds primitive).
    virtual void StopSources(int32_t objectId) = 0;
    // Forgets every sound of an object (it is reset or destroyed).
    virtual void ForgetObject(int32_t objectId) = 0;
};

constexpr int32_t kUISoundArgument = -4;

// The process-wide player; null plays nothing. The shell installs the
// engine's player at start-up.
iSoundPlayer* GetSoundPlayer();
void SetSoundPlayer(iSoundPlayer* player);

// Plays an interface sound once with kUISoundArgument; an empty name plays
// nothing.
void PlayUISound(const std::string& name);

} // namespace tova
