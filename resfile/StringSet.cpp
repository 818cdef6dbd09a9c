#include "resfile/StringSet.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "resfile/MappedResFile.h"
#include "resfile/ResUtil.h"

namespace {

// Reads a table block without ever leaving it.
struct BlockReader {
  const uint8_t* data;
  int32_t size;
  int32_t pos = 0;
  bool ok = true;

  bool Has(int32_t n) {
    if (!ok || n < 0 || pos + n > size) ok = false;
    return ok;
  }
  int Byte() { return Has(1) ? data[pos++] : 0; }
  int Word() {
    if (!Has(2)) return 0;
    int v = static_cast<int16_t>(ReadU16LE(data + pos));
    pos += 2;
    return v;
  }
  std::string Text() {
    if (!Has(1)) return {};
    const void* end = std::memchr(data + pos, 0, static_cast<size_t>(size - pos));
    if (!end) {
      ok = false;  // no terminator before the end of the block
      return {};
    }
    auto n = static_cast<int32_t>(static_cast<const uint8_t*>(end) - (data + pos));
    std::string s(reinterpret_cast<const char*>(data + pos), static_cast<size_t>(n));
    pos += n + 1;
    return s;
  }
};

}  // namespace

void SwapStringTable(void* data, int32_t size) {
  auto* p = static_cast<uint8_t*>(data);
  if (!p || size < 2) return;
  std::swap(p[0], p[1]);
  // Every negative layout keeps a count behind the layout word.
  if (static_cast<int16_t>(ReadU16LE(p)) < 0 && size >= 4) std::swap(p[2], p[3]);
}

StringSet::StringSet() = default;
StringSet::~StringSet() = default;

void StringSet::SetSource(iResFile* file, ResId id, ResType type, bool textFormat, int language) {
  mFile = file;
  mId = id;
  mType = type;
  mTextFormat = textFormat;
  mLanguageSetting = language;
  mSlot = LanguageSlotOf(language);
}

int StringSet::SlotIndex(int language) const {
  if (language == -1) return mSlot;
  if (language < 0 || language >= kLanguageSlots) return -1;
  return language;
}

const StringSet::Entry* StringSet::EntryAt(int n, int language) const {
  int slot = SlotIndex(language);
  if (slot < 0 || n < 1 || n > static_cast<int>(mSlots[slot].size())) return nullptr;
  return &mSlots[slot][static_cast<size_t>(n - 1)];
}

int StringSet::GetCount(int language) const {
  int slot = SlotIndex(language);
  return slot < 0 ? 0 : static_cast<int>(mSlots[slot].size());
}

const char* StringSet::GetString(int n, int language) const {
  const Entry* e = EntryAt(n, language);
  return e ? e->text.c_str() : nullptr;
}

const char* StringSet::GetComment(int n, int language) const {
  const Entry* e = EntryAt(n, language);
  return e && e->hasComment ? e->comment.c_str() : nullptr;
}

int StringSet::GetOrigin(int n, int language) const {
  const Entry* e = EntryAt(n, language);
  return e ? e->origin : 255;
}

void StringSet::SetString(int n, const char* text, int language) {
  int slot = SlotIndex(language);
  if (slot < 0) return;
  Slot& s = mSlots[slot];
  int count = static_cast<int>(s.size());
  if (n == count + 1) {
    s.emplace_back();
  } else if (n < 1 || n > count) {
    return;
  }
  Entry& e = s[static_cast<size_t>(n - 1)];
  e.text = text ? text : "";
  e.origin = static_cast<uint8_t>(slot);
}

void StringSet::PadTo(int count, int language) {
  int slot = SlotIndex(language);
  if (slot < 0) return;
  Slot& s = mSlots[slot];
  const size_t from = s.size();
  if (count <= static_cast<int>(from)) return;
  s.resize(static_cast<size_t>(count));
  for (size_t i = from; i < s.size(); ++i) s[i].origin = static_cast<uint8_t>(slot);
}

void StringSet::InsertString(int n, const char* text, int language) {
  int slot = SlotIndex(language);
  if (slot < 0) return;
  Slot& s = mSlots[slot];
  n = std::clamp(n, 1, static_cast<int>(s.size()) + 1);
  s.insert(s.begin() + (n - 1), Entry{});
  SetString(n, text, language);
}

void StringSet::RemoveString(int n, int language) {
  int slot = SlotIndex(language);
  if (slot < 0 || n < 1 || n > static_cast<int>(mSlots[slot].size())) return;
  mSlots[slot].erase(mSlots[slot].begin() + (n - 1));
}

