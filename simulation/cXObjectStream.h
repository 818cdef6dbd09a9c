#pragma once
// One live object in a lot's object record, with the four-character code of
// its class ('XOBJ', 'XMTO', 'PERS', 'DOOR'; 'CURS' is never made again),
// and the factory that makes objects from those codes. Lots before version
// 47 keep each object as its own 'Rcon' record: the code, then this node.

#include <cstdint>
#include <memory>

#include "simulation/TreeZaz.h"

class ReconStream;

namespace tova {

class cXObject;
class ObjectDefinition;
class ObjectFolder;
class ObjectModule;

// The fallback definition that stands for one the catalogue lost.
constexpr uint32_t kFallbackDefinitionGuid = 0x3C08965F;

// Behaviours in a saved lot are named by their definition's reference.
class CatalogueBehaviorCodec : public BehaviorCodec {
 public:
  CatalogueBehaviorCodec(ObjectFolder* folder, int32_t version) : folder_(folder), version_(version) {}
  void Transfer(ReconStream& s, Behavior*& b) override;

 private:
  ObjectFolder* folder_;
  int32_t version_;
};

class cXObjectStream {
 public:
  // A node that writes (or reads again) an existing object.
  explicit cXObjectStream(cXObject* object);
  // A node that makes the object of that code when it is read.
  cXObjectStream(uint32_t typeCode, ObjectModule* module);

  // The stored class decides, not the definition's current type: a code
  // other than the four, or a maker not installed, gives null.
  static std::unique_ptr<cXObject> MakeByTypeCode(uint32_t typeCode, ObjectDefinition* definition,
                                                  ObjectModule* module);

  // The first read of an old lot: the head, then the position block into a
  // new object of the stored code, initialised and registered under the
  // stored id at the head of the module's list. False when the bytes are
  // damaged; true with no object when the node makes none.
  bool Create(ReconStream& stream, int32_t version);
  // The whole node of the existing object: the head, then the object's own
  // record; an object read with the fallback definition is reset after.
  bool TransferWhole(ReconStream& stream, int32_t version);
  // As a record: the type code, then Create (a node made for reading) or
  // TransferWhole; a damaged node fails the stream.
  void Reconstitute(ReconStream& stream, int32_t version);

  cXObject* GetObject() const { return object_; }
  uint32_t GetTypeCode() const { return typeCode_; }
  bool UsesFallback() const { return fallback_; }

 private:
  // The packing switch (from version 46), the definition reference and, for
  // versions 39 to 46, a text read and dropped. Picks the fallback when the
  // catalogue lacks the definition.
  bool TransferHead(ReconStream& stream, int32_t version);

  cXObject* object_ = nullptr;
  uint32_t typeCode_ = 0;
  ObjectModule* module_ = nullptr;
  ObjectDefinition* definition_ = nullptr;
  bool fallback_ = false;
  bool createOnRead_ = false;
};

}  // namespace tova
