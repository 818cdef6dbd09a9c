#include "tools/buildscript/ToolReplay.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "support/PriceTable.h"
#include "world/tools/cMoveTool.h"
#include "world/tools/cNewWallTool.h"
#include "world/undo/ModuleUndoObjects.h"
#include "world/cPoolLayer.h"
#include "world/tools/BuildToolContext.h"
#include "world/roofs/cRoofMeshFactory.h"
#include "world/tools/ToolInput.h"
#include "world/undo/cRoofUndoable.h"

namespace {

bool ParseNumber(const std::string& text, double low, double high, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && out >= low && out <= high;
}

// Floor and pool prices come from the script's `price` lines; walls and
// wallpaper have fixed prices here, since the build catalogue that holds the
// real ones is not part of this tool.
class ScriptPrices : public tova_test::PriceTable {
public:
    int32_t WallPrice(int32_t style) const override { return style == 2 || (style >= 12 && style <= 14) ? 30 : 70; }
    int32_t WallpaperPrice(int32_t pattern) const override { return pattern == 0 ? 0 : 12; }
};

tova_test::PriceTable& Prices() {
    static ScriptPrices prices;
    return prices;
}

std::string RoofText() {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", GetRoofSlope());
    return "roof " + GetRoofTexture() + " " + text;
}

}  // namespace

const WorldServices& ReplayWorldServices() {
    static WorldServices services{&Prices(), nullptr, nullptr, {}};
    return services;
}

ToolReplay::ToolReplay(cFixedWorld& world, int32_t money, const std::string& dataRoot)
    : mWorld(world), mDataRoot(dataRoot) {
    mMoney.money = money;
    // A view large enough that every tile of the grid lies inside it, at the
    // zoom where screen points and sixteenths of a tile convert exactly.
    mViewer.zoom = 3;
    mViewer.origin = {5000, 100};
    mViewer.viewport = {0, 0, 10000, 10000};
    mViewer.Register();
    mServices = {&mWorld, &mShell, &mMoney, &mKeyboard, &mClock, &mViewer};
    mTools = std::make_unique<cToolSet>(mServices);
    SetRoofContext({&mDevice, "roofs", {}});
    mDevice.textures.available.insert("roofs/r1_");
    EnsureRoofMeshFactory();
    mRoof = RoofText();
}

ToolReplay::~ToolReplay() {
    SetCurrentTool(nullptr);
    mTools.reset();
    if (mModule) mModule->Clear();
    GetBuildToolContext() = BuildToolContext{};
    DeleteRoofMeshFactory();
    SetRoofContext({});
}

bool ToolReplay::Handles(const std::string& verb) const {
    for (const char* known : {"tool", "level", "hold", "release", "move", "down", "drag", "up", "key", "char", "undo",
                              "redo", "roof", "price", "mode", "buy", "pick"})
        if (verb == known) return true;
    return false;
}

