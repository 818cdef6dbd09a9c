#include "character/MaterialLibrary.h"

#include "character/Material.h"
#include "character/TextureCache.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

using tova_test::Device3DFixture;

TEST(MaterialLibrary, NamedColoursAndTextureNames) {
    Device3DFixture f;
    const struct {
        const char* name;
        platform::Soft3DColor diffuse, ambient;
    } cases[] = {
        {"grey", {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}},
        {"gray", {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}},
        {"white", {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"Jeans", {83 / 255.0f, 124 / 255.0f, 179 / 255.0f, 1}, {64 / 255.0f, 67 / 255.0f, 89 / 255.0f, 1}},
        {"Shoes", {29 / 255.0f, 29 / 255.0f, 29 / 255.0f, 1}, {0, 0, 0, 1}},
        {"Roof", {0.4f, 90 / 255.0f, 82 / 255.0f, 1}, {0.4f, 90 / 255.0f, 82 / 255.0f, 1}},
        {"checker", {1, 1, 1, 1}, {1, 1, 1, 1}},  // a texture on a white material
    };
    for (const auto& c : cases) {
        Material* m = nullptr;
        ASSERT_EQ(f.device.FindMaterial(c.name, &m), kDDDOk) << c.name;
        const MaterialDescription& d = m->Description();
        EXPECT_EQ(d.size, 80u);
        EXPECT_EQ(d.power, 5.0f);
        EXPECT_EQ(m->Name(), c.name);
        for (auto [got, want] : {std::pair{d.diffuse, c.diffuse}, std::pair{d.ambient, c.ambient}}) {
            EXPECT_FLOAT_EQ(got.r, want.r) << c.name;
            EXPECT_FLOAT_EQ(got.g, want.g) << c.name;
            EXPECT_FLOAT_EQ(got.b, want.b) << c.name;
            EXPECT_EQ(got.a, 1.0f) << c.name;
        }
        EXPECT_EQ(m->GetTexture() != nullptr, std::string(c.name) == "checker") << c.name;
        EXPECT_TRUE(m->HasInterfaces());
        m->Release();
    }
    Material* m = reinterpret_cast<Material*>(1);
    EXPECT_EQ(f.device.FindMaterial("broken", &m), kDDDFileReadError);
    EXPECT_EQ(m, nullptr);
    EXPECT_EQ(f.device.FindMaterial("Grey", &m), kDDDBitmapNotFound);  // names compare exactly
}

TEST(MaterialLibrary, EveryCallMakesANewMaterialAndDroppedOnesArePruned) {
    Device3DFixture f;
    Material* a = nullptr;
    Material* b = nullptr;
    ASSERT_EQ(f.device.FindMaterial("red", &a), kDDDOk);
    ASSERT_EQ(f.device.FindMaterial("red", &b), kDDDOk);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->RefCount(), 2);  // the caller's and the library's
    EXPECT_EQ(f.device.Materials().Count(), 2u);
    for (int i = 0; i < 100; ++i) {
        Material* m = nullptr;
        ASSERT_EQ(f.device.FindMaterial("checker", &m), kDDDOk);
        f.device.ReleaseMaterial(m);
    }
    EXPECT_EQ(f.device.Materials().Count(), 2u);
    f.device.ReleaseMaterial(a);
    EXPECT_EQ(f.device.Materials().Count(), 1u);
    // Released materials are not restored (nor touched) any more.
    EXPECT_EQ(f.device.Materials().ReleaseAll(), kDDDOk);
    EXPECT_FALSE(b->HasInterfaces());
    EXPECT_EQ(b->Handle(), 0u);
    EXPECT_EQ(f.device.Materials().RestoreAll(), kDDDOk);
    EXPECT_NE(b->Handle(), 0u);
    f.device.ReleaseMaterial(b);
    EXPECT_EQ(f.device.Materials().Count(), 0u);
}

TEST(MaterialLibrary, MaterialTextureAndDescription) {
    Device3DFixture f;
    Material* m = nullptr;
    ASSERT_EQ(f.device.FindMaterial("blue", &m), kDDDOk);
    Texture* texture = nullptr;
    ASSERT_EQ(f.device.GetTexture("checker", &texture), kDDDOk);
    m->SetTexture(texture);
    EXPECT_EQ(texture->RefCount(), 2);
    EXPECT_EQ(m->Description().textureHandle, texture->Handle());
    MaterialDescription d = m->Description();
    d.textureHandle = 12345;
    d.emissive = {0.25f, 0, 0, 1};
    m->SetDescription(d);
    EXPECT_EQ(m->Description().textureHandle, texture->Handle());
    EXPECT_EQ(m->DeviceMaterial().emissive.r, 0.25f);
    m->SetTexture(nullptr);
    EXPECT_EQ(texture->RefCount(), 1);
    EXPECT_EQ(m->Description().textureHandle, 0u);
    texture->Release();
    m->Release();
}
