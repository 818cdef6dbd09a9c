#include "platform/PatchFile.h"

#include <zstd.h>

#include <cstdio>
#include <cstring>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace platform {

namespace {

// Frames reach back at most 1 GiB: the largest file a patch may turn into another.
constexpr int kMaxWindowLog = 30;

constexpr char kPatchMagic[8] = {'V', 'K', 'P', 'A', 'T', 'C', 'H', '1'};

void PutLe(std::string& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
}

// Little-endian fields read against the bytes that exist.
class PatchReader {
 public:
  explicit PatchReader(std::string_view bytes) : bytes_(bytes) {}
  bool Le(uint64_t& v, int size) {
    if (bytes_.size() - pos_ < static_cast<size_t>(size)) return false;
    v = 0;
    for (int i = 0; i < size; ++i) v |= uint64_t(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += static_cast<size_t>(size);
    return true;
  }
  bool Bytes(std::string& out, uint64_t size) {
    if (bytes_.size() - pos_ < size) return false;
    out.assign(bytes_.substr(pos_, static_cast<size_t>(size)));
    pos_ += static_cast<size_t>(size);
    return true;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

bool ReadWhole(const std::string& path, std::string& out) {
  File f;
  return f.Open(path, File::kRead, File::Disposition::kOpenExisting) && f.ReadToEnd(out);
}

bool WriteWhole(const std::string& path, std::string_view bytes) {
  File f;
  return f.Open(path, File::kWrite, File::Disposition::kCreateAlways) &&
         f.Write(bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size()) && f.Flush() && f.Close();
}

// The two quoted paths of the command line.
bool ParseCommandLine(const char* commandLine, std::string& patch, std::string& folder) {
  if (commandLine == nullptr) return false;
  std::string_view rest(commandLine);
  std::string* outs[2] = {&patch, &folder};
  for (std::string* out : outs) {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty() || rest.front() != '"') return false;
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos || close == 1) return false;
    out->assign(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
  }
  return true;
}

}  // namespace

bool IsPlainPatchName(std::string_view name) {
  if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127 || c == '/' || c == '\\' || c == ':' || c == '"') return false;
  }
  return true;
}

std::string WritePatchFile(const std::vector<PatchTarget>& targets) {
  std::string out(kPatchMagic, sizeof kPatchMagic);
  PutLe(out, targets.size(), 4);
  for (const PatchTarget& t : targets) {
    PutLe(out, t.name.size(), 2);
    out += t.name;
    PutLe(out, t.oldSize, 8);
    PutLe(out, t.newSize, 8);
    PutLe(out, t.frame.size(), 4);
    out += t.frame;
  }
  return out;
}

bool ReadPatchFile(std::string_view bytes, std::vector<PatchTarget>& targets, std::string& error) {
  targets.clear();
  if (bytes.size() < sizeof kPatchMagic || std::memcmp(bytes.data(), kPatchMagic, sizeof kPatchMagic) != 0) {
    error = "not a patch file (no VKPATCH1 mark)";
    return false;
  }
  PatchReader r(bytes.substr(sizeof kPatchMagic));
  uint64_t count = 0;
  if (!r.Le(count, 4)) {
    error = "the patch file ends before its target count";
    return false;
  }
  for (uint64_t i = 0; i < count; ++i) {
    PatchTarget t;
    uint64_t nameSize = 0, frameSize = 0;
    if (!r.Le(nameSize, 2) || !r.Bytes(t.name, nameSize) || !r.Le(t.oldSize, 8) || !r.Le(t.newSize, 8) ||
        !r.Le(frameSize, 4) || !r.Bytes(t.frame, frameSize)) {
      error = "target " + std::to_string(i + 1) + " runs past the end of the patch file";
      targets.clear();
      return false;
    }
    if (!IsPlainPatchName(t.name)) {
      error = "target " + std::to_string(i + 1) + " is not a plain file name";
      targets.clear();
      return false;
    }
    targets.push_back(std::move(t));
  }
  if (!r.AtEnd()) {
    error = "bytes follow the last target of the patch file";
    targets.clear();
    return false;
  }
  return true;
}

