#include "CharacterFixture.h"
#include "character/CharacterDump.h"
#include "character/CharacterIndexFile.h"
#include "character/CharacterReport.h"
#include "character/CharacterStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace chartest;

namespace {

// Everything a store was given, as one dump.
std::string DumpOf(const CharacterFileContents& c) {
    std::string out;
    for (auto* s : c.skeletons) out += DumpSkeleton(*s);
    for (auto* s : c.suits) out += DumpSuit(*s);
    for (auto* s : c.skills) out += DumpSkill(*s);
    return out;
}

std::string ReadAndDump(const std::string& bytes, bool text, bool* ok = nullptr) {
    KeepAllStore store;
    const bool read = ReadCharacterFile(bytes, text, "f/", "x", nullptr, store, &store.kept);
    if (ok != nullptr) *ok = read;
    return DumpOf(store.kept);
}

std::string FloatBytes(float f) {
    std::string s(4, '\0');
    std::memcpy(s.data(), &f, 4);
    return s;
}

class CharacterFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCharacterReportEnabled(true);
        TakeCharacterReport();
    }
    void TearDown() override {
        SetCharacterReportEnabled(false);
        TakeCharacterReport();
    }
};

}  // namespace

TEST(CharacterFileNames, CmxInAnyCaseIsText) {
    const struct {
        const char* name;
        bool text;
    } cases[] = {{"a.cmx", true}, {"A.CMX", true}, {"b.Cmx", true}, {"a.bcf", false}, {"cmx", false},
                 {"a.cmx.bcf", false}, {".cmx", true}};
    for (const auto& c : cases) EXPECT_EQ(IsTextCharacterFile(c.name), c.text) << c.name;
}

TEST_F(CharacterFilesTest, TextAndBinaryFormsReadToTheSameObjects) {
    bool ok = false;
    const std::string fromText = ReadAndDump(TestCharacterFile(true), true, &ok);
    ASSERT_TRUE(ok) << TakeCharacterReport();
    const std::string fromBinary = ReadAndDump(TestCharacterFile(false), false, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(fromText, fromBinary);
    EXPECT_NE(fromText.find("bone HEAD parent SPINE flags 1 1 0 wiggle 5 0.833333 key"), std::string::npos) << fromText;
    EXPECT_NE(fromText.find("    event 200\n      prop anchor=2\n      prop sound=step\n"), std::string::npos);
    EXPECT_NE(fromText.find("prop empty=\n"), std::string::npos);
}

TEST_F(CharacterFilesTest, CmxConvertedToBcfReadsTheSame) {
    KeepAllStore store;
    ASSERT_TRUE(ReadCharacterFile(TestCharacterFile(true), true, "f/", "x.cmx", nullptr, store, &store.kept));
    const std::string bcf = WriteCharacterFile(store.kept, false);
    EXPECT_EQ(ReadAndDump(bcf, false), DumpOf(store.kept));
}

TEST_F(CharacterFilesTest, TextQuaternionsTakeOptionalBarsAndVectorsFiveTokens) {
    CharacterTextIn in("( 1 2.5 -3 )\n|0 0 0.5 1|\n 0.25 0.5 0 1\n| 1 2 3 4\n");
    Vector3 v;
    Quaternion q;
    ASSERT_TRUE(in.Vector(v));
    EXPECT_EQ(v, (Vector3{1, 2.5f, -3}));
    ASSERT_TRUE(in.Rotation(q));
    EXPECT_FLOAT_EQ(q.z, 0.5f);
    ASSERT_TRUE(in.Rotation(q));
    EXPECT_FLOAT_EQ(q.x, 0.25f);
    // An opening bar without its closing one fails the stream.
    EXPECT_FALSE(in.Rotation(q));
    EXPECT_TRUE(in.Failed());
}

TEST_F(CharacterFilesTest, EveryTruncationOfACharacterFileFailsWithItsReportLine) {
    for (bool text : {false, true}) {
        const std::string whole = TestCharacterFile(text);
        for (size_t n = 0; n < whole.size(); n += text ? 7 : 3) {
            bool ok = true;
            ReadAndDump(whole.substr(0, n), text, &ok);
            // A text file cut after its last number still reads.
            if (text && n + 2 >= whole.size()) continue;
            EXPECT_FALSE(ok) << "text " << text << " length " << n;
            EXPECT_EQ(TakeCharacterReport(), "CMX file \"x\" could not be read. ");
        }
    }
}

TEST_F(CharacterFilesTest, OversizedNamesAndCountsFailTheObject) {
    CharacterBinaryOut ok;
    ok.Int(1);
    ok.Name(std::string(255, 'a'));  // one too long for its 256-byte buffer
    ok.Int(0);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"name over the buffer", ok.Bytes()},
        {"huge string length", std::string("\x01\x00\x00\x00\xFF\xFF\xFF\xFF\x7F", 9)},
        {"count beyond the bytes", std::string("\x00\x00\x00\x40", 4)},
        {"negative count", std::string("\xFF\xFF\xFF\xFF", 4)},
    };
    for (const auto& c : cases) {
        bool read = true;
        ReadAndDump(c.bytes, false, &read);
        EXPECT_FALSE(read) << c.what;
        EXPECT_EQ(TakeCharacterReport(), "CMX file \"x\" could not be read. ") << c.what;
    }
    // A 254-byte name fits.
    CharacterBinaryOut fits;
    fits.Name(std::string(254, 'b'));
    CharacterBinaryIn in(fits.Bytes());
    std::string name;
    EXPECT_TRUE(in.Name(name, kShortNameBuffer));
}

