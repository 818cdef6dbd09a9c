// What object undo needs of the live objects, by lot id (the object's index
// in the lot's object list): reading and restoring a placement, deleting and
// creating objects. The object module implements it.
#pragma once

#include <cstdint>
#include <vector>

#include "gamedata/TilePosition.h"

struct ObjectPlacement {
    tova::FinePoint position{};
    int32_t level = 1;
    int32_t slot = 0;        // the container's slot the object sits in
    int32_t facing = 0;      // direction 0..7
    int16_t container = 0;   // lot id of the container, 0 for none
    int32_t slotData = 0;    // the container's slot data
    uint32_t definition = 0;
};

class iUndoObjects {
public:
    virtual ~iUndoObjects() = default;
    virtual bool Exists(int16_t lotId) const = 0;
    // The lead object of a multi-tile group, or the object itself.
    virtual int16_t LeadOf(int16_t lotId) const = 0;
    virtual bool GetPlacement(int16_t lotId, ObjectPlacement& out) const = 0;
    // True when the definition's build category is not 0.
    virtual bool IsArchitecture(int16_t lotId) const = 0;
    // The slot lists of the object and of every further part of its group,
    // one after the other; 0 marks an empty slot or a list's end.
    virtual std::vector<int16_t> SlotObjects(int16_t lotId) const = 0;
    // A new object of a definition: its lot id, or 0.
    virtual int16_t CreateObject(uint32_t definition) = 0;
    // Takes the object off the lot but keeps it in the object list.
    virtual void DeleteFromWorld(int16_t lotId) = 0;
    // Removes the object from the object list.
    virtual void DeleteObject(int16_t lotId) = 0;
    virtual void RemoveFromWorld(int16_t lotId) = 0;
    virtual int32_t GetFacing(int16_t lotId) const = 0;
    virtual void TurnOneStep(int16_t lotId) = 0;
    // The placement test with container and slot, and placing.
    virtual bool CanPlace(int16_t lotId, const ObjectPlacement& at) = 0;
    virtual bool Place(int16_t lotId, const ObjectPlacement& at) = 0;
    // False when the object's position is on or beyond the lot's border.
    virtual bool IsOnLot(int16_t lotId) const = 0;
};
