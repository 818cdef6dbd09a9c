// The object picker on a small lot of people and things, its menus run in a
// people panel whose pie menus answer from a script: the temporary marker
// on empty ground, the cursor texts, submenus by group, pages of twelve,
// leaving a submenu, Shift-queueing and the person keys.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "framework/cRZKeyboard.h"
#include "resfile/MemResFile.h"
#include "resfile/StringSet.h"
#include "simulation/MenuWrap.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/FakeLot.h"
#include "simulation/PersonFixture.h"
#include "simulation/people/CharacterData.h"
#include "simulation/people/InteractionList.h"
#include "support/ToolFakes.h"
#include "world/tools/cObjPickerTool.h"

namespace tova_test {
namespace {

class FakePeoplePanel;

// One scripted step of a menu run: a choice report at an item, or the run
// ended with a raw result (an item index, or -1, -2, -3 from the panel).
struct MenuStep {
    // kAside: the panel's aside runs while the menu shows.
    enum Kind { kEnd, kChoose, kHighlight, kAside } kind = kEnd;
    int32_t value = 0;
};

class FakePieMenu : public iPieMenuWindow {
public:
    FakePieMenu(FakePeoplePanel& panel, int32_t n) : panel(panel), n(n) {}
    int32_t GetScreenLeft() const override { return 0; }
    int32_t GetScreenTop() const override { return 0; }
    int32_t GetTrackerWidth() const override { return 0; }
    int32_t GetTrackerHeight() const override { return 0; }
    int32_t GetPointerOctant() const override { return 0; }
    int32_t GetPointerDistanceCode() const override { return 0; }
    float GetPointerAngle() const override { return 0; }
    float GetPointerDistance() const override { return distance; }
    void ClearItems() override { items.clear(); }
    void AddItem(const std::string& text) override { items.push_back(text); }
    void SetItemVisible(int32_t index, bool visible) override {
        if (!visible) hidden.push_back(index);
    }
    // Hidden items survive ClearItems in this log only.
    int32_t GetHighlight() const override { return highlight; }
    int32_t GetLeft() const override { return 400; }
    int32_t GetTop() const override { return 300; }
    int32_t GetHighlightCentreX() const override { return 50; }
    int32_t GetHighlightCentreY() const override { return 20; }
    int32_t GetDeadRadius() const override { return 40; }
    void SetCentrePicture(std::unique_ptr<iPicture> p) override { picture = std::move(p); }
    void SetCentreImage(iPicture* p) override { borrowed = p; }
    void SetTitle(const std::string& t) override { title = t; }
    void LayoutAndPlace() override {}
    void Invalidate() override {}
    void SetAlwaysRedraw(bool on) override { redraw = on; }
    void Open(int32_t x, int32_t y, bool, bool) override;
    int32_t RunModal() override;
    void Close() override {}
    void RemoveItemButtons() override {}
    void EndWithHighlight() override {
        ended = true;
        endValue = highlight;
    }

    FakePeoplePanel& panel;
    int32_t n;
    std::vector<std::string> items;
    std::vector<int32_t> hidden;
    int32_t highlight = -1;
    float distance = 0;
    std::unique_ptr<iPicture> picture;
    iPicture* borrowed = nullptr;
    std::string title;
    bool redraw = false;
    bool ended = false;
    int32_t endValue = 0;
};

// The people panel: owns the two menus, hands their reports to the picker
// and keeps the log of what each run showed.
class FakePeoplePanel : public iPeoplePanel {
public:
    iPieMenuWindow* GetMenuWindow(int32_t n) override { return n == 0 ? &first : n == 1 ? &second : nullptr; }
    iPicture* GetCentreImage() override { return &centre; }
    void OnSelectedPersonChanged(cXObject* p) override { selected.push_back(p->GetId()); }
    void AddToRoot(iPieMenuWindow&) override { ++rootAdds; }
    void RemoveFromRoot(iPieMenuWindow&) override { ++rootRemoves; }

