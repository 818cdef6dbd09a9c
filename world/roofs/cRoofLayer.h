// A storey's roof: a grid of half-tile cells at twice the lot's resolution,
// indexed [half-tile y][half-tile x], derived from the rooms after every room
// detection. Each cell says whether it carries roof, lies on a slope, was
// added as an eave or must stay bare, which piece it shows (shape code) and
// how high it stands (rings of roof around it). Drawn through the 3D layer
// with the roof mesh factory's pieces.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "simulation/Render3D.h"
#include "world/HouseView.h"
#include "world/WorldServices.h"
#include "world/c2DArray.h"

class cFixedWorld;

struct cRoofTile {
    uint8_t bits = 0;    // 0x01 roof, 0x02 slope, 0x04 eave, 0x08 blocked, bits 4-7 shape
    uint8_t height = 0;  // complete rings of roof around the cell
};
static_assert(sizeof(cRoofTile) == 2, "a roof cell is 2 bytes");

enum : uint8_t {
    kRoofOn = 0x01,
    kRoofSloped = 0x02,
    kRoofEave = 0x04,
    kRoofBlocked = 0x08,
};

class cRoofLayer : public cArray<cRoofTile> {
public:
    explicit cRoofLayer(int32_t worldSize);
    ~cRoofLayer();

    // Derives the level's roof from the world's rooms; the upper storey's
    // roof (none for level 2) keeps the lower one from doubling it. Answers
    // how many passes the slope step took.
    int32_t RecomputeRoof(cFixedWorld& world, int32_t level, const cRoofLayer* upperRoof);

    // Makes the mesh factory when there is none and this layer's render
    // object; false when the 3D device cannot.
    bool PrepareRender();
    // Draws every roofed cell whose screen point falls inside one of the
    // dirty rectangles (all cells when there are none); answers the union of
    // the drawn screen rectangles.
    RenderRect Draw(cFixedWorld& world, iHouseView& view, void* target, int32_t level,
                    const std::vector<ScreenRect>& dirty);

    static int32_t GetShapeCode(const cRoofTile& cell) { return cell.bits >> 4; }
    // Cells in use: twice the lot's size.
    int32_t Cells() const { return mCells; }
    bool HasRoof(int32_t row, int32_t column) const { return (At(row, column).bits & kRoofOn) != 0; }

    // The roof layers alive; the mesh factory goes with the last one.
    static int32_t LiveLayers();

private:
    void Mark(cFixedWorld& world, int32_t level);
    void SetHeights();
    bool SetSlopes();  // false when eaves lost their roof
    void SetShapes();

    int32_t mCells;
    std::unique_ptr<iRenderObject> mRenderObject;
};
