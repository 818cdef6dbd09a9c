#include "character/AnimDevice.h"

#include "character/DirectXErrorText.h"
#include "framework/cDataFileCatalog.h"
#include "platform/Clock.h"
#include "platform/Presenter.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <iterator>

namespace {

platform::Rect ToRect(const cRZRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool IsEmpty(const cRZRect& r) { return r.right <= r.left || r.bottom <= r.top; }

cRZRect Clip(const cRZRect& r, const cRZRect& to) {
    cRZRect out;
    if (!out.Intersect(r, to)) return {};
    return out;
}

// Texture files are read whole; nothing of ours comes near this.
constexpr uint32_t kMaxImageBytes = 64u << 20;

}  // namespace

AnimDevice::AnimDevice() : clock_(platform::TimeMs) {}

AnimDevice::~AnimDevice() { ReleaseSurfaces(); }

std::vector<AnimDevice::DeviceRecord> AnimDevice::EnumerateDevices() const {
    DeviceRecord rgb;
    rgb.name = "RGB Emulation";
    rgb.description = "Software rasteriser: 16-bit colour, 16-bit depth shared with the sprites";
    rgb.guid = {0xA4, 0x66, 0x5C, 0x60, 0x25, 0x99, 0xCF, 0x11, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    return {rgb};
}

uint32_t AnimDevice::ChooseDevice(bool preferHardware) {
    chosen_ = DeviceRecord{};
    chosen_.guid = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    devices_ = EnumerateDevices();
    const char* wanted = nullptr;
    if (preferHardware) {
        for (auto it = devices_.rbegin(); it != devices_.rend(); ++it)
            if (it->hardware) {
                chosen_ = *it;
                return Result(kDDDOk);
            }
        wanted = rasteriser_ != 0 ? "RGB Emulation" : "Ramp Emulation";
    } else {
        wanted = rasteriser_ == 2 ? "Reference Rasterizer" : (rasteriser_ == 1 ? "RGB Emulation" : "Ramp Emulation");
    }
    for (const DeviceRecord& d : devices_)
        if (d.name == wanted) {
            chosen_ = d;
            return Result(kDDDOk);
        }
    return Result(kDDDDeviceNameNotFound);
}

void AnimDevice::RegisterKinds() {
    cDataFileCatalog& catalog = GetDataFileCatalog();
    const uint32_t image = MakeTypeCode("IMAG"), zbuffer = MakeTypeCode("ZBUF"), mesh = MakeTypeCode("Mesh");
    catalog.RegisterType(image);
    catalog.AddSubType(image, MakeTypeCode("BMP"));
    catalog.AddSubType(image, MakeTypeCode("PPM"));
    catalog.RegisterType(zbuffer);
    catalog.AddSubType(zbuffer, MakeTypeCode("ZBF"));
    catalog.RegisterType(mesh);
    catalog.AddSubType(mesh, MakeTypeCode("MSB"));
    catalog.AddSubType(mesh, MakeTypeCode("MSH"));
    bitmapPath_ = cRZSearchPath("Bitmaps; ../Bitmaps");
    zBufferPath_ = cRZSearchPath("ZBuffers; ../ZBuffers");
    texturePath_ = cRZSearchPath("Textures; ../Textures");
}

void AnimDevice::ResetDamage() {
    for (cGZDirtyRegion* list : {&damage_, &damageLast_}) {
        list->Clear();
        list->AddRect(deviceRect_);
    }
    damage2_.Clear();
    damage2Last_.Clear();
}

uint32_t AnimDevice::InitOwn(platform::Presenter* presenter, bool fullscreen, bool preferHardware, int32_t width,
                             int32_t height, int32_t bitDepth, int32_t rasteriserChoice) {
    presenter_ = presenter;
    fullscreen_ = fullscreen;
    preferHardware_ = preferHardware;
    rasteriser_ = rasteriserChoice;
    bitDepth_ = bitDepth;
    ownsScreen_ = true;
    // Our screen is 16 bits whatever the desktop is; no mode is switched.
    if (bitDepth != 16 || width <= 0 || height <= 0) return Result(kDDDNoSuchDevice);
    deviceRect_ = {0, 0, width, height};
    if (const uint32_t code = ChooseDevice(preferHardware)) return code;
    RegisterKinds();
    if (const uint32_t code = CreateSurfaces(width, height, true)) return code;
    ResetDamage();
    return Result(kDDDOk);
}

uint32_t AnimDevice::InitShared(platform::Presenter* presenter, platform::Surface* renderTarget,
                                platform::Surface* zBuffer, int32_t width, int32_t height, int32_t bitDepth,
                                bool fullscreen, bool hardware, const Guid* deviceGuid, int32_t rasteriserChoice,
                                int32_t zDepth) {
    presenter_ = presenter;
    fullscreen_ = fullscreen;
    rasteriser_ = rasteriserChoice;
    zDepth_ = zDepth;
    bitDepth_ = bitDepth;
    ownsScreen_ = false;
    if (!renderTarget || !platform::IsColorLayout(renderTarget->Layout())) return Result(kDDDNullPointer);
    if (zBuffer && (zBuffer->Layout() != platform::PixelLayout::Depth16 || zBuffer->Width() != renderTarget->Width() ||
                    zBuffer->Height() != renderTarget->Height()))
        return Result(kDDDBadParameter);
    deviceRect_ = {0, 0, std::min(width, renderTarget->Width()), std::min(height, renderTarget->Height())};
    if (deviceGuid) {
        devices_ = EnumerateDevices();
        chosen_ = DeviceRecord{};
        chosen_.guid = *deviceGuid;
        chosen_.hardware = hardware;
        for (const DeviceRecord& d : devices_)
            if (d.guid == *deviceGuid) chosen_ = d;
    } else if (const uint32_t code = ChooseDevice(hardware)) {
        return code;
    }
    ReleaseSurfaces();
    renderTarget_ = renderTarget;
    if (zBuffer) {
        zBuffer_ = zBuffer;
    } else {
        ownZBuffer_ = platform::Surface::Create(renderTarget->Width(), renderTarget->Height(),
                                                platform::PixelLayout::Depth16);
        if (!ownZBuffer_) return Result(kDDDOutOfMemory);
        ownZBuffer_->Fill(nullptr, 0xFFFF);
        zBuffer_ = ownZBuffer_.get();
    }
    const int32_t screenW = presenter ? presenter->Width() : renderTarget->Width();
    const int32_t screenH = presenter ? presenter->Height() : renderTarget->Height();
    primary_ = platform::Surface::Create(screenW, screenH, renderTarget->Layout());
    if (!primary_) return Result(kDDDOutOfMemory);
    surfaceRect_ = {0, 0, screenW, screenH};
    soft3d_.SetTarget(renderTarget_, zBuffer_);
    soft3d_.SetViewport({0, 0, deviceRect_.right, deviceRect_.bottom});
    RegisterKinds();
    ResetDamage();
    return Result(kDDDOk);
}

uint32_t AnimDevice::CreateSurfaces(int32_t width, int32_t height, bool withZBuffer) {
    ReleaseSurfaces();
    width = std::max(width, kMinSurfaceSide);
    height = std::max(height, kMinSurfaceSide);
    deviceRect_ = {0, 0, width, height};
    const platform::PixelLayout layout = presenter_ ? presenter_->Layout() : platform::PixelLayout::Rgb565;
    const int32_t screenW = presenter_ ? presenter_->Width() : width;
    const int32_t screenH = presenter_ ? presenter_->Height() : height;
    primary_ = platform::Surface::Create(screenW, screenH, layout);
    ownRenderTarget_ = platform::Surface::Create(width, height, layout);
    if (withZBuffer) ownZBuffer_ = platform::Surface::Create(width, height, platform::PixelLayout::Depth16);
    if (!primary_ || !ownRenderTarget_ || (withZBuffer && !ownZBuffer_)) {
        ReleaseSurfaces();
        return Result(kDDDOutOfMemory);
    }
    primary_->Fill(nullptr, 0);
    ownRenderTarget_->Fill(nullptr, 0);
    if (ownZBuffer_) ownZBuffer_->Fill(nullptr, 0xFFFF);
    surfaceRect_ = {0, 0, screenW, screenH};
    renderTarget_ = ownRenderTarget_.get();
    zBuffer_ = ownZBuffer_.get();
    soft3d_.SetTarget(renderTarget_, zBuffer_);
    soft3d_.SetViewport({0, 0, width, height});
    return Result(kDDDOk);
}

void AnimDevice::ReleaseSurfaces() {
    soft3d_.SetTarget(nullptr, nullptr);
    renderTarget_ = nullptr;
    zBuffer_ = nullptr;
    ownRenderTarget_.reset();
    ownZBuffer_.reset();
    primary_.reset();
}

uint32_t AnimDevice::RestoreSurfaces() {
    for (platform::Surface* s : {primary_.get(), renderTarget_, zBuffer_})
        if (s && s->IsLost()) s->Restore();
    return Result(kDDDOk);
}

void AnimDevice::SetPresentRects(const cRZRect& source, const cRZRect& destination) {
    movePending_ = true;
    moveSource_ = source;
    moveDestination_ = destination;
}

void AnimDevice::SetClipRect(const cRZRect& rect) {
    clipRect_ = rect;
    hasClipRect_ = true;
}

void AnimDevice::SetBackground(platform::Surface* surfaceA, platform::Surface* surfaceB, cGZDirtyRegion* damage) {
    backgroundA_ = surfaceA;
    backgroundB_ = surfaceB;
    backgroundDamage_ = damage;
}

void AnimDevice::SetDrawCallback(DrawCallback callback, void* houseViewer) {
    drawCallback_ = callback;
    drawCallbackViewer_ = houseViewer;
}

void AnimDevice::PresentRects(const std::vector<cRZRect>& rects) {
    if (!presenter_ || rects.empty()) return;
    std::vector<platform::Rect> list;
    list.reserve(rects.size());
    for (const cRZRect& r : rects) list.push_back(ToRect(r));
    presenter_->Present(*primary_, list);
}

uint32_t AnimDevice::Update() {
    hasClipRect_ = false;
    ++frames_;
    if (!primary_ || !renderTarget_) return lastResult_;
    RestoreSurfaces();

    std::vector<cRZRect> shown;
    // The screen move first (a scroll), within the screen.
    if (movePending_) {
        movePending_ = false;
        const cRZRect src = Clip(moveSource_, surfaceRect_), dst = Clip(moveDestination_, surfaceRect_);
        if (!IsEmpty(src) && !IsEmpty(dst) && src.right - src.left == dst.right - dst.left &&
            src.bottom - src.top == dst.bottom - dst.top) {
            primary_->Blit(*primary_, ToRect(src), ToRect(dst));
            shown.push_back(dst);
        }
    }

    // This frame's and the last frame's damage, the viewports' lists and the
    // background's, each clipped to the device; empty ones are skipped.
    working_.clear();
    for (const cGZDirtyRegion* list : {&damage_, &damageLast_, &damage2_, &damage2Last_})
        working_.insert(working_.end(), list->Rects().begin(), list->Rects().end());
    if (viewports_) viewports_->CollectDamage(working_);
    if (backgroundInUse_ && backgroundDamage_)
        working_.insert(working_.end(), backgroundDamage_->Rects().begin(), backgroundDamage_->Rects().end());
    const cRZRect copyArea = Clip(deviceRect_, surfaceRect_);
    size_t count = 0;
    for (const cRZRect& r : working_) {
        const cRZRect c = Clip(r, copyArea);
        if (IsEmpty(c)) continue;
        primary_->Blit(*renderTarget_, ToRect(c), ToRect(c));
        shown.push_back(c);
        ++count;
    }
    presentedLast_ = count;
    if (drawCallback_) {
        drawCallback_(drawCallbackViewer_);
        if (!IsEmpty(copyArea)) {
            primary_->Blit(*renderTarget_, ToRect(copyArea), ToRect(copyArea));
            shown.push_back(copyArea);
        }
    }
    PresentRects(shown);

    // End of frame: this frame's damage becomes the last frame's.
    damageLast_.Clear();
    damageLast_.AddRegion(damage_);
    damage_.Clear();
    damage2Last_.Clear();
    damage2Last_.AddRegion(damage2_);
    damage2_.Clear();
    if (viewports_) viewports_->EndFrame();
    return Result(kDDDOk);
}

int32_t AnimDevice::TimingTest() {
    noFlip_ = true;
    int32_t count = 0;
    try {
        damage_.AddRect(deviceRect_);
        Update();
        const cRZRect quarter{0, 0, deviceRect_.right / 2, deviceRect_.bottom / 2};
        const uint32_t start = clock_();
        while (clock_() - start < 250) {
            damage_.AddRect(quarter);
            Update();
            ++count;
        }
    } catch (...) {
        std::fputs("DDD Timing test crashed!\n", stderr);
    }
    noFlip_ = false;
    return count;
}

int32_t AnimDevice::ClassifyPixelFormat(const AnimPixelFormat& f, int32_t* second) {
    int32_t kind = 0, depth = 0;
    if (f.zBuffer) {
        kind = 10;
        depth = f.bitCount;
    } else if (f.rgb && f.bitCount == 16) {
        struct Row {
            uint32_t r, g, b;
            int32_t kind;
        };
        static constexpr Row kRows[] = {{0x7C00, 0x03E0, 0x001F, 5},
                                        {0xF800, 0x07E0, 0x001F, 7},
                                        {0xFC00, 0x03E0, 0x001F, 6},
                                        {0xF800, 0x07C0, 0x003F, 8}};
        for (const Row& row : kRows)
            if (f.redMask == row.r && f.greenMask == row.g && f.blueMask == row.b) {
                kind = row.kind;
                depth = 16;
            }
    }
    if (second) *second = depth;
    return kind;
}

uint32_t AnimDevice::LoadTextureImage(TextureImage& out, const char* name, const TexturePixelFormat& format,
                                      const TexturePalette* palette) {
    if (!name) return Result(kDDDNullPointer);
    cDataFileCatalog::DirectoryList directories;
    for (int i = 0; i < texturePath_.GetCount(); ++i) directories.push_back(texturePath_.GetDirectory(i).c_str());
    cDataFileHandle handle;
    if (GetDataFileCatalog().OpenByName(handle, directories, MakeTypeCode("IMAG"), name) != kDataFileOk ||
        !handle.GetStream())
        return Result(kDDDBitmapNotFound);
    const uint32_t kind = handle.GetTypeCode();
    const bool bmp = kind == MakeTypeCode("BMP"), ppm = kind == MakeTypeCode("PPM");
    if (!bmp && !ppm) return Result(kDDDImageKindNotReadable);
    if (handle.GetSize() > kMaxImageBytes) return Result(kDDDFileReadError);
    std::string bytes(handle.GetSize(), '\0');
    handle.GetStream()->read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(handle.GetStream()->gcount()));
    const uint32_t code = bmp ? ReadBmpTexture(bytes, format, out) : ReadPpmTexture(bytes, format, out);
    if (code) return Result(code);
    if (palette && format.palettized) return Result(RemapToPalette(out, *palette));
    return Result(kDDDOk);
}
