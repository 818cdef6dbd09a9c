#include "world/tools/cObjPickerTool.h"

#include <algorithm>

#include "gamedata/AnimTable.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/TreeTableData.h"
#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "simulation/MenuWrap.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/CharacterData.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/tools/FloorHalves.h"

using namespace tova;

namespace {

// Object state bits of the highlight.
constexpr uint32_t kStateTarget = 0x1;
constexpr uint32_t kStateNothingOffered = 0x8;
// The object flag that keeps an object out of live play's picking.
constexpr int16_t kFlagNotPickable = 0x200;
// Definition type of objects standing in a wall or a portal.
constexpr int16_t kWallObjectType = 8;
// Definition byte whose bit 0 lets an object's interactions be offered
// through what it stands on.
constexpr uint8_t kOfferedThroughBase = 0x1;
// Both modifier flags of a debug click.
constexpr uint32_t kDebugClickFlags = 0x300;
constexpr int32_t kNeighbourAnimTable = 6;

}  // namespace

cObjPickerTool::cObjPickerTool(ToolServices& services, PickerServices& picker) : cTool(services), mPicker(picker) {
    StringSet set;
    if (LoadUIStringSet(kTextSet, "UIText", set, false)) {
        for (int32_t n = 1; n <= 4; ++n)
            if (const char* text = set.GetString(n)) mTexts[static_cast<size_t>(n - 1)] = text;
    }
}

cObjPickerTool::cObjPickerTool(ToolServices& services) : cObjPickerTool(services, SharedServices()) {}

PickerServices& cObjPickerTool::SharedServices() {
    static PickerServices shared;
    return shared;
}

// ---- the person, objects and the highlight ----

ObjectModule* cObjPickerTool::Module() const {
    return mPicker.module != nullptr ? mPicker.module : GetBuildToolContext().module;
}

cXPerson* cObjPickerTool::SelectedPerson() const {
    cXObject* p = Module() != nullptr ? Module()->GetSelectedPerson() : nullptr;
    return p != nullptr && p->IsPerson() ? static_cast<cXPerson*>(p) : nullptr;
}

cXObject* cObjPickerTool::Object(int16_t id) const {
    return Module() != nullptr && id != 0 ? Module()->GetObjectById(id) : nullptr;
}

void cObjPickerTool::Activate() {
    cTool::Activate();
    if (Module() != nullptr && Module()->GetSelectedPerson() == nullptr) Module()->SelectNextPerson();
}

void cObjPickerTool::Deactivate() { HighlightObject(0); }

void cObjPickerTool::SetParameter(int16_t value) {
    if (value == 0) mMode = kLive;
    if (value == 1) mMode = kPreview;
}

void cObjPickerTool::Deselect() { SetPersonPickEnabled(false); }

void cObjPickerTool::HighlightObject(int16_t id) {
    if (id == mHighlighted && id != 0) return;
    if (cXObject* old = Object(mHighlighted)) old->SetStateFlags(old->GetStateFlags() & ~(kStateTarget | kStateNothingOffered));
    RebuildList(id);
    mHighlighted = 0;
    cXObject* object = Object(id);
    if (object == nullptr) return;
    // The low state bits of a person also say that it is the selected one:
    // the selected person keeps them as they are.
    const cXObject* selected = Module()->GetSelectedPerson();
    const auto mark = [&](cXObject& o, uint32_t bit) {
        if (&o != selected) o.SetStateFlags(o.GetStateFlags() | bit);
    };
    if (mList.empty()) {
        mark(*object, kStateNothingOffered);
        mHighlighted = id;
        return;
    }
    // A part of a group highlights the group's lead, the first record's target.
    cXObject* target = Object(mList.front().target);
    if (target == nullptr) target = object;
    mark(*target, kStateTarget);
    mHighlighted = target->GetId();
}

void cObjPickerTool::RebuildList(int16_t id) {
    mList.clear();
    mChosen.reset();
    cXPerson* person = SelectedPerson();
    cXObject* object = Object(id);
    if (person == nullptr || object == nullptr) return;
    if (mMode == kPreview) {
        AppendAnimations(*person, *object);
        return;
    }
    AppendMenuInteractions(*person, *object);
    if (!mList.empty() || Module() == nullptr) return;
    // Nothing of its own: what stands on it may offer its interactions.
    std::vector<cXObject*> stack;
    Module()->ObjectsInCell(object->GetTile(), stack);
    for (cXObject* o : stack) {
        ObjectDefinition* d = o->GetDefinition();
        if (o == object || d == nullptr || d->GetRecord().ObjectType() == kWallObjectType) continue;
        if ((d->GetRecord().Byte(ObjectDefinitionRecord::kFlags182) & kOfferedThroughBase) == 0) continue;
        AppendMenuInteractions(*person, *o);
    }
}

void cObjPickerTool::AppendMenuInteractions(cXPerson& person, cXObject& object) {
    InteractionList list(person, &object, false);
    list.BuildList(mList);
}

