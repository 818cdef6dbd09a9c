#include "character/RenderObjectFactory.h"

#include "character/RenderGroup.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

namespace {

// Makes an empty group per key and counts the makings.
class GroupFactory : public RenderObjectFactory {
public:
    using RenderObjectFactory::RenderObjectFactory;
    int made = 0;
    uint32_t Create(int32_t, RenderObject** out) override {
        ++made;
        *out = new RenderGroup;
        return kDDDOk;
    }
};

}  // namespace

TEST(RenderObjectFactory, SharesObjectsByKeyAndRefusesPastFiveHundredTwelve) {
    tova_test::Device3DFixture f;
    GroupFactory factory(f.device);
    RenderObject* a = nullptr;
    RenderObject* b = nullptr;
    ASSERT_EQ(factory.GetOrCreate(7, &a), kDDDOk);
    ASSERT_EQ(factory.GetOrCreate(7, &b), kDDDOk);
    EXPECT_EQ(a, b);
    EXPECT_EQ(factory.made, 1);
    EXPECT_EQ(a->RefCount(), 3);  // two callers and the factory
    EXPECT_EQ(factory.Find(7), a);
    EXPECT_EQ(factory.Find(8), nullptr);
    a->Release();
    b->Release();

    for (int32_t key = 100; factory.Count() < RenderObjectFactory::kMaxEntries; ++key) {
        RenderObject* o = nullptr;
        ASSERT_EQ(factory.GetOrCreate(key, &o), kDDDOk);
        o->Release();
    }
    RenderObject* extra = reinterpret_cast<RenderObject*>(1);
    EXPECT_EQ(factory.GetOrCreate(5000, &extra), kDDDOutOfMemory);
    EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(factory.Count(), 512u);
    auto* loose = new RenderGroup;
    EXPECT_EQ(factory.Register(loose, "loose", 1), kDDDOutOfMemory);
    EXPECT_EQ(loose->RefCount(), 1);
    loose->Release();

    RenderObjectFactory base(f.device);
    EXPECT_EQ(base.GetOrCreate(1, &extra), RenderObjectFactory::kNotImplemented);
    EXPECT_EQ(base.CreateNamed("x", &extra), RenderObjectFactory::kNotImplemented);
    EXPECT_EQ(base.Count(), 0u);
}