TEST_F(CharacterFilesTest, AMotionOutsideItsKeyframesFailsTheSkill) {
    Skill* skill = MakeTestSkill();
    skill->motions[1]->firstRotation = 5;  // 5 + 4 frames > 8 rotations
    CharacterFileContents c{{}, {}, {skill}};
    bool read = true;
    const std::string dump = ReadAndDump(WriteCharacterFile(c, false), false, &read);
    EXPECT_FALSE(read);
    EXPECT_EQ(dump, "");
    skill->Release();
}

TEST(MeshFiles, BinaryAndTextFormsOfOneMeshReadEqual) {
    const BodyMesh cube = MakeCubeMesh();
    std::string error;
    auto fromBinary = ReadBodyMesh(WriteBodyMesh(cube, false), false, &error);
    ASSERT_NE(fromBinary, nullptr) << error;
    auto fromText = ReadBodyMesh(WriteBodyMesh(cube, true), true, &error);
    ASSERT_NE(fromText, nullptr) << error;
    EXPECT_EQ(DumpBodyMesh(*fromBinary, ""), DumpBodyMesh(*fromText, ""));
    EXPECT_EQ(DumpBodyMesh(*fromBinary, ""), DumpBodyMesh(cube, ""));
    EXPECT_EQ(fromText->blends[0], (MeshBlend{16384, 8}));
}

TEST(MeshFiles, BlendPairsListTheVertexFirstInTextAndTheWeightFirstInBinary) {
    const std::string text = "m\nmat\n1\nPELVIS\n0\n0\n0\n1\n1 16384\n2\n0 0 0 0 0 1\n0 0 0 0 0 1\n";
    auto mesh = ReadBodyMesh(text, true);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->blends[0], (MeshBlend{16384, 1}));
    CharacterBinaryOut out;
    out.Name("m");
    out.Name("mat");
    out.Int(0);
    out.Int(0);
    out.Int(0);
    out.Int(0);
    out.Int(1);
    out.Int(16384);
    out.Int(1);
    out.Int(2);
    for (int i = 0; i < 12; ++i) out.Float(0);
    mesh = ReadBodyMesh(out.Bytes(), false);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->blends[0], (MeshBlend{16384, 1}));
}

TEST(MeshFiles, IndicesOutsideTheMeshAndTruncationsAreRefused) {
    const struct {
        const char* what;
        void (*spoil)(BodyMesh&);
    } cases[] = {
        {"face", [](BodyMesh& m) { m.faces[3][1] = 10; }},
        {"negative face", [](BodyMesh& m) { m.faces[0][0] = -1; }},
        {"binding bone", [](BodyMesh& m) { m.bindings[1].bone = 2; }},
        {"binding range", [](BodyMesh& m) { m.bindings[0].vertexCount = 11; }},
        {"blend vertex", [](BodyMesh& m) { m.blends[1].vertex = 10; }},
        {"too many vertices", [](BodyMesh& m) { m.vertices.resize(65536); }},
    };
    for (const auto& c : cases) {
        BodyMesh m = MakeCubeMesh();
        c.spoil(m);
        for (bool text : {false, true}) {
            std::string error;
            EXPECT_EQ(ReadBodyMesh(WriteBodyMesh(m, text), text, &error), nullptr) << c.what;
            EXPECT_FALSE(error.empty());
        }
    }
    const std::string whole = WriteBodyMesh(MakeCubeMesh(), false);
    for (size_t n = 0; n < whole.size(); n += 5) EXPECT_EQ(ReadBodyMesh(whole.substr(0, n), false), nullptr) << n;
}

TEST(Keyframes, TheDeltaTableRunsFromMinusToPlusATenth) {
    const auto& d = KeyframeDeltaTable();
    EXPECT_EQ(d[0], -0.1f);
    EXPECT_EQ(d[126], 0.0f);
    EXPECT_EQ(d[253], 0.0f);
    EXPECT_NEAR(d[252], 0.1f, 1e-7);
    for (int c = 1; c <= 252; ++c) EXPECT_GE(d[c], d[c - 1]) << c;
}

