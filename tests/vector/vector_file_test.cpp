#include <lumora/errors.h>
#include <lumora/vector.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class VectorFile : public ::testing::Test {
protected:
    void SetUp() override {
        KSetTraceMode(K_TRACE_MESSAGE_BOX);
        KOk();
    }
    void TearDown() override {
        for (const std::string& path : m_paths) {
            std::remove(path.c_str());
        }
    }

    // A file name of this test's own, removed afterwards.
    std::string Path(const std::string& suffix = "") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_paths.push_back(::testing::TempDir() + "lumora_" + info->name() + suffix + ".vec");
        return m_paths.back();
    }

    static Bytes ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteBytes(const std::string& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // What follows the 4-byte header.
    static Bytes Body(const std::string& path) {
        const Bytes whole = ReadBytes(path);
        return whole.size() < 4 ? Bytes() : Bytes(whole.begin() + 4, whole.end());
    }
    std::vector<std::string> TraceNames() {
        std::vector<std::string> names;
        for (const CapturedBox& box : boxes.Boxes()) {
            names.push_back(box.text.substr(0, box.text.find('\n')));
        }
        return names;
    }

    MessageBoxCapture boxes;

private:
    std::vector<std::string> m_paths;
};

template <class T>
Bytes HeaderOf(const std::string& path) {
    KVectorTemplate<T> v;
    v.Save(path.c_str());
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(4);
    in.read(reinterpret_cast<char*>(bytes.data()), 4);
    return bytes;
}

