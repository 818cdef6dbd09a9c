#include "launcher/PictureScript.h"

#include <algorithm>
#include <climits>
#include <sstream>

namespace {

struct Colour {
    uint8_t v[3] = {0, 0, 0};
};

class Painter {
public:
    explicit Painter(LauncherPicture& p) : mPicture(p) {}

    void Point(int32_t x, int32_t y, const Colour& c) {
        if (x < 0 || y < 0 || x >= mPicture.Width() || y >= mPicture.Height()) return;
        uint8_t* row = mPicture.Row(y);
        if (mPicture.BitCount() == 8) {
            row[x] = c.v[0];
        } else {
            row[3 * x] = c.v[2];
            row[3 * x + 1] = c.v[1];
            row[3 * x + 2] = c.v[0];
        }
    }
    void Box(int32_t x, int32_t y, int32_t w, int32_t h, const Colour& c) {
        const int64_t bottom = std::min<int64_t>(mPicture.Height(), int64_t(y) + h);
        const int64_t right = std::min<int64_t>(mPicture.Width(), int64_t(x) + w);
        for (int64_t r = std::max(0, y); r < bottom; ++r)
            for (int64_t col = std::max(0, x); col < right; ++col) Point(int32_t(col), int32_t(r), c);
    }
    // Points strictly inside radius r and not inside radius inner.
    void Ring(int32_t cx, int32_t cy, int32_t r, int32_t inner, const Colour& c) {
        if (r <= 0) return;
        // Only the rows and columns inside the picture are visited.
        const int32_t y0 = int32_t(std::max<int64_t>(0, int64_t(cy) - r));
        const int32_t y1 = int32_t(std::min<int64_t>(mPicture.Height() - 1, int64_t(cy) + r));
        const int32_t x0 = int32_t(std::max<int64_t>(0, int64_t(cx) - r));
        const int32_t x1 = int32_t(std::min<int64_t>(mPicture.Width() - 1, int64_t(cx) + r));
        for (int32_t y = y0; y <= y1; ++y)
            for (int32_t x = x0; x <= x1; ++x) {
                const int64_t d = (int64_t(x) - cx) * (int64_t(x) - cx) + (int64_t(y) - cy) * (int64_t(y) - cy);
                if (d < int64_t(r) * r && (inner <= 0 || d >= int64_t(inner) * inner)) Point(x, y, c);
            }
    }
    void Gradient(int32_t x, int32_t y, int32_t w, int32_t h, const Colour& a, const Colour& b) {
        const int64_t first = std::max<int64_t>(0, -int64_t(y));
        const int64_t last = std::min<int64_t>(h, int64_t(mPicture.Height()) - y);
        for (int64_t r = first; r < last; ++r) {
            Colour c;
            for (int i = 0; i < 3; ++i)
                c.v[i] = static_cast<uint8_t>(a.v[i] + (int64_t(b.v[i]) - a.v[i]) * r / std::max<int64_t>(1, h - 1));
            Box(x, int32_t(y + r), w, 1, c);
        }
    }

private:
    LauncherPicture& mPicture;
};

bool PlainName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) return false;
    std::istringstream parts(name);
    std::string part;
    while (std::getline(parts, part, '/'))
        if (part.empty() || part == "." || part == "..") return false;
    return true;
}

}  // namespace

bool RunPictureScript(const std::string& text, std::vector<ScriptedPicture>& out, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    uint64_t total = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb) || verb[0] == '#') continue;
        if (verb == "picture") {
            ScriptedPicture p;
            int32_t w = 0, h = 0, bits = 0;
            if (!(words >> p.name >> w >> h >> bits)) return fail("picture needs NAME WIDTH HEIGHT BITS");
            if (!PlainName(p.name)) return fail("picture name must be a relative path");
            if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return fail("picture size out of range");
            if (bits != 8 && bits != 24) return fail("pictures have 8 or 24 bits");
            // A description makes a disc's worth of pictures, not more.
            total += uint64_t(w) * h * (bits / 8);
            if (total > (uint64_t(64) << 20)) return fail("pictures too large in all");
            p.picture = LauncherPicture::Make(w, h, static_cast<uint16_t>(bits));
            out.push_back(std::move(p));
            continue;
        }
        if (verb == "palette") {
            ScriptedPicture p;
            std::string extra;
            if (!(words >> p.name) || (words >> extra)) return fail("palette needs NAME only");
            if (!PlainName(p.name)) return fail("palette name must be a relative path");
            std::vector<std::array<uint8_t, 4>> entries(256);
            for (int i = 0; i < 256; ++i)
                entries[size_t(i)] = {uint8_t((i >> 5) * 255 / 7), uint8_t(((i >> 2) & 7) * 255 / 7),
                                      uint8_t((i & 3) * 255 / 3), 0};
            p.bytes = WriteRiffPalette(entries);
            out.push_back(std::move(p));
            continue;
        }
        if (out.empty() || !out.back().picture) return fail("'" + verb + "' before any picture");
        LauncherPicture& picture = *out.back().picture;
        const int channels = picture.BitCount() == 8 ? 1 : 3;
        auto colour = [&](Colour& c) {
            for (int i = 0; i < channels; ++i) {
                int32_t v = -1;
                if (!(words >> v) || v < 0 || v > 255) return false;
                c.v[i] = static_cast<uint8_t>(v);
            }
            return true;
        };
        Painter paint(picture);
        int32_t a = 0, b = 0, c = 0, d = 0;
        Colour first, second;
        if (verb == "fill") {
            if (!colour(first)) return fail("fill needs a colour");
            paint.Box(0, 0, picture.Width(), picture.Height(), first);
        } else if (verb == "box") {
            if (!(words >> a >> b >> c >> d) || !colour(first)) return fail("box needs X Y W H and a colour");
            paint.Box(a, b, c, d, first);
        } else if (verb == "disc") {
            if (!(words >> a >> b >> c) || !colour(first)) return fail("disc needs CX CY R and a colour");
            paint.Ring(a, b, c, 0, first);
        } else if (verb == "ring") {
            if (!(words >> a >> b >> c >> d) || !colour(first)) return fail("ring needs CX CY R T and a colour");
            paint.Ring(a, b, c, int32_t(std::clamp<int64_t>(int64_t(c) - d, INT32_MIN, INT32_MAX)), first);
        } else if (verb == "gradient") {
            if (!(words >> a >> b >> c >> d) || !colour(first) || !colour(second))
                return fail("gradient needs X Y W H and two colours");
            paint.Gradient(a, b, c, d, first, second);
        } else {
            return fail("unknown step '" + verb + "'");
        }
        std::string extra;
        if (words >> extra) return fail("extra words after '" + verb + "'");
    }
    return true;
}
