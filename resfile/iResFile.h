// The one interface through which all game data kept in files is read and
// written. A resource is addressed by a four-character type and a 16-bit id,
// may bear a label (at most 63 characters) and a variant byte, and comes back
// as a memory handle owned by the file's cache.
//
// Handle ownership: asking again for the same resource returns the same
// handle. It stays valid until it is detached (the caller then owns it),
// released, its resource deleted, another handle added under the same type,
// id and variant, or the file closed. Callers must not keep handles across
// any of these.
#pragma once

#include <cstdint>
#include <string>

#include "resfile/MemHandle.h"
#include "resfile/ResStatus.h"
#include "resfile/TypeCode.h"

using ResId = int16_t;

// Turns a resource's data from its stored byte order into the machine's.
// A load applies it once, only to resources not stored natively.
using SwapProc = void (*)(void* data, int32_t size);

// Flags word of a resource.
enum : uint16_t {
  kResFlagFree = 0x04,
  kResFlagInternal = 0x08,  // internal list of a 1.0 file
  kResFlagNative = 0x10,    // data already in the machine's byte order
};

constexpr int kMaxLabelLength = 63;

class iResFile {
 public:
  virtual ~iResFile();

  virtual int Create(const std::string& path) = 0;
  virtual int Delete(const std::string& path) = 0;
  virtual int Open(const std::string& path) = 0;
  virtual int Suspend() = 0;
  virtual int Resume() = 0;
  virtual int Close() = 0;
  virtual int Flush() = 0;
  virtual bool IsWritable() = 0;
  virtual void GetPath(std::string& out) = 0;
  virtual bool IsOpen() = 0;
  virtual int CountTypes() = 0;
  virtual ResType GetTypeAt(int index) = 0;  // 1-based
  virtual int CountResources(ResType type) = 0;
  virtual MemHandle GetResource(ResType type, ResId id, SwapProc swap) = 0;
  virtual MemHandle GetNamedResource(ResType type, const std::string& label, SwapProc swap) = 0;
  virtual MemHandle GetIndexedResource(ResType type, int index, SwapProc swap) = 0;
  virtual MemHandle GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap);
  virtual int GetLabel(MemHandle h, std::string& out) = 0;
  virtual ResType GetType(MemHandle h) = 0;
  virtual int GetId(MemHandle h, ResId& out) = 0;
  // No kind of file gives this slot a meaning: -95 and 0.
  virtual int GetHandleAttribute(MemHandle h, int32_t& out);
  virtual int GetVariant(MemHandle h);
  virtual int MakeUniqueLabel(ResType type, std::string& label) = 0;
  virtual ResId GetUnusedId(ResType type) = 0;
  virtual int DetachResource(MemHandle h) = 0;
  // No kind of file gives this slot a meaning: -95.
  virtual int LockHandle(MemHandle h);
  virtual bool IsNative(MemHandle h) = 0;
  virtual int ChangeId(MemHandle h, ResId id) = 0;
  virtual int AddResource(MemHandle h, ResType type, ResId id, const std::string& label,
                          bool native) = 0;
  virtual int AddResourceVariant(MemHandle h, ResType type, ResId id, const std::string& label,
                                 int variant, bool native);
  virtual int WriteResource(MemHandle h) = 0;
  virtual int DeleteResource(MemHandle h) = 0;
  virtual int SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int variant) = 0;
  // Entry index (1-based) of the 'STR#' table of this id in the current
  // language; empty when the table or the entry is missing.
  virtual void GetString(ResId id, int index, std::string& out);

  int GetError() const { return mError; }
  void SetError(int code) { mError = code; }

  // Detaches and, when that worked, disposes of the handle.
  int ReleaseResource(MemHandle h);

  enum { kOpenCreateMissing = 1 };
  // Open; with kOpenCreateMissing a file that cannot be opened is created
  // (never over an existing one) and opened.
  int OpenWithFlags(const std::string& path, int flags);

 protected:
  int mError = 0;
};

// Labels are at most 63 characters; longer text is cut.
inline std::string ClampLabel(const std::string& label) {
  return label.size() > static_cast<size_t>(kMaxLabelLength) ? label.substr(0, kMaxLabelLength)
                                                              : label;
}

// Label comparison of the containers: equal ignoring the case of A-Z.
bool LabelsEqualNoCase(const std::string& a, const std::string& b);