bool MakePatchFrame(std::string_view oldBytes, std::string_view newBytes, std::string& frame, std::string& error) {
  ZSTD_CCtx* cctx = ZSTD_createCCtx();
  if (cctx == nullptr) {
    error = "out of memory";
    return false;
  }
  // The window must reach back over the whole old file for it to serve as
  // the dictionary.
  int windowLog = 10;
  while (windowLog < kMaxWindowLog && (uint64_t(1) << windowLog) < oldBytes.size() + newBytes.size())
    ++windowLog;
  ZSTD_CCtx_setParameter(cctx, ZSTD_c_compressionLevel, 19);
  ZSTD_CCtx_setParameter(cctx, ZSTD_c_windowLog, windowLog);
  ZSTD_CCtx_setParameter(cctx, ZSTD_c_checksumFlag, 1);
  if (oldBytes.size() > (1u << 20)) ZSTD_CCtx_setParameter(cctx, ZSTD_c_enableLongDistanceMatching, 1);
  size_t rc = ZSTD_CCtx_refPrefix(cctx, oldBytes.data(), oldBytes.size());
  if (!ZSTD_isError(rc)) {
    frame.resize(ZSTD_compressBound(newBytes.size()));
    rc = ZSTD_compress2(cctx, frame.data(), frame.size(), newBytes.data(), newBytes.size());
  }
  ZSTD_freeCCtx(cctx);
  if (ZSTD_isError(rc)) {
    error = ZSTD_getErrorName(rc);
    return false;
  }
  frame.resize(rc);
  return true;
}

bool ApplyPatchFrame(std::string_view oldBytes, const PatchTarget& target, std::string& newBytes,
                     std::string& error, uint64_t maxOutput) {
  if (oldBytes.size() != target.oldSize) {
    error = target.name + " is not the version this patch expects (" + std::to_string(oldBytes.size()) +
            " bytes, not " + std::to_string(target.oldSize) + ")";
    return false;
  }
  const unsigned long long content = ZSTD_getFrameContentSize(target.frame.data(), target.frame.size());
  if (content != target.newSize || target.newSize > maxOutput) {
    error = target.name + ": the patch's sizes do not agree";
    return false;
  }
  ZSTD_DCtx* dctx = ZSTD_createDCtx();
  if (dctx == nullptr) {
    error = "out of memory";
    return false;
  }
  ZSTD_DCtx_setParameter(dctx, ZSTD_d_windowLogMax, kMaxWindowLog);
  newBytes.resize(static_cast<size_t>(target.newSize));
  size_t rc = ZSTD_DCtx_refPrefix(dctx, oldBytes.data(), oldBytes.size());
  if (!ZSTD_isError(rc)) rc = ZSTD_decompressDCtx(dctx, newBytes.data(), newBytes.size(), target.frame.data(), target.frame.size());
  ZSTD_freeDCtx(dctx);
  if (ZSTD_isError(rc) || rc != target.newSize) {
    error = target.name + ": " + (ZSTD_isError(rc) ? ZSTD_getErrorName(rc) : "short output");
    newBytes.clear();
    return false;
  }
  return true;
}

int32_t ApplyPatchCommand(const char* commandLine, PatchCallback callback) {
  std::string message;
  auto report = [&](int32_t id, void* data) {
    if (callback != nullptr) callback(id, data);
  };
  auto fail = [&](std::string why) {
    message = std::move(why);
    report(4, message.data());
    return 1;
  };
  std::string patchPath, folder;
  if (!ParseCommandLine(commandLine, patchPath, folder)) return fail("the command line names no patch and folder");
  if (folder.back() != '/') folder += '/';
  std::string bytes, error;
  if (!ReadWhole(patchPath, bytes)) return fail("the patch file " + patchPath + " cannot be read");
  std::vector<PatchTarget> targets;
  if (!ReadPatchFile(bytes, targets, error)) return fail(patchPath + ": " + error);
  uint32_t count = static_cast<uint32_t>(targets.size());
  report(6, &count);

  std::vector<std::string> staged;
  auto dropStaged = [&] {
    for (const std::string& s : staged) DeleteFile(s);
  };
  for (const PatchTarget& t : targets) {
    const std::string target = folder + t.name;
    report(7, const_cast<char*>(t.name.c_str()));
    std::string oldBytes, newBytes;
    // A target that does not exist yet is made from nothing.
    if (FileExists(target) ? !ReadWhole(target, oldBytes) : t.oldSize != 0) {
      dropStaged();
      return fail(target + " cannot be read");
    }
    if (!ApplyPatchFrame(oldBytes, t, newBytes, error)) {
      dropStaged();
      return fail(error);
    }
    uint16_t progress = 32768;
    report(5, &progress);
    const std::string stage = target + ".patch~";
    DeleteFile(stage);
    if (!WriteWhole(stage, newBytes)) {
      DeleteFile(stage);
      dropStaged();
      return fail(stage + " cannot be written");
    }
    staged.push_back(stage);
    report(8, nullptr);
  }
  for (size_t i = 0; i < targets.size(); ++i) {
    const std::string target = ResolvePath(folder + targets[i].name);
    if (std::rename(ResolvePath(staged[i]).c_str(), target.c_str()) != 0) {
      dropStaged();
      return fail(target + " cannot be replaced");
    }
    NoteFolderChanged(std::string(ParentOf(target)));
  }
  return 0;
}

}  // namespace platform
