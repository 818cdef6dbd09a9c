// Object undo over the live objects of the lot: lot ids are the object
// module's ids, placements are read from and given to its objects.
#pragma once

#include "simulation/ObjectModule.h"
#include "world/undo/iUndoObjects.h"

class ModuleUndoObjects : public iUndoObjects {
public:
    explicit ModuleUndoObjects(tova::ObjectModule& module) : mModule(module) {}

    bool Exists(int16_t lotId) const override { return Find(lotId) != nullptr; }
    int16_t LeadOf(int16_t lotId) const override;
    bool GetPlacement(int16_t lotId, ObjectPlacement& out) const override;
    bool IsArchitecture(int16_t lotId) const override;
    std::vector<int16_t> SlotObjects(int16_t lotId) const override;
    int16_t CreateObject(uint32_t definition) override;
    void DeleteFromWorld(int16_t lotId) override;
    void DeleteObject(int16_t lotId) override;
    void RemoveFromWorld(int16_t lotId) override;
    int32_t GetFacing(int16_t lotId) const override;
    void TurnOneStep(int16_t lotId) override;
    bool CanPlace(int16_t lotId, const ObjectPlacement& at) override;
    bool Place(int16_t lotId, const ObjectPlacement& at) override;
    bool IsOnLot(int16_t lotId) const override;

private:
    tova::cXObject* Find(int16_t lotId) const { return lotId != 0 ? mModule.GetObjectById(lotId) : nullptr; }
    tova::cXObject* ContainerOf(const ObjectPlacement& at) const { return Find(at.container); }

    tova::ObjectModule& mModule;
};
