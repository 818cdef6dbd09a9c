#include "gamedata/KeyValueList.h"

#include "platform/Path.h"

namespace tova {

namespace {
enum State { kStart = 0, kInKey = 1, kAfterKey = 2, kAfterEquals = 3, kInValue = 4 };

bool IsQuote(int c) { return c == '"' || c == 0xD2 || c == 0xD3; }
bool IsBlank(int c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

const std::string kEmpty;
}  // namespace

void KeyValueList::Clear() {
  for (Item& item : items_) item.line = -1;
}

void KeyValueList::Free() {
  items_.clear();
  current_ = -1;
  last_ = -1;
}

void KeyValueList::BeginItem(const CharScanner& scanner) {
  // An item is never entered twice: the index moves on by one at most.
  if (current_ < last_ + 1) ++current_;
  if (current_ >= static_cast<int>(items_.size())) items_.emplace_back();
  Item& item = items_[static_cast<size_t>(current_)];
  item.key.clear();
  item.value.clear();
  item.line = scanner.GetLine();
  last_ = current_;
}

KeyValueList::Item* KeyValueList::Current() {
  if (current_ < 0 || current_ >= static_cast<int>(items_.size())) return nullptr;
  return &items_[static_cast<size_t>(current_)];
}

int KeyValueList::Parse(CharScanner& scanner) {
  current_ = -1;
  last_ = -1;
  int state = kStart;
  bool quoted = false;
  for (int c = scanner.GetChar(); c != 0; c = scanner.GetChar()) {
    if (quoted) {
      if (IsQuote(c)) {
        quoted = false;
        continue;
      }
      Item* item = Current();
      if (!item) continue;
      if (state == kInKey) item->key.push_back(static_cast<char>(c));
      if (state == kInValue) item->value.push_back(static_cast<char>(c));
      continue;
    }
    if (IsBlank(c)) {
      if (state == kInKey || state == kInValue) state = kAfterKey;
      continue;
    }
    if (c == '=' && (state == kInKey || state == kAfterKey)) {
      state = kAfterEquals;
      continue;
    }
    if (state == kAfterKey || (state == kStart && current_ < 0)) {
      BeginItem(scanner);
      state = kInKey;
    } else if (state == kAfterEquals) {
      state = kInValue;
    } else if (state == kStart) {
      state = kInKey;
    }
    if (!Current()) BeginItem(scanner);
    if (IsQuote(c)) {
      quoted = true;
      continue;
    }
    Item* item = Current();
    const char folded = platform::FoldCase(static_cast<char>(c));
    if (state == kInKey) item->key.push_back(folded);
    if (state == kInValue) item->value.push_back(folded);
  }
  items_.resize(static_cast<size_t>(last_ + 1));
  if (current_ > last_) current_ = last_;
  return 1;
}

bool KeyValueList::SetCurrent(int i) {
  if (i < 0 || i >= static_cast<int>(items_.size())) return false;
  current_ = i;
  return true;
}

const std::string& KeyValueList::GetKey() const {
  return (current_ >= 0 && current_ < static_cast<int>(items_.size())) ? items_[static_cast<size_t>(current_)].key
                                                                         : kEmpty;
}

const std::string& KeyValueList::GetValue() const {
  return (current_ >= 0 && current_ < static_cast<int>(items_.size())) ? items_[static_cast<size_t>(current_)].value
                                                                         : kEmpty;
}

int KeyValueList::GetLine() const {
  return (current_ >= 0 && current_ < static_cast<int>(items_.size())) ? items_[static_cast<size_t>(current_)].line
                                                                         : -1;
}

const char* KeyValueList::FindValue(const std::string& key) const {
  for (const Item& item : items_) {
    if (item.key == key) return item.value.c_str();
  }
  return nullptr;
}

}  // namespace tova
