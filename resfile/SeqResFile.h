// Chains that open their own members: SeqResFile tries a list of registered
// (kind, extension) pairs for a name; StdResFile is the standard list, which
// also sends sprite types to the ".spf" member; ObjResFile is the object-file
// variant, which also keeps the tuned constant lists of its behaviours.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "resfile/ChainResFile.h"

class SeqResFile : public ChainResFile {
 public:
  enum Kind { kNone = 0, kIFF1 = 1, kIFF2 = 2, kDirectory = 3 };
  static constexpr int kMaxKinds = 8;

  SeqResFile();
  ~SeqResFile() override;

  void ClearKinds() { mKinds.clear(); }
  // Ignored when eight pairs are registered or the kind is not 0 to 3.
  void AddKind(int kind, const std::string& extension);

  // Opens every registered kind that fits the name: "obj" tries "obj.iff",
  // "obj.spf" and the rest; "obj.iff" only the pairs of that extension.
  int Open(const std::string& name) override;
  int Create(const std::string& name) override;
  // A name that exists nowhere is not an error.
  int Delete(const std::string& name) override;
  int Close() override;
  // The first member's path without its extension.
  void GetPath(std::string& out) override;

 protected:
  // The file name a pair gives for the name, or "" when it does not fit.
  std::string MatchName(int pair, const std::string& name) const;
  static std::unique_ptr<iResFile> MakeFile(int kind);

  struct KindPair {
    int kind;
    std::string extension;
  };
  std::vector<KindPair> mKinds;
  std::vector<std::unique_ptr<iResFile>> mOwned;
};

class StdResFile : public SeqResFile {
 public:
  StdResFile();
  int Open(const std::string& name) override;
};

class ObjResFile : public StdResFile {
 public:
  ObjResFile();
  ~ObjResFile() override;

  // list[0] is the count (top bit ignored), the values follow. Without a
  // list the first stored list of the key is removed.
  void SetConstantList(int16_t key, const int16_t* list);
  // {count, values...} of the first list of the key, or null.
  const int16_t* FindConstantList(int16_t key) const;

 private:
  std::vector<std::pair<int16_t, std::vector<int16_t>>> mConstants;
};
