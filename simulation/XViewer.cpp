#include "simulation/XViewer.h"

namespace {
XViewer* gFirstViewer = nullptr;
}  // namespace

XViewer::~XViewer() {
    for (XViewer** link = &gFirstViewer; *link != nullptr; link = &(*link)->mNext) {
        if (*link == this) {
            *link = mNext;
            break;
        }
    }
    mNext = nullptr;
}

void XViewer::Register() {
    if (IsRegistered()) return;
    mNext = gFirstViewer;
    gFirstViewer = this;
}

bool XViewer::IsRegistered() const {
    for (const XViewer* v = gFirstViewer; v != nullptr; v = v->mNext)
        if (v == this) return true;
    return false;
}

XViewer* XViewer::First() { return gFirstViewer; }

void NotifyViewersWorldChanged(tova::TileLocation area) {
    for (XViewer* v = XViewer::First(); v != nullptr; v = v->Next()) v->InvalidateTile(area);
}

void RedrawAllViewers() {
    for (XViewer* v = XViewer::First(); v != nullptr; v = v->Next()) v->InvalidateView();
}
