// The tool of live play: it highlights what lies under the mouse, and a
// click on an object or a person opens the pie menu of what the selected
// person can do with it; the choice goes onto the person's action queue.
// Empty ground gets a temporary step-aside marker to click on. In the
// animation preview mode the clicked object's animations are listed in a
// pop-up menu instead and the chosen one starts on the selected person.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulation/people/QueuedAction.h"
#include "world/tools/PickerWindows.h"
#include "world/tools/cTool.h"

namespace tova {
class ObjectModule;
class cXObject;
class cXPerson;
}  // namespace tova

// What the picker reaches above the world.
struct PickerServices {
    tova::ObjectModule* module = nullptr;
    tova::iPeoplePanel* panel = nullptr;
    tova::iPersonTable* people = nullptr;
    tova::iPickerHost* host = nullptr;
};

class cObjPickerTool : public cTool {
public:
    static constexpr int32_t kToolId = 6;
    enum Mode : int32_t { kLive = 0, kPreview = 2 };
    enum CursorKind : int32_t { kCursorGround = 28, kCursorPerson = 29, kCursorTarget = 30, kCursorPlain = 31 };
    // Texts of "UIText" set 159: nothing to do, nothing for a child, nothing
    // for an adult, the person clicked on itself.
    enum CursorText : int32_t { kTextHidden = 0, kTextNothing = 1, kTextChild = 2, kTextAdult = 3, kTextSelf = 4 };
    static constexpr int32_t kTextSet = 159;
    static constexpr uint32_t kMarkerGuid = 1988;
    static constexpr int32_t kPageSize = 12;
    static constexpr int32_t kDebugPickCommand = 140;
    // Results of a menu run beside a chosen list index + 1.
    enum RunResult : int32_t { kRunNothing = 0, kRunInvalid = -1, kRunPickAgain = -2, kRunNextPage = -3 };

    // What names one offered action, so that a choice finds it again in
    // the list as the list is then (it may have been rebuilt or emptied
    // while the menu showed).
    struct ListedAction {
        int32_t kind = 0;
        int16_t actor = 0;
        int16_t target = 0;
        int32_t entryKey = -1;
        int16_t params[4] = {};
        bool Names(const tova::QueuedAction& a) const;
        static ListedAction Of(const tova::QueuedAction& a);
    };

    struct MenuEntry {
        std::string text;
        int32_t group = 0;
        int32_t listIndex = 0;
        bool submenu = false;
        std::vector<MenuEntry> children;
        // The action a plain entry stands for (none for a submenu heading).
        std::optional<ListedAction> action;
    };

    cObjPickerTool(ToolServices& services, PickerServices& picker);
    // With the program's picker services (the tool set's way).
    explicit cObjPickerTool(ToolServices& services);
    // The services the game wires once the people panel exists.
    static PickerServices& SharedServices();

    int32_t WantsPick() override { return 1; }
    void Activate() override;
    void Deactivate() override;
    void SetParameter(int16_t value) override;
    void Init() override { SetParameter(0); }
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    bool Char(uint32_t character, uint32_t flags, int32_t repeat) override;
    void ObjectRemoved(int32_t id) override;
    void Deselect() override;
    bool HidesCostReadout() override { return true; }

    // A click: the menu of the object under the point.
    void Pick(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event);
    // The people panel's reports while a menu runs.
    void OnMenuHighlight(tova::iPieMenuWindow& window);
    bool OnMenuChoice(tova::iPieMenuWindow& window);

    // The highlight and the list offered for the object (0 clears both).
    void HighlightObject(int16_t id);
    // The menu model of the current list, and one run of it at the centre:
    // -2 pick again, 0 nothing chosen, -1 an invalid choice, n the list
    // index + 1 of the chosen record.
    void BuildMenu();
    int32_t RunMenu(tova::cXPerson& person, int32_t x, int32_t y);

    int32_t GetMode() const { return mMode; }
    int32_t GetCursorKind() const { return mCursorKind; }
    int32_t GetCursorText() const { return mCursorText; }
    int16_t GetHighlighted() const { return mHighlighted; }
    std::vector<tova::QueuedAction>& List() { return mList; }
    const std::vector<MenuEntry>& Menu() const { return mMenu; }
    int32_t GetPageOffset() const { return mPageOffset; }
    // The action chosen by the last menu run, if any.
    const std::optional<tova::QueuedAction>& Chosen() const { return mChosen; }
    bool MenuRunning() const { return mMenuRunning != 0; }
    const std::string& Text(int32_t n) const { return mTexts[static_cast<size_t>(n - 1)]; }

private:
    // The picker's module, else the build tools' one.
    tova::ObjectModule* Module() const;
    tova::cXPerson* SelectedPerson() const;
    tova::cXObject* Object(int16_t id) const;
    void RebuildList(int16_t id);
    void AppendMenuInteractions(tova::cXPerson& person, tova::cXObject& object);
    void AppendAnimations(tova::cXPerson& person, tova::cXObject& object);
    void SetCursorKindFor(tova::FinePoint fine);
    void ShowText(int32_t n);
    // The cursor text of a click by the cursor kind.
    void ChooseClickText(tova::cXPerson& person);
    void DebugPick(tova::FinePoint fine);
    int16_t CreateTemporaryTarget(tova::FinePoint fine);
    void DeleteTemporaryTarget();
    void PreviewMenu();
    const std::vector<MenuEntry>& CurrentMenu() const;
    // A copy of the listed action a menu entry stands for, when the list
    // still holds it.
    std::optional<tova::QueuedAction> FindListed(const MenuEntry* entry) const;
    void EndRun(bool shownTop);
    bool IsInsideLotInner(tova::FinePoint fine) const;

    PickerServices& mPicker;
    uint8_t mMenuRunning = 0;
    int16_t mHighlighted = 0;
    std::vector<tova::QueuedAction> mList;
    int32_t mMode = kLive;
    std::vector<MenuEntry> mMenu;
    int32_t mSubmenuOpen = 0;
    int32_t mOpenSubmenu = -1;
    int32_t mPageOffset = 0;
    int32_t mCursorKind = 5;
    int32_t mCursorText = kTextHidden;
    std::array<std::string, 4> mTexts;
    uint8_t mTopShown = 0;
    uint8_t mFirstRedraw = 0;
    uint8_t mSecondRedraw = 0;
    tova::iPieMenuWindow* mFirst = nullptr;
    tova::iPieMenuWindow* mSecond = nullptr;
    tova::iPieMenuWindow* mCurrent = nullptr;
    int32_t mCentreX = 0, mCentreY = 0;
    int16_t mClickedId = 0;
    tova::cXObject* mClicked = nullptr;
    uint8_t mPlaced = 0;
    uint8_t mCreated = 0;
    int16_t mTemporary = 0;
    tova::cXPerson* mPerson = nullptr;
    std::optional<tova::QueuedAction> mChosen;
};
