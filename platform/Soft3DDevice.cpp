#include "platform/Soft3DDevice.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// Screen positions beyond this many pixels are refused rather than risking
// the fixed-point range (clipped triangles never come near it).
constexpr float kScreenLimit = 1 << 20;

// NaN counts as 0, so no bad input reaches an integer conversion.
float Clamp01(float v) { return !(v > 0.0f) ? 0.0f : (v > 1.0f ? 1.0f : v); }

int To8(float v) { return static_cast<int>(Clamp01(v) * 255.0f + 0.5f); }

void Normalize(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Expand565(uint16_t p, int rgb[3]) {
    const int r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

void Expand(PixelLayout layout, uint16_t p, int rgb[3]) {
    if (layout == PixelLayout::Rgb565) return Expand565(p, rgb);
    const int r = (p >> 10) & 0x1F, g = (p >> 5) & 0x1F, b = p & 0x1F;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 3) | (g >> 2);
    rgb[2] = (b << 3) | (b >> 2);
}

uint16_t Pack(PixelLayout layout, int r, int g, int b) {
    if (layout == PixelLayout::Rgb565) return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

// Texel index along one axis, wrapped into 0..size-1.
int Wrap(int64_t i, int size) {
    if ((size & (size - 1)) == 0) return static_cast<int>(i & (size - 1));  // the usual power-of-two sides
    int64_t m = i % size;
    return static_cast<int>(m < 0 ? m + size : m);
}

int64_t FloorToInt(float t) {
    if (!(std::fabs(t) < 1e9f)) return 0;  // NaN and absurd coordinates
    return static_cast<int64_t>(std::floor(t));
}

// Signed distance of a clip-space vertex to one of the six planes, inside
// when not negative: near, far, left, right, bottom, top.
float PlaneDistance(const Soft3DDevice::ClipVertex& v, int plane) {
    switch (plane) {
        case 0: return v.z;
        case 1: return v.w - v.z;
        case 2: return v.x + v.w;
        case 3: return v.w - v.x;
        case 4: return v.y + v.w;
        default: return v.w - v.y;
    }
}

Soft3DDevice::ClipVertex Lerp(const Soft3DDevice::ClipVertex& a, const Soft3DDevice::ClipVertex& b, float t) {
    auto mix = [t](float p, float q) { return p + (q - p) * t; };
    return {mix(a.x, b.x), mix(a.y, b.y), mix(a.z, b.z), mix(a.w, b.w), mix(a.r, b.r),
            mix(a.g, b.g), mix(a.b, b.b), mix(a.u, b.u), mix(a.v, b.v)};
}

// One clip plane over a polygon. New points are always computed from the
// inside vertex towards the outside one, so an edge shared by two
// triangles is cut at the same point whichever way they run.
int ClipAgainst(const Soft3DDevice::ClipVertex* in, int count, int plane, Soft3DDevice::ClipVertex* out) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const auto& cur = in[i];
        const auto& prev = in[(i + count - 1) % count];
        const float dc = PlaneDistance(cur, plane), dp = PlaneDistance(prev, plane);
        const bool curIn = dc >= 0.0f, prevIn = dp >= 0.0f;
        if (curIn != prevIn) {
            if (prevIn)
                out[n++] = Lerp(prev, cur, dp / (dp - dc));
            else
                out[n++] = Lerp(cur, prev, dc / (dc - dp));
        }
        if (curIn) out[n++] = cur;
    }
    return n;
}

int Outcode(const Soft3DDevice::ClipVertex& v) {
    int code = 0;
    for (int plane = 0; plane < 6; ++plane)
        if (PlaneDistance(v, plane) < 0.0f) code |= 1 << plane;
    return code;
}

// An attribute over the triangle as value = c + dx * px + dy * py at the
// centre of pixel (px, py).
struct Plane {
    float c, dx, dy;
    float At(float rowBase, int32_t x) const { return rowBase + dx * static_cast<float>(x); }
    float Row(int32_t y) const { return c + dy * static_cast<float>(y); }
};

}  // namespace

struct Soft3DDevice::ScreenVertex {
    int64_t X, Y;  // 28.4 fixed point
    float fx, fy;  // the same in pixels
    float z, invW, uw, vw, r, g, b;
};

