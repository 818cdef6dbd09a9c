#include "tarn/TarnClip.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <utility>

#include "tarn/TarnPrint.h"

namespace {

constexpr int kScratchVertices = 100;
constexpr int kBatchCapacity = 2000;

struct ClipState {
    TarnClipWindow window{};
    int format = 0;
    int mode = 0;
    uint8_t mask = 0xFF;
    int depthRule = 0;
    TarnPrimitiveRoutines routines{};
    // The scratch vertices in full form; their specular words are what a
    // new vertex keeps (no clipper writes them).
    TarnScreenVertex scratch[kScratchVertices]{};
    // The same vertices laid out in the current format for the routines.
    alignas(16) uint8_t scratchBytes[kScratchVertices * 40]{};
    int batch[kBatchCapacity]{};
    int batchEntries = 0;
};

void ApplyWindow(ClipState& st, float x, float y, float width, float height, float nearW, float farW);

ClipState& State() {
    static ClipState state;
    static bool ready = false;
    if (!ready) {
        ready = true;
        // The window of the default projection: 640 by 480, near 1.0001,
        // depth scale 0.00004.
        ApplyWindow(state, 0, 0, 640, 480, 1.0f / 1.0001f, 1.0f / (1.0001f + 25000.0f));
    }
    return state;
}

void ApplyWindow(ClipState& st, float x, float y, float width, float height, float nearW, float farW) {
    TarnClipWindow& w = st.window;
    w.left = x;
    w.top = y;
    w.right = x + width;
    w.bottom = y + height;
    w.nearW = nearW;
    w.farW = farW;
    w.nearZ = 1.0f / nearW;
    w.inverseDepth = 1.0f / (1.0f / farW - w.nearZ);
    for (TarnScreenVertex& v : st.scratch) v.specular = 0;
}

int32_t Bits(float value) { return std::bit_cast<int32_t>(value); }

TarnScreenVertex LoadVertex(const void* vertex, int size) {
    TarnScreenVertex v{};
    std::memcpy(&v, vertex, static_cast<size_t>(size));
    return v;
}

uint8_t SideCode(float sx, float sy) {
    const TarnClipWindow& w = State().window;
    uint8_t code = 0;
    if (Bits(sx) < Bits(w.left))
        code = kTarnCodeLeft;
    else if (Bits(sx) > Bits(w.right))
        code = kTarnCodeRight;
    if (Bits(sy) < Bits(w.top))
        code |= kTarnCodeTop;
    else if (Bits(sy) > Bits(w.bottom))
        code |= kTarnCodeBottom;
    return code;
}

uint8_t XSideCode(float sx) { return SideCode(sx, State().window.top) & (kTarnCodeLeft | kTarnCodeRight); }
uint8_t YSideCode(float sy) { return SideCode(State().window.left, sy) & (kTarnCodeTop | kTarnCodeBottom); }

// The comparisons are made on the float bits read as signed integers, which
// orders non-negative floats and puts every negative value below them.
uint8_t Outcode(float sx, float sy, float sz, float rhw) {
    const TarnClipWindow& w = State().window;
    uint8_t code = SideCode(sx, sy);
    if (Bits(rhw) < 0)
        code ^= 0x3D;  // behind the eye projects mirrored
    else if (Bits(rhw) > Bits(w.nearW))
        code |= kTarnCodeNear;
    else if (Bits(sz) >= Bits(1.0f))
        code |= kTarnCodeFar;
    return code;
}

bool RoutinesReady(const char* what, bool installed) {
    if (!installed) TarnAlert("[TARNGRAPH] no %s routine installed; primitive dropped\n", what);
    return installed;
}

uint32_t Lerp8(uint32_t e, uint32_t f, float t, int shift) {
    const float a = static_cast<float>((e >> shift) & 0xFF), b = static_cast<float>((f >> shift) & 0xFF);
    return static_cast<uint32_t>(static_cast<int>(a - t * (a - b))) & 0xFF;
}

uint32_t NewColour(int mode, uint32_t e, uint32_t f, float t) {
    switch (mode) {
        case 2: {
            const uint32_t grey = Lerp8(e, f, t, 0);
            return 0xFF000000u | grey << 16 | grey << 8 | grey;
        }
        case 3: return Lerp8(e, f, t, 24) << 24 | Lerp8(e, f, t, 16) << 16 | Lerp8(e, f, t, 8) << 8 | Lerp8(e, f, t, 0);
        case 4: return Lerp8(e, f, t, 24) << 24 | (e & 0x00FFFFFFu);
        case 6: {
            const uint32_t grey = Lerp8(e, f, t, 0);
            return Lerp8(e, f, t, 24) << 24 | grey << 16 | grey << 8 | grey;
        }
        default: return e;
    }
}

struct Polygon {
    int slot[16];
    uint8_t code[16];
    int count = 0;
};

// A new scratch slot between E and F at parameter t; everything but the
// specular word interpolates as E - t (E - F).
int NewVertex(const TarnScreenVertex& e, const TarnScreenVertex& f, float t, int& next) {
    TarnScreenVertex& n = State().scratch[next];
    const uint32_t keptSpecular = n.specular;
    auto lerp = [t](float a, float b) { return a - t * (a - b); };
    n.sx = lerp(e.sx, f.sx);
    n.sy = lerp(e.sy, f.sy);
    n.sz = lerp(e.sz, f.sz);
    n.rhw = lerp(e.rhw, f.rhw);
    n.tu = lerp(e.tu, f.tu);
    n.tv = lerp(e.tv, f.tv);
    n.tu2 = lerp(e.tu2, f.tu2);
    n.tv2 = lerp(e.tv2, f.tv2);
    n.colour = NewColour(State().mode, e.colour, f.colour, t);
    n.specular = keptSpecular;
    return next++;
}

enum class Plane { Near, Far, Bottom, Top, Left, Right };

// Sutherland-Hodgman against one plane; false when fewer than 3 vertices
// are left.
bool ClipAgainst(Polygon& poly, Plane plane, int& next) {
    ClipState& st = State();
    const TarnClipWindow& w = st.window;
    static constexpr uint8_t kBit[6] = {kTarnCodeNear, kTarnCodeFar, kTarnCodeBottom, kTarnCodeTop, kTarnCodeLeft,
                                        kTarnCodeRight};
    const uint8_t bit = kBit[static_cast<int>(plane)];
    Polygon result;
    for (int i = 0; i < poly.count; ++i) {
        const int j = (i + 1) % poly.count;
        const TarnScreenVertex& e = st.scratch[poly.slot[i]];
        const TarnScreenVertex& f = st.scratch[poly.slot[j]];
        const bool eIn = (poly.code[i] & bit) == 0, fIn = (poly.code[j] & bit) == 0;
        if (eIn) {
            result.slot[result.count] = poly.slot[i];
            result.code[result.count++] = poly.code[i];
        }
        if (eIn == fIn || next >= kScratchVertices || result.count >= 15) continue;
        int made = 0;
        uint8_t code = 0;
        if (plane == Plane::Near || plane == Plane::Far) {
            const float planeW = plane == Plane::Near ? w.nearW : w.farW;
            const float t = (e.rhw - planeW) / (e.rhw - f.rhw);
            made = NewVertex(e, f, t, next);
            TarnScreenVertex& n = st.scratch[made];
            n.rhw = planeW;
            n.sz = plane == Plane::Near ? 0.0f : 1.0f;
            code = static_cast<uint8_t>(kTarnCodeNear | SideCode(n.sx, n.sy));
        } else {
            const bool vertical = plane == Plane::Bottom || plane == Plane::Top;
            const float edge = plane == Plane::Bottom ? w.bottom
                               : plane == Plane::Top  ? w.top
                               : plane == Plane::Left ? w.left
                                                      : w.right;
            const float ec = vertical ? e.sy : e.sx, fc = vertical ? f.sy : f.sx;
            const float t = (ec - edge) / (ec - fc);
            const float keptSz = e.sz;
            made = NewVertex(e, f, t, next);
            TarnScreenVertex& n = st.scratch[made];
            (vertical ? n.sy : n.sx) = edge;
            if (st.depthRule != 0) n.sz = keptSz;  // recomputed from rhw at the end
            code = static_cast<uint8_t>(bit | (poly.code[i] & (kTarnCodeNear | kTarnCodeFar)) |
                                        (vertical ? XSideCode(n.sx) : YSideCode(n.sy)));
        }
        result.slot[result.count] = made;
        result.code[result.count++] = code;
    }
    poly = result;
    return poly.count >= 3;
}

void WriteScratchBytes(int slots) {
    ClipState& st = State();
    const int size = TarnVertexSize();
    for (int i = 0; i < slots; ++i)
        std::memcpy(st.scratchBytes + static_cast<size_t>(i) * size, &st.scratch[i], static_cast<size_t>(size));
}

int EmitFan(const Polygon& poly, int slotsUsed) {
    ClipState& st = State();
    if (!RoutinesReady("indexed triangle", st.routines.indexedTriangles != nullptr)) return -1;
    WriteScratchBytes(slotsUsed);
    int indices[3 * 16];
    int triangles = 0;
    for (int k = 1; k + 1 < poly.count; ++k) {
        indices[3 * triangles] = poly.slot[0];
        indices[3 * triangles + 1] = poly.slot[k];
        indices[3 * triangles + 2] = poly.slot[k + 1];
        ++triangles;
    }
    st.routines.indexedTriangles(triangles, st.scratchBytes, indices);
    return triangles;
}

// Copies the vertices into the scratch array, texture coordinates times rhw.
Polygon Prepare(const void* const* vertices, const uint8_t* codes, int count) {
    ClipState& st = State();
    Polygon poly;
    const bool second = st.format == 1;
    for (int i = 0; i < count; ++i) {
        TarnScreenVertex v = LoadVertex(vertices[i], TarnVertexSize());
        v.tu *= v.rhw;
        v.tv *= v.rhw;
        if (second) {
            v.tu2 *= v.rhw;
            v.tv2 *= v.rhw;
        }
        st.scratch[i] = v;
        poly.slot[i] = i;
        poly.code[i] = codes[i];
    }
    poly.count = count;
    return poly;
}

void Finish(Polygon& poly) {
    ClipState& st = State();
    for (int i = 0; i < poly.count; ++i) {
        TarnScreenVertex& v = st.scratch[poly.slot[i]];
        v.tu /= v.rhw;
        v.tv /= v.rhw;
        if (st.format == 1) {
            v.tu2 /= v.rhw;
            v.tv2 /= v.rhw;
        }
        if (st.depthRule == 1) v.sz = (1.0f / v.rhw - st.window.nearZ) * st.window.inverseDepth;
    }
}

bool SelfCheck(const void* const* vertices, const uint8_t* codes, int count) {
    for (int i = 0; i < count; ++i) {
        const uint8_t debug = TarnComputeOutcode(vertices[i]);
        if (debug != codes[i] && !(debug & kTarnCodeNear) && !(codes[i] & kTarnCodeNear)) {
            TarnReport(kTarnReportFatal,
                       " Vertex %d: debug and supplied flags do not match!\n debug flags: %d != supplied flags: "
                       "%d\nSupplied flags are incorrect or corrupt.\n",
                       i, debug, codes[i]);
            return false;  // when the report returns, the piece is dropped
        }
    }
    return true;
}

int ClipNearOnly(const void* const* vertices, const uint8_t* codes, int count) {
    Polygon poly = Prepare(vertices, codes, count);
    int next = count;
    if (!ClipAgainst(poly, Plane::Near, next)) return -1;
    uint8_t all = 0xFF;
    for (int i = 0; i < poly.count; ++i) all &= poly.code[i];
    if (all != 0) return 0;
    Finish(poly);
    return EmitFan(poly, next);
}

int ClipFull(const void* const* vertices, const uint8_t* codes, uint8_t maskedOr, int count) {
    if (!SelfCheck(vertices, codes, count)) return -1;
    Polygon poly = Prepare(vertices, codes, count);
    int next = count;
    if ((maskedOr & kTarnCodeNear) && !ClipAgainst(poly, Plane::Near, next)) return -1;
    if ((maskedOr & kTarnCodeFar) && !ClipAgainst(poly, Plane::Far, next)) return -1;
    uint8_t sides = 0;
    for (int i = 0; i < poly.count; ++i) sides |= poly.code[i];
    if ((sides & kTarnCodeBottom) && !ClipAgainst(poly, Plane::Bottom, next)) return -1;
    if ((sides & kTarnCodeTop) && !ClipAgainst(poly, Plane::Top, next)) return -1;
    if ((sides & kTarnCodeLeft) && !ClipAgainst(poly, Plane::Left, next)) return -1;
    if ((sides & kTarnCodeRight) && !ClipAgainst(poly, Plane::Right, next)) return -1;
    Finish(poly);
    return EmitFan(poly, next);
}

// The primitive decision for a triangle given by pointers and codes.
int SubmitTriangle(const void* v0, const void* v1, const void* v2, const uint8_t* codes) {
    ClipState& st = State();
    if ((codes[0] & codes[1] & codes[2]) != 0) return 0;
    const uint8_t masked = (codes[0] | codes[1] | codes[2]) & st.mask;
    if (masked == 0) {
        if (!RoutinesReady("triangle", st.routines.triangle != nullptr)) return -1;
        return st.routines.triangle(v0, v1, v2);
    }
    const void* vertices[3] = {v0, v1, v2};
    return TarnClipPolygon(vertices, codes, masked, 3);
}

int SubmitQuad(const void* const* v, const uint8_t* codes) {
    ClipState& st = State();
    if ((codes[0] & codes[1] & codes[2] & codes[3]) != 0) return 0;
    if (((codes[0] | codes[1] | codes[2] | codes[3]) & st.mask) == 0) {
        if (!RoutinesReady("quad", st.routines.quad != nullptr)) return -1;
        return st.routines.quad(v[0], v[1], v[2], v[3]);
    }
    const uint8_t first[3] = {codes[0], codes[1], codes[2]};
    const uint8_t second[3] = {codes[0], codes[2], codes[3]};
    const int a = SubmitTriangle(v[0], v[1], v[2], first);
    const int b = SubmitTriangle(v[0], v[2], v[3], second);
    return a < 0 || b < 0 ? -1 : a + b;
}

const void* At(const void* base, int index, int size) {
    return static_cast<const uint8_t*>(base) + static_cast<ptrdiff_t>(index) * size;
}

int Combine(int total, int result) { return total < 0 || result < 0 ? -1 : total + result; }

// Moves end a of a line to where its coordinate (x or y) reaches `edge`.
void MoveToEdge(TarnScreenVertex& a, const TarnScreenVertex& b, bool xAxis, float edge) {
    const float ac = xAxis ? a.sx : a.sy, bc = xAxis ? b.sx : b.sy;
    const float t = (ac - edge) / (ac - bc);
    if (xAxis) {
        a.sy = a.sy - t * (a.sy - b.sy);
        a.sx = edge;
    } else {
        a.sx = a.sx - t * (a.sx - b.sx);
        a.sy = edge;
    }
    a.sz = a.sz - t * (a.sz - b.sz);
    a.rhw = a.rhw - t * (a.rhw - b.rhw);
}

int DrawLine(const void* p0, const void* p1, uint8_t c0, uint8_t c1) {
    ClipState& st = State();
    if ((c0 & c1) != 0) return 0;
    if (!RoutinesReady("line", st.routines.line != nullptr)) return -1;
    if ((c0 | c1) == 0) return st.routines.line(p0, p1);
    TarnScreenVertex v[2] = {LoadVertex(p0, 32), LoadVertex(p1, 32)};
    uint8_t c[2] = {c0, c1};
    const TarnClipWindow& w = st.window;
    for (int k = 0; k < 2; ++k) {
        if (!(c[k] & kTarnCodeNear)) continue;
        TarnScreenVertex& a = v[k];
        const TarnScreenVertex& b = v[1 - k];
        const float t = (a.rhw - w.nearW) / (a.rhw - b.rhw);
        a.sx = a.sx - t * (a.sx - b.sx);
        a.sy = a.sy - t * (a.sy - b.sy);
        a.rhw = w.nearW;
        c[k] = SideCode(a.sx, a.sy);
        if (c[0] & c[1]) return 0;
    }
    for (int k = 0; k < 2; ++k) {
        if (!(c[k] & (kTarnCodeLeft | kTarnCodeRight))) continue;
        MoveToEdge(v[k], v[1 - k], true, (c[k] & kTarnCodeLeft) ? w.left : w.right);
        c[k] = YSideCode(v[k].sy);
        if (c[0] & c[1]) return 0;
    }
    for (int k = 0; k < 2; ++k) {
        if (!(c[k] & (kTarnCodeTop | kTarnCodeBottom))) continue;
        MoveToEdge(v[k], v[1 - k], false, (c[k] & kTarnCodeTop) ? w.top : w.bottom);
        c[k] = 0;
    }
    return st.routines.line(&v[0], &v[1]);
}

int FlushBatch(const void* base) {
    ClipState& st = State();
    if (st.batchEntries == 0) return 0;
    const int triangles = st.batchEntries / 3;
    st.batchEntries = 0;
    if (!RoutinesReady("indexed triangle", st.routines.indexedTriangles != nullptr)) return -1;
    return st.routines.indexedTriangles(triangles, base, st.batch);
}

// One triangle of a batch: gathered when it needs no clipping, else clipped
// at once (after drawing a big enough batch first).
int BatchTriangle(const void* base, int i0, int i1, int i2, const uint8_t* codes, int drawBeforeClipAbove) {
    ClipState& st = State();
    const uint8_t c[3] = {codes[i0], codes[i1], codes[i2]};
    if ((c[0] & c[1] & c[2]) != 0) return 0;
    const uint8_t masked = (c[0] | c[1] | c[2]) & st.mask;
    const int size = TarnVertexSize();
    if (masked == 0) {
        int result = 0;
        if (st.batchEntries > kBatchCapacity - 3) result = FlushBatch(base);
        st.batch[st.batchEntries++] = i0;
        st.batch[st.batchEntries++] = i1;
        st.batch[st.batchEntries++] = i2;
        return result;
    }
    int result = 0;
    if (st.batchEntries / 3 > drawBeforeClipAbove) result = FlushBatch(base);
    const void* vertices[3] = {At(base, i0, size), At(base, i1, size), At(base, i2, size)};
    return Combine(result, TarnClipPolygon(vertices, c, masked, 3));
}

}  // namespace