    cObjPickerTool* picker = nullptr;
    FakePieMenu first{*this, 0};
    FakePieMenu second{*this, 1};
    iPicture centre;
    std::deque<MenuStep> script;
    std::function<void()> aside;
    // "window:items" for every open.
    std::vector<std::string> opens;
    std::vector<int16_t> selected;
    int rootAdds = 0, rootRemoves = 0;
};

void FakePieMenu::Open(int32_t x, int32_t y, bool, bool) {
    panel.opens.push_back(std::to_string(n) + ":" + std::to_string(items.size()));
    (void)x;
    (void)y;
}

int32_t FakePieMenu::RunModal() {
    ended = false;
    while (!panel.script.empty()) {
        const MenuStep s = panel.script.front();
        panel.script.pop_front();
        if (s.kind == MenuStep::kEnd) return s.value;
        if (s.kind == MenuStep::kAside) {
            if (panel.aside) panel.aside();
            continue;
        }
        highlight = s.value;
        if (s.kind == MenuStep::kHighlight) {
            panel.picker->OnMenuHighlight(*this);
            continue;
        }
        panel.picker->OnMenuChoice(*this);
        if (ended) return endValue;
    }
    return -1;
}

class FakePersonTable : public iPersonTable {
public:
    int32_t FindPersonIndex(uint32_t guid) const override { return guid == 777 ? 3 : guid == kPersonGuid ? 1 : -1; }
    std::unique_ptr<iPicture> GetPersonFaceImage(int32_t index) override {
        faces.push_back(index);
        return std::make_unique<iPicture>();
    }
    uint32_t GetNeighborGuid(int32_t n) const override { return n == 2 ? 777 : 0; }
    std::vector<int32_t> faces;
};

class FakePickerHost : public iPickerHost {
public:
    void QueueInteraction(uint32_t serial, int32_t person, int32_t x, int32_t y) override {
        queued.push_back({serial, person, x, y});
    }
    bool GetMouseScreen(int32_t& x, int32_t& y) const override { return x = 10, y = 20, true; }
    bool GetMouseRoot(int32_t& x, int32_t& y) const override { return x = 30, y = 40, true; }
    bool GetMouseClient(int32_t& x, int32_t& y) const override { return x = 440, y = 310, true; }
    void MoveMouseBy(int32_t dx, int32_t dy) override { moves.push_back({dx, dy}); }
    bool LeftButtonDown() const override { return false; }
    bool MainViewVisible() const override { return true; }
    bool GetMessageBreak() const override { return messageBreak; }
    void SetMessageBreak(bool on) override {
        messageBreak = on;
        breaks.push_back(on);
    }
    void Broadcast(int32_t command, intptr_t argument) override { broadcasts.push_back({command, argument}); }

