#include "platform/DynamicLibrary.h"

#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

using platform::DynamicLibrary;

// The C math library is on every machine that runs these tests, so it serves
// as a library loaded by name.
constexpr const char* kMathLibrary = "libm.so.6";

TEST(DynamicLibrary, BindsAnEntryByNameAndCallsIt) {
  DynamicLibrary lib;
  ASSERT_TRUE(lib.Open(kMathLibrary)) << lib.LastError();
  EXPECT_TRUE(lib.IsOpen());
  EXPECT_EQ(lib.Path(), kMathLibrary);
  auto cosine = lib.Function<double (*)(double)>("cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
}

TEST(DynamicLibrary, MissingEntryAnswersNullWithAMessage) {
  DynamicLibrary lib;
  ASSERT_TRUE(lib.Open(kMathLibrary));
  EXPECT_EQ(lib.Symbol("no_such_entry_here"), nullptr);
  EXPECT_NE(lib.LastError().find("no_such_entry_here"), std::string::npos) << lib.LastError();
  // The library stays usable after a failed look-up.
  EXPECT_NE(lib.Symbol("sin"), nullptr);
}

TEST(DynamicLibrary, RefusesMissingEmptyAndNonLibraryFiles) {
  tova_test::TempFolder dir;
  dir.Write("notalib.so", "this is text, not a shared object");
  for (const std::string& path : {dir / "absent.so", std::string(), dir / "notalib.so"}) {
    DynamicLibrary lib;
    EXPECT_FALSE(lib.Open(path)) << path;
    EXPECT_FALSE(lib.IsOpen());
    EXPECT_FALSE(lib.LastError().empty()) << path;
    EXPECT_EQ(lib.Symbol("cos"), nullptr);
  }
}

TEST(DynamicLibrary, MovesOwnershipAndClosesOnce) {
  DynamicLibrary a;
  ASSERT_TRUE(a.Open(kMathLibrary));
  DynamicLibrary b(std::move(a));
  EXPECT_FALSE(a.IsOpen());
  ASSERT_TRUE(b.IsOpen());
  DynamicLibrary c;
  c = std::move(b);
  EXPECT_FALSE(b.IsOpen());
  EXPECT_NE(c.Symbol("cos"), nullptr);
  c.Close();
  EXPECT_FALSE(c.IsOpen());
  EXPECT_EQ(c.Symbol("cos"), nullptr);
}