void TarnSetClipWindow(float x, float y, float width, float height, float nearW, float farW) {
    ApplyWindow(State(), x, y, width, height, nearW, farW);
}

const TarnClipWindow& TarnGetClipWindow() { return State().window; }

void TarnSetVertexFormat(int format) {
    if (format == 0 || format == 1) State().format = format;
}

int TarnVertexSize() { return State().format == 1 ? 40 : 32; }

void TarnSetClipMode(int mode) {
    State().mode = mode;
    State().mask = mode == 5 ? kTarnCodeNear : 0xFF;
}

void TarnSetDepthRule(int rule) { State().depthRule = rule; }

void TarnSetPrimitiveRoutines(const TarnPrimitiveRoutines* routines) {
    State().routines = routines != nullptr ? *routines : TarnPrimitiveRoutines{};
}

uint8_t TarnComputeOutcode(const void* vertex, uint8_t* out) {
    float v[4];
    std::memcpy(v, vertex, sizeof v);
    const uint8_t code = Outcode(v[0], v[1], v[2], v[3]);
    if (out != nullptr) *out = code;
    return code;
}

uint8_t TarnComputeSideOutcode(const void* vertex) {
    float v[2];
    std::memcpy(v, vertex, sizeof v);
    return SideCode(v[0], v[1]);
}