void cObjPickerTool::AppendAnimations(cXPerson& person, cXObject& object) {
    AnimTable* table = object.IsPerson() ? AnimNameTables::Instance().Get(kNeighbourAnimTable)
                       : object.GetDefinition() != nullptr ? object.GetDefinition()->GetAdultAnimTable()
                                                            : nullptr;
    if (table == nullptr) return;
    for (int32_t n = 2; n <= table->GetCount(); ++n) {
        const char* text = table->GetString(n);
        if (text == nullptr || *text == '\0') continue;
        QueuedAction a;
        a.kind = kActionMenuLine;
        a.actor = person.GetId();
        a.target = a.icon = object.GetId();
        a.entryKey = n - 1;
        mList.push_back(a);
    }
}

// ---- the mouse ----

bool cObjPickerTool::IsInsideLotInner(FinePoint fine) const {
    const cFixedWorld* world = Services().world;
    if (world == nullptr) return true;
    return !world->IsOutsideLotBounds(TileLocation::At(fine.x >> 4, fine.y >> 4, GetViewLevel()));
}

void cObjPickerTool::MouseMove(FinePoint fine, int32_t picked, const ToolMouseEvent&) {
    if (SelectedPerson() == nullptr) {
        HighlightObject(0);
        SetPersonPickEnabled(false);
    } else {
        auto id = static_cast<int16_t>(picked);
        cXPerson* under = GetPersonUnderCursor();
        if (under != nullptr && under->GetLevel() == GetViewLevel()) id = under->GetId();
        if (mMode == kLive) {
            cXObject* o = Object(id);
            if (o == nullptr || (o->GetData(kDataFlags) & kFlagNotPickable) != 0) id = 0;
        }
        HighlightObject(id);
        if (!GetPersonPickEnabled()) SetPersonPickEnabled(true);
    }
    SetCursorKindFor(fine);
}

void cObjPickerTool::SetCursorKindFor(FinePoint fine) {
    if (mHighlighted != 0) {
        cXObject* o = Object(mHighlighted);
        if (o != nullptr) {
            mCursorKind = o->IsPerson() ? kCursorPerson : (o->GetStateFlags() & kStateTarget) ? kCursorTarget : kCursorPlain;
        }
    } else {
        mCursorKind = IsInsideLotInner(fine) ? kCursorGround : kCursorPlain;
    }
    SetViewCursor(mCursorKind);
}

void cObjPickerTool::MouseDown(FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    if (mCursorKind == kCursorPerson || mCursorKind == kCursorTarget || IsInsideLotInner(fine)) Pick(fine, picked, event);
}

void cObjPickerTool::MouseUp(FinePoint, int32_t, const ToolMouseEvent&) {
    if (mList.empty()) ShowText(kTextHidden);
}

bool cObjPickerTool::Char(uint32_t character, uint32_t, int32_t repeat) {
    if (character == ' ') {
        if (repeat == 1 && Module() != nullptr) {
            cXObject* p = Module()->SelectNextPerson();
            if (p != nullptr && mPicker.panel != nullptr) mPicker.panel->OnSelectedPersonChanged(p);
            if (p != nullptr) p->ScrollViewTo(true);
        }
        return true;
    }
    if (character == 'n' || character == 'N') {
        if (repeat == 1 && Module() != nullptr) Module()->SelectNextPerson();
        return true;
    }
    return false;
}

void cObjPickerTool::ObjectRemoved(int32_t id) {
    const bool involved = std::any_of(mList.begin(), mList.end(),
                                      [&](const QueuedAction& a) { return a.actor == id || a.target == id; });
    if (!involved) return;
    if (mPicker.panel != nullptr) {
        if (iPieMenuWindow* first = mPicker.panel->GetMenuWindow(0)) first->ClearItems();
    }
    HighlightObject(0);
}

void cObjPickerTool::ShowText(int32_t n) {
    mCursorText = n;
    ShowCursorText(n == kTextHidden ? std::string() : mTexts[static_cast<size_t>(n - 1)]);
}

// ---- a click ----

void cObjPickerTool::ChooseClickText(cXPerson& person) {
    switch (mCursorKind) {
        case kCursorPlain: {
            if (mClicked == nullptr) {
                ShowText(kTextNothing);
                break;
            }
            const TreeTableData* table = PeopleHost().GetTreeTable(*mClicked);
            const bool child = person.IsChild();
            const int32_t flag = child ? kEntryNotForChildren : kEntryNotForAdults;
            const bool refused = table != nullptr && table->HasOnlyFlagEntries(flag);
            ShowText(refused ? (child ? kTextChild : kTextAdult) : kTextNothing);
            break;
        }
        case kCursorPerson:
            if (mClicked == &person) {
                if (mList.empty()) ShowText(kTextSelf);
            } else {
                ShowText(mList.empty() ? kTextNothing : kTextHidden);
            }
            break;
        default: ShowText(kTextHidden); break;
    }
}