TEST(Keyframes, ANewValueThenARepeatGivesTheFirstFourValues) {
    const std::string bytes = "\xFF" + FloatBytes(1.0f) + std::string("\xFE\x02\x00", 3);
    std::vector<Vector3> t(2);
    std::vector<Quaternion> r;
    EXPECT_EQ(DecodeCompressedKeyframes(bytes, t, r), 8);
    EXPECT_EQ(t[0].x, 1.0f);
    EXPECT_EQ(t[1].x, 1.0f);
    EXPECT_EQ(t[0].y, 1.0f);
    EXPECT_EQ(t[1].y, 1.0f);
    // Past the end of the data the values stay as they were.
    EXPECT_EQ(t[0].z, 0.0f);
}

TEST(Keyframes, TheStateRunsThroughABlockAndStartsAgainForRotations) {
    // One translation: x = 2, y = x + 0.1, z = y (no step); then the first
    // rotation value steps from 0, not from the translations' last value.
    std::string bytes = "\xFF" + FloatBytes(2.0f);
    bytes += static_cast<char>(252);
    bytes += static_cast<char>(126);
    bytes += static_cast<char>(252);
    std::vector<Vector3> t(1);
    std::vector<Quaternion> r(1);
    DecodeCompressedKeyframes(bytes, t, r);
    EXPECT_EQ(t[0].x, 2.0f);
    EXPECT_EQ(t[0].y, 2.0f + KeyframeDeltaTable()[252]);
    EXPECT_EQ(t[0].z, t[0].y);
    EXPECT_EQ(r[0].x, KeyframeDeltaTable()[252]);
    // A short file leaves the rest of the rotation at identity.
    EXPECT_EQ(r[0].y, 0.0f);
    EXPECT_EQ(r[0].w, 1.0f);
}

TEST(Keyframes, EncodingThenDecodingGivesTheInputExactly) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> any(-2, 2);
    std::vector<Vector3> t(300);
    std::vector<Quaternion> r(500);
    for (size_t i = 0; i < t.size(); ++i) t[i] = {i < 100 ? 0.0f : any(random), 1.5f, i * 0.01f};
    for (size_t i = 0; i < r.size(); ++i) r[i] = {any(random), -0.0f, i % 7 == 0 ? 0.25f : 0.0f, 1};
    const std::string bytes = EncodeCompressedKeyframes(t, r);
    std::vector<Vector3> t2(t.size());
    std::vector<Quaternion> r2(r.size());
    EXPECT_EQ(DecodeCompressedKeyframes(bytes, t2, r2), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(std::memcmp(t.data(), t2.data(), t.size() * sizeof(Vector3)), 0);
    EXPECT_EQ(std::memcmp(r.data(), r2.data(), r.size() * sizeof(Quaternion)), 0);
    // A run is one repeat, not one byte a value.
    const std::vector<Vector3> still(1000, Vector3{1, 1, 1});
    EXPECT_EQ(EncodeCompressedKeyframes(still, {}).size(), 5u + 3u);
}

TEST(Keyframes, ARawFileShorterThanItsCountsFails) {
    std::vector<Vector3> t;
    std::vector<Quaternion> r;
    TestKeyframes(t, r);
    const std::string raw = WriteRawKeyframes(t, r);
    std::vector<Vector3> t2(t.size());
    std::vector<Quaternion> r2(r.size());
    EXPECT_FALSE(ReadRawKeyframes(raw.substr(0, raw.size() - 1), t2, r2));
    ASSERT_TRUE(ReadRawKeyframes(raw, t2, r2));
    EXPECT_EQ(t2[3], t[3]);
    EXPECT_EQ(r2[7].y, r[7].y);
}

TEST(IndexFiles, RoundTripAndRefuseDamagedFiles) {
    CharacterIndex index;
    index.skeletons = {{"adult", "adult"}};
    index.suits = {{"b001fa_lgt", "adult"}, {std::string(1023, 's'), "long"}};
    index.skills = {{"a2o-wave", "skills"}};
    const std::string bytes = WriteCharacterIndex(index);
    CharacterIndex back;
    ASSERT_TRUE(ReadCharacterIndex(bytes, back));
    EXPECT_EQ(back.suits, index.suits);
    EXPECT_EQ(back.skills, index.skills);
    for (size_t n = 0; n < bytes.size(); n += 11) EXPECT_FALSE(ReadCharacterIndex(bytes.substr(0, n), back)) << n;
    index.skills[0].first = std::string(1024, 'x');
    EXPECT_FALSE(ReadCharacterIndex(WriteCharacterIndex(index), back));
}
