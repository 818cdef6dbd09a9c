// Whole-file saves that never leave a half-written file behind.
//
// The bytes go to a temporary file beside the target ("<name>.~tmp"), are
// flushed to the disk, and the temporary is renamed over the target; the folder
// is synced so the rename itself survives a power cut. Until the rename the old
// file is untouched, so any failure leaves it whole. A temporary left by an
// earlier crash has the same fixed name and is removed before a new save.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class AtomicFile {
public:
    // Nothing touches the disk until Begin().
    explicit AtomicFile(std::filesystem::path target);
    // An uncommitted save is abandoned: the temporary is removed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Removes a stale temporary and creates a fresh one.
    bool Begin();
    // Appends bytes to the temporary; may be called many times.
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Flushes, renames the temporary over the target and syncs the folder.
    bool Commit();
    // Drops the temporary; the target stays as it was.
    void Abort();

    // The first failure, naming the file and the step; empty while all is well.
    const std::string& Error() const { return mError; }
    const std::filesystem::path& Target() const { return mTarget; }
    const std::filesystem::path& TempPath() const { return mTemp; }

    // The temporary's fixed name for a target.
    static std::filesystem::path TempPathFor(const std::filesystem::path& target);

private:
    bool Fail(const char* step, const std::filesystem::path& path, int err);

    std::filesystem::path mTarget;
    std::filesystem::path mTemp;
    int mFd = -1;
    bool mFailed = false;
    std::string mError;
};

// Saves `bytes` as the whole new content of `target`. On failure returns false,
// leaves any old file whole and, when `error` is given, describes the failure.
bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error = nullptr);

}  // namespace platform
