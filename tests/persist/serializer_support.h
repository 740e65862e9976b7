// Helpers for the serializer tests: transfers, the code a throwing call
// raises, and scratch files named after the running test.
#ifndef LUMORA_TESTS_PERSIST_SERIALIZER_SUPPORT_H
#define LUMORA_TESTS_PERSIST_SERIALIZER_SUPPORT_H

#include <lumora/exception.h>
#include <lumora/serializer.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
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

inline const char* AsChars(const Bytes& bytes) { return reinterpret_cast<const char*>(bytes.data()); }

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

    void Write(const Bytes& bytes) const { std::ofstream(m_path, std::ios::binary).write(AsChars(bytes), bytes.size()); }
    Bytes Read() const {
        std::ifstream in(m_path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_path;
};

#endif
