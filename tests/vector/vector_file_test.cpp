#include <lumora/errors.h>
#include <lumora/vector.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

// The 4-byte header of the member with this type code, then the body.
Bytes File(uint8_t code, Bytes body) {
    body.insert(body.begin(), {0x4B, code, 0x01, static_cast<uint8_t>(0x4B ^ code ^ 0x01)});
    return body;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class VectorFile : public ::testing::Test {
protected:
    void SetUp() override {
        KSetTraceMode(K_TRACE_MESSAGE_BOX);
        KOk();
        path = ::testing::TempDir() + "lumora_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { std::remove(path.c_str()); }

    template <class T>
    Bytes Saved(std::initializer_list<T> elements) {
        KVectorTemplate<T> v;
        for (const T& element : elements) {
            v.AddElement(element);
        }
        v.Save(path.c_str());
        EXPECT_EQ(KGetError(), 0);
        return ReadBytes(path);
    }
    // Loads the bytes into a vector that held five elements.
    template <class T>
    KVectorTemplate<T> Loaded(const Bytes& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        KVectorTemplate<T> v(5);
        v.Load(path.c_str());
        return v;
    }
    // The elements save as the file, and the file loads as what saves as it again.
    template <class T>
    void ExpectFile(std::initializer_list<T> elements, const Bytes& file) {
        EXPECT_EQ(Saved<T>(elements), file);
        KVectorTemplate<T> v = Loaded<T>(file);
        EXPECT_EQ(KGetError(), 0);
        v.Save(path.c_str());
        EXPECT_EQ(ReadBytes(path), file) << "after loading";
    }
    Names TraceNames() {
        Names names;
        for (const CapturedBox& box : boxes.Boxes()) {
            names.push_back(box.text.substr(0, box.text.find('\n')));
        }
        return names;
    }

    MessageBoxCapture boxes;
    std::string path;
};

TEST_F(VectorFile, ByteLayoutOfEachMember) {
    ExpectFile<KBW8>({{1}, {2}, {3}}, {0x4B, 0x01, 0x01, 0x4B, 0x03, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03});
    ExpectFile<KBW8>({}, File(1, {0, 0, 0, 0}));
    ExpectFile<KBW16>({{0x1234}, {0xFF}}, File(2, {2, 0, 0, 0, 0x34, 0x12, 0xFF, 0x00}));
    ExpectFile<KINT32>({-2, 70000}, File(7, {2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    ExpectFile<KC24>({{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}},  // three bytes each, in memory order
                     File(4, {2, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    // KBW32 and unsigned int share a type code and so read each other's files.
    const Bytes word = File(3, {1, 0, 0, 0, 0xD4, 0xC3, 0xB2, 0xA1});
    ExpectFile<KBW32>({{0xA1B2C3D4u}}, word);
    ExpectFile<unsigned int>({0xA1B2C3D4u}, word);

    // A run is twelve bytes, with the low 32 bits of each pointer.
    KRun run;
    run.pBeg = reinterpret_cast<void*>(static_cast<uintptr_t>(0x11223344u));
    run.pEnd = reinterpret_cast<void*>(~static_cast<uintptr_t>(0) - 0x1122u);  // high bits set on 64 bits
    run.n16X = -2;
    run.n16Y = 0x1234;
    const Bytes file = File(6, {1, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0xDD, 0xEE, 0xFF, 0xFF, 0xFE, 0xFF, 0x34, 0x12});
    ExpectFile<KRun>({run}, file);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(Loaded<KRun>(file)[0].pEnd), 0xFFFFEEDDu) << "zero-extended";
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(VectorFile, HostileFilesFailCleanly) {
    // Another member's file, a wrong check byte, or another member and version
    // whose check byte happens to match, is refused and changes nothing.
    for (const Bytes& file :
         {File(2, {1, 0, 0, 0, 7, 0}), Bytes{0x4B, 1, 1, 0x4A, 0, 0, 0, 0}, Bytes{0x4B, 2, 2, 0x4B, 0, 0, 0, 0}}) {
        EXPECT_EQ(Loaded<KBW8>(file).GetNumElements(), 5u);
        EXPECT_EQ(KGetError(), K_ERROR_BAD_FILE_FORMAT);
    }
    // Counts the body cannot hold fail before anything is allocated; the byte
    // size of 0x15555556 runs wraps to 8 in 32 bits.
    const Bytes whole = Saved<KRun>({KRun{nullptr, nullptr, 1, 2}, KRun{nullptr, nullptr, 3, 4}});
    for (const Bytes& count : {Bytes{3, 0, 0, 0}, Bytes{0x56, 0x55, 0x55, 0x15}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}}) {
        Bytes file = whole;
        std::copy(count.begin(), count.end(), file.begin() + 4);
        EXPECT_EQ(Loaded<KRun>(file).GetMaxElements(), 5u) << "nothing was allocated for the count";
        EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    }
    EXPECT_EQ(TraceNames(), (Names(6, "Function: KVector::Load")));
    KSetTraceMode(K_TRACE_SILENT);
    for (size_t length = 0; length < whole.size(); ++length) {
        Loaded<KRun>(Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        EXPECT_EQ(KGetError(), K_ERROR_FILE_READ) << "file of " << length << " bytes";
    }
}

TEST_F(VectorFile, SaveAndLoadByPath) {
    const std::string missing = ::testing::TempDir() + "no_such_directory/v.vec";
    const std::basic_string<unsigned short> wideMissing(missing.begin(), missing.end());
    KVectorTemplate<KINT32> ints;
    ints.Save(missing.c_str());
    ints.Save(wideMissing.c_str());
    ints.Load(missing.c_str());
    ints.Load(wideMissing.c_str());
    EXPECT_EQ(KGetError(), K_ERROR_FILE_OPEN);
    EXPECT_EQ(TraceNames(), (Names{"Function: KVector::Save", "Function: KVector::Save ( Unicode)",
                                   "Function: KVector::Load", "Function: KVector::Load ( Unicode)"}));

    const std::string narrow = path + "\xC2\xB5";  // the micro sign, as UTF-8 on disk
    std::basic_string<unsigned short> wide(path.begin(), path.end());
    wide += 0xB5;
    ints.AddElement(-7);
    ints.Save(wide.c_str());
    const Bytes saved = ReadBytes(narrow);
    KVectorTemplate<KINT32> back;
    back.Load(wide.c_str());
    std::remove(narrow.c_str());
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(saved, File(7, {1, 0, 0, 0, 0xF9, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(back[0], -7);

    // /dev/full takes the open and buffered writes, then fails when data
    // reaches it: a body within the stream's buffer at the close, a larger one
    // at a write.
    ASSERT_EQ(access("/dev/full", W_OK), 0);
    KSetTraceMode(K_TRACE_SILENT);
    KVectorTemplate<KBW8>(3).Save("/dev/full");
    EXPECT_EQ(KGetError(), K_ERROR_FILE_CLOSE);
    KVectorTemplate<KBW8>(1 << 20).Save("/dev/full");
    EXPECT_EQ(KGetError(), K_ERROR_FILE_WRITE);
}

// A pipe cannot tell how much is left, so the count is trusted as far as an
// allocation goes and a short body is found by reading.
TEST_F(VectorFile, SerializeReadsBodiesInSequenceFromAPipe) {
    const uint8_t bodies[] = {2, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 3, 0, 0, 0, 1, 2, 3, 4, 5};
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], bodies, sizeof bodies), static_cast<ssize_t>(sizeof bodies));
    close(ends[1]);
    FILE* stream = fdopen(ends[0], "rb");
    KVectorTemplate<KBW16> grey;
    grey.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), 0);
    ASSERT_EQ(grey.GetNumElements(), 2u);
    EXPECT_EQ(grey[1].m_un16Value, 0x4030);
    KVectorTemplate<KBW16>().Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ) << "three announced, two and a half there";
    grey.Serialize(stream, 0, 1);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    EXPECT_EQ(grey.GetNumElements(), 2u) << "a missing count changes nothing";
    EXPECT_EQ(boxes.Count(), 0u) << "Serialize reports without tracing";
    std::fclose(stream);
}

}  // namespace
