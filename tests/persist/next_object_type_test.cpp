#include <lumora/serializer.h>

#include "persist/serializer_support.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

Bytes Header(unsigned char type, unsigned char version = 4) {
    return {0x4B, type, version, static_cast<unsigned char>(0x4B ^ type ^ version)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Runs check over the same bytes behind each of the three streams.
void ForEachReader(Bytes bytes, const std::function<void(KSerializer&)>& check) {
    std::unique_ptr<KSerializer> mem(KSerializer::CreateMemoryReader(bytes.data(), static_cast<unsigned>(bytes.size())));
    check(*mem);
    ScratchFile file;
    file.Write(bytes);
    std::unique_ptr<KSerializer> owned(KSerializer::CreateFileReader(file.Path()));
    check(*owned);
    FILE* stream = std::fopen(file.Path().c_str(), "rb");
    {
        KFilePointerSerializer pointer(stream, 0);
        check(pointer);
    }
    std::fclose(stream);
}

TEST(NextObjectType, PeeksWithoutConsumingAndEndsWithZero) {
    ForEachReader(Concat({Header(34), {0xAA, 0xBB}, Header(47, 1), Header(0xC8, 0)}), [](KSerializer& s) {
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::IMAGE_BW8);
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::IMAGE_BW8) << "the header is not consumed";
        EXPECT_EQ(Take(s, 6), Concat({Header(34), {0xAA, 0xBB}}));
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::ROI_BW8) << "the version is not checked";
        Take(s, 4);
        EXPECT_EQ(s.GetNextObjectType(), 200) << "a high type byte stays positive";
        Take(s, 4);
        KSetError(K_ERROR_INTERNAL);
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::END_OF_STREAM);
        EXPECT_EQ(KGetError(), K_SUCCESS);
    });
}

TEST(NextObjectType, DamagedHeadersFailAndLeaveThePositionAlone) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    Bytes badSignature = {0x4C, 34, 4, 0x4C ^ 34 ^ 4};
    Bytes badCheckSum = Header(39);
    badCheckSum[3] ^= 0x80;
    const std::pair<Bytes, K_ERRORS> cases[] = {{badSignature, K_ERROR_BAD_FILE_FORMAT},
                                                {badCheckSum, K_ERROR_BAD_FILE_FORMAT},
                                                {Header(0), K_ERROR_BAD_FILE_FORMAT},
                                                {{0x4B, 34}, K_ERROR_FILE_READ}};
    for (const auto& [header, expected] : cases) {
        const Bytes bytes = header;
        const K_ERRORS code = expected;
        ForEachReader(Concat({{0x11}, bytes}), [&](KSerializer& s) {
            Take(s, 1);
            s.PushStreamPos();  // an outer caller's saved position
            EXPECT_EQ(s.GetNextObjectType(), KSerializer::OBJECT_FAILURE);
            EXPECT_EQ(KGetError(), code);
            EXPECT_EQ(Take(s, static_cast<unsigned>(bytes.size())), bytes) << "rewound to the header";
            s.PopAndApplyStreamPos();
            EXPECT_EQ(Take(s, 1), Bytes{bytes[0]}) << "the outer entry is intact";
        });
    }
    EXPECT_EQ(boxes.Count(), 0u) << "serializers store codes without tracing";
}

TEST(NextObjectType, WritersAnswer1113AndStayPut) {
    ScratchFile file;
    std::unique_ptr<KSerializer> writers[] = {
        std::unique_ptr<KSerializer>(KSerializer::CreateMemoryWriter()),
        std::unique_ptr<KSerializer>(KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite))};
    for (auto& writer : writers) {
        Put(*writer, {1, 2, 3});
        EXPECT_EQ(writer->GetNextObjectType(), KSerializer::OBJECT_FAILURE);
        EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_READING);
        EXPECT_EQ(writer->GetCurrentPos(), 3u);
    }
}

// A stream that fails with something other than a library exception.
class ThrowingSerializer : public KOpaqueSerializer {
public:
    void Close() override {}
    unsigned int SerializeBytes(void*, unsigned int, const char*) override { throw std::runtime_error("gone"); }
    int IsWriting() const override { return 0; }
    int IsEOS() const override { return 0; }
    int IsReading() const override { return 1; }
    void PushStreamPos() override { ++m_nDepth; }
    void PopAndForgetStreamPos() override { --m_nDepth; }
    void PopAndApplyStreamPos() override { --m_nDepth; }
    int m_nDepth = 0;
};

TEST(NextObjectType, ForeignExceptionsGive1112) {
    ThrowingSerializer throwing;
    KSerializer& s = throwing;
    EXPECT_EQ(s.GetNextObjectType(), KSerializer::OBJECT_FAILURE);
    EXPECT_EQ(KGetError(), K_ERROR_ARCHIVE_UNEXPECTED);
    EXPECT_EQ(throwing.m_nDepth, 0) << "the pushed position was popped";
}

}  // namespace