TEST_F(VectorFile, ThreeBW8ElementsAreElevenBytes) {
    KVectorTemplate<KBW8> v;
    for (uint8_t value : {1, 2, 3}) {
        v.AddElement(KBW8{value});
    }
    const std::string path = Path();
    v.Save(path.c_str());
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(ReadBytes(path), (Bytes{0x4B, 0x01, 0x01, 0x4B, 0x03, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03}));

    KVectorTemplate<KBW8> loaded(7);
    loaded.Load(path.c_str());
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(loaded.GetNumElements(), 3u);
    EXPECT_EQ(loaded[2].m_un8Value, 3);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(VectorFile, EachMemberWritesItsTypeCodeAndVersion) {
    const std::string path = Path();
    auto header = [](uint8_t code) { return Bytes{0x4B, code, 0x01, static_cast<uint8_t>(0x4B ^ code ^ 0x01)}; };
    EXPECT_EQ(HeaderOf<KBW8>(path), header(1));
    EXPECT_EQ(HeaderOf<KBW16>(path), header(2));
    EXPECT_EQ(HeaderOf<KBW32>(path), header(3));
    EXPECT_EQ(HeaderOf<unsigned int>(path), header(3));
    EXPECT_EQ(HeaderOf<KC24>(path), header(4));
    EXPECT_EQ(HeaderOf<KRun>(path), header(6));
    EXPECT_EQ(HeaderOf<KINT32>(path), header(7));
}

TEST_F(VectorFile, WordsAreLittleEndianAndColoursThreeBytesInMemoryOrder) {
    const std::string path = Path();
    KVectorTemplate<KBW16> grey;
    grey.AddElement(KBW16{0x1234});
    grey.Save(path.c_str());
    EXPECT_EQ(Body(path), (Bytes{1, 0, 0, 0, 0x34, 0x12}));

    KVectorTemplate<KINT32> ints;
    ints.AddElement(-2);
    ints.Save(path.c_str());
    EXPECT_EQ(Body(path), (Bytes{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));

    KVectorTemplate<KC24> colors;
    colors.AddElement(KC24{0x11, 0x22, 0x33});
    colors.AddElement(KC24{0x44, 0x55, 0x66});
    colors.Save(path.c_str());
    EXPECT_EQ(Body(path),
              (Bytes{2, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    KVectorTemplate<KC24> back;
    back.Load(path.c_str());
    ASSERT_EQ(back.GetNumElements(), 2u);
    EXPECT_EQ(back[1].m_un8C2, 0x44);
    EXPECT_EQ(back[1].m_un8C0, 0x66);
}

TEST_F(VectorFile, RunIsTwelveBytesWithLow32BitsOfEachPointer) {
    KVectorTemplate<KRun> runs;
    KRun run;
    run.pBeg = reinterpret_cast<void*>(static_cast<uintptr_t>(0x11223344u));
    run.pEnd = reinterpret_cast<void*>(~static_cast<uintptr_t>(0) - 0x1122u);  // high bits set on 64 bits
    run.n16X = -2;
    run.n16Y = 0x1234;
    runs.AddElement(run);
    const std::string path = Path();
    runs.Save(path.c_str());
    EXPECT_EQ(ReadBytes(path), (Bytes{0x4B, 6, 1, 0x4B ^ 6 ^ 1, 1, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0xDD, 0xEE,
                                      0xFF, 0xFF, 0xFE, 0xFF, 0x34, 0x12}));

    KVectorTemplate<KRun> loaded;
    loaded.Load(path.c_str());
    ASSERT_EQ(loaded.GetNumElements(), 1u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(loaded[0].pBeg), 0x11223344u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(loaded[0].pEnd), 0xFFFFEEDDu) << "zero-extended";
    EXPECT_EQ(loaded[0].n16X, -2);
    EXPECT_EQ(loaded[0].n16Y, 0x1234);
}

TEST_F(VectorFile, BW32AndUnsignedIntReadEachOthersFiles) {
    const std::string path = Path();
    KVectorTemplate<KBW32> grey;
    grey.AddElement(KBW32{0xA1B2C3D4u});
    grey.Save(path.c_str());
    KVectorTemplate<unsigned int> words;
    words.Load(path.c_str());
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(words.GetNumElements(), 1u);
    EXPECT_EQ(words[0], 0xA1B2C3D4u);

    words.AddElement(5);
    words.Save(path.c_str());
    grey.Load(path.c_str());
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(grey.GetNumElements(), 2u);
    EXPECT_EQ(grey[1].m_un32Value, 5u);
}

TEST_F(VectorFile, AnotherMembersFileIsRefusedWith1105) {
    const std::string path = Path();
    KVectorTemplate<KBW16> grey;
    grey.AddElement(KBW16{7});
    grey.Save(path.c_str());
    KVectorTemplate<KBW8> bytes;
    bytes.AddElement(KBW8{9});
    bytes.Load(path.c_str());
    EXPECT_EQ(KGetError(), K_ERROR_BAD_FILE_FORMAT);
    EXPECT_EQ(TraceNames(), std::vector<std::string>{"Function: KVector::Load"});
    ASSERT_EQ(bytes.GetNumElements(), 1u);
    EXPECT_EQ(bytes[0].m_un8Value, 9);

    WriteBytes(path, {0x4B, 1, 1, 0x4A, 0, 0, 0, 0});  // wrong check byte
    bytes.Load(path.c_str());
    EXPECT_EQ(KGetError(), K_ERROR_BAD_FILE_FORMAT);
}

TEST_F(VectorFile, EveryTruncationGives1103) {
    KVectorTemplate<KRun> runs;
    runs.AddElement(KRun{nullptr, nullptr, 1, 2});
    runs.AddElement(KRun{nullptr, nullptr, 3, 4});
    const std::string path = Path();
    runs.Save(path.c_str());
    const Bytes whole = ReadBytes(path);
    ASSERT_EQ(whole.size(), 4u + 4u + 2 * 12u);
    KSetTraceMode(K_TRACE_SILENT);
    for (size_t length = 0; length < whole.size(); ++length) {
        WriteBytes(path, Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        KVectorTemplate<KRun> loaded;
        loaded.Load(path.c_str());
        EXPECT_EQ(KGetError(), K_ERROR_FILE_READ) << "file of " << length << " bytes";
    }
    WriteBytes(path, whole);
    KVectorTemplate<KRun> loaded;
    loaded.Load(path.c_str());
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(loaded.GetNumElements(), 2u);
}

TEST_F(VectorFile, AHugeCountWithAShortBodyFailsBeforeAllocating) {
    const std::string path = Path();
    WriteBytes(path, {0x4B, 6, 1, 0x4B ^ 6 ^ 1, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    KVectorTemplate<KRun> runs(2);
    const KRun* array = runs.GetDataPtr();
    const auto start = std::chrono::steady_clock::now();
    runs.Load(path.c_str());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    EXPECT_EQ(TraceNames(), std::vector<std::string>{"Function: KVector::Load"});
    EXPECT_EQ(runs.GetMaxElements(), 2u) << "nothing was allocated for the count";
    EXPECT_EQ(runs.GetDataPtr(), array);
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

// Random damage to a valid file: every load ends with one of the documented
// codes, and the sanitizer build checks that nothing is read out of bounds.
TEST_F(VectorFile, DamagedFilesFailCleanly) {
    KVectorTemplate<KC24> colors;
    for (uint8_t i = 0; i < 40; ++i) {
        colors.AddElement(KC24{i, static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 2)});
    }
    const std::string path = Path();
    colors.Save(path.c_str());
    const Bytes whole = ReadBytes(path);
    std::mt19937 random(99);
    KSetTraceMode(K_TRACE_SILENT);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes damaged = whole;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i) {
            damaged[random() % 12] = static_cast<uint8_t>(random());
        }
        damaged.resize(random() % (whole.size() + 8));
        WriteBytes(path, damaged);
        KVectorTemplate<KC24> loaded;
        loaded.Load(path.c_str());
        const K_ERRORS code = KGetError();
        EXPECT_TRUE(code == 0 || code == K_ERROR_FILE_READ || code == K_ERROR_BAD_FILE_FORMAT) << code;
        if (code == 0) {
            ASSERT_LE(8 + 3 * static_cast<size_t>(loaded.GetNumElements()), damaged.size());
        }
    }
}

TEST_F(VectorFile, UnopenableFilesGive1102UnderEachTraceName) {
    const std::string missing = ::testing::TempDir() + "no_such_directory/v.vec";
    std::basic_string<unsigned short> wideMissing(missing.begin(), missing.end());
    KVectorTemplate<KBW8> v;
    v.Save(missing.c_str());
    EXPECT_EQ(KGetError(), K_ERROR_FILE_OPEN);
    v.Save(wideMissing.c_str());
    v.Load(missing.c_str());
    v.Load(wideMissing.c_str());
    EXPECT_EQ(KGetError(), K_ERROR_FILE_OPEN);
    EXPECT_EQ(TraceNames(), (std::vector<std::string>{"Function: KVector::Save", "Function: KVector::Save ( Unicode)",
                                                      "Function: KVector::Load", "Function: KVector::Load ( Unicode)"}));
}

TEST_F(VectorFile, WidePathsRoundTrip) {
    const std::string narrow = Path("_\xC2\xB5");  // the micro sign, as UTF-8 on disk
    std::basic_string<unsigned short> wide;
    const std::string stem = narrow.substr(0, narrow.size() - 6);
    wide.assign(stem.begin(), stem.end());
    wide += static_cast<unsigned short>(0xB5);
    wide += {'.', 'v', 'e', 'c'};

    KVectorTemplate<KINT32> ints;
    ints.AddElement(-7);
    ints.AddElement(70000);
    ints.Save(wide.c_str());
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(ReadBytes(narrow).size(), 16u) << "saved under the UTF-8 form of the name";
    KVectorTemplate<KINT32> back;
    back.Load(wide.c_str());
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(back.GetNumElements(), 2u);
    EXPECT_EQ(back[0], -7);
    EXPECT_EQ(back[1], 70000);
}

// /dev/full takes the open and buffered writes, then fails when data reaches
// it: a body within the stream's buffer fails at the close, a larger one at a
// write.
TEST_F(VectorFile, WriteAndCloseFailuresGive1104And1106) {
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    KSetTraceMode(K_TRACE_SILENT);
    KVectorTemplate<KBW8> small(3);
    small.Save("/dev/full");
    EXPECT_EQ(KGetError(), K_ERROR_FILE_CLOSE);
    KVectorTemplate<KBW8> large(1 << 20);
    large.Save("/dev/full");
    EXPECT_EQ(KGetError(), K_ERROR_FILE_WRITE);
}

TEST_F(VectorFile, SerializeLeavesTheStreamAfterTheBody) {
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    KVectorTemplate<unsigned int> first;
    first.AddElement(1);
    first.AddElement(2);
    KVectorTemplate<unsigned int> second;
    second.AddElement(3);
    first.Serialize(stream, 1, 1);
    second.Serialize(stream, 1, 1);
    EXPECT_EQ(std::ftell(stream), 8 + 4 + 8);
    std::rewind(stream);
    KVectorTemplate<unsigned int> a;
    KVectorTemplate<unsigned int> b;
    a.Serialize(stream, 0, 1);
    b.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(a.GetNumElements(), 2u);
    ASSERT_EQ(b.GetNumElements(), 1u);
    EXPECT_EQ(b[0], 3u);
    a.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ) << "nothing left to read";
    EXPECT_EQ(a.GetNumElements(), 2u) << "a missing count changes nothing";
    EXPECT_EQ(boxes.Count(), 0u) << "Serialize reports without tracing";
    std::fclose(stream);
}

// A pipe cannot tell how much is left, so the count is trusted as far as an
// allocation goes and the short body is found by reading.
TEST_F(VectorFile, SerializeReadsFromAStreamThatCannotSeek) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    // Two KBW16, then a count of three followed by only two and a half.
    const uint8_t bodies[] = {2, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 3, 0, 0, 0, 1, 2, 3, 4, 5};
    ASSERT_EQ(write(ends[1], bodies, sizeof bodies), static_cast<ssize_t>(sizeof bodies));
    close(ends[1]);
    FILE* stream = fdopen(ends[0], "rb");
    ASSERT_NE(stream, nullptr);
    KVectorTemplate<KBW16> grey;
    grey.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(grey.GetNumElements(), 2u);
    EXPECT_EQ(grey[1].m_un16Value, 0x4030);
    grey.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    std::fclose(stream);
}

}  // namespace
