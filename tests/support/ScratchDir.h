// A fresh folder under the system temporary folder for one test, removed with
// everything in it when the test ends, and the two file helpers every file
// test needs. Test programs of several builds may run at once on one machine,
// so tests never put files under fixed names in /tmp.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace tova_test {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tova-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) mPath = pattern;
    }
    ~ScratchDir() {
        if (mPath.empty()) return;
        std::error_code ec;
        // Read-only entries left by a test must not stop the clean-up.
        std::filesystem::permissions(mPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (auto it = std::filesystem::recursive_directory_iterator(mPath, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(mPath, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool Ok() const { return !mPath.empty(); }
    const std::filesystem::path& Path() const { return mPath; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return mPath / name; }

private:
    std::filesystem::path mPath;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace tova_test
