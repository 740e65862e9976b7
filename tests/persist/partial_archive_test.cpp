#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/archive_support.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class PartialArchive : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

template <class T>
Bytes WritePartial(KImage<T>& image, int alignment) {
    KMemSerializer writer;
    writer.OpenWriter();
    KOk();
    if (alignment < 0) {
        image.PartialSerialize(&writer);
    } else {
        image.VersionLessPartialSerialize(&writer, static_cast<unsigned>(alignment));
    }
    EXPECT_EQ(KGetError(), K_SUCCESS);
    return writer.GetBuffer();
}

template <class T>
K_ERRORS ReadPartial(KImage<T>& image, const Bytes& bytes, int alignment) {
    KMemSerializer reader;
    reader.OpenReader(bytes);
    if (alignment < 0) {
        image.PartialSerialize(&reader);
    } else {
        image.VersionLessPartialSerialize(&reader, static_cast<unsigned>(alignment));
    }
    EXPECT_TRUE(reader.IsEOS() || KFailure());
    return KGetError();
}

TEST_F(PartialArchive, ImageRecordCarriesTheWritersPitch) {
    KImage<KBW8> image(10, 2);
    for (int i = 0; i < 20; ++i) {
        image.SetPixel(KBW8{static_cast<uint8_t>(100 + i)}, i % 10, i / 10);
    }
    const Bytes b = WritePartial(image, -1);
    ASSERT_EQ(b.size(), 12u + 48);
    EXPECT_EQ(FieldAt<int32_t>(b, 0), 10);
    EXPECT_EQ(FieldAt<int32_t>(b, 4), 2);
    EXPECT_EQ(FieldAt<int32_t>(b, 8), 24);
    EXPECT_EQ(b[12 + 24 + 9], 119);
    EXPECT_EQ(b[12 + 23], 0) << "padding is written as zeros";
    KImage<KBW8> loaded;
    ASSERT_EQ(ReadPartial(loaded, b, -1), K_SUCCESS);
    EXPECT_EQ(loaded.GetPixel(9, 1).m_un8Value, 119);

    // Rows longer than the reader's pitch go through a temporary row.
    Bytes wide = {10, 0, 0, 0, 2, 0, 0, 0, 40, 0, 0, 0};
    for (int i = 0; i < 80; ++i) {
        wide.push_back(static_cast<unsigned char>(i));
    }
    ASSERT_EQ(ReadPartial(loaded, wide, -1), K_SUCCESS);
    EXPECT_EQ(loaded.GetPixel(0, 1).m_un8Value, 40);
    EXPECT_EQ(loaded.GetPixel(9, 1).m_un8Value, 49);

    PatchAt<int32_t>(wide, 8, -1);
    EXPECT_EQ(ReadPartial(loaded, wide, -1), K_ERROR_BAD_FILE_FORMAT);
    PatchAt<int32_t>(wide, 8, 4000);
    EXPECT_EQ(ReadPartial(loaded, wide, -1), K_ERROR_BAD_FILE_FORMAT) << "more rows than the stream holds";
    PatchAt<int32_t>(wide, 0, 70000);
    PatchAt<int32_t>(wide, 4, 70000);
    EXPECT_EQ(ReadPartial(loaded, wide, -1), K_ERROR_ORIGIN_IMAGE_TOO_BIG);
}

TEST_F(PartialArchive, VersionLessRowsArePaddedToTheAlignment) {
    struct Case {
        int alignment;
        size_t stored;
    };
    KImage<KBW8> image(10, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 10; ++x) {
            image.SetPixel(KBW8{static_cast<uint8_t>(1 + x + 10 * y)}, x, y);
        }
    }
    for (const Case c : {Case{1, 10}, Case{4, 12}, Case{32, 32}, Case{0, 10}}) {
        SCOPED_TRACE(c.alignment);
        const Bytes b = WritePartial(image, c.alignment);
        ASSERT_EQ(b.size(), 8 + 3 * c.stored);
        EXPECT_EQ(b[8 + c.stored + 9], 20);
        for (size_t pad = 10; pad < c.stored; ++pad) {
            EXPECT_EQ(b[8 + c.stored + pad], 0);
        }
        KImage<KBW8> loaded;
        ASSERT_EQ(ReadPartial(loaded, b, c.alignment), K_SUCCESS);
        EXPECT_EQ(loaded.GetPixel(9, 2).m_un8Value, 30);
        EXPECT_EQ(loaded.GetPixel(0, 0).m_un8Value, 1);
    }
    // 1-bit rows count bits; 24-bit rows count whole pixels.
    KImage<KBW1> bits(13, 2);
    bits.SetPixel(KBW1{1}, 12, 1);
    EXPECT_EQ(WritePartial(bits, 4).size(), 8u + 2 * 4);
    KImage<KBW1> bitsBack;
    ASSERT_EQ(ReadPartial(bitsBack, WritePartial(bits, 4), 4), K_SUCCESS);
    EXPECT_EQ(bitsBack.GetPixel(12, 1).m_un32Value, 1u);
    KImage<KC24> colour(3, 1);
    EXPECT_EQ(WritePartial(colour, 4).size(), 8u + 12);
}

