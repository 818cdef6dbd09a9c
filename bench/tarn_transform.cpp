// The vertex pipeline against a plain loop doing the same arithmetic: the
// skinning shape (12-byte positions in, 32-byte records out), rotate and
// translate, then rotate, translate and project.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tarn/TarnMath.h"
#include "tarn/TarnPipeline.h"

namespace {

constexpr int kVertices = 4096;

struct Fixture {
    std::vector<float> in = std::vector<float>(kVertices * 3);
    std::vector<float> out = std::vector<float>(kVertices * 8);
    float m[9];
    float t[3] = {1.5f, -2.0f, 40.0f};
    Fixture() {
        for (int i = 0; i < kVertices * 3; ++i) in[i] = static_cast<float>(i % 97) * 0.01f - 0.5f;
        TarnMatrixFromAngles(0.1f, 0.2f, 0.3f, m);
    }
};

void BM_TarnRotateTranslate(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        TarnRotateTranslateVertices(kVertices, f.in.data(), f.m, f.t, f.out.data(), 32);
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_TarnRotateTranslate);

void BM_ScalarRotateTranslateBaseline(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        const float* m = f.m;
        const float* t = f.t;
        for (int i = 0; i < kVertices; ++i) {
            const float* p = &f.in[i * 3];
            float* o = &f.out[i * 8];
            o[0] = p[0] * m[0] + p[1] * m[3] + p[2] * m[6] + t[0];
            o[1] = p[0] * m[1] + p[1] * m[4] + p[2] * m[7] + t[1];
            o[2] = p[0] * m[2] + p[1] * m[5] + p[2] * m[8] + t[2];
        }
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_ScalarRotateTranslateBaseline);

void BM_TarnRotateTranslateProject(benchmark::State& state) {
    Fixture f;
    TarnResetPipeline();
    TarnSetMatrix(f.m);
    TarnSetTranslation(f.t);
    for (auto _ : state) {
        TarnTransformVertices(kTarnRotate | kTarnTranslate | kTarnProject, kVertices, f.in.data(), f.out.data());
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    TarnResetPipeline();
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_TarnRotateTranslateProject);

void BM_ScalarRotateTranslateProjectBaseline(benchmark::State& state) {
    Fixture f;
    const TarnProjection p;
    for (auto _ : state) {
        const float* m = f.m;
        const float* t = f.t;
        for (int i = 0; i < kVertices; ++i) {
            const float* v = &f.in[i * 3];
            float* o = &f.out[i * 8];
            const float x = v[0] * m[0] + v[1] * m[3] + v[2] * m[6] + t[0];
            const float y = v[0] * m[1] + v[1] * m[4] + v[2] * m[7] + t[1];
            const float z = v[0] * m[2] + v[1] * m[5] + v[2] * m[8] + t[2];
            const float rhw = z == 0.0f && !std::signbit(z) ? 10000.0f : 1.0f / z;  // the pipeline's zero rule
            o[0] = x * p.xScale * rhw + p.centreX;
            o[1] = p.centreY - y * p.yScale * rhw;
            o[2] = (z - p.nearZ) * p.depthScale;
            o[3] = rhw;
        }
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_ScalarRotateTranslateProjectBaseline);

}  // namespace
