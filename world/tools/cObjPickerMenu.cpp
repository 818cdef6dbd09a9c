// The object picker's pie menu: the entries made from the offered list
// (names with a '/' gather in one submenu per group), the run of the two
// menu windows with pages of twelve and a submenu, and the people panel's
// highlight and choice reports.
#include <algorithm>

#include "gamedata/MotiveCurveSet.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/TreeTableData.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/CharacterData.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/cXPerson.h"
#include "world/tools/cObjPickerTool.h"

using namespace tova;

namespace {

constexpr float kMoodTilt = 0.02f;
constexpr int32_t kRunGuard = 100000;

std::array<MotiveAdvertisement, MotiveCurveSet::kCurveCount> AdvertisementsOf(const TreeTableEntry& entry) {
    std::array<MotiveAdvertisement, MotiveCurveSet::kCurveCount> ads{};
    for (int i = 0; i < MotiveCurveSet::kCurveCount; ++i) {
        const auto m = static_cast<size_t>(MotiveCurveSet::kMotiveIndexes[i]);
        if (m < entry.motives.size()) ads[static_cast<size_t>(i)] = {entry.motives[m].modifier, entry.motives[m].base,
                                                                      entry.motives[m].range};
    }
    return ads;
}

}  // namespace

void cObjPickerTool::BuildMenu() {
    mMenu.clear();
    if (Module() == nullptr) return;
    for (size_t i = 0; i < mList.size(); ++i) {
        QueuedAction& record = mList[i];
        if (!record.HasTarget()) continue;
        const auto index = static_cast<int32_t>(i);
        const std::string name = record.GetName(*Module());
        const size_t slash = name.find('/');
        if (slash == std::string::npos) {
            mMenu.push_back({name, index, index, false, {}, ListedAction::Of(record)});
            record.passThrough[0] = static_cast<int32_t>(mMenu.size()) - 1;
            record.passThrough[1] = -1;
            continue;
        }
        // Submenus gather by group alone: the first record of a group names it.
        const int32_t group = record.params[1];
        auto it = std::find_if(mMenu.begin(), mMenu.end(),
                               [&](const MenuEntry& e) { return e.submenu && e.group == group; });
        if (it == mMenu.end()) {
            mMenu.push_back({name.substr(0, slash), group, index, true, {}, std::nullopt});
            it = mMenu.end() - 1;
        }
        it->children.push_back({name.substr(slash + 1), record.params[0], index, false, {}, ListedAction::Of(record)});
        record.passThrough[0] = static_cast<int32_t>(it - mMenu.begin());
        record.passThrough[1] = static_cast<int32_t>(it->children.size()) - 1;
    }
}

cObjPickerTool::ListedAction cObjPickerTool::ListedAction::Of(const QueuedAction& a) {
    ListedAction l;
    l.kind = a.kind;
    l.actor = a.actor;
    l.target = a.target;
    l.entryKey = a.entryKey;
    std::copy(std::begin(a.params), std::end(a.params), l.params);
    return l;
}

bool cObjPickerTool::ListedAction::Names(const QueuedAction& a) const {
    return a.kind == kind && a.actor == actor && a.target == target && a.entryKey == entryKey &&
           std::equal(std::begin(params), std::end(params), std::begin(a.params));
}

std::optional<QueuedAction> cObjPickerTool::FindListed(const MenuEntry* entry) const {
    if (entry == nullptr || !entry->action) return std::nullopt;
    for (const QueuedAction& a : mList)
        if (entry->action->Names(a)) return a;
    return std::nullopt;
}

const std::vector<cObjPickerTool::MenuEntry>& cObjPickerTool::CurrentMenu() const {
    if (mSubmenuOpen != 0 && mOpenSubmenu >= 0 && mOpenSubmenu < static_cast<int32_t>(mMenu.size()))
        return mMenu[static_cast<size_t>(mOpenSubmenu)].children;
    return mMenu;
}

