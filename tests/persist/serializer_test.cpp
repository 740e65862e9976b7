// The three serializers: opening, transfers, the position stack, closing, and
// GetNextObjectType over each of them.
#include <lumora/serializer.h>

#include "persist/serializer_support.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using Serializer = std::unique_ptr<KSerializer>;
using Wide = std::basic_string<unsigned short>;

Wide ToWide(const std::string& ascii) { return Wide(ascii.begin(), ascii.end()); }

TEST(FileSerializer, WriterModesAndRewinding) {
    ScratchFile file;
    // Writes bytes through a new writer; false if it was refused.
    auto write = [](const auto& path, int mode, const Bytes& bytes) {
        Serializer writer(KSerializer::CreateFileWriter(path, static_cast<KSerializer::FileWriterMode>(mode)));
        if (writer) {
            EXPECT_TRUE(writer->IsWriting() && !writer->IsReading() && !writer->IsEOS());
            Put(*writer, bytes);
        }
        return writer != nullptr;
    };
    ASSERT_TRUE(write(file.Path(), KSerializer::DontOverwrite, {1, 2, 3})) << "DontOverwrite creates a new file";
    EXPECT_FALSE(write(file.Path(), KSerializer::DontOverwrite, {7}));
    EXPECT_EQ(KGetError(), K_ERROR_OVERWRITE_NOT_ALLOWED);
    EXPECT_FALSE(write(ToWide(file.Path()), KSerializer::DontOverwrite, {7}));
    EXPECT_EQ(KGetError(), K_ERROR_OVERWRITE_NOT_ALLOWED);
    EXPECT_EQ(file.Read(), (Bytes{1, 2, 3})) << "a refused file is left untouched";
    ASSERT_TRUE(write(file.Path(), KSerializer::Append, {4, 5}));
    EXPECT_EQ(file.Read(), (Bytes{1, 2, 3, 4, 5})) << "Append keeps the old bytes";
    for (int mode : {1, 7}) {
        ASSERT_TRUE(write(file.Path(), mode, {9}));
        EXPECT_EQ(file.Read(), Bytes{9}) << "mode " << mode << " truncates";
    }

    Serializer writer(KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite));
    Put(*writer, {1, 1});
    writer->PushStreamPos();
    Put(*writer, {2, 2, 2});
    writer->PopAndApplyStreamPos();
    Put(*writer, {3});
    writer.reset();
    EXPECT_EQ(file.Read(), (Bytes{1, 1, 3, 2, 2})) << "a rewound writer overwrites what followed";
}

TEST(FileSerializer, OpenFailuresGive1102) {
    ScratchFile file;
    const std::string withZero = file.Path() + std::string(1, '\0') + "tail";
    const Serializer::pointer attempts[] = {
        KSerializer::CreateFileReader(file.Path()),  // missing
        KSerializer::CreateFileReader(Wide()),
        KSerializer::CreateFileWriter(Wide(), KSerializer::Overwrite),
        KSerializer::CreateFileReader(::testing::TempDir()),         // a directory
        (file.Write({1}), KSerializer::CreateFileReader(withZero)),  // would open the prefix
        KSerializer::CreateFileWriter(ToWide(withZero), KSerializer::Overwrite),
    };
    for (auto* attempt : attempts) {
        EXPECT_EQ(attempt, nullptr);
    }
    EXPECT_EQ(KGetError(), K_ERROR_FILE_OPEN);
    EXPECT_EQ(file.Read(), (Bytes{1}));
}