    struct Queued {
        uint32_t serial;
        int32_t person, x, y;
    };
    std::vector<Queued> queued;
    std::vector<std::pair<int32_t, int32_t>> moves;
    bool messageBreak = false;
    std::vector<bool> breaks;
    std::vector<std::pair<int32_t, intptr_t>> broadcasts;
};

class RecordingTracker : public iPointerTracker {
public:
    void Attach(iTrackerWindow*, PersonAnimator* d) override {
        data = d;
        calls.push_back("attach");
    }
    void Detach() override {
        data = nullptr;
        calls.push_back("detach");
    }
    bool IsAttached() const override { return data != nullptr; }
    void SetTarget(iTrackerWindow* w) override { calls.push_back(w != nullptr ? "target" : "target none"); }
    void ReturnToSource() override { calls.push_back("return"); }
    void StartGesture() override { calls.push_back("gesture"); }
    void AdjustTilt(float t) override { tilts.push_back(t); }
    void GetPosition(int32_t&, int32_t&, int32_t&) override {}
    void Update(void*) override {}
    PersonAnimator* GetData() const override { return data; }
    PersonAnimator* data = nullptr;
    std::vector<std::string> calls;
    std::vector<float> tilts;
};

class FreeShell : public iGameShell {
public:
    bool FreeMode() const override { return true; }
};

// The fixture's host, with the marker's table: one interaction.
class PickerPeopleHost : public RecordingHost {
public:
    explicit PickerPeopleHost(RecordingHost& base) : base(base) {}
    TreeTableData* GetTreeTable(cXObject& o) override {
        if (o.GetDefinition() != nullptr && o.GetDefinition()->GetGUID() == kStepAsideGuid) return &markerTable;
        return base.GetTreeTable(o);
    }
    RecordingHost& base;
    TreeTableData markerTable;
};

class ObjPicker : public PersonFixture {
protected:
    void SetUp() override {
        PersonFixture::SetUp();
        SetPeopleHost(&pickerHost);
        pickerHost.markerTable.entries = {Interaction(1, "Go here")};
        ObjectDefinitionRecord record = definition->GetRecord();
        record.SetGuid(kStepAsideGuid);
        // The marker stands on floor or ground (word 42) in a cell (word 4).
        Trees("tree 4110 \"Marker init\"\n params 4\nn0: " + Expr(kOwnerMyData, kDataPlacement, 5, kOwnerLiteral, 3) +
              " -> n1 n1\nn1: " + Expr(kOwnerMyData, kDataSlotKinds, 5, kOwnerLiteral, 1) + " -> true true\nend\n");
        record.SetFunctionEntry(kEntryInit, 4110);
        markerDefinition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Marker", 0, 128);
        markerDefinition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
        pickerHost.marker = markerDefinition.get();
        module.SetLot(&lot, &view);
        // Floor around the clicked tile for the marker to stand on.
        for (int x = 4; x <= 8; ++x)
            for (int y = 4; y <= 8; ++y) lot.floors[Key(TileLocation::At(x, y, 1))] = true;
        module.SetShell(&freeShell);
        SetPointerTracker(&tracker);
        services.shell = &shell;
        services.keyboard = &keys;
        services.clock = &clock;
        picker.module = &module;
        picker.panel = &panel;
        picker.people = &table;
        picker.host = &host2;
        tool = std::make_unique<cObjPickerTool>(services, picker);
        panel.picker = tool.get();
        person = MakePerson();
        person->SetWord(kPersonAge, 30);
        module.SetSelectedPerson(person);
    }
    void TearDown() override {
        tool.reset();
        SetPointerTracker(nullptr);
        SetPersonPickEnabled(false);
        module.Clear();
        SetPeopleHost(nullptr);
    }
    // Records on the thing whose names are given, groups in param 1.
    void FillList(cXObject& target, const std::vector<std::pair<std::string, int16_t>>& names) {
        tool->List().clear();
        for (const auto& [name, group] : names) {
            QueuedAction a = QueuedAction::ForEntry(*person, &target, 1, 50);
            a.SetName(name);
            a.params[0] = static_cast<int16_t>(tool->List().size() + 1);
            a.params[1] = group;
            tool->List().push_back(a);
        }
    }
    void Script(std::initializer_list<MenuStep> steps) { panel.script.assign(steps.begin(), steps.end()); }
    int32_t Run() {
        tool->BuildMenu();
        return tool->RunMenu(*person, 200, 150);
    }
    int32_t LiveObjects() const { return module.ObjectCount(); }

