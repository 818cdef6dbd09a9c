// String tables: numbered texts with optional comments, kept for each of the
// twenty languages, loaded from and saved to a string-table resource. Object
// names, menu texts and interface texts are all read through it.
//
// Stored layouts, told apart by the first 16-bit word (machine order once the
// file has delivered the block): n >= 0 length-prefixed strings; -1 count and
// zero-terminated texts; -2 count and text/comment pairs; -3 count and
// records {language byte, text, comment} over all languages. A 'CST\0'
// resource holds caret text instead: each entry between '^' and '^'.
//
// Entries are numbered from 1. A language argument is a slot 0-19, or -1 for
// the set's current slot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resfile/ResLanguage.h"
#include "resfile/iResFile.h"

constexpr ResType kCaretTextType = 0x00435354;  // "\0CST"

class StringSet {
 public:
  StringSet();
  virtual ~StringSet();

  // Language: a slot, or any value with the top bit set for the current
  // language.
  void SetSource(iResFile* file, ResId id, ResType type, bool textFormat, int language);
  int LoadFromFile(iResFile* file, ResId id, bool allLanguages);
  int Load(bool allLanguages, bool fallback);
  int SaveTo(iResFile* file, ResId id);
  int Save();

  int GetCount(int language = -1) const;
  const char* GetString(int n, int language = -1) const;
  const char* GetComment(int n, int language = -1) const;
  void SetString(int n, const char* text, int language = -1);
  // Appends empty entries until there are count; as SetString of "" on
  // each next number, in one step.
  void PadTo(int count, int language = -1);
  void InsertString(int n, const char* text, int language = -1);
  void RemoveString(int n, int language = -1);
  void SetComment(int n, const char* comment, int language = -1);
  const char* FindInAnyLanguage(int n, int* outSlot = nullptr) const;
  void CopyFrom(const StringSet& other);
  int Begin() const { return 1; }
  int End() const { return GetCount() + 1; }

  const std::string& GetName() const { return mName; }
  void SetName(const std::string& name) { mName = ClampLabel(name); }
  ResId GetId() const { return mId; }
  ResType GetResourceType() const { return mType; }
  int GetLanguageSlot() const { return mSlot; }
  // The slot that set entry n (255 for a blank placeholder, 0 when copied in
  // from the default slot during a load of all languages); 255 when absent.
  int GetOrigin(int n, int language = -1) const;

 private:
  struct Entry {
    std::string text;
    std::string comment;
    bool hasComment = false;
    uint8_t origin = 255;
  };
  using Slot = std::vector<Entry>;

  int SlotIndex(int language) const;
  const Entry* EntryAt(int n, int language) const;
  void FreeAll();
  void AddLoaded(int slot, const std::string& text, const std::string* comment);
  int Parse(const uint8_t* data, int32_t size, bool allLanguages, bool fallback);
  // Load without filling the languages the block leaves empty.
  int LoadStored(bool allLanguages, bool fallback);
  void ParseCaretText(const uint8_t* data, int32_t size);

  iResFile* mFile = nullptr;
  std::string mName;
  Slot mSlots[kLanguageSlots];
  ResId mId = 0;
  ResType mType = 0;
  bool mTextFormat = false;
  int mLanguageSetting = 0;
  int mSlot = 0;
};

// Swap callback of binary tables: turns the leading word, and the count
// behind a negative layout word, into machine order.
void SwapStringTable(void* data, int32_t size);