TEST(FileSerializer, ReaderRewindsReportsShortReadsAndRefusesTransfersOnceClosed) {
    ScratchFile file;
    file.Write({0, 1, 2, 3, 4, 5});
    Serializer reader(KSerializer::CreateFileReader(file.Path()));
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(reader->IsReading() && !reader->IsWriting() && !reader->IsFile());
    EXPECT_EQ(Take(*reader, 2), (Bytes{0, 1}));
    reader->PushStreamPos();
    EXPECT_EQ(Take(*reader, 4), (Bytes{2, 3, 4, 5}));
    EXPECT_TRUE(reader->IsEOS());
    reader->PopAndApplyStreamPos();
    reader->PopAndApplyStreamPos();  // empty stack: nothing happens
    EXPECT_EQ(reader->GetCurrentPos(), 2u);
    EXPECT_EQ(CodeOf([&] { Take(*reader, 5); }), K_ERROR_FILE_READ);
    unsigned char out[4];
    EXPECT_EQ(reader->GetData(out, 4), 0u);
    EXPECT_EQ(KGetError(), K_ERROR_INVALID_OPERATION);

    reader->Close();
    reader->Close();
    EXPECT_TRUE(!reader->IsReading() && !reader->IsWriting() && reader->IsEOS());
    EXPECT_EQ(reader->GetCurrentPos(), 0u);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_OPEN);
    EXPECT_EQ(CodeOf([&] { Take(*reader, 1); }), K_ERROR_SERIALIZER_NOT_OPEN);
    EXPECT_EQ(CodeOf([&] { reader->PushStreamPos(); }), K_ERROR_SERIALIZER_NOT_OPEN);
}

TEST(FilePointerSerializer, LeavesTheCallersStreamOpenAfterTheLastByte) {
    ScratchFile file;
    FILE* stream = std::fopen(file.Path().c_str(), "w+b");
    ASSERT_NE(stream, nullptr);
    std::fputs("ab", stream);
    {
        KFilePointerSerializer writer(stream, 1);
        EXPECT_TRUE(writer.IsFile() && writer.IsWriting());
        Put(writer, {'c', 'd'});
        writer.Close();
    }
    EXPECT_EQ(ftell(stream), 4);
    ASSERT_EQ(std::fseek(stream, 1, SEEK_SET), 0);
    {
        KFilePointerSerializer reader(stream, 0);
        EXPECT_EQ(Take(reader, 3), (Bytes{'b', 'c', 'd'}));
        EXPECT_TRUE(reader.IsEOS());
    }
    EXPECT_EQ(std::fputc('e', stream), 'e') << "the stream is still open, after the last byte";
    std::fclose(stream);
    EXPECT_EQ(file.Read(), (Bytes{'a', 'b', 'c', 'd', 'e'}));
}

TEST(FilePointerSerializer, APipeReportsItsEndByPeekingAndCannotBeRewound) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], Header(34).data(), 4), 4);
    close(ends[1]);
    FILE* stream = fdopen(ends[0], "rb");
    KFilePointerSerializer reader(stream, 0);
    EXPECT_FALSE(reader.IsEOS());
    EXPECT_EQ(reader.GetNextObjectType(), KSerializer::OBJECT_FAILURE);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_ACCESS);
    EXPECT_EQ(Take(reader, 4), Header(34)) << "nothing was consumed";
    EXPECT_TRUE(reader.IsEOS());
    std::fclose(stream);
}

TEST(FilePointerSerializer, OffsetsBeyond4GiBStaySixtyFourBit) {
    ScratchFile file;  // sparse: 5 GiB of hole, then one object header
    const off_t far = off_t{5} << 30;
    FILE* stream = std::fopen(file.Path().c_str(), "w+b");
    if (!stream || fseeko(stream, far, SEEK_SET) != 0 || std::fwrite(Header(39).data(), 1, 4, stream) != 4 ||
        std::fflush(stream) != 0 || fseeko(stream, far, SEEK_SET) != 0) {
        GTEST_SKIP() << "no sparse 5 GiB file here";
    }
    KFilePointerSerializer reader(stream, 0);
    EXPECT_EQ(reader.GetNextObjectType(), KSerializer::IMAGE_C24);
    EXPECT_EQ(ftello(stream), far) << "the peek rewound to the full 64-bit offset";
    EXPECT_EQ(reader.GetCurrentPos(), 0xFFFFFFFFu);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETERS_OUT_OF_RANGE);
    Take(reader, 4);
    EXPECT_TRUE(reader.IsEOS());
    std::fclose(stream);
}

