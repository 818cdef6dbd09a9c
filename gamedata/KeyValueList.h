#pragma once
// A list of key = value items parsed from text read through a CharScanner,
// as the menu descriptions write them: 'Width = 12  Label = "Open File"'.
// Outside quotes letters A-Z are folded to lower case and blanks end a key
// or value; quoted text keeps its case and its spaces.

#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/StringScanner.h"

namespace tova {

class KeyValueList {
 public:
  struct Item {
    int32_t line = -1;  // -1 until set
    std::string key;
    std::string value;
  };

  // Marks every item unused (line -1); the items stay.
  void Clear();
  // Deletes every item.
  void Free();
  // Reads characters up to the end of the text and builds items; returns 1.
  // A new parse fills the items from the first one again.
  int Parse(CharScanner& scanner);

  int GetCount() const { return static_cast<int>(items_.size()); }
  // Makes item i current; false (nothing changes) when there is none.
  bool SetCurrent(int i);
  // Key and value of the current item ("" without one).
  const std::string& GetKey() const;
  const std::string& GetValue() const;
  int GetLine() const;
  // The value of the first item whose key equals `key` byte for byte; null
  // when there is none.
  const char* FindValue(const std::string& key) const;
  const std::vector<Item>& Items() const { return items_; }

 private:
  void BeginItem(const CharScanner& scanner);
  Item* Current();

  std::vector<Item> items_;
  int current_ = -1;
  int last_ = -1;  // index of the last item filled by the parse
};

}  // namespace tova