uint8_t TarnComputeBehindOutcode(const void* vertex) {
    float v[3];
    std::memcpy(v, vertex, sizeof v);
    return Bits(v[2]) < 0 ? kTarnCodeNear : 0;
}

uint8_t TarnComputeXywOutcode(const void* vertex) {
    float v[3];
    std::memcpy(v, vertex, sizeof v);
    if (Bits(v[2]) < 0) return kTarnCodeNear;
    return static_cast<uint8_t>((Bits(v[2]) >= Bits(1.0f) ? kTarnCodeFar : 0) | SideCode(v[0], v[1]));
}

int TarnClipPolygon(const void* const* vertices, const uint8_t* codes, uint8_t maskedOr, int count) {
    if (count < 3 || count > 4) return -1;
    switch (State().mode) {
        case 0:
        case 2:
        case 3:
        case 4:
        case 6: return ClipFull(vertices, codes, maskedOr, count);
        case 5: return ClipNearOnly(vertices, codes, count);
        default: TarnAlert("[TARNGRAPH] unsupported clip mode selected\n"); return -1;
    }
}

int TarnDrawLines(int count, const void* base, const int* indices, const uint8_t* codes) {
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int a = indices[2 * i], b = indices[2 * i + 1];
        total = Combine(total, DrawLine(At(base, a, 32), At(base, b, 32), codes[a], codes[b]));
    }
    return total;
}