TEST(MemSerializer, WriterCollectsBytesAndGetDataChecksCapacity) {
    Serializer writer(KSerializer::CreateMemoryWriter());
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

TEST(MemSerializer, ReaderOwnsACopyNeverReadsPastItsBufferAndRewinds) {
    auto* source = new unsigned char[6]{10, 11, 12, 13, 14, 15};
    Serializer reader(KSerializer::CreateMemoryReader(source, 6));
    delete[] source;
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

// Runs check over the same bytes behind each of the three streams.
void ForEachReader(Bytes bytes, const std::function<void(KSerializer&)>& check) {
    Serializer mem(KSerializer::CreateMemoryReader(bytes.data(), static_cast<unsigned>(bytes.size())));
    check(*mem);
    ScratchFile file;
    file.Write(bytes);
    check(*Serializer(KSerializer::CreateFileReader(file.Path())));
    FILE* stream = std::fopen(file.Path().c_str(), "rb");
    check(*std::make_unique<KFilePointerSerializer>(stream, 0));
    std::fclose(stream);
}

TEST(NextObjectType, PeeksWithoutConsumingAndEndsWithZero) {
    const Bytes bytes = Header(34) + Bytes{0xAA, 0xBB} + Header(47, 1) + Header(0xC8, 0);
    ForEachReader(bytes, [&](KSerializer& s) {
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::IMAGE_BW8);
        EXPECT_EQ(s.GetNextObjectType(), KSerializer::IMAGE_BW8) << "the header is not consumed";
        EXPECT_EQ(Take(s, 6), Bytes(bytes.begin(), bytes.begin() + 6));
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
    Bytes badCheckSum = Header(39);
    badCheckSum[3] ^= 0x80;
    const std::pair<Bytes, K_ERRORS> cases[] = {{{0x4C, 34, 4, 0x4C ^ 34 ^ 4}, K_ERROR_BAD_FILE_FORMAT},
                                                {badCheckSum, K_ERROR_BAD_FILE_FORMAT},
                                                {Header(0), K_ERROR_BAD_FILE_FORMAT},
                                                {{0x4B, 34}, K_ERROR_FILE_READ}};
    for (const auto& [header, code] : cases) {
        const Bytes bytes = Bytes{0x11} + header;
        ForEachReader(bytes, [&, expected = code](KSerializer& s) {
            Take(s, 1);
            s.PushStreamPos();  // an outer caller's saved position
            EXPECT_EQ(s.GetNextObjectType(), KSerializer::OBJECT_FAILURE);
            EXPECT_EQ(KGetError(), expected);
            EXPECT_EQ(Take(s, static_cast<unsigned>(bytes.size() - 1)), Bytes(bytes.begin() + 1, bytes.end()))
                << "rewound to the header";
            s.PopAndApplyStreamPos();
            EXPECT_EQ(Take(s, 1), Bytes{bytes[1]}) << "the outer entry is intact";
        });
    }
    EXPECT_EQ(boxes.Count(), 0u) << "serializers store codes without tracing";
}

// A reader that fails with something other than a library exception.
struct ThrowingReader : KMemSerializer {
    unsigned int SerializeBytes(void*, unsigned int, const char*) override { throw std::runtime_error("gone"); }
    void PushStreamPos() override { ++depth; }
    void PopAndApplyStreamPos() override { --depth; }
    int depth = 0;
};

TEST(NextObjectType, WritersGive1113AndForeignExceptions1112) {
    ScratchFile file;
    for (KSerializer* writer :
         {KSerializer::CreateMemoryWriter(), KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite)}) {
        Put(*writer, {1, 2, 3});
        EXPECT_EQ(writer->GetNextObjectType(), KSerializer::OBJECT_FAILURE);
        EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_READING);
        EXPECT_EQ(writer->GetCurrentPos(), 3u);
        delete writer;
    }
    ThrowingReader throwing;
    throwing.OpenReader({1});
    EXPECT_EQ(static_cast<KSerializer&>(throwing).GetNextObjectType(), KSerializer::OBJECT_FAILURE);
    EXPECT_EQ(KGetError(), K_ERROR_ARCHIVE_UNEXPECTED);
    EXPECT_EQ(throwing.depth, 0) << "the pushed position was popped";
}

}  // namespace