bool ToolReplay::Run(const std::vector<std::string>& words, std::string& error) {
    const std::string& verb = words[0];
    TakeSnapshot();
    double value = 0;
    bool ok = false;
    if (verb == "tool" && (words.size() == 2 || words.size() == 3)) {
        ok = SelectTool(words, error);
    } else if (verb == "level" && words.size() == 2 && ParseNumber(words[1], 1, 2, value) && value == std::floor(value)) {
        mViewer.level = static_cast<int32_t>(value);
        ok = true;
    } else if ((verb == "hold" || verb == "release") && words.size() == 2) {
        ok = Key(words[1], verb == "hold", error);
    } else if ((verb == "move" || verb == "down" || verb == "drag" || verb == "up") && words.size() == 3) {
        ok = Mouse(verb, words[1], words[2], error);
    } else if (verb == "key" && words.size() == 2 && ParseNumber(words[1], 0, 255, value) && value == std::floor(value)) {
        const uint32_t key = static_cast<uint32_t>(value);
        if (cTool* tool = GetCurrentTool()) {
            tool->KeyDown(key, mKeyboard.GetModifiers());
            tool->KeyUp(key, mKeyboard.GetModifiers());
        }
        ok = true;
    } else if (verb == "char" && words.size() == 2 && words[1].size() == 1) {
        if (cTool* tool = GetCurrentTool())
            tool->Char(static_cast<uint8_t>(words[1][0]), mKeyboard.GetModifiers(), 1);
        ok = true;
    } else if ((verb == "undo" || verb == "redo") && words.size() == 1) {
        UndoManager& undo = mTools->GetUndoManager();
        if (verb == "undo" ? undo.CanUndo() : undo.CanRedo()) verb == "undo" ? undo.Undo() : undo.Redo();
        ok = true;
    } else if (verb == "roof" && words.size() == 3 && ParseNumber(words[1], -100, 100, value)) {
        auto* record = new cRoofUndoable;
        mDevice.textures.available.insert("roofs/" + words[2]);
        SetRoofTexture(words[2]);
        SetRoofSlope(static_cast<float>(value));
        record->MarkDone();
        mTools->GetUndoManager().Push(record);
        ok = true;
    } else if (verb == "buy" && words.size() == 2) {
        ok = Buy(words[1], error);
    } else if (verb == "pick" && words.size() == 2 && ParseNumber(words[1], 0, 32767, value) && value == std::floor(value)) {
        mViewer.picked = static_cast<int32_t>(value);
        ok = true;
    } else if (verb == "price") {
        ok = Price(words, error);
    } else if (verb == "mode" && words.size() == 2 && ParseNumber(words[1], 0, 9, value) && value == std::floor(value)) {
        mShell.mode = static_cast<int32_t>(value);
        ok = true;
    } else if (error.empty()) {
        error = "unknown command or wrong arguments";
    }
    if (!ok) return false;
    PrintChanges();
    return true;
}

bool ToolReplay::SelectTool(const std::vector<std::string>& words, std::string& error) {
    double id = 0, value = 0;
    if (!ParseNumber(words[1], -32768, 32767, id) || id != std::floor(id) ||
        (words.size() == 3 && (!ParseNumber(words[2], -32768, 65535, value) || value != std::floor(value)))) {
        error = "tool takes an id and an optional 16-bit value";
        return false;
    }
    cTool* tool = mTools->GetTool(static_cast<int32_t>(id));
    if (tool == nullptr) {
        error = "no tool has that id";
        return false;
    }
    // As the control panel does it: the value, the old panel tool
    // deselected, then the tool made current in build mode.
    const auto parameter = static_cast<int16_t>(static_cast<int32_t>(value));
    tool->SetParameter(parameter);
    if (mPanelTool != nullptr) mPanelTool->Deselect();
    mPanelTool = tool;
    tool->SetParameter(parameter);
    SetCurrentTool(tool);
    tool->SetParameter(parameter);
    return true;
}

bool ToolReplay::LoadObjects(std::string& error) {
    if (mModule) return true;
    if (mDataRoot.empty()) {
        error = "buying needs the objects of --data ROOT";
        return false;
    }
    mFolder = std::make_unique<tova::ObjectFolder>();
    mFolder->Init(mDataRoot + "/");
    if (mFolder->GetDefinitionCount() == 0) {
        error = "no objects under " + mDataRoot;
        return false;
    }
    mLot = std::make_unique<cLotWorld>(mWorld);
    mModule = std::make_unique<tova::ObjectModule>(mFolder.get());
    mModule->SetLot(mLot.get(), nullptr);
    mUndoObjects = std::make_unique<ModuleUndoObjects>(*mModule);
    mWallObjects = std::make_unique<ModuleWallObjects>(*mModule);
    static_cast<cNewWallTool*>(mTools->GetTool(cToolSet::kWall))->SetObjects(mWallObjects.get());
    // The cursor that carries what is bought: a bare object of the cursor
    // type when the catalogue has no "Tile Cursor".
    tova::ObjectDefinition* cursor = mFolder->FindByName("Tile Cursor");
    if (cursor == nullptr) {
        tova::ObjectDefinitionRecord record;
        record.SetGuid(0x7E570009);
        record.SetWord(tova::ObjectDefinitionRecord::kObjectType, 9);
        mCursorDefinition = std::make_unique<tova::ObjectDefinition>(nullptr, nullptr, record, "Tile Cursor", 0, 128);
        cursor = mCursorDefinition.get();
    }
    BuildToolContext& context = GetBuildToolContext();
    context.module = mModule.get();
    context.catalogue = mFolder.get();
    context.undoObjects = mUndoObjects.get();
    context.cursorDefinition = cursor;
    cMoveTool::FillItemListsFromCatalogue();
    return true;
}

