// The software 3D device on the people's workload (Soft3DWorkload.h).
// Reports triangles and pixels per second; soft3d_llvmpipe.cpp draws the same
// data through Mesa's llvmpipe for comparison.
#include "Soft3DWorkload.h"

#include <benchmark/benchmark.h>

namespace {

using namespace soft3d_bench;

void BM_Soft3DPeopleFrame(benchmark::State& state) {
    const Workload w;
    auto color = platform::Surface::Create(kWidth, kHeight, platform::PixelLayout::Rgb565);
    auto depth = platform::Surface::Create(kWidth, kHeight, platform::PixelLayout::Depth16);
    auto texture = platform::Surface::Create(64, 64, platform::PixelLayout::Rgb565);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) texture->SetPixel(x, y, w.texture[y * 64 + x]);
    platform::Soft3DDevice d;
    d.SetTarget(color.get(), depth.get());
    d.SetViewport(color->Bounds());
    platform::Soft3DLight lights[2];
    for (int k = 0; k < 3; ++k) {
        lights[0].direction[k] = kLight0Direction[k];
        lights[1].direction[k] = kLight1Direction[k];
    }
    lights[0].color = {kLight0Colour[0], kLight0Colour[1], kLight0Colour[2], 1};
    lights[1].color = {kLight1Colour[0], kLight1Colour[1], kLight1Colour[2], 1};
    d.SetLights(lights, 2);
    d.SetAmbient(0xFF303030);
    d.SetTexture(texture.get(), platform::Soft3DTextureOp::Modulate, platform::Soft3DFilter::Point);

    for (auto _ : state) {
        state.PauseTiming();
        color->Fill(nullptr, 0);
        depth->Fill(nullptr, 0xFFFF);
        state.ResumeTiming();
        for (int m = 0; m < 8; ++m)
            benchmark::DoNotOptimize(d.DrawIndexed(w.meshes[m].data(), 0, static_cast<uint32_t>(w.meshes[m].size()),
                                                   w.indices[m].data(), w.indices[m].size(), true));
    }
    size_t pixels = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) pixels += color->Pixel16(x, y) != 0;
    state.counters["triangles/s"] =
        benchmark::Counter(static_cast<double>(w.triangles * state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(pixels * state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_Soft3DPeopleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
