#include "platform/AtomicFile.h"

#include "platform/File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Makes the rename durable. Some file systems cannot sync a folder; the new
// content is already in place then, so that is not a failed save.
void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target)
    : mTarget(std::move(target)), mTemp(TempPathFor(mTarget)) {}

AtomicFile::~AtomicFile() { Abort(); }

std::filesystem::path AtomicFile::TempPathFor(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp += ".~tmp";
    return temp;
}

bool AtomicFile::Fail(const char* step, const std::filesystem::path& path, int err) {
    if (!mFailed) {
        mFailed = true;
        mError = std::string("cannot save \"") + mTarget.string() + "\": " + step + " \"" +
                 path.string() + "\" failed: " + std::strerror(err);
    }
    Abort();
    return false;
}

bool AtomicFile::Begin() {
    Abort();
    mFailed = false;
    mError.clear();
    if (mTarget.filename().empty()) return Fail("naming", mTarget, EISDIR);

    // A temporary from a crashed save has the same name; it is never worth keeping.
    if (::unlink(mTemp.c_str()) != 0 && errno != ENOENT) return Fail("removing stale", mTemp, errno);

    // The new file keeps the old one's permissions.
    mode_t mode = 0666;
    struct stat old {};
    bool hadOld = ::stat(mTarget.c_str(), &old) == 0;
    if (hadOld) mode = old.st_mode & 07777;

    // O_EXCL: never write through a link someone placed at the temporary's name.
    mFd = ::open(mTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (mFd < 0) return Fail("creating", mTemp, errno);
    if (hadOld) ::fchmod(mFd, mode);  // the umask must not narrow the old permissions
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (mFailed) return false;
    if (mFd < 0) return Fail("writing (not begun)", mTemp, EBADF);
    errno = 0;
    if (WriteFully(mFd, data, size) != static_cast<int64_t>(size))
        return Fail("writing", mTemp, errno != 0 ? errno : EIO);
    return true;
}

bool AtomicFile::Commit() {
    if (mFailed) return false;
    if (mFd < 0) return Fail("committing (not begun)", mTemp, EBADF);
    if (::fsync(mFd) != 0) return Fail("flushing", mTemp, errno);
    int fd = mFd;
    mFd = -1;
    if (::close(fd) != 0) return Fail("closing", mTemp, errno);
    if (::rename(mTemp.c_str(), mTarget.c_str()) != 0) return Fail("renaming", mTemp, errno);
    SyncFolder(mTarget.parent_path());
    return true;
}

void AtomicFile::Abort() {
    if (mFd >= 0) {
        ::close(mFd);
        mFd = -1;
        ::unlink(mTemp.c_str());
    } else if (mFailed) {
        // A failed close or rename leaves the temporary behind.
        struct stat st {};
        if (::lstat(mTemp.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(mTemp.c_str());
    }
}

bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes, std::string* error) {
    AtomicFile file(target);
    bool ok = file.Begin() && file.Write(bytes) && file.Commit();
    if (!ok && error) *error = file.Error();
    return ok;
}

}  // namespace platform