int32_t cObjPickerTool::RunMenu(cXPerson& person, int32_t x, int32_t y) {
    iPeoplePanel* panel = mPicker.panel;
    iPickerHost* host = mPicker.host;
    mFirst = panel != nullptr ? panel->GetMenuWindow(0) : nullptr;
    mSecond = panel != nullptr ? panel->GetMenuWindow(1) : nullptr;
    if (mFirst == nullptr || mSecond == nullptr) {
        mMenu.clear();
        return kRunNothing;
    }
    mCentreX = x;
    mCentreY = y;
    mSubmenuOpen = 0;
    mOpenSubmenu = -1;
    mPageOffset = 0;
    mTopShown = mFirstRedraw = mSecondRedraw = 0;
    if (host != nullptr && host->MainViewVisible()) {
        mFirst->SetAlwaysRedraw(true);
        mSecond->SetAlwaysRedraw(true);
        mFirstRedraw = mSecondRedraw = 1;
    }
    AttachPointerTracker(mFirst, &person.Animator());

    int32_t cx = x, cy = y;
    int32_t firstItems = 0;
    const std::vector<MenuEntry>* shown = nullptr;
    int32_t result = kRunNothing;
    for (int32_t guard = 0; guard < kRunGuard; ++guard) {
        mCurrent = mSubmenuOpen != 0 ? mSecond : mFirst;
        const std::vector<MenuEntry>& menu = CurrentMenu();
        if (&menu != shown) {
            mPageOffset = 0;
            shown = &menu;
        }
        const auto size = static_cast<int32_t>(menu.size());
        mCurrent->ClearItems();
        const int32_t end = std::min(size, mPageOffset + kPageSize);
        for (int32_t k = mPageOffset; k < end; ++k) mCurrent->AddItem(menu[static_cast<size_t>(k)].text);
        if (mCurrent == mFirst) firstItems = std::max(0, end - mPageOffset);

        const bool releaseMode = host == nullptr || !host->LeftButtonDown();
        const bool closeWhenChosen = mSubmenuOpen == 0;
        if (mSubmenuOpen == 0) {
            mTopShown = 1;
        } else {
            // The submenu opens where the chosen entry sits, and the pointer
            // moves along with its centre.
            const int32_t px = mFirst->GetLeft() + mFirst->GetHighlightCentreX();
            const int32_t py = mFirst->GetTop() + mFirst->GetHighlightCentreY();
            if ((px != cx || py != cy) && host != nullptr) host->MoveMouseBy(px - cx, py - cy);
            cx = px;
            cy = py;
        }
        mMenuRunning = 1;
        mCurrent->Open(cx, cy, releaseMode, closeWhenChosen);
        const int32_t r = mCurrent->RunModal();
        mCurrent->Close();
        if (mTopShown != 0) panel->AddToRoot(*mFirst);
        mMenuRunning = 0;

        if (r == kRunNextPage) {
            // Past the end the pages start again; a page that ends exactly at
            // the end is followed by an empty one.
            mPageOffset += kPageSize;
            if (mPageOffset > size) mPageOffset = 0;
            continue;
        }
        if (r == kRunPickAgain) {
            if (mSubmenuOpen != 0) {
                mSubmenuOpen = 0;
                TrackerReturnToSource();
            }
            result = kRunPickAgain;
            break;
        }
        if (r < 0) {
            if (mSubmenuOpen == 0 || mSecond->GetPointerDistance() > static_cast<float>(mSecond->GetDeadRadius())) {
                result = kRunNothing;
                break;
            }
            mSubmenuOpen = 0;
            cx = mCentreX;
            cy = mCentreY;
            TrackerReturnToSource();
            continue;
        }
        const int32_t i = r + mPageOffset;
        if (i >= size) {
            result = kRunInvalid;
            break;
        }
        const MenuEntry& entry = menu[static_cast<size_t>(i)];
        if (!entry.submenu) {
            if (mSubmenuOpen != 0) TrackerReturnToSource();
            result = entry.listIndex + 1;
            break;
        }
        mOpenSubmenu = i;
        mSubmenuOpen = 1;
        if (host != nullptr) host->GetMouseClient(cx, cy);
        TrackerSetTarget(mSecond);
        for (int32_t k = 0; k < firstItems; ++k) mFirst->SetItemVisible(k, false);
        mFirst->Invalidate();
    }
    EndRun(mTopShown != 0);
    return result;
}

void cObjPickerTool::EndRun(bool shownTop) {
    mOpenSubmenu = -1;
    mSubmenuOpen = 0;
    DetachPointerTracker();
    if (shownTop) {
        mPicker.panel->RemoveFromRoot(*mFirst);
        mFirst->RemoveItemButtons();
    }
    if (mFirstRedraw != 0) mFirst->SetAlwaysRedraw(false);
    if (mSecondRedraw != 0) mSecond->SetAlwaysRedraw(false);
    mFirstRedraw = mSecondRedraw = 0;
    mMenu.clear();
}

