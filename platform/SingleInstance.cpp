#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

bool LocalSocketAddress(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string text = path.string();
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (text.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

std::filesystem::path SingleInstance::DefaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : temp;
}

SingleInstance::SingleInstance(std::string name, std::filesystem::path folder)
    : mName(std::move(name)), mFolder(std::move(folder)) {}

SingleInstance::~SingleInstance() {
    if (mListen >= 0) {
        close(mListen);
        std::error_code ec;
        std::filesystem::remove(mFolder / (mName + ".sock"), ec);
    }
    if (mLock >= 0) close(mLock);
}

bool SingleInstance::Acquire() {
    if (mListen >= 0) return true;
    const std::string lockPath = (mFolder / (mName + ".lock")).string();
    mLock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (mLock < 0) return false;
    if (flock(mLock, LOCK_EX | LOCK_NB) != 0) {
        close(mLock);
        mLock = -1;
        return false;
    }
    // The lock is ours: a socket left by a copy that crashed is stale.
    const std::filesystem::path socketPath = mFolder / (mName + ".sock");
    std::error_code ec;
    std::filesystem::remove(socketPath, ec);
    sockaddr_un address;
    mListen = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (mListen >= 0 && (!LocalSocketAddress(socketPath, address) ||
                         bind(mListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)) {
        close(mListen);
        mListen = -1;
    }
    // Without a socket this copy still counts as the first (it holds the lock);
    // it just cannot be raised.
    if (mListen < 0) mListen = open("/dev/null", O_RDONLY | O_CLOEXEC);
    return true;
}

bool SingleInstance::AskFirstToRaise() const {
    sockaddr_un address;
    if (!LocalSocketAddress(mFolder / (mName + ".sock"), address)) return false;
    const int s = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    const char message[] = "raise";
    const bool sent = sendto(s, message, sizeof message - 1, 0, reinterpret_cast<sockaddr*>(&address),
                             sizeof address) == static_cast<ssize_t>(sizeof message - 1);
    close(s);
    return sent;
}

bool SingleInstance::PollRaiseRequest() {
    if (mListen < 0) return false;
    bool raised = false;
    char buffer[16];
    for (;;) {
        const ssize_t got = recv(mListen, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got <= 0) break;
        if (got == 5 && std::memcmp(buffer, "raise", 5) == 0) raised = true;
    }
    return raised;
}

bool SingleInstance::IsRunning(const std::string& name, const std::filesystem::path& folder) {
    const std::string lockPath = (folder / (name + ".lock")).string();
    const int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
    close(fd);
    return held;
}

}  // namespace platform
