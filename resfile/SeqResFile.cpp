#include "resfile/SeqResFile.h"

#include "resfile/FixedString.h"
#include "resfile/IFFResFile.h"
#include "resfile/IFFResFile2.h"
#include "resfile/PathHelpers.h"
#include "resfile/ResolveResFile.h"

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         LabelsEqualNoCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

SeqResFile::SeqResFile() = default;

SeqResFile::~SeqResFile() {
  while (!mOwned.empty()) mOwned.pop_back();
  mMembers.clear();
}

void SeqResFile::AddKind(int kind, const std::string& extension) {
  if (static_cast<int>(mKinds.size()) >= kMaxKinds || kind < 0 || kind > 3) return;
  mKinds.push_back(KindPair{kind, extension.substr(0, 7)});
}

std::unique_ptr<iResFile> SeqResFile::MakeFile(int kind) {
  switch (kind) {
    case kIFF1: return std::make_unique<IFFResFile>();
    case kIFF2: return std::make_unique<IFFResFile2>();
    case kDirectory: return std::make_unique<ResolveResFile>();
    default: return nullptr;
  }
}

std::string SeqResFile::MatchName(int pair, const std::string& name) const {
  const KindPair& k = mKinds[static_cast<size_t>(pair)];
  if (k.kind == kNone || k.extension.size() < 2 || k.extension[0] != '.') return {};
  FixedStringBuffer<260> directory, base, extension;
  SplitPath(name.c_str(), &directory, &base, &extension);
  if (extension.Length() > 0) return LabelsEqualNoCase(extension.c_str(), k.extension) ? name : std::string();
  return base.Length() > 0 ? name + k.extension : std::string();
}

int SeqResFile::Open(const std::string& name) {
  Close();
  int status = kResNoKind;
  for (size_t i = 0; i < mKinds.size(); ++i) {
    std::string path = MatchName(static_cast<int>(i), name);
    if (path.empty()) {
      status = kResNoKind;
      continue;
    }
    std::unique_ptr<iResFile> file = MakeFile(mKinds[i].kind);
    if (!file) continue;
    status = file->Open(path);
    if (status == 0 && AddFile(file.get())) mOwned.push_back(std::move(file));
  }
  return mError = mMembers.empty() ? status : 0;
}

int SeqResFile::Create(const std::string& name) {
  int status = kResNoKind;
  bool any = false;
  std::vector<std::string> created;
  for (size_t i = 0; i < mKinds.size(); ++i) {
    bool done = false;
    for (const std::string& e : created) done = done || LabelsEqualNoCase(e, mKinds[i].extension);
    if (done) continue;
    std::string path = MatchName(static_cast<int>(i), name);
    if (path.empty()) {
      status = kResNoKind;
      continue;
    }
    std::unique_ptr<iResFile> file = MakeFile(mKinds[i].kind);
    if (!file) continue;
    status = file->Create(path);
    if (status == kFlatCreateExists) return mError = status;
    if (status == 0) {
      created.push_back(mKinds[i].extension);
      any = true;
    }
  }
  return mError = any ? 0 : status;
}

int SeqResFile::Delete(const std::string& name) {
  int status = kResNoKind;
  bool matched = false;
  for (size_t i = 0; i < mKinds.size(); ++i) {
    std::string path = MatchName(static_cast<int>(i), name);
    if (path.empty()) continue;
    std::unique_ptr<iResFile> file = MakeFile(mKinds[i].kind);
    if (!file) continue;
    if (!matched) status = 0;
    matched = true;
    int s = file->Delete(path);
    if (s == kResNoMember || s == kResNotWritable) return mError = s;
    // A file that is not there, or a kind that cannot delete, is no failure.
    if (s != 0 && s != kFlatDeleteMissing && s != kResUnsupported) status = s;
  }
  return mError = status;
}

int SeqResFile::Close() {
  int status = ChainResFile::Close();
  mMembers.clear();
  mOwned.clear();
  return mError = status;
}

void SeqResFile::GetPath(std::string& out) {
  out.clear();
  mError = 0;
  if (mMembers.empty()) return;
  mMembers.front().file->GetPath(out);
  FixedStringBuffer<260> without, extension;
  SplitExtension(out.c_str(), without, extension);
  out = without.c_str();
}

StdResFile::StdResFile() {
  AddKind(kIFF2, ".iff");
  AddKind(kIFF2, ".spf");
  AddKind(kIFF1, ".iff");
  AddKind(kIFF1, ".spf");
  AddKind(kDirectory, ".dir");
}

int StdResFile::Open(const std::string& name) {
  if (SeqResFile::Open(name) != 0) return mError;
  int iff = -1, spf = -1;
  for (int i = CountFiles() - 1; i >= 0; --i) {
    std::string path;
    GetFile(i)->GetPath(path);
    if (EndsWithNoCase(path, ".spf")) spf = i;
    if (EndsWithNoCase(path, ".iff")) iff = i;
  }
  if (iff >= 0 && spf >= 0) {
    for (ResType type : {TypeCode("SPR#"), TypeCode("DGRP"), TypeCode("PALT"), TypeCode("BMP_"),
                         TypeCode("SPR2")}) {
      ExcludeType(iff, type);
      IncludeType(spf, type);
    }
  }
  return mError = 0;
}

ObjResFile::ObjResFile() {
  ClearKinds();
  AddKind(kIFF2, ".iff");
  AddKind(kIFF2, ".spf");
  AddKind(kDirectory, ".dir");
}

ObjResFile::~ObjResFile() = default;

void ObjResFile::SetConstantList(int16_t key, const int16_t* list) {
  if (!list) {
    for (auto it = mConstants.begin(); it != mConstants.end(); ++it) {
      if (it->first == key) {
        mConstants.erase(it);
        return;
      }
    }
    return;
  }
  auto count = static_cast<int16_t>(list[0] & 0x7FFF);
  std::vector<int16_t> copy(list, list + 1 + count);
  copy[0] = count;
  mConstants.emplace_back(key, std::move(copy));
}

const int16_t* ObjResFile::FindConstantList(int16_t key) const {
  for (const auto& [k, list] : mConstants)
    if (k == key) return list.data();
  return nullptr;
}
