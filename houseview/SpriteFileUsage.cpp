#include "houseview/SpriteFileUsage.h"

#include "resfile/ReconStream.h"
#include "resfile/iResFile.h"

namespace tova {

namespace {

std::string SpriteFileUsageName(iResFile* file) {
  std::string path;
  if (file != nullptr) file->GetPath(path);
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() > SpriteFileUsage::kMaxName) name.resize(SpriteFileUsage::kMaxName);
  return name;
}

}  // namespace

SpriteFileUsage::SpriteFileUsage(int32_t usageId, iResFile* file) : id(usageId), name(SpriteFileUsageName(file)) {}

bool SpriteFileUsage::IsFile(iResFile* file) const { return file != nullptr && SpriteFileUsageName(file) == name; }

void SpriteFileUsage::Reconstitute(ReconStream& stream) {
  stream.SerializeString(name);
  if (name.size() > kMaxName) name.resize(kMaxName);
  auto count = static_cast<int32_t>(elements.size());
  stream.SerializeLongs(&count, 1);
  if (stream.IsReading()) {
    // Six bytes per element at the least; never sized from an unchecked count.
    if (stream.Failed() || count < 0 || count > kMaxElements || !stream.CheckCount(count, 6)) {
      stream.Fail();
      elements.clear();
      return;
    }
    elements.resize(static_cast<size_t>(count));
  }
  for (Element& e : elements) {
    stream.SerializeBytes(&e.a, 1);
    stream.SerializeBytes(&e.b, 1);
    stream.SerializeLongs(&e.value, 1);
  }
}

}  // namespace tova
