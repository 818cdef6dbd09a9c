#include <gtest/gtest.h>

#include <string>

#include "ui/graphics/ResourceImages.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

// The pictures start-up asks for by id come from the starter content's
// scripts: the splash screen's two and the control manager's strips.
TEST(StarterInterfacePictures, TheSplashAndControlPicturesLoadById) {
    cGZResourceImages images(std::string(TOVA_BIN_DIR) + "/../data/UIGraphics/", [] { return 1; });
    ASSERT_GE(images.LoadScripts(), 1u);
    const struct {
        int32_t id, width, height;
    } pictures[] = {{9002, 320, 200}, {9003, 320, 200}, {18, 0, 0}, {17, 0, 0}, {3008, 0, 0},
                    {19, 0, 0},       {20, 0, 0},       {21, 0, 0}, {27, 0, 0}};
    for (const auto& p : pictures) {
        cGZBuffer* image = nullptr;
        ASSERT_TRUE(images.LoadImageByResID(p.id, image, 0)) << p.id;
        ASSERT_NE(image, nullptr) << p.id;
        if (p.width) {
            EXPECT_EQ(image->Width(), p.width) << p.id;
            EXPECT_EQ(image->Height(), p.height) << p.id;
        } else {
            EXPECT_GT(image->Width(), 0) << p.id;
        }
        image->Release();
    }
    cGZBuffer* none = nullptr;
    EXPECT_FALSE(images.LoadImageByResID(22, none, 0) && none);
}

}  // namespace
