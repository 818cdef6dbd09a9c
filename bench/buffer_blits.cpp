// Pixel buffer copies and fills against SDL's software blitter doing the same
// work in the same run: plain, colour-keyed, mirrored, stretched and
// alpha-blended copies, and rectangle fills, of 32x32 sprites and whole
// 640x480 frames in 5-6-5. Compare each of ours with its SDL neighbour.
#include "ui/graphics/cGZBuffer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<cGZBuffer> Buffer(int32_t w, int32_t h) {
    auto b = std::make_unique<cGZBuffer>();
    b->Init(w, h, cGZBuffer::kFormat565, 16, nullptr, 0, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; x += 3) b->FillRect(static_cast<uint32_t>(x * 31 + y * 7) & 0xFFFF, {x, y, x + 1, y + 1});
    return b;
}

SDL_Surface* SdlSurface(int32_t w, int32_t h) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; x += 3)
            static_cast<uint16_t*>(s->pixels)[y * (s->pitch / 2) + x] = static_cast<uint16_t>(x * 31 + y * 7);
    return s;
}

enum Kind { kPlain, kKeyed, kMirrored, kStretch, kAlpha };

void Ours(benchmark::State& state, Kind kind) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    const int32_t w = side == 32 ? 32 : 640, h = side == 32 ? 32 : 480;
    auto src = Buffer(w, h), dst = Buffer(640, 480);
    const cRZRect all{0, 0, w, h};
    const cRZRect wide{0, 0, w * 3 / 2, h * 3 / 2};
    if (kind == kKeyed) src->SetBlitParams(0, cGZBuffer::kBlitColorKey);
    if (kind == kMirrored) src->SetBlitParams(0, cGZBuffer::kBlitMirrorLeftRight);
    for (auto _ : state) {
        switch (kind) {
            case kStretch: dst->StretchBlit(*src, all, wide); break;
            case kAlpha: dst->BlitAlpha(*src, all, all, 128); break;
            default: dst->Blit(*src, all, all); break;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void Sdl(benchmark::State& state, Kind kind) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    const int32_t w = side == 32 ? 32 : 640, h = side == 32 ? 32 : 480;
    SDL_Surface* src = SdlSurface(w, h);
    SDL_Surface* dst = SdlSurface(640, 480);
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    if (kind == kKeyed) SDL_SetColorKey(src, SDL_TRUE, 0);
    if (kind == kAlpha) {
        SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(src, 128);
    }
    if (kind == kMirrored) {
        renderer = SDL_CreateSoftwareRenderer(dst);
        texture = SDL_CreateTextureFromSurface(renderer, src);
    }
    const SDL_Rect all{0, 0, w, h}, wide{0, 0, w * 3 / 2, h * 3 / 2};
    for (auto _ : state) {
        // SDL writes the clipped destination back into the rectangle it is
        // given; a fresh copy each time keeps every run a stretch.
        SDL_Rect from = all, to = kind == kStretch ? wide : all;
        switch (kind) {
            case kStretch: SDL_BlitScaled(src, &from, dst, &to); break;
            case kMirrored: SDL_RenderCopyEx(renderer, texture, &from, &to, 0, nullptr, SDL_FLIP_HORIZONTAL); break;
            default: SDL_BlitSurface(src, &from, dst, &to); break;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}

void OursFill(benchmark::State& state) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    auto dst = Buffer(640, 480);
    const cRZRect r{0, 0, side == 32 ? 32 : 640, side == 32 ? 32 : 480};
    for (auto _ : state) {
        dst->FillRect(0x1234, r);
        benchmark::ClobberMemory();
    }
}

void SdlFill(benchmark::State& state) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    SDL_Surface* dst = SdlSurface(640, 480);
    SDL_Rect r{0, 0, side == 32 ? 32 : 640, side == 32 ? 32 : 480};
    for (auto _ : state) {
        SDL_FillRect(dst, &r, 0x1234);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(dst);
}

}  // namespace

BENCHMARK_CAPTURE(Ours, Blit, kPlain)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Sdl, Blit, kPlain)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Ours, BlitKeyed, kKeyed)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Sdl, BlitKeyed, kKeyed)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Ours, Mirrored, kMirrored)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Sdl, Mirrored, kMirrored)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Ours, StretchBlit, kStretch)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Sdl, StretchBlit, kStretch)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Ours, Alpha, kAlpha)->Arg(32)->Arg(640);
BENCHMARK_CAPTURE(Sdl, Alpha, kAlpha)->Arg(32)->Arg(640);
BENCHMARK(OursFill)->Arg(32)->Arg(640);
BENCHMARK(SdlFill)->Arg(32)->Arg(640);
