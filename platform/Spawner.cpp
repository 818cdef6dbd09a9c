#include "platform/Spawner.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

extern char** environ;

namespace platform {

namespace {

// The caller does not wait for the child; a small detached thread reaps it
// when it ends, so no zombie is left and no process-wide signal setting is
// changed.
void ReapLater(pid_t pid) {
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

int32_t Spawn(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
              bool searchPath) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int error = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                                 : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error == 0) {
        ReapLater(pid);
        return kSpawnStarted;
    }
    return error == ENOENT ? kSpawnFileNotFound : kSpawnFailed;
}

}  // namespace

Spawner& Spawner::System() {
    static SystemSpawner spawner;
    return spawner;
}

int32_t SystemSpawner::Run(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder) {
    // A relative program name is found in the working folder, as the shell
    // finds it there.
    std::filesystem::path path(program);
    if (path.is_relative() && !workingFolder.empty()) path = std::filesystem::path(workingFolder) / path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return kSpawnFileNotFound;
    if (!workingFolder.empty() && !std::filesystem::is_directory(workingFolder, ec)) return kSpawnFileNotFound;
    return Spawn(path.string(), arguments, workingFolder, false);
}

int32_t SystemSpawner::Open(const std::string& target) {
    const bool address = target.find("://") != std::string::npos;
    std::error_code ec;
    if (!address && !std::filesystem::exists(target, ec)) return kSpawnFileNotFound;
    const int32_t result = Spawn("xdg-open", {target}, std::string(), true);
    return result == kSpawnFileNotFound ? kSpawnNoAssociation : result;
}

int32_t RecordingSpawner::Run(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingFolder) {
    calls.push_back({false, program, arguments, workingFolder});
    return outcome;
}

int32_t RecordingSpawner::Open(const std::string& target) {
    calls.push_back({true, target, {}, std::string()});
    return outcome;
}

}  // namespace platform