Soft3DMatrix Soft3DMatrix::Identity() {
    Soft3DMatrix m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

Soft3DMatrix Soft3DMatrix::Multiply(const Soft3DMatrix& a, const Soft3DMatrix& b) {
    Soft3DMatrix r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

Soft3DDevice::Soft3DDevice()
    : world_(Soft3DMatrix::Identity()), view_(Soft3DMatrix::Identity()), projection_(Soft3DMatrix::Identity()) {}

Rect Soft3DDevice::EmptyExtents() { return {INT_MAX, INT_MAX, INT_MIN, INT_MIN}; }

bool Soft3DDevice::SetTarget(Surface* color, Surface* depth) {
    if (color && !IsColorLayout(color->Layout())) return false;
    if (depth && (!color || depth->Layout() != PixelLayout::Depth16 || depth->Width() != color->Width() ||
                  depth->Height() != color->Height()))
        return false;
    color_ = color;
    depth_ = depth;
    return true;
}

void Soft3DDevice::SetTransform(Soft3DTransform which, const Soft3DMatrix& matrix) {
    switch (which) {
        case Soft3DTransform::World: world_ = matrix; break;
        case Soft3DTransform::View: view_ = matrix; break;
        case Soft3DTransform::Projection: projection_ = matrix; break;
    }
}

const Soft3DMatrix& Soft3DDevice::GetTransform(Soft3DTransform which) const {
    switch (which) {
        case Soft3DTransform::World: return world_;
        case Soft3DTransform::View: return view_;
        default: return projection_;
    }
}

bool Soft3DDevice::SetLights(const Soft3DLight* lights, size_t count) {
    if (count > kMaxLights || (count > 0 && !lights)) return false;
    std::copy(lights, lights + count, lights_);
    lightCount_ = count;
    return true;
}

bool Soft3DDevice::SetTexture(const Surface* texture, Soft3DTextureOp op, Soft3DFilter filter) {
    if (texture && texture->Layout() != PixelLayout::Rgb565) return false;
    texture_ = texture;
    textureOp_ = op;
    filter_ = filter;
    return true;
}

void Soft3DDevice::Light(const Soft3DVertex& in, const Soft3DMatrix& w, float out[3]) const {
    if (!lighting_) {
        out[0] = out[1] = out[2] = 1.0f;
        return;
    }
    const float p[3] = {in.x * w.m[0][0] + in.y * w.m[1][0] + in.z * w.m[2][0] + w.m[3][0],
                        in.x * w.m[0][1] + in.y * w.m[1][1] + in.z * w.m[2][1] + w.m[3][1],
                        in.x * w.m[0][2] + in.y * w.m[1][2] + in.z * w.m[2][2] + w.m[3][2]};
    float n[3] = {in.nx * w.m[0][0] + in.ny * w.m[1][0] + in.nz * w.m[2][0],
                  in.nx * w.m[0][1] + in.ny * w.m[1][1] + in.nz * w.m[2][1],
                  in.nx * w.m[0][2] + in.ny * w.m[1][2] + in.nz * w.m[2][2]};
    Normalize(n);
    const Soft3DMaterial& m = material_;
    const float ambient[3] = {((ambient_ >> 16) & 0xFF) / 255.0f, ((ambient_ >> 8) & 0xFF) / 255.0f,
                              (ambient_ & 0xFF) / 255.0f};
    float c[3] = {m.emissive.r + ambient[0] * m.ambient.r, m.emissive.g + ambient[1] * m.ambient.g,
                  m.emissive.b + ambient[2] * m.ambient.b};
    for (size_t i = 0; i < lightCount_; ++i) {
        const Soft3DLight& light = lights_[i];
        float l[3];
        float scale = 1.0f;
        if (light.kind == Soft3DLightKind::Directional) {
            l[0] = -light.direction[0];
            l[1] = -light.direction[1];
            l[2] = -light.direction[2];
            Normalize(l);
        } else if (light.kind == Soft3DLightKind::ParallelPoint) {
            // One direction for the whole object: from its origin to the light.
            l[0] = light.position[0] - w.m[3][0];
            l[1] = light.position[1] - w.m[3][1];
            l[2] = light.position[2] - w.m[3][2];
            Normalize(l);
        } else {
            l[0] = light.position[0] - p[0];
            l[1] = light.position[1] - p[1];
            l[2] = light.position[2] - p[2];
            const float d = std::sqrt(Dot(l, l));
            if (d > light.range) continue;
            Normalize(l);
            const float a = light.attenuation0 + light.attenuation1 * d + light.attenuation2 * d * d;
            if (a > 0.0f) scale = 1.0f / a;
            if (light.kind == Soft3DLightKind::Spot) {
                float axis[3] = {light.direction[0], light.direction[1], light.direction[2]};
                Normalize(axis);
                const float rho = -Dot(l, axis);
                const float inner = std::cos(light.theta * 0.5f), outer = std::cos(light.phi * 0.5f);
                if (rho <= outer) continue;
                if (rho <= inner && inner > outer)
                    scale *= light.falloff == 0.0f ? 1.0f : std::pow((rho - outer) / (inner - outer), light.falloff);
            }
        }
        const float ndl = Dot(n, l);
        if (ndl <= 0.0f) continue;
        const float k = ndl * scale;
        c[0] += light.color.r * m.diffuse.r * k;
        c[1] += light.color.g * m.diffuse.g * k;
        c[2] += light.color.b * m.diffuse.b * k;
    }
    for (int i = 0; i < 3; ++i) out[i] = Clamp01(c[i]);
}

Rect Soft3DDevice::DrawIndexed(const Soft3DVertex* vertices, uint32_t firstVertex, uint32_t vertexCount,
                               const uint16_t* indices, size_t indexCount, bool clip) {
    Rect extents = EmptyExtents();
    if (!color_ || !vertices || !indices || vertexCount == 0 || color_->IsLost() || (depth_ && depth_->IsLost()))
        return extents;
    scissor_ = {std::max(viewport_.left, 0), std::max(viewport_.top, 0), std::min(viewport_.right, color_->Width()),
                std::min(viewport_.bottom, color_->Height())};
    if (scissor_.IsEmpty()) return extents;

    // Every vertex of the range is transformed and lit once.
    const Soft3DMatrix toClip = Soft3DMatrix::Multiply(Soft3DMatrix::Multiply(world_, view_), projection_);
    std::vector<ClipVertex> clipped(vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i) {
        const Soft3DVertex& in = vertices[firstVertex + i];
        ClipVertex& out = clipped[i];
        const auto& t = toClip.m;
        out.x = in.x * t[0][0] + in.y * t[1][0] + in.z * t[2][0] + t[3][0];
        out.y = in.x * t[0][1] + in.y * t[1][1] + in.z * t[2][1] + t[3][1];
        out.z = in.x * t[0][2] + in.y * t[1][2] + in.z * t[2][2] + t[3][2];
        out.w = in.x * t[0][3] + in.y * t[1][3] + in.z * t[2][3] + t[3][3];
        float rgb[3];
        Light(in, world_, rgb);
        out.r = rgb[0];
        out.g = rgb[1];
        out.b = rgb[2];
        out.u = in.u;
        out.v = in.v;
    }

    for (size_t t = 0; t + 3 <= indexCount; t += 3) {
        ClipVertex polygon[3];
        bool valid = true;
        for (int k = 0; k < 3; ++k) {
            const uint32_t index = indices[t + k];
            if (index < firstVertex || index - firstVertex >= vertexCount) {
                valid = false;
                break;
            }
            polygon[k] = clipped[index - firstVertex];
        }
        if (!valid) continue;
        if (!clip) {
            DrawPolygon(polygon, 3, extents);
            continue;
        }
        const int c0 = Outcode(polygon[0]), c1 = Outcode(polygon[1]), c2 = Outcode(polygon[2]);
        if (c0 & c1 & c2) continue;
        if ((c0 | c1 | c2) == 0) {
            DrawPolygon(polygon, 3, extents);
            continue;
        }
        ClipVertex a[16], b[16];
        std::copy(polygon, polygon + 3, a);
        int count = 3;
        for (int plane = 0; plane < 6 && count >= 3; ++plane) {
            if (!((c0 | c1 | c2) & (1 << plane))) continue;
            count = ClipAgainst(a, count, plane, b);
            std::copy(b, b + count, a);
        }
        if (count >= 3) DrawPolygon(a, count, extents);
    }
    return extents;
}

void Soft3DDevice::DrawPolygon(const ClipVertex* polygon, int count, Rect& extents) {
    ScreenVertex s[16];
    const float halfW = static_cast<float>(viewport_.right - viewport_.left) * 0.5f;
    const float halfH = static_cast<float>(viewport_.bottom - viewport_.top) * 0.5f;
    for (int i = 0; i < count; ++i) {
        const ClipVertex& v = polygon[i];
        if (!(v.w > 1e-30f)) return;  // on or behind the eye: not drawable unclipped
        const float invW = 1.0f / v.w;
        const float sx = static_cast<float>(viewport_.left) + (v.x * invW + 1.0f) * halfW;
        const float sy = static_cast<float>(viewport_.top) + (1.0f - v.y * invW) * halfH;
        if (!(std::fabs(sx) < kScreenLimit && std::fabs(sy) < kScreenLimit) || !std::isfinite(v.z * invW)) return;
        ScreenVertex& o = s[i];
        o.X = std::lrint(sx * 16.0f);
        o.Y = std::lrint(sy * 16.0f);
        o.fx = static_cast<float>(o.X) / 16.0f;
        o.fy = static_cast<float>(o.Y) / 16.0f;
        o.z = v.z * invW;
        o.invW = invW;
        o.uw = v.u * invW;
        o.vw = v.v * invW;
        o.r = v.r;
        o.g = v.g;
        o.b = v.b;
    }
    for (int i = 1; i + 1 < count; ++i) DrawTriangle(s[0], s[i], s[i + 1], extents);
}

void Soft3DDevice::Sample(float u, float v, int rgb[3]) const {
    const Surface& t = *texture_;
    const int w = t.Width(), h = t.Height();
    const uint8_t* bits = t.Pixels();
    const int32_t pitch = t.PitchBytes();
    auto texel = [&](int x, int y, int out[3]) {
        Expand565(*reinterpret_cast<const uint16_t*>(bits + static_cast<size_t>(y) * pitch + x * 2), out);
    };
    if (filter_ == Soft3DFilter::Point) {
        texel(Wrap(FloorToInt(u * w), w), Wrap(FloorToInt(v * h), h), rgb);
        return;
    }
    const float fu = u * w - 0.5f, fv = v * h - 0.5f;
    const int64_t iu = FloorToInt(fu), iv = FloorToInt(fv);
    const float ax = std::clamp(fu - static_cast<float>(iu), 0.0f, 1.0f);
    const float ay = std::clamp(fv - static_cast<float>(iv), 0.0f, 1.0f);
    const int x0 = Wrap(iu, w), x1 = Wrap(iu + 1, w), y0 = Wrap(iv, h), y1 = Wrap(iv + 1, h);
    int c00[3], c10[3], c01[3], c11[3];
    texel(x0, y0, c00);
    texel(x1, y0, c10);
    texel(x0, y1, c01);
    texel(x1, y1, c11);
    for (int i = 0; i < 3; ++i) {
        const float top = c00[i] + (c10[i] - c00[i]) * ax;
        const float bottom = c01[i] + (c11[i] - c01[i]) * ax;
        rgb[i] = static_cast<int>(top + (bottom - top) * ay + 0.5f);
    }
}

void Soft3DDevice::DrawTriangle(const ScreenVertex& a, const ScreenVertex& b0, const ScreenVertex& c0, Rect& extents) {
    const ScreenVertex* v1 = &b0;
    const ScreenVertex* v2 = &c0;
    int64_t area = (v1->X - a.X) * (v2->Y - a.Y) - (v2->X - a.X) * (v1->Y - a.Y);
    if (area == 0) return;
    if (area < 0) {
        std::swap(v1, v2);
        area = -area;
    }
    const ScreenVertex* v[3] = {&a, v1, v2};

    // Edge i runs opposite vertex i; inside where every edge value is >= 0,
    // or > 0 on edges that are not top or left edges.
    struct Edge {
        int64_t stepX, stepY, origin;  // value at the centre of pixel (0, 0)
        int64_t bias;
    } edges[3];
    for (int i = 0; i < 3; ++i) {
        const ScreenVertex& p = *v[(i + 1) % 3];
        const ScreenVertex& q = *v[(i + 2) % 3];
        const int64_t dx = q.X - p.X, dy = q.Y - p.Y;
        // E(x, y) = dx * (y - p.Y) - dy * (x - p.X), centres at 16n + 8.
        edges[i].stepX = -dy * 16;
        edges[i].stepY = dx * 16;
        edges[i].origin = dx * (8 - p.Y) - dy * (8 - p.X);
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        edges[i].bias = topLeft ? 0 : -1;
    }

    int64_t minX = std::min({a.X, v1->X, v2->X}), maxX = std::max({a.X, v1->X, v2->X});
    int64_t minY = std::min({a.Y, v1->Y, v2->Y}), maxY = std::max({a.Y, v1->Y, v2->Y});
    const int32_t x0 = static_cast<int32_t>(std::max<int64_t>(minX >> 4, scissor_.left));
    const int32_t x1 = static_cast<int32_t>(std::min<int64_t>((maxX >> 4) + 1, scissor_.right));
    const int32_t y0 = static_cast<int32_t>(std::max<int64_t>(minY >> 4, scissor_.top));
    const int32_t y1 = static_cast<int32_t>(std::min<int64_t>((maxY >> 4) + 1, scissor_.bottom));
    if (x0 >= x1 || y0 >= y1) return;

    // Attribute planes, set up in double from the snapped positions.
    const double ax = a.fx, ay = a.fy;
    const double e1x = v1->fx - ax, e1y = v1->fy - ay, e2x = v2->fx - ax, e2y = v2->fy - ay;
    const double inverseDet = 1.0 / (e1x * e2y - e2x * e1y);
    auto plane = [&](float f0, float f1, float f2) {
        const double d1 = f1 - f0, d2 = f2 - f0;
        const double dx = (d1 * e2y - d2 * e1y) * inverseDet, dy = (d2 * e1x - d1 * e2x) * inverseDet;
        return Plane{static_cast<float>(f0 + dx * (0.5 - ax) + dy * (0.5 - ay)), static_cast<float>(dx),
                     static_cast<float>(dy)};
    };
    const Plane pz = plane(a.z, v1->z, v2->z);
    const Plane pr = plane(a.r, v1->r, v2->r), pg = plane(a.g, v1->g, v2->g), pb = plane(a.b, v1->b, v2->b);
    const bool textured = texture_ != nullptr;
    Plane pw{}, pu{}, pv{};
    if (textured) {
        pw = plane(a.invW, v1->invW, v2->invW);
        pu = plane(a.uw, v1->uw, v2->uw);
        pv = plane(a.vw, v1->vw, v2->vw);
    }

    const PixelLayout layout = color_->Layout();
    uint8_t* colorBits = color_->Pixels();
    const int32_t colorPitch = color_->PitchBytes();
    uint8_t* depthBits = depth_ ? depth_->Pixels() : nullptr;
    const int32_t depthPitch = depth_ ? depth_->PitchBytes() : 0;

    // State in locals: the stores below could otherwise alias it, and it
    // would be read again for every pixel.
    const bool modulate = textureOp_ == Soft3DTextureOp::Modulate, blend = blend_ == Soft3DBlend::SourceColor;
    const bool depthTest = depthBits != nullptr && depthTest_, depthWrite = depthBits && depthWrite_;
    int32_t left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    for (int32_t y = y0; y < y1; ++y) {
        int64_t e[3];
        for (int i = 0; i < 3; ++i) e[i] = edges[i].origin + edges[i].stepY * y + edges[i].stepX * x0 + edges[i].bias;
        const float rz = pz.Row(y), rr = pr.Row(y), rg = pg.Row(y), rb = pb.Row(y);
        const float rw = pw.Row(y), ru = pu.Row(y), rv = pv.Row(y);
        uint16_t* colorRow = reinterpret_cast<uint16_t*>(colorBits + static_cast<size_t>(y) * colorPitch);
        uint16_t* depthRow = depthBits ? reinterpret_cast<uint16_t*>(depthBits + static_cast<size_t>(y) * depthPitch)
                                       : nullptr;
        for (int32_t x = x0; x < x1; ++x, e[0] += edges[0].stepX, e[1] += edges[1].stepX, e[2] += edges[2].stepX) {
            if ((e[0] | e[1] | e[2]) < 0) continue;
            const uint16_t depth = static_cast<uint16_t>(Clamp01(pz.At(rz, x)) * 65535.0f + 0.5f);
            if (depthTest && depth > depthRow[x]) continue;
            int rgb[3] = {To8(pr.At(rr, x)), To8(pg.At(rg, x)), To8(pb.At(rb, x))};
            if (textured) {
                const float w = pw.At(rw, x);
                const float inv = w != 0.0f ? 1.0f / w : 0.0f;
                int tex[3];
                Sample(pu.At(ru, x) * inv, pv.At(rv, x) * inv, tex);
                for (int i = 0; i < 3; ++i)
                    rgb[i] = modulate ? (tex[i] * rgb[i] + 127) / 255 : tex[i];
            }
            if (blend) {
                int dst[3];
                Expand(layout, colorRow[x], dst);
                for (int i = 0; i < 3; ++i) rgb[i] = (rgb[i] * rgb[i] + dst[i] * (255 - rgb[i]) + 127) / 255;
            }
            colorRow[x] = Pack(layout, rgb[0], rgb[1], rgb[2]);
            if (depthWrite) depthRow[x] = depth;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = y + 1;
        }
    }
    if (left < right) {
        extents.left = std::min(extents.left, left);
        extents.top = std::min(extents.top, top);
        extents.right = std::max(extents.right, right);
        extents.bottom = std::max(extents.bottom, bottom);
    }
}

}  // namespace platform