bool ToolReplay::Buy(const std::string& guidText, std::string& error) {
    char* end = nullptr;
    const unsigned long guid = std::strtoul(guidText.c_str(), &end, 0);
    if (guidText.empty() || *end != '\0') {
        error = "buy takes an object's GUID";
        return false;
    }
    if (!LoadObjects(error)) return false;
    int32_t index = -1;
    for (int32_t i = 0; i < mFolder->GetDefinitionCount(); ++i)
        if (mFolder->GetDefinition(i)->GetGUID() == guid) index = i;
    if (index < 0 || index > 32767) {
        error = "no object of that GUID in the catalogue";
        return false;
    }
    // The control panel: the move tool takes the definition, then becomes
    // the tool with the catalogue index.
    auto* move = static_cast<cMoveTool*>(mTools->GetTool(cToolSet::kMove));
    move->BeginBuy(mFolder->GetDefinition(index));
    return SelectTool({"tool", std::to_string(cToolSet::kMove), std::to_string(index)}, error);
}

bool ToolReplay::Price(const std::vector<std::string>& words, std::string& error) {
    double a = 0, b = 0;
    const bool floor = words.size() == 4 && words[1] == "floor" && ParseNumber(words[2], 1, 254, a) &&
                       ParseNumber(words[3], 0, 1000000, b);
    const bool other = words.size() == 3 && (words[1] == "pool" || words[1] == "terrain") &&
                       ParseNumber(words[2], 0, 1000000, b);
    if (!floor && !other) {
        error = "price takes floor PATTERN AMOUNT, pool AMOUNT or terrain AMOUNT";
        return false;
    }
    if (floor) Prices().floors[static_cast<int32_t>(a)] = static_cast<int32_t>(b);
    else if (words[1] == "pool") Prices().pool = static_cast<int32_t>(b);
    else GetBuildToolContext().terrainPrice = static_cast<int32_t>(b);
    return true;
}

bool ToolReplay::Key(const std::string& which, bool down, std::string& error) {
    uint32_t key = 0;
    if (which == "shift") key = cRZKeyboard::kVKShift;
    else if (which == "ctrl") key = cRZKeyboard::kVKControl;
    else {
        error = "hold and release take shift or ctrl";
        return false;
    }
    if (down) mKeyboard.KeyDown(key);
    else mKeyboard.KeyUp(key);
    if (cTool* tool = GetCurrentTool()) {
        if (down) tool->KeyDown(key, mKeyboard.GetModifiers());
        else tool->KeyUp(key, mKeyboard.GetModifiers());
    }
    return true;
}