int TarnDrawTriangles(int count, const void* base, const int* indices, const uint8_t* codes) {
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int* t = indices + 3 * i;
        const uint8_t c[3] = {codes[t[0]], codes[t[1]], codes[t[2]]};
        total = Combine(total, SubmitTriangle(At(base, t[0], 32), At(base, t[1], 32), At(base, t[2], 32), c));
    }
    return total;
}

int TarnDrawQuads(int count, const void* base, const int* indices, const uint8_t* codes) {
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int* q = indices + 4 * i;
        const void* v[4] = {At(base, q[0], 32), At(base, q[1], 32), At(base, q[2], 32), At(base, q[3], 32)};
        const uint8_t c[4] = {codes[q[0]], codes[q[1]], codes[q[2]], codes[q[3]]};
        total = Combine(total, SubmitQuad(v, c));
    }
    return total;
}

int TarnDrawTriangleStrip(int count, const void* base, const int* indices, const uint8_t* codes) {
    int total = 0;
    for (int k = 0; k < count; ++k) {
        int a = indices[k], b = indices[k + 1], c = indices[k + 2];
        if (k & 1) std::swap(a, c);  // keeps the winding
        const uint8_t code[3] = {codes[a], codes[b], codes[c]};
        total = Combine(total, SubmitTriangle(At(base, a, 32), At(base, b, 32), At(base, c, 32), code));
    }
    return total;
}

