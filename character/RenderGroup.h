// A render object made of child render objects, clip-tested and drawn as
// one: a group wholly inside draws its children without clipping, one
// wholly outside draws nothing. The children's rectangles make the group's,
// which goes to the viewport's update list once rather than child by child.
//
// VitaRenderGroup is a person's group: its bounds follow only its own
// changed flag and it answers no state query.
#pragma once

#include "character/RenderObject.h"

#include <vector>

class RenderGroup : public RenderObject {
public:
    explicit RenderGroup(size_t reserve = 0) { children_.reserve(reserve); }

    // Retains the child and grows the group's box by the child's box taken
    // through the child's transform; clears both changed flags.
    uint32_t AddChild(RenderObject* child);
    // Releases the first occurrence; 0x9B0B001F when it is not a child.
    uint32_t RemoveChild(RenderObject* child);
    size_t ChildCount() const { return children_.size(); }
    RenderObject* GetChild(size_t i) const { return children_.at(i); }

    uint32_t Draw(Viewport3D& viewport, int pass) override;
    const BoundingBox& GetBounds() override { return box_; }
    // A box that comes from elsewhere (a person's skeleton).
    void SetBounds(const BoundingBox& box) {
        box_ = box;
        boxEmpty_ = false;
    }
    bool NeedsBoundsUpdate() override;
    void ResetScreenRect() override;
    bool QueryState() override;

protected:
    ~RenderGroup() override;

private:
    uint32_t DrawChildren(Viewport3D& viewport, int pass);

    std::vector<RenderObject*> children_;
    BoundingBox box_;
    bool boxEmpty_ = true;
};

class VitaRenderGroup : public RenderGroup {
public:
    using RenderGroup::RenderGroup;
    bool NeedsBoundsUpdate() override { return changed_; }
    bool QueryState() override { return false; }
};
