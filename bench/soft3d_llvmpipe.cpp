// Baseline for the software 3D device: the same workload (Soft3DWorkload.h)
// drawn by Mesa's llvmpipe off screen (OSMesa) into a 565 buffer with a
// 16-bit depth buffer and one rasteriser thread, through the fixed-function
// pipeline: two directional lights, ambient, a modulated nearest-texel
// texture and a less-or-equal depth test. The library is opened at run time,
// so the benchmark program builds without it and skips this case.
#include "Soft3DWorkload.h"

#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace soft3d_bench;

struct Mesa {
    void* library = nullptr;
#define TOVA_GL(name) decltype(&::name) name = nullptr;
#define TOVA_GL_LIST                                                                                                  \
    TOVA_GL(OSMesaCreateContextExt) TOVA_GL(OSMesaMakeCurrent) TOVA_GL(OSMesaDestroyContext) TOVA_GL(glViewport)      \
    TOVA_GL(glEnable) TOVA_GL(glDepthFunc) TOVA_GL(glLightfv) TOVA_GL(glLightModelfv) TOVA_GL(glMaterialfv)           \
    TOVA_GL(glShadeModel) TOVA_GL(glGenTextures) TOVA_GL(glBindTexture) TOVA_GL(glTexImage2D)                         \
    TOVA_GL(glTexParameteri) TOVA_GL(glTexEnvi) TOVA_GL(glEnableClientState) TOVA_GL(glVertexPointer)                 \
    TOVA_GL(glNormalPointer) TOVA_GL(glTexCoordPointer) TOVA_GL(glDrawElements) TOVA_GL(glClear)                      \
    TOVA_GL(glClearColor) TOVA_GL(glFinish) TOVA_GL(glPixelStorei) TOVA_GL(glMatrixMode) TOVA_GL(glLoadIdentity)
    TOVA_GL_LIST
#undef TOVA_GL

    bool Open() {
        library = dlopen("libOSMesa.so.8", RTLD_NOW | RTLD_LOCAL);
        if (!library) library = dlopen("libOSMesa.so", RTLD_NOW | RTLD_LOCAL);
        if (!library) return false;
        bool all = true;
#define TOVA_GL(name) all = all && (name = reinterpret_cast<decltype(name)>(dlsym(library, #name))) != nullptr;
        TOVA_GL_LIST
#undef TOVA_GL
        return all;
    }
    ~Mesa() {
        if (library) dlclose(library);
    }
};

void BM_LlvmpipePeopleFrame(benchmark::State& state) {
    // One rasteriser thread, llvmpipe rather than another gallium driver.
    setenv("LP_NUM_THREADS", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    Mesa gl;
    if (!gl.Open()) {
        state.SkipWithError("libOSMesa is not installed (libosmesa6-dev)");
        return;
    }
    OSMesaContext context = gl.OSMesaCreateContextExt(OSMESA_RGB_565, 16, 0, 0, nullptr);
    std::vector<uint16_t> buffer(static_cast<size_t>(kWidth) * kHeight);
    if (!context || !gl.OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_SHORT_5_6_5, kWidth, kHeight)) {
        state.SkipWithError("no OSMesa context in 565");
        return;
    }
    const Workload w;
    gl.glViewport(0, 0, kWidth, kHeight);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glShadeModel(GL_SMOOTH);
    gl.glEnable(GL_LIGHTING);
    const float ambient[4] = {kAmbient, kAmbient, kAmbient, 1};
    gl.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const float* directions[2] = {kLight0Direction, kLight1Direction};
    const float* colours[2] = {kLight0Colour, kLight1Colour};
    const float black[4] = {0, 0, 0, 1};
    for (int i = 0; i < 2; ++i) {
        // A directional light's position points towards the light.
        const float position[4] = {-directions[i][0], -directions[i][1], -directions[i][2], 0};
        const float colour[4] = {colours[i][0], colours[i][1], colours[i][2], 1};
        gl.glEnable(GL_LIGHT0 + i);
        gl.glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
        gl.glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colour);
        gl.glLightfv(GL_LIGHT0 + i, GL_SPECULAR, black);
    }
    const float white[4] = {1, 1, 1, 1};
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, white);
    gl.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    GLuint texture = 0;
    gl.glGenTextures(1, &texture);
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, w.texture.data());
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gl.glEnable(GL_TEXTURE_2D);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_NORMAL_ARRAY);
    gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glClearColor(0, 0, 0, 1);

    for (auto _ : state) {
        state.PauseTiming();
        gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gl.glFinish();
        state.ResumeTiming();
        for (int m = 0; m < 8; ++m) {
            const Soft3DVertex* v = w.meshes[m].data();
            gl.glVertexPointer(3, GL_FLOAT, sizeof(Soft3DVertex), &v->x);
            gl.glNormalPointer(GL_FLOAT, sizeof(Soft3DVertex), &v->nx);
            gl.glTexCoordPointer(2, GL_FLOAT, sizeof(Soft3DVertex), &v->u);
            gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(w.indices[m].size()), GL_UNSIGNED_SHORT,
                              w.indices[m].data());
        }
        gl.glFinish();
    }
    size_t pixels = 0;
    for (uint16_t p : buffer) pixels += p != 0;
    state.counters["triangles/s"] =
        benchmark::Counter(static_cast<double>(w.triangles * state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(pixels * state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels"] = static_cast<double>(pixels);
    gl.OSMesaDestroyContext(context);
}
// Real time: llvmpipe rasterises on a thread of its own.
BENCHMARK(BM_LlvmpipePeopleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