void StringSet::SetComment(int n, const char* comment, int language) {
  int slot = SlotIndex(language);
  if (slot < 0 || n < 1 || n > static_cast<int>(mSlots[slot].size())) return;
  Entry& e = mSlots[slot][static_cast<size_t>(n - 1)];
  e.hasComment = comment && *comment;
  e.comment = e.hasComment ? comment : "";
}

const char* StringSet::FindInAnyLanguage(int n, int* outSlot) const {
  for (int slot = 0; slot < kLanguageSlots; ++slot) {
    if (n >= 1 && n <= static_cast<int>(mSlots[slot].size())) {
      if (outSlot) *outSlot = slot;
      return mSlots[slot][static_cast<size_t>(n - 1)].text.c_str();
    }
  }
  return nullptr;
}

void StringSet::CopyFrom(const StringSet& other) {
  Slot& mine = mSlots[mSlot];
  const Slot& theirs = other.mSlots[other.mSlot];
  mine.resize(theirs.size());
  for (size_t i = 0; i < theirs.size(); ++i) {
    mine[i] = theirs[i];
    mine[i].origin = static_cast<uint8_t>(mSlot);
  }
  mFile = nullptr;
  mId = 0;
  mType = 0;
  mName = other.mName;
}

void StringSet::FreeAll() {
  for (Slot& s : mSlots) s.clear();
}

void StringSet::AddLoaded(int slot, const std::string& text, const std::string* comment) {
  Entry e;
  e.text = text;
  e.hasComment = comment && !comment->empty();
  if (e.hasComment) e.comment = *comment;
  e.origin = static_cast<uint8_t>(slot);
  mSlots[slot].push_back(std::move(e));
}

int StringSet::LoadFromFile(iResFile* file, ResId id, bool allLanguages) {
  SetSource(file, id, TypeCode("STR#"), false, kLanguageCurrent);
  int status = Load(allLanguages, true);
  if (status != 0) {
    SetSource(file, id, kCaretTextType, true, kLanguageCurrent);
    status = Load(allLanguages, true);
  }
  return status;
}

void StringSet::ParseCaretText(const uint8_t* data, int32_t size) {
  int32_t i = 0;
  while (i < size) {
    while (i < size && data[i] != '^') ++i;  // text between entries is ignored
    if (i >= size) break;
    int32_t start = ++i;
    while (i < size && data[i] != '^') ++i;
    if (i >= size) break;  // an entry without its closing caret is dropped
    std::string text(reinterpret_cast<const char*>(data + start), static_cast<size_t>(i - start));
    ++i;
    AddLoaded(mSlot, text, nullptr);
    if (mSlot != 0) AddLoaded(0, text, nullptr);
  }
}

int StringSet::Parse(const uint8_t* data, int32_t size, bool allLanguages, bool fallback) {
  BlockReader r{data, size};
  int layout = r.Word();
  if (!r.ok) return kResBadData;
  if (layout >= 0) {
    for (int i = 0; i < layout && r.ok; ++i) {
      int n = r.Byte();
      if (!r.Has(n)) break;
      std::string text(reinterpret_cast<const char*>(data + r.pos), static_cast<size_t>(n));
      r.pos += n;
      for (char& c : text) {
        if (static_cast<unsigned char>(c) == 0xA1) c = 'o';
        if (static_cast<unsigned char>(c) == 0xD5) c = '\'';
      }
      AddLoaded(mSlot, text, nullptr);
      if (mSlot != 0) AddLoaded(0, text, nullptr);
    }
    return r.ok ? kResOK : kResBadData;
  }
  int count = static_cast<uint16_t>(r.Word());
  if (layout == -1 || layout == -2) {
    for (int i = 0; i < count && r.ok; ++i) {
      std::string text = r.Text();
      std::string comment;
      if (layout == -2) comment = r.Text();
      if (!r.ok) break;
      AddLoaded(mSlot, text, layout == -2 ? &comment : nullptr);
      if (mSlot != 0) AddLoaded(0, text, layout == -2 ? &comment : nullptr);
    }
    return r.ok ? kResOK : kResBadData;
  }
  if (layout != -3) return kResBadData;
  struct Record {
    int slot;
    std::string text, comment;
  };
  std::vector<Record> defaults;
  for (int i = 0; i < count && r.ok; ++i) {
    int language = r.Byte();
    std::string text = r.Text();
    std::string comment = r.Text();
    if (!r.ok) break;
    int slot = language - 1;
    if (slot < 0 || slot >= kLanguageSlots) continue;  // no such language
    if (slot == 0) defaults.push_back({slot, text, comment});
    if (slot == mSlot || allLanguages) AddLoaded(slot, text, &comment);
  }
  if (mSlots[mSlot].empty() && fallback) {
    for (const Record& d : defaults) AddLoaded(mSlot, d.text, &d.comment);
  }
  return r.ok ? kResOK : kResBadData;
}

