// The four-wide rotating kernels against the scalar reference loops: the
// same bits for every output, on odd counts, both input strides and depths
// of exactly zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tarn/TarnMath.h"
#include "tarn/TarnPipeline.h"
#include "tarn/TarnPrint.h"

namespace {

struct KernelCase {
    uint32_t flags;
    int count;
    int inputStride;
    int outputStride;
};

std::vector<float> KernelInput(int count, int strideFloats) {
    std::vector<float> in(static_cast<size_t>(count) * static_cast<size_t>(strideFloats) + 4, 7.0f);
    uint32_t v = 12345u + static_cast<uint32_t>(count);
    for (size_t i = 0; i < in.size(); ++i) {
        v = v * 1664525u + 1013904223u;
        in[i] = static_cast<float>(static_cast<int32_t>(v >> 8) % 20001) * 0.003f - 30.0f;
    }
    // Some vertices land exactly on z' = 0 (rhw 10000) and on -0.
    if (count > 2) in[static_cast<size_t>(2 * strideFloats + 2)] = 0.0f;
    if (count > 5) in[static_cast<size_t>(5 * strideFloats + 2)] = -0.0f;
    return in;
}

std::vector<uint8_t> KernelRun(TarnKernelChoice choice, const KernelCase& c, const std::vector<float>& in,
                               const float* matrix, const float* translation) {
    TarnResetPipeline();
    TarnChooseKernels(choice);
    TarnSetMatrix(matrix);
    TarnSetTranslation(translation);
    TarnSetInputStride(c.inputStride);
    TarnSetOutputStride(c.outputStride);
    TarnSetProjection(10, 20, 300, 200, 1.5f, 900.0f, 0.125f, 0.1f);
    std::vector<uint8_t> out(static_cast<size_t>(c.count + 1) * static_cast<size_t>(c.outputStride), 0xA5);
    EXPECT_EQ(TarnTransformVertices(c.flags, c.count, in.data(), out.data()), c.count > 0 ? c.flags : 0u);
    return out;
}

class TarnKernels : public ::testing::TestWithParam<KernelCase> {};

TEST_P(TarnKernels, SameBitsAsScalar) {
    const KernelCase c = GetParam();
    float matrix[9];
    TarnMatrixFromAngles(0.13f, -0.21f, 0.37f, matrix);
    const float translation[3] = {0.5f, -1.25f, 3.0f};
    // A zero matrix row keeps z' at exactly zero for the vertices above when
    // nothing is added.
    if (!(c.flags & kTarnTranslate)) matrix[2] = matrix[5] = 0.0f;
    const std::vector<float> in = KernelInput(c.count, c.inputStride / 4);
    const std::vector<uint8_t> reference = KernelRun(TarnKernelChoice::kScalar, c, in, matrix, translation);
    const std::vector<uint8_t> best = KernelRun(TarnKernelChoice::kBest, c, in, matrix, translation);
    EXPECT_EQ(reference, best) << "kernel set " << TarnKernelSetName();
    TarnResetPipeline();
}

std::vector<KernelCase> KernelCases() {
    std::vector<KernelCase> cases;
    const uint32_t flagSets[] = {kTarnRotate, kTarnRotate | kTarnTranslate, kTarnRotate | kTarnProject,
                                 kTarnRotate | kTarnTranslate | kTarnProject};
    for (uint32_t flags : flagSets)
        for (int count : {1, 3, 4, 5, 8, 11, 64})
            for (int inputStride : {12, 16})
                for (int outputStride : {12, 16, 32}) {
                    if ((flags & kTarnProject) && outputStride < 16) continue;
                    cases.push_back({flags, count, inputStride, outputStride});
                }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, TarnKernels, ::testing::ValuesIn(KernelCases()));

TEST(TarnKernelChoice, BestIsChosenAtStartAndScalarOnRequest) {
    TarnChooseKernels(TarnKernelChoice::kScalar);
    EXPECT_STREQ(TarnKernelSetName(), "scalar");
    TarnChooseKernels(TarnKernelChoice::kBest);
#if defined(__x86_64__)
    EXPECT_STREQ(TarnKernelSetName(), "sse2");  // the floor of every x86-64 processor
#endif
}

// The print devices name the kernel set when the print system starts, on
// the system channel.
TEST(TarnKernelChoice, PrintDeviceNamesTheSetChosen) {
    setenv("PRINT_CHANNEL", "system", 1);
    setenv("PRINT_DEVICE", "console", 1);
    ::testing::internal::CaptureStdout();
    TarnPrintInitialise();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    unsetenv("PRINT_CHANNEL");
    unsetenv("PRINT_DEVICE");
    TarnPrintInitialise();
    EXPECT_EQ(printed, std::string("tarn: ") + TarnKernelSetName() + " vertex kernels\n");
}

}  // namespace
