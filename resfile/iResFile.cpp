#include "resfile/iResFile.h"

#include "resfile/StringSet.h"

iResFile::~iResFile() = default;

MemHandle iResFile::GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) {
  if (variant != 0) {
    mError = kResNoVariants;
    return nullptr;
  }
  return GetResource(type, id, swap);
}

int iResFile::GetHandleAttribute(MemHandle, int32_t& out) {
  out = 0;
  return mError = kResUnsupported;
}

int iResFile::GetVariant(MemHandle h) {
  ResId id = 0;
  GetId(h, id);
  return 0;
}

int iResFile::LockHandle(MemHandle) { return mError = kResUnsupported; }

int iResFile::AddResourceVariant(MemHandle h, ResType type, ResId id, const std::string&, int,
                                 bool native) {
  return AddResource(h, type, id, std::string(), native);
}

void iResFile::GetString(ResId id, int index, std::string& out) {
  out.clear();
  StringSet set;
  set.SetSource(this, id, TypeCode("STR#"), false, kLanguageCurrent);
  if (set.Load(false, true) != 0) return;
  if (const char* text = set.GetString(index, -1)) out = text;
}

int iResFile::ReleaseResource(MemHandle h) {
  int status = DetachResource(h);
  if (mError == 0) DisposeMemHandle(h);
  return status;
}

int iResFile::OpenWithFlags(const std::string& path, int flags) {
  if (Open(path) != 0 && (flags & kOpenCreateMissing)) {
    if (Create(path) == 0) Open(path);
  }
  return mError;
}

bool LabelsEqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}
