#include "gamedata/ResourceSource.h"

namespace tova {

std::string_view FileNamePart(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::optional<std::span<uint8_t>> MemoryResourceSource::GetResource(uint32_t type, int16_t id, SwapFn swap,
                                                                    int* status) {
  auto it = open_ ? entries_.find({type, id}) : entries_.end();
  if (it == entries_.end()) {
    if (status) *status = open_ ? kResNotFound : kFlatNotOpen;
    return std::nullopt;
  }
  Entry& e = it->second;
  if (!e.loaded) {
    e.loaded = e.stored;
    if (e.otherOrder && swap && !e.loaded->empty()) swap(e.loaded->data(), static_cast<int32_t>(e.loaded->size()));
  }
  if (status) *status = kResOK;
  return std::span<uint8_t>(*e.loaded);
}

std::optional<std::string> MemoryResourceSource::GetLabel(uint32_t type, int16_t id, SwapFn) {
  auto it = open_ ? entries_.find({type, id}) : entries_.end();
  if (it == entries_.end()) return std::nullopt;
  return it->second.label;
}

std::optional<int16_t> MemoryResourceSource::FindByLabel(uint32_t type, std::string_view label, SwapFn) {
  if (!open_) return std::nullopt;
  for (const auto& [key, e] : entries_) {
    if (key.first == type && e.label == label) return key.second;
  }
  return std::nullopt;
}

int MemoryResourceSource::PutResource(uint32_t type, int16_t id, std::string_view label, std::vector<uint8_t> bytes) {
  if (!open_) return kFlatNotOpen;
  if (!writable_) return kResNotWritable;
  Entry& e = entries_[{type, id}];
  e.stored = std::move(bytes);
  e.label = std::string(label);
  e.loaded.reset();
  e.otherOrder = false;  // what this machine writes is in its own order
  return kResOK;
}

const int16_t* MemoryResourceSource::FindConstantList(int16_t id) const {
  auto it = overrides_.find(id);
  if (it == overrides_.end() || it->second.empty()) return nullptr;
  return it->second.data();
}

std::optional<std::string> MemoryResourceSource::GetString(int16_t id, int index) {
  auto it = strings_.find(id);
  if (!open_ || it == strings_.end() || index < 1 || index > static_cast<int>(it->second.size())) return std::nullopt;
  return it->second[index - 1];
}

void MemoryResourceSource::Add(uint32_t type, int16_t id, std::vector<uint8_t> bytes, std::string label) {
  entries_[{type, id}] = Entry{std::move(bytes), std::move(label), std::nullopt, otherOrder_};
}

const std::vector<uint8_t>* MemoryResourceSource::Stored(uint32_t type, int16_t id) const {
  auto it = entries_.find({type, id});
  return it == entries_.end() ? nullptr : &it->second.stored;
}

size_t MemoryResourceSource::Count(uint32_t type) const {
  size_t n = 0;
  for (const auto& [key, e] : entries_) n += key.first == type;
  return n;
}

std::vector<std::pair<uint32_t, int16_t>> MemoryResourceSource::Keys() const {
  std::vector<std::pair<uint32_t, int16_t>> keys;
  for (const auto& [key, e] : entries_) keys.push_back(key);
  return keys;
}

}  // namespace tova
