#include <lumora/serializer.h>

#include "persist/serializer_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

TEST(MemSerializer, WriterCollectsBytesAndGetDataChecksCapacity) {
    std::unique_ptr<KSerializer> writer(KSerializer::CreateMemoryWriter());
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(writer->GetData(nullptr, 0), 0u) << "an empty buffer copies nothing";
    EXPECT_EQ(KGetError(), K_SUCCESS);
    Put(*writer, {1, 2, 3, 4, 5});
    writer->PushStreamPos();  // no effect while writing
    Put(*writer, {6, 7});
    writer->PopAndApplyStreamPos();
    EXPECT_TRUE(writer->IsEOS()) << "a memory writer is always at its end";
    EXPECT_EQ(writer->GetCurrentPos(), 7u);

    Bytes out(8, 0xEE);
    EXPECT_EQ(writer->GetData(out.data(), 6), 0u);
    EXPECT_EQ(KGetError(), K_ERROR_INSUFFICIENT_ALLOCATION);
    EXPECT_EQ(out, Bytes(8, 0xEE)) << "a refused copy writes nothing";
    EXPECT_EQ(writer->GetData(out.data(), 7), 7u);
    EXPECT_EQ(out, (Bytes{1, 2, 3, 4, 5, 6, 7, 0xEE}));
}

TEST(MemSerializer, ReaderOwnsACopyAndNeverReadsPastItsBuffer) {
    auto* source = new unsigned char[6]{10, 11, 12, 13, 14, 15};
    std::unique_ptr<KSerializer> reader(KSerializer::CreateMemoryReader(source, 6));
    delete[] source;
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(Take(*reader, 4), (Bytes{10, 11, 12, 13}));
    EXPECT_EQ(reader->GetCurrentPos(), 6u) << "the buffer length, not the read position";
    unsigned char out[3] = {0xEE, 0xEE, 0xEE};
    auto& impl = static_cast<KOpaqueSerializer&>(*reader);
    EXPECT_EQ(CodeOf([&] { impl.SerializeBytes(out, 3, "over"); }), K_ERROR_FILE_READ);
    EXPECT_EQ(CodeOf([&] { impl.SerializeBytes(out, UINT_MAX, "wraps"); }), K_ERROR_FILE_READ);
    EXPECT_EQ(out[0], 0xEE) << "nothing is copied from a read that would overrun";
    EXPECT_EQ(Take(*reader, 2), (Bytes{14, 15})) << "and the position did not move";
    EXPECT_EQ(CodeOf([&] { Take(*reader, 1); }), K_ERROR_FILE_READ);

    EXPECT_EQ(KSerializer::CreateMemoryReader(nullptr, 3), nullptr);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
}

TEST(MemSerializer, PositionStackRewindsReadsAndModesSwitchOnlyOnRequest) {
    KMemSerializer mem;
    EXPECT_TRUE(mem.IsReading() && mem.IsEOS()) << "a new serializer reads an empty buffer";
    mem.OpenReader({1, 2, 3, 4});
    mem.PushStreamPos();
    Take(mem, 3);
    mem.PopAndApplyStreamPos();
    mem.PopAndApplyStreamPos();  // empty stack: nothing happens
    EXPECT_EQ(Take(mem, 1), Bytes{1});

    mem.PushStreamPos();
    mem.OpenReader({7, 8});
    mem.PopAndApplyStreamPos();  // OpenReader dropped the saved positions
    EXPECT_EQ(Take(mem, 1), Bytes{7});

    mem.OpenWriter();
    EXPECT_TRUE(mem.IsWriting() && mem.GetBuffer().empty());
    Put(mem, {9});
    mem.OpenReader(mem.GetBuffer());
    EXPECT_EQ(Take(mem, 1), Bytes{9});
}

}  // namespace
