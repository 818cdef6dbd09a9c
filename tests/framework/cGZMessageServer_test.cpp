#include "framework/cGZMessageServer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> gDeliveries;

struct Target : cIGZMessageTarget {
    std::string name;
    std::function<void(const cGZMessage&)> action;
    explicit Target(std::string n) : name(std::move(n)) {}
    bool DoMessage(const cGZMessage& m) override {
        gDeliveries.push_back(name + ":" + std::to_string(m.type) + "/" + std::to_string(m.a));
        if (action) action(m);
        return true;
    }
};

class MessageServerTest : public ::testing::Test {
protected:
    void SetUp() override { gDeliveries.clear(); }
    cGZMessageServer server;
    Target a{"a"}, b{"b"}, c{"c"};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(MessageServerTest, DeliversInRegistrationOrderOncePerTarget) {
    server.Register(&b, 1);
    server.Register(&a, 1);
    server.Register(&b, 1);  // twice: once
    server.Register(&a, 2);
    server.Send({1, 10, 0, 0});
    server.Send({2, 20, 0, 0});
    server.Send({0, 30, 0, 0});  // type 0 never delivered
    EXPECT_EQ(gDeliveries, (Lines{"b:1/10", "a:1/10", "a:2/20"}));
}

TEST_F(MessageServerTest, UnregisterTheLastTargetOfAType) {
    server.Register(&a, 5);
    server.Unregister(&a, 5);
    EXPECT_EQ(server.GetTargetCount(5), 0u);
    EXPECT_TRUE(server.Send({5, 0, 0, 0}));
    EXPECT_TRUE(gDeliveries.empty());
    EXPECT_TRUE(server.Unregister(&a, 77));  // unknown type: fine
}

TEST_F(MessageServerTest, PostAtTheFrontIsPumpedFirst) {
    server.Register(&a, 1);
    server.Post({1, 1, 0, 0}, true);
    server.Post({1, 2, 0, 0}, true);
    server.Post({1, 3, 0, 0}, false);
    EXPECT_TRUE(gDeliveries.empty());  // nothing until pumped
    server.PumpQueued();
    EXPECT_EQ(gDeliveries, (Lines{"a:1/3", "a:1/1", "a:1/2"}));
    server.PumpQueued();
    EXPECT_EQ(gDeliveries.size(), 3u);
}

TEST_F(MessageServerTest, TargetsMayChangeTheListDuringDelivery) {
    // a unregisters itself, then b unregisters c: c must not be called; a
    // target registered during the delivery waits for the next record.
    a.action = [&](const cGZMessage&) { server.Unregister(&a, 1); };
    b.action = [&](const cGZMessage&) {
        server.Unregister(&c, 1);
        server.Register(&a, 1);
    };
    server.Register(&a, 1);
    server.Register(&b, 1);
    server.Register(&c, 1);
    server.Send({1, 0, 0, 0});
    EXPECT_EQ(gDeliveries, (Lines{"a:1/0", "b:1/0"}));
}

TEST_F(MessageServerTest, ATargetMaySendFromInsideItsDelivery) {
    a.action = [&](const cGZMessage& m) {
        if (m.type == 1) server.Send({2, 0, 0, 0});
    };
    server.Register(&a, 1);
    server.Register(&b, 2);
    server.Send({1, 0, 0, 0});
    EXPECT_EQ(gDeliveries, (Lines{"a:1/0", "b:2/0"}));
}

TEST_F(MessageServerTest, WordsCarryAPointer) {
    cGZMessage seen;
    a.action = [&](const cGZMessage& m) { seen = m; };
    server.Register(&a, 9);
    server.Send({9, reinterpret_cast<intptr_t>(&server), -1, INTPTR_MAX});
    EXPECT_EQ(reinterpret_cast<cGZMessageServer*>(seen.a), &server);
    EXPECT_EQ(seen.c, INTPTR_MAX);
}