    PickerPeopleHost pickerHost{host};
    FakeWorld lot;
    FakeView view;
    FreeShell freeShell;
    std::unique_ptr<ObjectDefinition> markerDefinition;
    FakeShell shell;
    cRZKeyboard keys;
    ManualClock clock;
    ToolServices services;
    FakePeoplePanel panel;
    FakePersonTable table;
    FakePickerHost host2;
    RecordingTracker tracker;
    PickerServices picker;
    std::unique_ptr<cObjPickerTool> tool;
    cXPerson* person = nullptr;
};

constexpr MenuStep End(int32_t r) { return {MenuStep::kEnd, r}; }
constexpr MenuStep Choose(int32_t i) { return {MenuStep::kChoose, i}; }

TEST_F(ObjPicker, EmptyGroundGetsAMarkerThatCancellingDeletes) {
    const int32_t before = LiveObjects();
    Script({End(-1)});
    tool->MouseMove({100, 100}, 0, {});
    EXPECT_EQ(tool->GetCursorKind(), cObjPickerTool::kCursorGround);
    tool->MouseDown({100, 100}, 0, {200, 150, 0});
    ASSERT_EQ(panel.opens, std::vector<std::string>{"0:1"});
    EXPECT_EQ(panel.first.items, std::vector<std::string>{"Go here"});
    EXPECT_EQ(host2.breaks, (std::vector<bool>{true, false})) << "the message break is set for the menu only";
    EXPECT_EQ(tracker.calls, (std::vector<std::string>{"attach", "detach"}));
    EXPECT_EQ(LiveObjects(), before) << "the marker is gone";
    EXPECT_EQ(module.FindFirstByGuid(kStepAsideGuid), nullptr);
}

TEST_F(ObjPicker, AMarkerIsDeletedAfterAPickAgainToo) {
    const int32_t before = LiveObjects();
    Script({End(-2), End(-1)});
    tool->Pick({100, 100}, 0, {200, 150, 0});
    EXPECT_EQ(panel.opens.size(), 2u);
    EXPECT_EQ(LiveObjects(), before);
}

TEST_F(ObjPicker, ChoosingTheMarkersInteractionKeepsItAndQueuesTheAction) {
    const int32_t before = LiveObjects();
    Script({Choose(0)});
    tool->Pick({100, 100}, 0, {200, 150, 0});
    EXPECT_EQ(LiveObjects(), before + 1);
    cXObject* marker = module.FindFirstByGuid(kStepAsideGuid);
    ASSERT_NE(marker, nullptr);
    ASSERT_EQ(person->QueuedCount(), 1);
    EXPECT_EQ(person->GetQueuedAction(0)->target, marker->GetId());
    ASSERT_EQ(host2.queued.size(), 1u);
    EXPECT_EQ(host2.queued[0].serial, person->GetQueuedAction(0)->serial);
    EXPECT_NE(host2.queued[0].serial, 0u);
    EXPECT_EQ(host2.queued[0].person, 1);
    EXPECT_EQ(host2.queued[0].x, 30);
}

TEST_F(ObjPicker, CursorTextsForThePersonItselfAndForAChild) {
    // The selected person with nothing to do.
    tool->Pick({100, 100}, person->GetId(), {200, 150, 0});
    EXPECT_EQ(tool->GetCursorKind(), cObjPickerTool::kCursorPerson);
    EXPECT_EQ(tool->GetCursorText(), cObjPickerTool::kTextSelf);
    EXPECT_TRUE(panel.opens.empty());
    EXPECT_EQ(module.GetSelectedPerson(), person) << "highlighting leaves the selection";

    struct Case {
        int16_t age;
        int32_t flags;
        int32_t text;
    } cases[] = {{10, kEntryNotForChildren, cObjPickerTool::kTextChild},
                 {30, kEntryNotForAdults, cObjPickerTool::kTextAdult},
                 {10, kEntryNotForChildren | kEntryStarred, cObjPickerTool::kTextNothing}};
    for (const Case& c : cases) {
        cXObject* thing = MakeThing({Interaction(1, "Use", c.flags)});
        person->SetWord(kPersonAge, c.age);
        tool->Pick({100, 100}, thing->GetId(), {200, 150, 0});
        EXPECT_EQ(tool->GetCursorKind(), cObjPickerTool::kCursorPlain) << c.age;
        EXPECT_EQ(tool->GetCursorText(), c.text) << c.age << " " << c.flags;
    }
    EXPECT_TRUE(panel.opens.empty());
}

TEST_F(ObjPicker, RecordsOfOneGroupShareTheSubmenuTheFirstNamed) {
    cXObject* thing = MakeThing({Interaction(1, "Use")});
    FillList(*thing, {{"Talk/Hello", 5}, {"Eat", 0}, {"Chat/Bye", 5}, {"Play/Ball", 6}});
    tool->BuildMenu();
    const auto& menu = tool->Menu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, "Talk");
    EXPECT_TRUE(menu[0].submenu);
    ASSERT_EQ(menu[0].children.size(), 2u);
    EXPECT_EQ(menu[0].children[0].text, "Hello");
    EXPECT_EQ(menu[0].children[1].text, "Bye");
    EXPECT_EQ(menu[0].children[1].listIndex, 2);
    EXPECT_EQ(menu[0].children[1].group, 3) << "a child's group is its first parameter";
    EXPECT_EQ(menu[1].text, "Eat");
    EXPECT_EQ(menu[1].group, 1);
    EXPECT_EQ(menu[2].text, "Play");
    EXPECT_EQ(tool->List()[2].passThrough[0], 0);
    EXPECT_EQ(tool->List()[2].passThrough[1], 1);
    EXPECT_EQ(tool->List()[1].passThrough[1], -1);
}

TEST_F(ObjPicker, PagesOfTwelveWrapPastTheEnd) {
    cXObject* thing = MakeThing({Interaction(1, "Use")});
    struct Case {
        int count;
        std::vector<std::string> opens;
    } cases[] = {{13, {"0:12", "0:1", "0:12", "0:1"}}, {24, {"0:12", "0:12", "0:0", "0:12"}}};
    for (const Case& c : cases) {
        std::vector<std::pair<std::string, int16_t>> names;
        for (int i = 0; i < c.count; ++i) names.push_back({"a" + std::to_string(i), 0});
        FillList(*thing, names);
        panel.opens.clear();
        Script({End(-3), End(-3), End(-3), End(-1)});
        EXPECT_EQ(Run(), cObjPickerTool::kRunNothing);
        EXPECT_EQ(panel.opens, c.opens) << c.count;
    }
    // The chosen item counts from the page.
    FillList(*thing, std::vector<std::pair<std::string, int16_t>>(13, {"a", 0}));
    Script({End(-3), End(0)});
    EXPECT_EQ(Run(), 13);
    FillList(*thing, std::vector<std::pair<std::string, int16_t>>(13, {"a", 0}));
    Script({End(-3), End(1)});
    EXPECT_EQ(Run(), cObjPickerTool::kRunInvalid);
}

TEST_F(ObjPicker, LeavingASubmenuInsideOrOutsideItsDeadRadius) {
    cXObject* thing = MakeThing({Interaction(1, "Use")});
    struct Case {
        float distance;
        std::vector<std::string> opens;
        std::vector<std::string> calls;
    } cases[] = {
        {10, {"0:2", "1:1", "0:2"}, {"attach", "target", "return", "detach"}},
        {100, {"0:2", "1:1"}, {"attach", "target", "detach"}},
    };
    for (const Case& c : cases) {
        FillList(*thing, {{"Talk/Hello", 5}, {"Eat", 0}});
        panel.opens.clear();
        tracker.calls.clear();
        host2.moves.clear();
        panel.second.distance = c.distance;
        Script({End(0), End(-1), End(-1)});
        EXPECT_EQ(Run(), cObjPickerTool::kRunNothing);
        EXPECT_EQ(panel.opens, c.opens) << c.distance;
        EXPECT_EQ(tracker.calls, c.calls) << c.distance;
        EXPECT_EQ(panel.first.hidden, std::vector<int32_t>({0, 1})) << "the top level hides while the submenu shows";
        // The submenu opens at the entry; the pointer moves with the centre.
        ASSERT_EQ(host2.moves.size(), 1u);
        EXPECT_EQ(host2.moves[0], (std::pair<int32_t, int32_t>{10, 10}));
        panel.first.hidden.clear();
    }
    // A child chosen in the submenu.
    FillList(*thing, {{"Talk/Hello", 5}, {"Eat", 0}, {"Talk/Bye", 5}});
    Script({End(0), End(1)});
    EXPECT_EQ(Run(), 3);
    EXPECT_TRUE(tool->Menu().empty()) << "the entries live only while the menu runs";
}

TEST_F(ObjPicker, ShiftKeepsTheMenuOpenWhileQueueing) {
    cXObject* thing = MakeThing({Interaction(1, "Use"), Interaction(2, "Look")});
    tool->HighlightObject(thing->GetId());
    ASSERT_EQ(tool->List().size(), 2u);
    keys.KeyDown(cRZKeyboard::kVKShift);
    panel.script = {Choose(0)};
    tool->BuildMenu();
    // Shift held: queued, a gesture, and the run goes on to the next step.
    panel.script.push_back(End(-1));
    EXPECT_EQ(tool->RunMenu(*person, 200, 150), cObjPickerTool::kRunNothing);
    EXPECT_EQ(person->QueuedCount(), 1);
    EXPECT_EQ(host2.queued.size(), 1u);
    EXPECT_EQ(tracker.calls, (std::vector<std::string>{"attach", "gesture", "detach"}));
    keys.Reset();
    Script({Choose(1)});
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(person->QueuedCount(), 2);
    // A refused push ends the menu at its item but queues nothing.
    cXObject* bare = Make<cXObject>();
    FillList(*bare, {{"Nothing", 0}});
    Script({Choose(0)});
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(person->QueuedCount(), 2);
    EXPECT_EQ(host2.queued.size(), 2u);
}

// The object is removed while its menu shows: the list under the menu is
// emptied, and a choice or highlight that follows finds nothing to queue.
TEST_F(ObjPicker, AnObjectRemovedWhileItsMenuShowsQueuesNothing) {
    cXObject* thing = MakeThing({Interaction(1, "Use"), Interaction(2, "Look")});
    const int16_t id = thing->GetId();
    tool->HighlightObject(id);
    ASSERT_EQ(tool->List().size(), 2u);
    panel.aside = [&] {
        module.DeleteObject(id);
        tool->ObjectRemoved(id);
    };
    Script({{MenuStep::kHighlight, 0}, {MenuStep::kAside, 0}, {MenuStep::kHighlight, 1}, Choose(0)});
    Run();
    EXPECT_TRUE(tool->List().empty());
    EXPECT_EQ(person->QueuedCount(), 0);
    EXPECT_TRUE(host2.queued.empty());
    EXPECT_FALSE(tool->Chosen().has_value());

    // Rebuilt with the same actions: a choice finds its own entry again.
    cXObject* other = MakeThing({Interaction(1, "Use"), Interaction(2, "Look")});
    tool->HighlightObject(other->GetId());
    panel.aside = [&] { tool->HighlightObject(other->GetId()); };
    Script({{MenuStep::kAside, 0}, Choose(1)});
    EXPECT_EQ(Run(), 2);
    ASSERT_EQ(person->QueuedCount(), 1);
    EXPECT_EQ(person->GetQueuedAction(0)->target, other->GetId());
    ASSERT_TRUE(tool->Chosen().has_value());
    EXPECT_EQ(tool->Chosen()->target, other->GetId());
}

TEST_F(ObjPicker, HighlightTiltsTheHeadAndShowsNeighbourPortraits) {
    cXObject* thing = MakeThing({Interaction(1, "Use")});
    FillList(*thing, {{"Call/Friend", 5}, {"Eat", 0}});
    tool->List()[0].params[0] = 2;  // neighbour 2
    Script({{MenuStep::kHighlight, 1}, End(0), {MenuStep::kHighlight, 0}, {MenuStep::kHighlight, 5}, End(-1),
            End(-1)});
    panel.second.distance = 100;
    EXPECT_EQ(Run(), cObjPickerTool::kRunNothing);
    ASSERT_EQ(tracker.tilts.size(), 3u);
    EXPECT_EQ(tracker.tilts[2], 0.0f) << "outside the menu";
    EXPECT_EQ(table.faces, std::vector<int32_t>{3});
    EXPECT_EQ(panel.second.title, "Call") << "nothing highlighted: the submenu's name";
    EXPECT_EQ(panel.second.borrowed, &panel.centre);
}

TEST_F(ObjPicker, PersonKeys) {
    cXPerson* other = MakePerson();
    struct Case {
        uint32_t c;
        int32_t repeat;
        bool handled;
        bool moves;
    } cases[] = {{'n', 1, true, true}, {'N', 2, true, false}, {' ', 1, true, true}, {' ', 3, true, false},
                 {'x', 1, false, false}};
    for (const Case& c : cases) {
        cXObject* before = module.GetSelectedPerson();
        EXPECT_EQ(tool->Char(c.c, 0, c.repeat), c.handled) << c.c;
        EXPECT_EQ(module.GetSelectedPerson() != before, c.moves) << c.c << " " << c.repeat;
    }
    // Only the space bar tells the panel.
    EXPECT_EQ(panel.selected.size(), 1u);
    EXPECT_TRUE(other != nullptr);
}

TEST_F(ObjPicker, ModesAndTheDebugClick) {
    tool->SetParameter(1);
    EXPECT_EQ(tool->GetMode(), cObjPickerTool::kPreview);
    tool->SetParameter(7);
    EXPECT_EQ(tool->GetMode(), cObjPickerTool::kPreview);
    tool->Init();
    EXPECT_EQ(tool->GetMode(), cObjPickerTool::kLive);
    // Preview on empty ground does nothing.
    tool->SetParameter(1);
    const int32_t before = LiveObjects();
    tool->Pick({100, 100}, 0, {200, 150, 0});
    EXPECT_EQ(LiveObjects(), before);
    tool->SetParameter(0);
    tool->Pick({100, 100}, 0, {200, 150, 0x300});
    EXPECT_TRUE(panel.opens.empty());
    tool->Deselect();
    EXPECT_FALSE(GetPersonPickEnabled());
}

class RecordingPopup : public PopupMenuHost {
public:
    int32_t TrackPopup(const MenuWrap& menu, int32_t x, int32_t y) override {
        for (const MenuWrap::Item& item : menu.Items()) labels.push_back(item.label);
        at = {x, y};
        return choice;
    }
    std::vector<std::string> labels;
    std::pair<int32_t, int32_t> at;
    int32_t choice = 0;
};

TEST_F(ObjPicker, PreviewListsAPersonsAnimationsInAPopupMenu) {
    MemResFile file;
    StringSet own;
    for (const char* n : {"first", "wave", "", "dance"}) own.SetString(own.GetCount() + 1, n);
    ASSERT_EQ(own.SaveTo(&file, 130), 0);
    AnimNameTables::Instance().Load(&file);
    RecordingPopup popup;
    popup.choice = 2;
    SetPopupMenuHost(&popup);
    cXPerson* other = MakePerson();
    tool->SetParameter(1);
    tool->Pick({100, 100}, other->GetId(), {200, 150, 0});
    // Lines 2 to the count, the empty one left out; the entry key is n - 1.
    EXPECT_EQ(popup.labels, (std::vector<std::string>{"wave", "dance"}));
    ASSERT_EQ(tool->List().size(), 2u);
    EXPECT_EQ(tool->List()[1].entryKey, 3);
    EXPECT_EQ(tool->List()[1].kind, kActionMenuLine);
    EXPECT_EQ(popup.at, (std::pair<int32_t, int32_t>{10, 20}));
    EXPECT_TRUE(panel.opens.empty()) << "no pie menu in preview";
    SetPopupMenuHost(nullptr);
    AnimNameTables::Instance().Free();
}

}  // namespace
}  // namespace tova_test
