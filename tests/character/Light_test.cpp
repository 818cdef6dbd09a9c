#include "character/Light.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Light, DefaultsAndKinds) {
    SpotLight spot;
    EXPECT_EQ(spot.GetKind(), Light::Kind::Spot);
    EXPECT_EQ(DirectionalLight().GetKind(), Light::Kind::Directional);
    EXPECT_EQ(PointLight().GetKind(), Light::Kind::Point);
    EXPECT_EQ(ParallelPointLight().GetKind(), Light::Kind::ParallelPoint);
    const float r = std::sqrt(0.5f);
    EXPECT_NEAR(spot.Direction().x, r, 1e-6);
    EXPECT_NEAR(spot.Direction().y, r, 1e-6);
    const auto& block = spot.Block();
    EXPECT_EQ(block.position[0], -100.0f);
    EXPECT_NEAR(block.direction[0], -r, 1e-6);  // the block starts with the direction negated
    EXPECT_EQ(block.color.r, 1.0f);
    EXPECT_EQ(block.attenuation0, 1.0f);
    EXPECT_EQ(block.theta, 0.4f);
    EXPECT_EQ(block.phi, 0.5f);
}

TEST(Light, ColourTimesIntensityWhicheverIsSetLast) {
    PointLight light;
    light.SetIntensity(2.0f);
    light.SetColor(0.5f, 0.25f, 0.0f);
    EXPECT_EQ(light.Block().color.r, 1.0f);
    EXPECT_EQ(light.Block().color.g, 0.5f);
    light.SetIntensity(0.5f);
    EXPECT_EQ(light.Block().color.r, 0.25f);
    EXPECT_EQ(light.Block().color.b, 0.0f);
}

TEST(Light, PositionDirectionConeAndTag) {
    SpotLight light;
    light.SetPositionAndDirection({1, 2, 3}, {0, 0, -4});
    EXPECT_EQ(light.Position(), (Vector3{1, 2, 3}));
    EXPECT_EQ(light.Direction(), (Vector3{0, 0, -1}));
    EXPECT_EQ(light.Block().direction[2], -1.0f);
    EXPECT_EQ(light.Block().position[2], 3.0f);
    light.SetDirection({0, 0, 0});  // no NaNs from a zero vector
    EXPECT_EQ(light.Block().direction[2], 0.0f);
    light.SetSpotCone(0.1f, 0.2f, 1.0f);
    EXPECT_EQ(light.Block().theta, 0.1f);
    EXPECT_EQ(light.Block().phi, 0.2f);
    EXPECT_EQ(light.Block().falloff, 1.0f);
    EXPECT_EQ(light.SwapTag(7), 0u);
    EXPECT_EQ(light.SwapTag(9), 7u);
}

TEST(Light, LastReleaseDeletes) {
    auto* light = new DirectionalLight;
    light->AddRef();
    EXPECT_EQ(light->Release(), 1);
    EXPECT_EQ(light->Release(), 0);  // freed here; the sanitizer build checks no leak
}