int StringSet::Load(bool allLanguages, bool fallback) {
  if (!mFile || !mFile->IsOpen()) return kResBadData;
  int status = LoadStored(allLanguages, fallback);
  if (allLanguages) {
    for (int slot = 1; slot < kLanguageSlots; ++slot) {
      if (!mSlots[slot].empty()) continue;
      mSlots[slot] = mSlots[0];
      for (Entry& e : mSlots[slot]) e.origin = 0;
    }
  }
  return status;
}

int StringSet::LoadStored(bool allLanguages, bool fallback) {
  if (!mFile || !mFile->IsOpen()) return kResBadData;
  mName.clear();
  FreeAll();
  MemHandle h = mFile->GetResource(mType, mId, mTextFormat ? nullptr : SwapStringTable);
  if (!h) {
    int status = mFile->GetError();
    return status != 0 ? status : kResNotFound;
  }
  mFile->GetLabel(h, mName);
  int status = kResOK;
  if (mTextFormat)
    ParseCaretText(GetMemHandleData(h), GetMemHandleSize(h));
  else
    status = Parse(GetMemHandleData(h), GetMemHandleSize(h), allLanguages, fallback);
  mFile->ReleaseResource(h);
  return status;
}

int StringSet::SaveTo(iResFile* file, ResId id) {
  SetSource(file, id, TypeCode("STR#"), false, mLanguageSetting);
  return Save();
}

int StringSet::Save() {
  if (!mFile) return kResBadData;
  if (mType == 0 || mType == kCaretTextType) {
    mType = TypeCode("STR#");
    mTextFormat = false;
  }
  // Merge into what is stored so the other languages survive.
  StringSet merged;
  merged.SetSource(mFile, mId, mType, false, mLanguageSetting);
  merged.mSlot = mSlot;
  // Languages the block leaves empty stay empty: filled from the default
  // they would only be dropped again below.
  merged.LoadStored(true, true);
  // This set's own language is written from where it lies, not copied.
  const Slot* slots[kLanguageSlots];
  for (int slot = 0; slot < kLanguageSlots; ++slot) slots[slot] = &merged.mSlots[slot];
  slots[mSlot] = &mSlots[mSlot];

  const Slot& base = *slots[0];
  for (int slot = 1; slot < kLanguageSlots; ++slot) {
    const Slot& s = *slots[slot];
    Slot& out = merged.mSlots[slot];
    // A language with nothing of its own is left to the default.
    if (std::none_of(s.begin(), s.end(), [](const Entry& e) { return e.origin != 0; })) {
      out.clear();
      slots[slot] = &out;
      continue;
    }
    if (s.size() >= base.size()) continue;
    if (&s != &out) out = s;
    out.reserve(base.size());
    for (size_t i = out.size(); i < base.size(); ++i) {
      out.push_back(base[i]);
      out.back().origin = 0;
    }
    slots[slot] = &out;
  }
  size_t total = 0;
  size_t bytes = 4;
  for (const Slot* s : slots) {
    total += s->size();
    for (const Entry& e : *s) bytes += 3 + e.text.size() + e.comment.size();
  }
  if (total > 32767 || bytes > 0x7FFFFFFF) return kResBadData;  // the count is 16-bit

  MemHandle h = NewMemHandle(static_cast<int32_t>(bytes));
  if (!h) return kResOutOfMemory;
  uint8_t* p = GetMemHandleData(h);
  WriteU16LE(p, static_cast<uint16_t>(-3));
  WriteU16LE(p + 2, static_cast<uint16_t>(total));
  p += 4;
  for (int slot = 0; slot < kLanguageSlots; ++slot) {
    for (const Entry& e : *slots[slot]) {
      *p++ = static_cast<uint8_t>(slot + 1);
      std::memcpy(p, e.text.c_str(), e.text.size() + 1);
      p += e.text.size() + 1;
      std::memcpy(p, e.comment.c_str(), e.comment.size() + 1);
      p += e.comment.size() + 1;
    }
  }
  int status = mFile->AddResource(h, mType, mId, mName, true);
  if (status != 0) {
    DisposeMemHandle(h);
    return status;
  }
  status = mFile->WriteResource(h);
  if (status != 0) {
    DiscardFailedWrite(*mFile, h);
    return status;
  }
  mFile->ReleaseResource(h);
  return kResOK;
}
