#include "framework/cRZRefCount.h"

#include <gtest/gtest.h>

#include "framework/cRZException.h"

namespace {

struct Counted : cRZUnknown {
    bool* deleted;
    explicit Counted(bool* d) : deleted(d) {}
    ~Counted() override { *deleted = true; }
};

}  // namespace

TEST(cRZRefCount, ReleaseAtZeroDeletes) {
    bool deleted = false;
    auto* object = new Counted(&deleted);
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(deleted);

    // An object nobody referenced is freed by one Release.
    deleted = false;
    (new Counted(&deleted))->Release();
    EXPECT_TRUE(deleted);
}

TEST(cRZRefCount, RemoveRefNeverGoesBelowZero) {
    cRZRefCount count;
    EXPECT_EQ(count.RemoveRef(), 0u);
    count.AddRef();
    EXPECT_EQ(count.RemoveRef(), 0u);
    EXPECT_EQ(count.RemoveRef(), 0u);
    EXPECT_EQ(count.GetRefCount(), 0u);
}

TEST(cRZException, CarriesMessageDetailAndCode) {
    try {
        throw cRZException("Error shutting down available services");
    } catch (const cIGZException& e) {
        EXPECT_STREQ(e.GetMessage(), "Error shutting down available services");
        EXPECT_STREQ(e.GetDetail(), "");
        EXPECT_EQ(e.GetCode(), 0);
    }
    cRZException full("m", "d", -7);
    cRZException copy(full);
    EXPECT_STREQ(copy.GetDetail(), "d");
    EXPECT_EQ(copy.GetCode(), -7);
    EXPECT_STREQ(copy.what(), "m");
}
