// One running copy of a program by name, in place of a named mutex and a
// broadcast window message: the first copy holds an exclusive lock on
// "<name>.lock" and listens on a local datagram socket "<name>.sock" in the
// runtime folder; a second copy finds the lock taken, sends "raise" to the
// first and ends. Whether a program runs at all ("is the game running") is a
// look at its lock.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

class SingleInstance {
public:
    // The runtime folder: $XDG_RUNTIME_DIR, else the temporary folder.
    static std::filesystem::path DefaultFolder();

    explicit SingleInstance(std::string name, std::filesystem::path folder = DefaultFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy (it now holds the lock and listens).
    bool Acquire();
    bool IsFirst() const { return mListen >= 0; }
    // A second copy asks the first to raise its window; false when no first
    // copy listens.
    bool AskFirstToRaise() const;
    // The first copy: true when a raise request came since the last call
    // (never blocks).
    bool PollRaiseRequest();

    static bool IsRunning(const std::string& name, const std::filesystem::path& folder = DefaultFolder());

private:
    std::string mName;
    std::filesystem::path mFolder;
    int mLock = -1;
    int mListen = -1;
};

}  // namespace platform