void cObjPickerTool::DebugPick(FinePoint fine) {
    if (Module() == nullptr || mPicker.host == nullptr) return;
    TileLocation tile;
    if (mClicked != nullptr) {
        tile = mClicked->GetTile();
    } else {
        const FinePoint world = Services().world != nullptr ? floor_halves::ViewToWorld(*Services().world, fine) : fine;
        tile = TileLocation::At(world.x >> 4, world.y >> 4, GetViewLevel());
    }
    std::vector<cXObject*> stack;
    Module()->ObjectsInCell(tile, stack);
    for (cXObject* o : stack) mPicker.host->Broadcast(kDebugPickCommand, o->GetId());
}

int16_t cObjPickerTool::CreateTemporaryTarget(FinePoint fine) {
    if (Module() == nullptr) return 0;
    ObjectDefinition* marker = PeopleHost().FindDefinition(*Module(), kMarkerGuid);
    const int16_t id = marker != nullptr ? Module()->CreateObject(marker) : 0;
    cXObject* object = Object(id);
    if (object == nullptr) return 0;
    const FinePoint point = Services().world != nullptr ? floor_halves::ViewToWorld(*Services().world, fine) : fine;
    const int32_t level = GetViewLevel();
    FreeLocationRequest request;
    request.fixedStart = true;
    request.start = point;
    request.level = level;
    FinePoint at;
    if (!object->FindFreeLocation(request, at)) at = {(point.x & ~15) | 8, (point.y & ~15) | 8};
    if (object->CanPlace(at, level, nullptr, 0)) {
        object->Place(at, level, nullptr, 0);
        mPlaced = 1;
        mTemporary = id;
        return id;
    }
    Module()->DeleteObject(id);
    return 0;
}

void cObjPickerTool::DeleteTemporaryTarget() {
    if (mTemporary != 0 && Module() != nullptr) {
        if (mHighlighted == mTemporary) HighlightObject(0);
        if (mClickedId == mTemporary) mClickedId = 0, mClicked = nullptr;
        Module()->DeleteObject(mTemporary);
    }
    mTemporary = 0;
    mPlaced = 0;
}

void cObjPickerTool::Pick(FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    mPlaced = 0;
    HighlightObject(0);
    MouseMove(fine, picked, event);
    int16_t clicked = mHighlighted;
    mChosen.reset();
    for (;;) {
        cXPerson* person = SelectedPerson();
        if (person == nullptr) return;
        mPerson = person;
        mClickedId = clicked;
        mClicked = Object(clicked);
        ChooseClickText(*person);
        if ((event.flags & kDebugClickFlags) == kDebugClickFlags) {
            DebugPick(fine);
            return;
        }
        if (mMode == kPreview && mClicked == nullptr) return;
        if (mMode == kLive && mClicked == nullptr) {
            mCreated = 1;
            HighlightObject(CreateTemporaryTarget(fine));
        }
        if (mList.empty()) {
            PlayError();
            DeleteTemporaryTarget();
            return;
        }
        if (mMode == kPreview) {
            PreviewMenu();
            break;
        }
        iPickerHost* host = mPicker.host;
        const bool wasBreaking = host != nullptr && host->GetMessageBreak();
        if (host != nullptr) host->SetMessageBreak(true);
        BuildMenu();
        const int32_t r = RunMenu(*person, event.x, event.y);
        if (host != nullptr) host->SetMessageBreak(wasBreaking);
        if (r == kRunPickAgain) {
            // The list is made again for whoever is selected now; a marker
            // made for this click goes, the next round makes its own.
            const int16_t again = mClickedId;
            HighlightObject(0);
            HighlightObject(again);
            DeleteTemporaryTarget();
            HighlightObject(0);
            MouseMove(fine, picked, event);
            clicked = mHighlighted;
            continue;
        }
        // The choice was queued while the menu ran (OnMenuChoice); an entry
        // the person refused chose nothing.
        (void)r;
        break;
    }
    if (mChosen && mMode == kPreview && Module() != nullptr) {
        Module()->QueueInteraction(mChosen->actor, mClickedId, static_cast<int16_t>(mChosen->entryKey), 0);
    }
    if (!mChosen) DeleteTemporaryTarget();
    // A marker that stays is the chosen action's target now.
    mTemporary = 0;
}

void cObjPickerTool::PreviewMenu() {
    MenuWrap menu;
    AnimTable* table = nullptr;
    if (mClicked != nullptr) {
        table = mClicked->IsPerson() ? AnimNameTables::Instance().Get(kNeighbourAnimTable)
                : mClicked->GetDefinition() != nullptr ? mClicked->GetDefinition()->GetAdultAnimTable()
                                                        : nullptr;
    }
    for (const QueuedAction& a : mList) {
        const char* text = table != nullptr ? table->GetString(a.entryKey + 1) : nullptr;
        menu.AddItemText(text != nullptr ? text : "");
    }
    int32_t x = 320, y = 240;
    if (mPicker.host == nullptr || !mPicker.host->GetMouseScreen(x, y)) x = 320, y = 240;
    const uint32_t point = (static_cast<uint32_t>(static_cast<uint16_t>(x)) << 16) | static_cast<uint16_t>(y);
    const int32_t n = menu.Track(point).second;
    if (n >= 1 && n <= static_cast<int32_t>(mList.size())) mChosen = mList[static_cast<size_t>(n - 1)];
}
