// Starting other programs and opening documents, in place of the shell's
// "open" verb. A program starts through posix_spawn in a working folder of
// its own, without waiting; a document or a web address is opened through
// xdg-open. Outcomes keep the shell's classes: above 32 is success, 2 a file
// that is missing, 31 no program associated with the document, anything else
// up to 32 another failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum : int32_t {
    kSpawnFileNotFound = 2,
    kSpawnNoAssociation = 31,
    kSpawnFailed = 5,
    kSpawnStarted = 42,
};

class Spawner {
public:
    virtual ~Spawner() = default;
    // Starts the program (a path, or a name relative to the working folder)
    // with its arguments in the working folder (empty: the current one).
    virtual int32_t Run(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& workingFolder) = 0;
    // Opens a document or an address with the desktop's handler.
    virtual int32_t Open(const std::string& target) = 0;

    // The process's real spawner.
    static Spawner& System();
};

class SystemSpawner : public Spawner {
public:
    int32_t Run(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& workingFolder) override;
    int32_t Open(const std::string& target) override;
};

// Records every call and answers with a chosen outcome (tests).
class RecordingSpawner : public Spawner {
public:
    struct Call {
        bool open = false;
        std::string program;
        std::vector<std::string> arguments;
        std::string workingFolder;
        bool operator==(const Call&) const = default;
    };
    int32_t Run(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& workingFolder) override;
    int32_t Open(const std::string& target) override;

    std::vector<Call> calls;
    int32_t outcome = kSpawnStarted;
};

}  // namespace platform