void cObjPickerTool::OnMenuHighlight(iPieMenuWindow& window) {
    const std::vector<MenuEntry>& menu = CurrentMenu();
    const int32_t i = window.GetHighlight() + mPageOffset;
    const MenuEntry* entry = i >= 0 && i < static_cast<int32_t>(menu.size()) ? &menu[static_cast<size_t>(i)] : nullptr;
    std::optional<QueuedAction> record = entry != nullptr && !entry->submenu ? FindListed(entry) : std::nullopt;
    cXObject* actorObject = record ? Object(record->actor) : nullptr;
    cXPerson* actor = actorObject != nullptr && actorObject->IsPerson() ? static_cast<cXPerson*>(actorObject) : nullptr;
    float tilt = 0;
    if (record && record->actor != 0) {
        cXObject* target = Object(record->target);
        if (actor != nullptr && target != nullptr) {
            // As autonomy would see it: available, and the mood it would bring.
            TreeTableEntry scratch;
            {
                InteractionList list(*actor, target, true);
                list.AddEntry(*record, &scratch);
            }
            tilt = (record->flags & kActionAvailable) == 0 ? -1.0f
                                                          : actor->Curves().ScoreAdvertisements(AdvertisementsOf(scratch)) *
                                                                kMoodTilt;
        }
        if (mSubmenuOpen != 0 && record->params[1] != 0) {
            std::unique_ptr<iPicture> portrait;
            if (iPersonTable* people = mPicker.people) {
                const uint32_t guid = people->GetNeighborGuid(record->params[0]);
                const int32_t index = guid != 0 ? people->FindPersonIndex(guid) : -1;
                if (index >= 0) portrait = people->GetPersonFaceImage(index);
            }
            window.SetCentrePicture(std::move(portrait));
            window.SetTitle(std::string());
            window.LayoutAndPlace();
            window.Invalidate();
        }
    } else if (mSubmenuOpen != 0) {
        window.SetCentreImage(mPicker.panel != nullptr ? mPicker.panel->GetCentreImage() : nullptr);
        window.SetTitle(mOpenSubmenu >= 0 && mOpenSubmenu < static_cast<int32_t>(mMenu.size())
                            ? mMenu[static_cast<size_t>(mOpenSubmenu)].text
                            : std::string());
        window.LayoutAndPlace();
        window.Invalidate();
    }
    TrackerAdjustTilt(tilt);
}

bool cObjPickerTool::OnMenuChoice(iPieMenuWindow& window) {
    const bool shift = ShiftDown();
    const std::vector<MenuEntry>& menu = CurrentMenu();
    const int32_t i = window.GetHighlight() + mPageOffset;
    const MenuEntry* entry = i >= 0 && i < static_cast<int32_t>(menu.size()) ? &menu[static_cast<size_t>(i)] : nullptr;
    if (entry != nullptr && entry->submenu) {
        window.EndWithHighlight();
        return true;
    }
    std::optional<QueuedAction> record = FindListed(entry);
    cXObject* actorObject = record ? Object(record->actor) : nullptr;
    cXPerson* actor = actorObject != nullptr && actorObject->IsPerson() ? static_cast<cXPerson*>(actorObject) : nullptr;
    // Numbered first, so that the queue's copy and the view's notice agree.
    if (actor != nullptr) record->AssignSerial();
    if (actor != nullptr && actor->PushAction(*record)) {
        const uint32_t serial = record->serial;
        int32_t x = 0, y = 0;
        if (mPicker.host != nullptr) mPicker.host->GetMouseRoot(x, y);
        const int32_t index = mPicker.people != nullptr && actor->GetDefinition() != nullptr
                                  ? mPicker.people->FindPersonIndex(actor->GetDefinition()->GetGUID())
                                  : -1;
        if (mPicker.host != nullptr) mPicker.host->QueueInteraction(serial, index, x, y);
        mChosen = record;
        if (shift) {
            TrackerStartGesture();
        } else {
            window.EndWithHighlight();
        }
        return true;
    }
    if (!shift) window.EndWithHighlight();
    PlayError();
    return false;
}
