#include <lumora/serializer.h>

#include "persist/serializer_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Serializer = std::unique_ptr<KSerializer>;

std::basic_string<unsigned short> Wide(const std::string& ascii) {
    return std::basic_string<unsigned short>(ascii.begin(), ascii.end());
}

TEST(FileSerializer, WriterModesTreatAnExistingFileAsAsked) {
    ScratchFile file;
    Serializer created(KSerializer::CreateFileWriter(file.Path(), KSerializer::DontOverwrite));
    ASSERT_NE(created, nullptr) << "DontOverwrite creates a new file";
    Put(*created, {1, 2, 3});
    created.reset();

    for (auto refused : {KSerializer::CreateFileWriter(file.Path(), KSerializer::DontOverwrite),
                         KSerializer::CreateFileWriter(Wide(file.Path()), KSerializer::DontOverwrite)}) {
        EXPECT_EQ(refused, nullptr);
        EXPECT_EQ(KGetError(), K_ERROR_OVERWRITE_NOT_ALLOWED);
    }
    EXPECT_EQ(file.Read(), (Bytes{1, 2, 3})) << "a refused file is left untouched";

    Serializer appender(KSerializer::CreateFileWriter(file.Path(), KSerializer::Append));
    ASSERT_NE(appender, nullptr);
    Put(*appender, {4, 5});
    appender.reset();
    EXPECT_EQ(file.Read(), (Bytes{1, 2, 3, 4, 5})) << "Append keeps the old bytes";

    for (int mode : {1, 7}) {
        Serializer writer(KSerializer::CreateFileWriter(file.Path(), static_cast<KSerializer::FileWriterMode>(mode)));
        ASSERT_NE(writer, nullptr) << mode;
        EXPECT_TRUE(writer->IsWriting() && !writer->IsReading() && !writer->IsEOS());
        Put(*writer, {9});
        writer.reset();
        EXPECT_EQ(file.Read(), (Bytes{9})) << "mode " << mode << " truncates";
    }
}

TEST(FileSerializer, OpenFailuresGive1102) {
    ScratchFile file;
    const std::string withZero = file.Path() + std::string(1, '\0') + "tail";
    const Serializer::pointer attempts[] = {
        KSerializer::CreateFileReader(file.Path()),                  // missing
        KSerializer::CreateFileReader(std::basic_string<unsigned short>()),
        KSerializer::CreateFileWriter(std::basic_string<unsigned short>(), KSerializer::Overwrite),
        KSerializer::CreateFileReader(::testing::TempDir()),         // a directory
        (file.Write({1}), KSerializer::CreateFileReader(withZero)),  // would open the prefix
        KSerializer::CreateFileWriter(Wide(withZero), KSerializer::Overwrite),
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

TEST(FileSerializer, AWriterRewoundOverwritesWhatFollowed) {
    ScratchFile file;
    Serializer writer(KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite));
    ASSERT_NE(writer, nullptr);
    Put(*writer, {1, 1});
    writer->PushStreamPos();
    Put(*writer, {2, 2, 2});
    writer->PopAndApplyStreamPos();
    Put(*writer, {3});
    writer->Close();
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_EQ(file.Read(), (Bytes{1, 1, 3, 2, 2}));
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
    const Bytes header = {0x4B, 34, 4, 0x4B ^ 34 ^ 4};
    ASSERT_EQ(write(ends[1], header.data(), 4), 4);
    close(ends[1]);
    FILE* stream = fdopen(ends[0], "rb");
    KFilePointerSerializer reader(stream, 0);
    EXPECT_FALSE(reader.IsEOS());
    EXPECT_EQ(reader.GetNextObjectType(), KSerializer::OBJECT_FAILURE);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_ACCESS);
    EXPECT_EQ(Take(reader, 4), header) << "nothing was consumed";
    EXPECT_TRUE(reader.IsEOS());
    std::fclose(stream);
}

TEST(FilePointerSerializer, OffsetsBeyond4GiBStaySixtyFourBit) {
    ScratchFile file;  // sparse: 5 GiB of hole, then one object header
    const off_t far = off_t{5} << 30;
    FILE* stream = std::fopen(file.Path().c_str(), "w+b");
    const unsigned char header[4] = {0x4B, 39, 4, 0x4B ^ 39 ^ 4};
    if (!stream || fseeko(stream, far, SEEK_SET) != 0 || std::fwrite(header, 1, 4, stream) != 4 ||
        std::fflush(stream) != 0 || fseeko(stream, far, SEEK_SET) != 0) {
        GTEST_SKIP() << "no sparse 5 GiB file here";
    }
    {
        KFilePointerSerializer reader(stream, 0);
        EXPECT_EQ(reader.GetNextObjectType(), KSerializer::IMAGE_C24);
        EXPECT_EQ(ftello(stream), far) << "the peek rewound to the full 64-bit offset";
        EXPECT_EQ(reader.GetCurrentPos(), 0xFFFFFFFFu);
        EXPECT_EQ(KGetError(), K_ERROR_PARAMETERS_OUT_OF_RANGE);
        Take(reader, 4);
        EXPECT_TRUE(reader.IsEOS());
    }
    std::fclose(stream);
}

}  // namespace
