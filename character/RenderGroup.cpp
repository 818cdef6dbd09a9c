#include "character/RenderGroup.h"

#include "character/DirectXErrorText.h"
#include "character/Viewport3D.h"

#include <algorithm>

RenderGroup::~RenderGroup() {
    for (RenderObject* child : children_) child->Release();
}

uint32_t RenderGroup::AddChild(RenderObject* child) {
    if (!child) return kDDDNullPointer;
    child->AddRef();
    children_.push_back(child);
    IncludeTransformed(box_, boxEmpty_, child->GetBounds(), child->GetTransform());
    changed_ = false;
    child->SetChanged(false);
    return kDDDOk;
}

uint32_t RenderGroup::RemoveChild(RenderObject* child) {
    const auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) return kDDDLightNotInViewport;  // the layer's "not in the list" code
    children_.erase(it);
    child->Release();
    return kDDDOk;
}

uint32_t RenderGroup::DrawChildren(Viewport3D& viewport, int pass) {
    for (RenderObject* child : children_) {
        if (const uint32_t code = child->Render(viewport, pass)) return code;
        MergeScreenRect(screenRect_, child->ScreenRect());
    }
    return kDDDOk;
}

uint32_t RenderGroup::Draw(Viewport3D& viewport, int pass) {
    screenRect_ = kEmptyScreenRect;
    int childPass = 1;
    if (pass == 0 || pass == 2) {
        const uint32_t status = ClipStatus(viewport, box_);
        if (status & kClipAllOutside) {
            ResetScreenRect();
            return kDDDOk;
        }
        childPass = status == 0 ? 1 : 2;
    }
    // The children's rectangles are reported once, as the group's.
    const bool tracking = viewport.TracksDirty();
    viewport.SetTrackDirty(false);
    const uint32_t code = DrawChildren(viewport, childPass);
    viewport.SetTrackDirty(tracking);
    if (tracking && !IsEmptyScreenRect(screenRect_)) viewport.AddDirtyRect(screenRect_);
    return code;
}

bool RenderGroup::NeedsBoundsUpdate() {
    if (changed_) return true;
    for (RenderObject* child : children_)
        if (child->Changed()) {
            changed_ = true;
            return true;
        }
    return false;
}

void RenderGroup::ResetScreenRect() {
    screenRect_ = kEmptyScreenRect;
    for (RenderObject* child : children_) child->ResetScreenRect();
}

bool RenderGroup::QueryState() {
    return std::any_of(children_.begin(), children_.end(), [](RenderObject* c) { return c->QueryState(); });
}