bool ToolReplay::Mouse(const std::string& verb, const std::string& x, const std::string& y, std::string& error) {
    double tx = 0, ty = 0;
    if (!ParseNumber(x, -64, 128, tx) || !ParseNumber(y, -64, 128, ty)) {
        error = "positions are view tiles from -64 to 128";
        return false;
    }
    const tova::FinePoint fine{static_cast<int32_t>(std::lround(tx * 16)), static_cast<int32_t>(std::lround(ty * 16))};
    ToolMouseEvent event;
    mViewer.WorldToScreen(fine, event.x, event.y);
    // The framework's modifier flags: 1 Shift, 2 Ctrl, 16 the left button.
    event.flags = mKeyboard.GetModifiers();
    mClock.now += 100;  // every event a tenth of a second after the last
    if (verb == "move") OnMouseMove(mViewer, event, false);
    else if (verb == "drag") OnMouseMove(mViewer, ToolMouseEvent{event.x, event.y, event.flags | 16}, true);
    else if (verb == "down") OnMouseButton(mViewer, ToolMouseEvent{event.x, event.y, event.flags | 16}, 1);
    else OnMouseUp(mViewer, event);
    return true;
}

void ToolReplay::TakeSnapshot() {
    mSnapshot.clear();
    const int32_t size = mWorld.GetSize();
    std::vector<const _c2DArray*> layers = {&mWorld.Altitude(), &mWorld.Ground(), &mWorld.Grass(),
                                            &mWorld.TargetGrass(), mWorld.GetPoolLayer(), mWorld.GetWaterLayer()};
    for (int32_t level = 1; level <= 2; ++level)
        for (const _c2DArray* layer : std::initializer_list<const _c2DArray*>{
                 mWorld.Floors(level), mWorld.Rooms(level), mWorld.Flags(level), mWorld.Walls(level),
                 mWorld.Objects(level)})
            layers.push_back(layer);
    for (const _c2DArray* layer : layers) {
        if (layer == nullptr || !layer->HasData()) continue;
        Snapshot s{layer, {}};
        for (int32_t y = 0; y < size; ++y)
            for (int32_t x = 0; x < size; ++x) {
                const uint8_t* cell = layer->CellBytes(x, y);
                s.bytes.insert(s.bytes.end(), cell, cell + layer->CellSize());
            }
        mSnapshot.push_back(std::move(s));
    }
}

std::string ToolReplay::CellText(const _c2DArray& layer, const uint8_t* cell) const {
    char text[40];
    if (layer.CellSize() == 1) {
        const bool isSigned = &layer == &mWorld.Grass() || &layer == &mWorld.TargetGrass();
        std::snprintf(text, sizeof text, "%d", isSigned ? static_cast<int8_t>(cell[0]) : cell[0]);
    } else if (layer.CellSize() == 2) {
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(cell[0] | (cell[1] << 8)));
    } else {
        std::string hex;
        for (int32_t i = 0; i < layer.CellSize(); ++i) {
            std::snprintf(text, sizeof text, "%02x", cell[i]);
            hex += text;
        }
        return hex;
    }
    return text;
}

void ToolReplay::PrintChanges() {
    const int32_t size = mWorld.GetSize();
    for (const Snapshot& s : mSnapshot) {
        const int32_t n = s.layer->CellSize();
        size_t offset = 0;
        for (int32_t y = 0; y < size; ++y)
            for (int32_t x = 0; x < size; ++x, offset += static_cast<size_t>(n)) {
                const uint8_t* now = s.layer->CellBytes(x, y);
                if (std::equal(now, now + n, s.bytes.begin() + static_cast<std::ptrdiff_t>(offset))) continue;
                std::printf("%s (%d,%d) %s -> %s\n", s.layer->GetName().c_str(), x, y,
                            CellText(*s.layer, s.bytes.data() + offset).c_str(), CellText(*s.layer, now).c_str());
            }
    }
    if (const std::string roof = RoofText(); roof != mRoof) {
        std::printf("%s\n", roof.c_str());
        mRoof = roof;
    }
    if (mShell.toolTip != mMessage) {
        mMessage = mShell.toolTip;
        std::printf("message %s\n", mMessage.empty() ? "none" : mMessage.c_str());
    }
    const UndoManager& undo = mTools->GetUndoManager();
    std::printf("money %d pending %d undo %d redo %d\n", mMoney.money, GetCurrentTool() ? GetCurrentTool()->GetPending() : 0,
                undo.UndoCount(), undo.RedoCount());
}
