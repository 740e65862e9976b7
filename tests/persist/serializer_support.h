// Helpers for the serializer and archive tests: transfers, the code a throwing
// call raises, scratch files named after the running test, saving to and
// loading from bytes, and little-endian fields and headers of an archive.
#ifndef LUMORA_TESTS_PERSIST_SERIALIZER_SUPPORT_H
#define LUMORA_TESTS_PERSIST_SERIALIZER_SUPPORT_H

#include <lumora/exception.h>
#include <lumora/image.h>
#include <lumora/serializer.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void Put(KSerializer& s, Bytes bytes) {
    static_cast<KOpaqueSerializer&>(s).SerializeBytes(bytes.data(), static_cast<unsigned>(bytes.size()), "put");
}

inline Bytes Take(KSerializer& s, unsigned size) {
    Bytes bytes(size, 0xEE);
    static_cast<KOpaqueSerializer&>(s).SerializeBytes(bytes.data(), size, "take");
    return bytes;
}

// The code of the library exception call throws; 0 if it returns.
template <typename Call>
K_ERRORS CodeOf(Call call) {
    try {
        call();
    } catch (const Corvane::Lumora::Exception& error) {
        return error.GetCode();
    }
    return K_SUCCESS;
}

// An object header: signature, type, version and their XOR.
inline Bytes Header(uint8_t type, uint8_t version = 4) {
    return {0x4B, type, version, static_cast<uint8_t>(0x4B ^ type ^ version)};
}

inline Bytes operator+(Bytes front, const Bytes& back) {
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

// A path unique to this test and process, removed when the object goes.
class ScratchFile {
public:
    ScratchFile() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = ::testing::TempDir() + "lumora_" + test->name() + "_" + std::to_string(getpid());
        std::remove(m_path.c_str());
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

    void Write(const Bytes& bytes) const {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes Read() const {
        std::ifstream in(m_path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
};

// Archive operations trace their failures; these tests read the codes.
class SilentTrace : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

inline Bytes SaveToBytes(const KGenericROI& object) {
    KMemSerializer writer;
    writer.OpenWriter();
    object.Save(&writer);
    return writer.GetBuffer();
}

// Loads bytes into object and returns the error word.
inline K_ERRORS LoadFromBytes(KGenericROI& object, const Bytes& bytes) {
    KMemSerializer reader;
    reader.OpenReader(bytes);
    object.Load(&reader);
    return KGetError();
}

template <class Field = int32_t>
Field FieldAt(const Bytes& bytes, size_t offset) {
    Field value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <class Field>
void PatchAt(Bytes& bytes, size_t offset, Field value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

#endif
