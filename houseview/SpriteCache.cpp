#include "houseview/SpriteCache.h"

#include <algorithm>
#include <list>

#include "gamedata/GlobalContext.h"
#include "houseview/PalWrap.h"
#include "resfile/SeqResFile.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"

namespace tova {

namespace {

constexpr int32_t kSpriteFrameMinimum = 10;   // rectangle, two bytes, a command
constexpr int32_t kSprite2FrameMinimum = 16;  // the frame header

uint32_t SpriteCacheWord(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void SpriteCacheSwap32(uint8_t* p) {
  std::swap(p[0], p[3]);
  std::swap(p[1], p[2]);
}

int SpriteChannelsOfVersion(int32_t version) {
  if (version == 501 || version == 503) return 2;
  if (version == 506) return 5;
  return 1;
}

PalWrap* SpriteCacheDefaultPalette() {
  PalWrap* palette = gGlobalContext != nullptr ? gGlobalContext->palette : nullptr;
  if (palette != nullptr) palette->AddRef();
  return palette;
}

}  // namespace

std::vector<SpriteFrameSpan> CheckSpriteFrames(const uint8_t* data, int32_t size, int32_t table, uint32_t count,
                                               int32_t minimum) {
  std::vector<SpriteFrameSpan> spans;
  if (data == nullptr || size < table) return spans;
  const auto fits = static_cast<uint32_t>((size - table) / 4);
  count = std::min(count, fits);
  const int64_t headerEnd = table + 4 * static_cast<int64_t>(count);
  spans.resize(count);
  int64_t previousEnd = headerEnd;
  for (uint32_t i = 0; i < count; ++i) {
    SpriteFrameSpan& span = spans[i];
    const uint32_t offset = SpriteCacheWord(data + table + 4 * i);
    if (offset < headerEnd) {
      span.dropped = "offset " + std::to_string(offset) + " lies inside the header";
      continue;
    }
    if (offset > static_cast<uint32_t>(size)) {
      span.dropped = "offset " + std::to_string(offset) + " lies past the end (" + std::to_string(size) + " bytes)";
      continue;
    }
    if (offset < previousEnd) {
      span.dropped = "offset " + std::to_string(offset) + " overlaps the frame before";
      continue;
    }
    int64_t end = size;
    if (i + 1 < count) {
      const uint32_t next = SpriteCacheWord(data + table + 4 * (i + 1));
      if (next >= offset && next <= static_cast<uint32_t>(size)) end = next;
    }
    if (end - offset < minimum) {
      span.dropped = "only " + std::to_string(end - offset) + " bytes";
      continue;
    }
    span.offset = static_cast<int32_t>(offset);
    span.size = static_cast<int32_t>(end - offset);
    previousEnd = end;
  }
  return spans;
}

void SwapSpriteResource(void* data, int32_t size) {
  auto* bytes = static_cast<uint8_t*>(data);
  if (bytes == nullptr || size < 8) return;
  SpriteCacheSwap32(bytes);
  SpriteCacheSwap32(bytes + 4);
  const int32_t version = static_cast<int32_t>(SpriteCacheWord(bytes));
  int32_t table = 8;
  if (version >= 502) {
    if (size < 12) return;
    SpriteCacheSwap32(bytes + 8);
    table = 12;
  }
  const uint32_t count = std::min(SpriteCacheWord(bytes + 4), static_cast<uint32_t>((size - table) / 4));
  for (uint32_t i = 0; i < count; ++i) SpriteCacheSwap32(bytes + table + 4 * i);
  // Only frames that are wholly inside the resource, each once.
  for (const SpriteFrameSpan& span : CheckSpriteFrames(bytes, size, table, count, kSpriteFrameMinimum)) {
    if (span.size == 0) continue;
    for (int w = 0; w < 4; ++w) std::swap(bytes[span.offset + 2 * w], bytes[span.offset + 2 * w + 1]);
  }
}

SpriteCacheEntry::~SpriteCacheEntry() { PalWrap::Release(mPalette); }

void SpriteCacheEntry::Release(SpriteCacheEntry* entry) {
  if (entry != nullptr && --entry->mRefCount <= 0) delete entry;
}

const uint8_t* SpriteCacheEntry::GetFrame(int channel, int32_t frame, int32_t* size) const {
  return const_cast<SpriteCacheEntry*>(this)->GetFrameForEdit(channel, frame, size);
}

uint8_t* SpriteCacheEntry::GetFrameForEdit(int channel, int32_t frame, int32_t* size) {
  if (size != nullptr) *size = 0;
  if (channel < 0 || channel > 4 || frame < 0) return nullptr;
  if (IsSprite2()) {
    if (channel != 0 || frame >= static_cast<int32_t>(mSpans.size()) || mSpans[frame].size == 0) return nullptr;
    if (size != nullptr) *size = mSpans[frame].size;
    return mWhole.data() + mSpans[frame].offset;
  }
  if (frame >= static_cast<int32_t>(mChannels[channel].size())) return nullptr;
  std::vector<uint8_t>& copy = mChannels[channel][frame];
  if (copy.empty()) return nullptr;
  if (size != nullptr) *size = static_cast<int32_t>(copy.size());
  return copy.data();
}

SpriteCache::SpriteCache(const std::string& path) : mOwnsFile(true) {
  auto* file = new StdResFile();
  file->Open(path);
  mFile = file;
}

SpriteCache::SpriteCache(iResFile* file) : mFile(file) {}

SpriteCache::~SpriteCache() {
  Flush();
  if (mOwnsFile) delete mFile;
}

bool SpriteCache::IsOpen() const { return mFile != nullptr && mFile->IsOpen(); }

void SpriteCache::Flush() {
  for (auto& [id, entry] : mEntries) SpriteCacheEntry::Release(entry);
  mEntries.clear();
  mPalettes.Clear();
  mPalettesLoaded = false;
}

void SpriteCache::LoadPalettes() {
  mPalettesLoaded = true;
  if (!IsOpen()) return;
  const ResType palt = TypeCode("PALT");
  const int count = mFile->CountResources(palt);
  for (int i = 1; i <= count; ++i) {
    MemHandle h = mFile->GetIndexedResource(palt, i, nullptr);
    if (h == nullptr) continue;
    ResId id = 0;
    mFile->GetId(h, id);
    auto* palette = new PalWrap();
    palette->SetFromPALT(GetMemHandleData(h), GetMemHandleSize(h));
    mPalettes.Add(palette, id);
    mFile->ReleaseResource(h);
  }
}

PalWrap* SpriteCache::ChoosePalette(int32_t paletteId, bool useDefault) {
  return useDefault ? SpriteCacheDefaultPalette() : mPalettes.Find(paletteId);
}

SpriteCacheEntry* SpriteCache::Find(int32_t id) {
  if (auto it = mEntries.find(id); it != mEntries.end()) return it->second;
  if (!IsOpen() || id < INT16_MIN || id > INT16_MAX) return nullptr;
  if (!mPalettesLoaded) LoadPalettes();
  SpriteCacheEntry* entry = nullptr;
  if (MemHandle h = mFile->GetResource(TypeCode("SPR#"), static_cast<ResId>(id), SwapSpriteResource)) {
    entry = BuildSprite(id, GetMemHandleData(h), GetMemHandleSize(h));
    mFile->ReleaseResource(h);
  } else if (MemHandle h2 = mFile->GetResource(TypeCode("SPR2"), static_cast<ResId>(id), nullptr)) {
    entry = BuildSprite2(id, GetMemHandleData(h2), GetMemHandleSize(h2));
    mFile->ReleaseResource(h2);
  }
  if (entry == nullptr) return nullptr;
  entry->AddRef();
  mEntries[id] = entry;
  return entry;
}

SpriteCacheEntry* SpriteCache::BuildSprite(int32_t id, const uint8_t* data, int32_t size) {
  auto* entry = new SpriteCacheEntry();
  entry->mId = id;
  entry->mSize = size;
  if (data == nullptr || size < 8) {
    entry->mDropped.emplace_back(0, "the header is cut short (" + std::to_string(size) + " bytes)");
    return entry;
  }
  entry->mVersion = static_cast<int32_t>(SpriteCacheWord(data));
  const uint32_t stated = SpriteCacheWord(data + 4);
  const bool withPaletteId = entry->mVersion >= 502;
  if (withPaletteId && size < 12) {
    entry->mDropped.emplace_back(0, "the header is cut short (" + std::to_string(size) + " bytes)");
    return entry;
  }
  entry->mPaletteId = withPaletteId ? static_cast<int32_t>(SpriteCacheWord(data + 8)) : -1;
  const std::vector<SpriteFrameSpan> spans =
      CheckSpriteFrames(data, size, withPaletteId ? 12 : 8, stated, kSpriteFrameMinimum);
  if (spans.size() < stated)
    entry->mDropped.emplace_back(static_cast<int32_t>(spans.size()),
                                 "the frame table holds " + std::to_string(spans.size()) + " of " +
                                     std::to_string(stated) + " frames");
  const int channels = SpriteChannelsOfVersion(entry->mVersion);
  entry->mFramesPerChannel = static_cast<int32_t>(spans.size() / static_cast<size_t>(channels));
  entry->mPalette = ChoosePalette(entry->mPaletteId, !withPaletteId || entry->mPaletteId < 0);
  // A palette the file lacks: the sprite keeps no frames and draws nothing.
  if (withPaletteId && entry->mPaletteId >= 0 && entry->mPalette == nullptr) return entry;
  for (int c = 0; c < channels; ++c) {
    auto& copies = entry->mChannels[c];
    copies.resize(static_cast<size_t>(entry->mFramesPerChannel));
    for (int32_t f = 0; f < entry->mFramesPerChannel; ++f) {
      const int32_t index = c * entry->mFramesPerChannel + f;
      const SpriteFrameSpan& span = spans[static_cast<size_t>(index)];
      if (span.size == 0) {
        entry->mDropped.emplace_back(index, span.dropped);
        continue;
      }
      copies[f].assign(data + span.offset, data + span.offset + span.size);
    }
  }
  return entry;
}

SpriteCacheEntry* SpriteCache::BuildSprite2(int32_t id, const uint8_t* data, int32_t size) {
  auto* entry = new SpriteCacheEntry();
  entry->mId = id;
  entry->mSize = size;
  if (data == nullptr || size < 12) {
    entry->mVersion = 1000;
    entry->mDropped.emplace_back(0, "the header is cut short (" + std::to_string(size) + " bytes)");
    return entry;
  }
  entry->mVersion = static_cast<int32_t>(SpriteCacheWord(data));
  // Whatever the stored version says, this is read as a command stream.
  if (entry->mVersion < 1000) entry->mVersion = 1000;
  const uint32_t stated = SpriteCacheWord(data + 4);
  entry->mPaletteId = static_cast<int32_t>(SpriteCacheWord(data + 8));
  entry->mWhole.assign(data, data + size);
  entry->mSpans = CheckSpriteFrames(entry->mWhole.data(), size, 12, stated, kSprite2FrameMinimum);
  if (entry->mSpans.size() < stated)
    entry->mDropped.emplace_back(static_cast<int32_t>(entry->mSpans.size()),
                                 "the frame table holds " + std::to_string(entry->mSpans.size()) + " of " +
                                     std::to_string(stated) + " frames");
  for (size_t f = 0; f < entry->mSpans.size(); ++f)
    if (entry->mSpans[f].size == 0) entry->mDropped.emplace_back(static_cast<int32_t>(f), entry->mSpans[f].dropped);
  std::sort(entry->mDropped.begin(), entry->mDropped.end());
  entry->mFramesPerChannel = static_cast<int32_t>(entry->mSpans.size());
  // A palette the file lacks: the draw takes the default one.
  entry->mPalette = ChoosePalette(entry->mPaletteId, entry->mPaletteId < 0);
  return entry;
}

int32_t SpriteCache::GetFrameCount(int32_t id) {
  SpriteCacheEntry* entry = Find(id);
  if (entry == nullptr || entry->mVersion < 500) return 0;
  return entry->mFramesPerChannel;
}

ShortRect SpriteCache::GetFrameBounds(int32_t id, int32_t frame) {
  ShortRect r{0, 0, 0, 0};
  SpriteCacheEntry* entry = Find(id);
  if (entry == nullptr || entry->mVersion == 999) return r;
  const uint8_t* p = entry->GetFrame(0, frame);
  if (p == nullptr) return r;
  const auto word = [p](int at) { return static_cast<int16_t>(p[at] | p[at + 1] << 8); };
  if (entry->IsSprite2()) return ShortRect{0, 0, word(2), word(0)};
  return ShortRect{word(0), word(2), word(4), word(6)};
}

namespace {

struct SpriteCacheRegistration {
  int32_t uses = 0;
  iResFile* file = nullptr;
  std::unique_ptr<SpriteCache> cache;
};

std::list<SpriteCacheRegistration>& SpriteCacheRegistry() {
  static std::list<SpriteCacheRegistration> registry;
  return registry;
}

}  // namespace

SpriteCache* GetSpriteCacheForFile(iResFile* file) {
  if (file == nullptr) return nullptr;
  auto& registry = SpriteCacheRegistry();
  for (SpriteCacheRegistration& r : registry)
    if (r.file == file) {
      ++r.uses;
      return r.cache.get();
    }
  registry.push_front({1, file, std::make_unique<SpriteCache>(file)});
  return registry.front().cache.get();
}

void ReleaseSpriteCacheForFile(SpriteCache* cache) {
  auto& registry = SpriteCacheRegistry();
  for (auto it = registry.begin(); it != registry.end(); ++it)
    if (it->cache.get() == cache) {
      if (--it->uses <= 0) registry.erase(it);
      return;
    }
}

int32_t CountRegisteredSpriteCaches() { return static_cast<int32_t>(SpriteCacheRegistry().size()); }

}  // namespace tova
