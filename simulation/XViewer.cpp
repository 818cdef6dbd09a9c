#include "simulation/XViewer.h"

#include <vector>

namespace {
XViewer* gFirstViewer = nullptr;
XTool* gCurrentTool = nullptr;
// The next viewer of each broadcast under way (broadcasts may nest).
std::vector<XViewer**> gWalkCursors;
}  // namespace

// Walks the list from the first viewer to the last. A viewer destroyed by
// a handler is stepped over; one unregistered is skipped and unlinked when
// the outermost walk ends.
class ViewerWalk {
public:
    template <class F>
    static void Each(F call) {
        XViewer* next = nullptr;
        gWalkCursors.push_back(&next);
        for (XViewer* v = gFirstViewer; v != nullptr; v = next) {
            next = v->mNext;
            if (!v->mRemoved) call(*v);
        }
        gWalkCursors.pop_back();
        if (gWalkCursors.empty()) Purge();
    }
    static bool Walking() { return !gWalkCursors.empty(); }
    static void Unlink(XViewer& viewer) {
        for (XViewer** cursor : gWalkCursors)
            if (*cursor == &viewer) *cursor = viewer.mNext;
        for (XViewer** link = &gFirstViewer; *link != nullptr; link = &(*link)->mNext) {
            if (*link == &viewer) {
                *link = viewer.mNext;
                break;
            }
        }
        viewer.mNext = nullptr;
        viewer.mRemoved = false;
    }

private:
    static void Purge() {
        for (XViewer** link = &gFirstViewer; *link != nullptr;) {
            XViewer* v = *link;
            if (v->mRemoved) {
                *link = v->mNext;
                v->mNext = nullptr;
                v->mRemoved = false;
            } else {
                link = &v->mNext;
            }
        }
    }
};

XViewer::~XViewer() { ViewerWalk::Unlink(*this); }

void XViewer::Register() {
    mRemoved = false;
    if (IsRegistered()) return;
    mNext = gFirstViewer;
    gFirstViewer = this;
}

void XViewer::Unregister() {
    if (!IsRegistered()) return;
    if (ViewerWalk::Walking())
        mRemoved = true;
    else
        ViewerWalk::Unlink(*this);
}

bool XViewer::IsRegistered() const {
    for (const XViewer* v = gFirstViewer; v != nullptr; v = v->mNext)
        if (v == this) return !mRemoved;
    return false;
}

XViewer* XViewer::First() { return gFirstViewer; }

void NotifyViewersWorldChanged(tova::TileLocation area) {
    ViewerWalk::Each([area](XViewer& v) { v.InvalidateTile(area); });
}

void RedrawAllViewers() {
    ViewerWalk::Each([](XViewer& v) { v.InvalidateView(); });
}

void SetCurrentTool(XTool* tool) {
    XTool* old = gCurrentTool;
    if (old != nullptr) old->Deactivate();
    gCurrentTool = tool;
    if (tool != nullptr) tool->Activate();
    ViewerWalk::Each([old, tool](XViewer& v) {
        v.OldCurrentTool(old);
        v.NewCurrentTool(tool);
    });
}

XTool* CurrentTool() { return gCurrentTool; }
