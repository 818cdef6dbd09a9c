#include "simulation/cXObjectStream.h"

#include <string>

#include "gamedata/ObjectFolder.h"
#include "resfile/ReconStream.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXMTObject.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

// The text old lots keep after the reference was read into a buffer of
// this size; a longer one can only be damage.
constexpr size_t kOldTextCapacity = 256;

}  // namespace

void CatalogueBehaviorCodec::Transfer(ReconStream& s, Behavior*& b) {
  if (folder_ != nullptr) {
    folder_->TransferBehaviorRef(b, s, version_, true);
    return;
  }
  int16_t none = 0;
  s.SerializeShorts(&none, 1);
  if (s.IsReading()) b = nullptr;
}

cXObjectStream::cXObjectStream(cXObject* object)
    : object_(object),
      typeCode_(object ? object->GetTypeCode() : 0),
      module_(object ? object->GetModule() : nullptr),
      definition_(object ? object->GetDefinition() : nullptr) {}

cXObjectStream::cXObjectStream(uint32_t typeCode, ObjectModule* module)
    : typeCode_(typeCode), module_(module), createOnRead_(true) {}

std::unique_ptr<cXObject> cXObjectStream::MakeByTypeCode(uint32_t code, ObjectDefinition* definition,
                                                         ObjectModule* module) {
  if (definition == nullptr) return nullptr;
  if (code == TypeCode("XOBJ")) return std::make_unique<cXObject>(definition, module);
  if (code == TypeCode("XMTO")) return std::make_unique<cXMTObject>(definition, nullptr, module);
  if (code == TypeCode("PERS")) return ObjectModule::MakePerson(definition, module);
  if (code == TypeCode("DOOR")) return ObjectModule::MakePortal(definition, module);
  return nullptr;
}

bool cXObjectStream::TransferHead(ReconStream& s, int32_t version) {
  if (version >= 46) {
    bool packed = true;
    s.SerializeBool(&packed);
    if (packed) s.SetPacked();
  }
  ObjectFolder* folder = module_ ? module_->GetCatalogue() : nullptr;
  if (folder == nullptr) {
    s.Fail();
    return false;
  }
  DefinitionRef ref{definition_, nullptr};
  folder->TransferDefinitionRef(ref, s, version, true);
  if (version >= 39 && version <= 46) {
    std::string dropped;
    s.SerializeString(dropped);
    if (dropped.size() >= kOldTextCapacity) s.Fail();
  }
  if (s.Failed()) return false;
  if (s.IsReading()) {
    fallback_ = ref.definition == nullptr;
    definition_ = fallback_ ? folder->FindByGUID(kFallbackDefinitionGuid) : ref.definition;
  }
  return true;
}

bool cXObjectStream::Create(ReconStream& s, int32_t version) {
  object_ = nullptr;
  // A code of no class the factory makes leaves the node empty, whatever
  // follows it.
  if (typeCode_ != TypeCode("XOBJ") && typeCode_ != TypeCode("XMTO") && typeCode_ != TypeCode("PERS") &&
      typeCode_ != TypeCode("DOOR")) {
    return true;
  }
  if (!TransferHead(s, version)) return false;
  if (definition_ == nullptr) return true;
  if (fallback_) typeCode_ = TypeCode("XOBJ");
  std::unique_ptr<cXObject> made = MakeByTypeCode(typeCode_, definition_, module_);
  if (!made) return true;
  made->InitFromDefinition();
  made->TransferPositionBlock(s, version);
  if (s.Failed()) return false;
  cXObject* o = made.get();
  if (module_->AddObject(std::move(made), o->GetId(), false) == 0) return true;
  o->SetStateFlags(o->GetStateFlags() | kStateCreated);
  object_ = o;
  return true;
}

bool cXObjectStream::TransferWhole(ReconStream& s, int32_t version) {
  if (object_ == nullptr) return false;
  if (!TransferHead(s, version)) return false;
  CatalogueBehaviorCodec codec(module_->GetCatalogue(), version);
  const bool replaced = s.IsReading() && fallback_;
  const int16_t id = object_->GetId();
  if (!object_->Transfer(s, version, replaced, codec)) return false;
  // Old records repeat the id; the object keeps the one it is registered by.
  object_->SetId(id);
  if (replaced) object_->ResetData(false);
  return !s.Failed();
}

void cXObjectStream::Reconstitute(ReconStream& s, int32_t version) {
  uint32_t code = typeCode_;
  s.SerializeLongs(&code, 1);
  if (s.IsReading() && createOnRead_) typeCode_ = code;
  const bool ok = (s.IsReading() && createOnRead_) ? Create(s, version) : TransferWhole(s, version);
  if (!ok) s.Fail();
}

}  // namespace tova
