// Outcodes, clipping and primitive submission: screen vertices from the
// pipeline are coded against the view volume, primitives wholly outside are
// dropped, ones that cross a selected plane are clipped, and every piece goes
// to the primitive routines the caller installed.
#pragma once

#include <cstdint>

// A screen vertex: 32 bytes (format 0), or 40 with a second texture pair
// (format 1).
struct TarnScreenVertex {
    float sx, sy, sz, rhw;
    uint32_t colour, specular;
    float tu, tv;
    float tu2, tv2;  // format 1 only
};

enum : uint8_t {
    kTarnCodeNear = 0x01,  // nearer than the near plane, or behind the eye
    kTarnCodeFar = 0x02,
    kTarnCodeTop = 0x04,
    kTarnCodeBottom = 0x08,
    kTarnCodeLeft = 0x10,
    kTarnCodeRight = 0x20,
};

struct TarnClipWindow {
    float left, top, right, bottom;
    float nearW, farW;
    float nearZ;          // 1 / nearW
    float inverseDepth;   // 1 / (far - near)
};

// The caller's drawing: each answers what it likes; the library passes it on.
struct TarnPrimitiveRoutines {
    int (*quad)(const void* v0, const void* v1, const void* v2, const void* v3);
    int (*unused)(intptr_t, intptr_t, intptr_t);  // never called
    int (*triangle)(const void* v0, const void* v1, const void* v2);
    int (*indexedTriangles)(int triangles, const void* vertexBase, const int* indices);
    int (*line)(const void* v0, const void* v1);
};

void TarnSetClipWindow(float x, float y, float width, float height, float nearW, float farW);
const TarnClipWindow& TarnGetClipWindow();
void TarnSetVertexFormat(int format);  // 0: 32 bytes, 1: 40 bytes
int TarnVertexSize();
void TarnSetClipMode(int mode);        // 0, 2-6; mode 5 clips at the near plane only
void TarnSetDepthRule(int rule);       // 0 interpolate sz, 1 recompute it from rhw
void TarnSetPrimitiveRoutines(const TarnPrimitiveRoutines* routines);  // null: none

// Reads the first four floats of a screen vertex.
uint8_t TarnComputeOutcode(const void* vertex, uint8_t* out = nullptr);
uint8_t TarnComputeSideOutcode(const void* vertex);
uint8_t TarnComputeBehindOutcode(const void* vertex);  // 0x01 when the third float is negative
uint8_t TarnComputeXywOutcode(const void* vertex);     // (x, y, w) records

// Lists: index records into the vertex base (32-byte vertices; the batch forms
// use the current vertex size), outcodes indexed by vertex index. Each
// answers the sum of what the routines answered, or -1 when a piece could
// not be drawn.
int TarnDrawLines(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawTriangles(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawQuads(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawTriangleStrip(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawTriangleBatch(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawQuadBatch(int count, const void* base, const int* indices, const uint8_t* codes);
int TarnDrawTriangle(const void* v0, const void* v1, const void* v2);
int TarnDrawQuad(const void* v0, const void* v1, const void* v2, const void* v3);

// The clipper of the current mode on 3 or 4 vertices with their codes and
// the masked OR of the codes; emits a fan through indexedTriangles. Answers
// the triangles drawn, 0 when mode 5 drops the piece, -1 when fewer than
// three vertices remain, the mode is unknown or no routine is installed.
int TarnClipPolygon(const void* const* vertices, const uint8_t* codes, uint8_t maskedOr, int count);
void TarnResetClipState();
