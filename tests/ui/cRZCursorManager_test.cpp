#include "WinTestHarness.h"

#include "platform/CursorFile.h"
#include "support/TempFolder.h"
#include "ui/cRZCursor.h"
#include "ui/cRZCursorManager.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

class Cursors : public WinTest {
protected:
    cRZCursor* MakeCursor(const std::string& name) {
        platform::CursorImage image;
        image.width = image.height = 4;
        image.argb.assign(16, 0xFF000000u);
        folder.Write(name, platform::WriteCursorFile(image));
        return new cRZCursor(folder / name);
    }
    cRZCursorManager& Table() { return *mgr->GetCursorManager(); }

    tova_test::TempFolder folder;
};

TEST_F(Cursors, ADuplicateIdIsRefusedAndTheFirstStays) {
    cRZCursor* first = MakeCursor("a.cur");
    cRZCursor* second = MakeCursor("b.cur");
    ASSERT_TRUE(first->IsLoaded());
    EXPECT_TRUE(Table().AddCursor(first, 5));
    EXPECT_FALSE(Table().AddCursor(second, 5));
    EXPECT_EQ(Table().GetCursor(5), first);
    EXPECT_EQ(Table().FindCursor(6), nullptr);
    EXPECT_FALSE(Table().RemoveCursor(6, true));
    EXPECT_TRUE(Table().RemoveCursor(5, false));
    EXPECT_EQ(Table().GetCursor(5), nullptr);
    delete first;
    delete second;
    cRZCursor missing(folder / "missing.cur");
    EXPECT_FALSE(missing.IsLoaded());
}

TEST_F(Cursors, AWindowFallsBackToItsAncestorsAndFinallyToIdZero) {
    cRZCursor* arrow = MakeCursor("arrow.cur");
    cRZCursor* panelCursor = MakeCursor("panel.cur");
    ASSERT_TRUE(Table().AddCursor(arrow, 0));
    ProbeWin* panel = Add(root, 0, 0, 200, 200);
    ProbeWin* button = Add(panel, 10, 10, 50, 50);
    Route(kGZMsgMouseMove, 20, 20);
    EXPECT_EQ(host->CurrentCursor(), arrow->GetHandle());
    EXPECT_EQ(root->GetCursor(), arrow);  // the root keeps the default
    panel->SetCursor(panelCursor);
    Route(kGZMsgMouseMove, 21, 20);
    EXPECT_EQ(host->CurrentCursor(), panelCursor->GetHandle());
    button->SetCursor(Table().GetCursor(7));  // an id never added: null, inherit
    Route(kGZMsgMouseMove, 22, 20);
    EXPECT_EQ(host->CurrentCursor(), panelCursor->GetHandle());
    EXPECT_EQ(mgr->GetCurrentCursor(), panelCursor);
    panel->SetCursor(nullptr);
    delete panelCursor;
}

TEST_F(Cursors, HidingAndShowingDriveTheVisibilityToItsThreshold) {
    ProbeWin* view = Add(root, 0, 0, 200, 200);
    ProbeWin* inner = Add(view, 10, 10, 50, 50);
    view->HideCursorOver(true);
    Route(kGZMsgMouseMove, 20, 20);  // over a descendant of a hiding window
    EXPECT_FALSE(host->IsCursorShown());
    Table().HideCursor();
    Table().HideCursor();
    Table().ShowCursor();  // one show undoes any number of hides
    EXPECT_TRUE(host->IsCursorShown());
    Route(kGZMsgMouseMove, 300, 300);
    EXPECT_TRUE(host->IsCursorShown());
    (void)inner;
}

TEST_F(Cursors, TheStarterContentsCursorsLoad) {
    const std::string sys = std::string(TOVA_BIN_DIR) + "/../data/Res/UI/Shared/Sys/";
    struct Row {
        const char* name;
        int32_t id, hotX, hotY;
    };
    for (const Row& row : {Row{"arrow.cur", 1, 0, 0}, Row{"edit.cur", 2, 3, 8}, Row{"hourglass.cur", 3, 6, 9}}) {
        std::string error;
        auto file = platform::LoadCursorPath(sys + row.name, &error);
        ASSERT_TRUE(file.has_value()) << row.name << ": " << error;
        EXPECT_EQ(file->frames[0].width, 32);
        EXPECT_EQ(file->frames[0].hotX, row.hotX);
        EXPECT_EQ(file->frames[0].hotY, row.hotY);
        auto* cursor = new cRZCursor(sys + row.name);
        EXPECT_TRUE(cursor->IsLoaded()) << cursor->GetLoadError();
        EXPECT_TRUE(Table().AddCursor(cursor, row.id));
    }
    EXPECT_EQ(Table().GetCount(), 3u);
}

}  // namespace