int TarnDrawTriangleBatch(int count, const void* base, const int* indices, const uint8_t* codes) {
    State().batchEntries = 0;
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int* t = indices + 3 * i;
        total = Combine(total, BatchTriangle(base, t[0], t[1], t[2], codes, 200));
    }
    return Combine(total, FlushBatch(base));
}

int TarnDrawQuadBatch(int count, const void* base, const int* indices, const uint8_t* codes) {
    State().batchEntries = 0;
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int* q = indices + 4 * i;
        total = Combine(total, BatchTriangle(base, q[0], q[1], q[2], codes, 4));
        total = Combine(total, BatchTriangle(base, q[0], q[2], q[3], codes, 4));
    }
    return Combine(total, FlushBatch(base));
}

int TarnDrawTriangle(const void* v0, const void* v1, const void* v2) {
    const uint8_t c[3] = {TarnComputeOutcode(v0), TarnComputeOutcode(v1), TarnComputeOutcode(v2)};
    return SubmitTriangle(v0, v1, v2, c);
}

int TarnDrawQuad(const void* v0, const void* v1, const void* v2, const void* v3) {
    const void* v[4] = {v0, v1, v2, v3};
    const uint8_t c[4] = {TarnComputeOutcode(v0), TarnComputeOutcode(v1), TarnComputeOutcode(v2),
                          TarnComputeOutcode(v3)};
    return SubmitQuad(v, c);
}

void TarnResetClipState() {
    ClipState& st = State();
    st.format = 0;
    st.mode = 0;
    st.mask = 0xFF;
    st.depthRule = 0;
    st.routines = TarnPrimitiveRoutines{};
    st.batchEntries = 0;
    ApplyWindow(st, 0, 0, 640, 480, 1.0f / 1.0001f, 1.0f / (1.0001f + 25000.0f));
}