TEST_F(PartialArchive, FilePointerFormsWrapTheStream) {
    KImage<KBW16> image(5, 4);
    image.SetPixel(KBW16{0xBEEF}, 4, 3);
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    image.PartialSerialize(stream, 1);
    image.VersionLessPartialSerialize(stream, 1, 8);
    std::rewind(stream);
    KImage<KBW16> first;
    KImage<KBW16> second;
    first.PartialSerialize(stream, 0);
    second.VersionLessPartialSerialize(stream, 0, 8);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_EQ(first.GetPixel(4, 3).m_un16Value, 0xBEEF);
    EXPECT_EQ(second.GetPixel(4, 3).m_un16Value, 0xBEEF);
    EXPECT_EQ(std::fgetc(stream), EOF);
    std::fclose(stream);
    first.PartialSerialize(static_cast<FILE*>(nullptr), 0);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_OPEN);
}

TEST_F(PartialArchive, RoiRecordPlacesTheViewByTheRules) {
    KImage<KBW8> image(100, 50);
    KROI<KBW8> view(&image, 3, 4, 20, 10);
    KMemSerializer writer;
    writer.OpenWriter();
    view.PartialSerialize(&writer);
    view.VersionLessPartialSerialize(&writer, 77);
    const Bytes& b = writer.GetBuffer();
    ASSERT_EQ(b.size(), 32u);
    EXPECT_EQ(FieldAt<int32_t>(b, 16), 3);
    EXPECT_EQ(FieldAt<int32_t>(b, 28), 10);

    Bytes record(16);
    PatchAt<int32_t>(record, 0, -5);
    PatchAt<int32_t>(record, 4, 40);
    PatchAt<int32_t>(record, 8, 20);
    PatchAt<int32_t>(record, 12, 30);
    KMemSerializer reader;
    reader.OpenReader(record);
    view.PartialSerialize(&reader);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_EQ(view.GetOrgX(), 0);
    EXPECT_EQ(view.GetWidth(), 15);
    EXPECT_EQ(view.GetOrgY(), 40);
    EXPECT_EQ(view.GetHeight(), 10) << "clipped to the parent";

    PatchAt<int32_t>(record, 0, -30);
    reader.OpenReader(record);
    view.PartialSerialize(&reader);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE) << "the origin cut the width below zero";

    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    reader.OpenReader(record);
    image.KROI<KBW8>::PartialSerialize(&reader);
    EXPECT_EQ(KGetError(), K_ERROR_APPLIED_TO_IMAGE);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("KROI::SetPlacement"), std::string::npos);
    EXPECT_EQ(image.GetWidth(), 100);
}

TEST_F(PartialArchive, DimensionalValueRecordVersions) {
    KDimensionalValue value(2.5f, &KUnit_mile);
    KMemSerializer writer;
    writer.OpenWriter();
    value.Serialize(&writer, static_cast<unsigned>(-1));
    const Bytes b = writer.GetBuffer();
    ASSERT_EQ(b.size(), 28u);
    EXPECT_EQ(FieldAt<float>(b, 0), 2.5f);
    EXPECT_EQ(FieldAt<int32_t>(b, 4), 0);
    EXPECT_EQ(FieldAt<float>(b, 8), 1609.344f);
    EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 12), "mile");

    Bytes v1 = b;
    v1.erase(v1.begin() + 4, v1.begin() + 8);
    KDimensionalValue read;
    KMemSerializer reader;
    reader.OpenReader(v1);
    read.Serialize(&reader, 1);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_TRUE(reader.IsEOS());
    EXPECT_EQ(read.GetValue(), 2.5f);
    EXPECT_STREQ(read.GetUnit()->GetName(), "mile");

    // A set flag is ignored in version 2 and refused in version 3.
    Bytes flagged = b;
    PatchAt<int32_t>(flagged, 4, 1);
    PatchAt<float>(flagged, 8, 7.0f);
    reader.OpenReader(flagged);
    read.Serialize(&reader, 2);
    EXPECT_EQ(read.GetUnit()->GetMagnitude(), 7.0f);
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    reader.OpenReader(flagged);
    KDimensionalValue untouched(1.0f, &KUnit_km);
    untouched.Serialize(&reader, 3);
    EXPECT_EQ(KGetError(), K_ERROR_INTERNAL);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.substr(0, boxes.Boxes()[0].text.find('\n')),
              "Function: KDimensionalValue::Serialize");
    EXPECT_STREQ(untouched.GetUnit()->GetName(), "Km");

    // The same record inside an image fails the load with 32767.
    KSetTraceMode(K_TRACE_SILENT);
    KImage<KBW8> image(2, 2);
    Bytes archive = SaveToBytes(image);
    PatchAt<int32_t>(archive, archive.size() - 24, 1);
    KImage<KBW8> loaded;
    EXPECT_EQ(LoadFromBytes(loaded, archive), K_ERROR_INTERNAL);
}

}  // namespace
