#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/archive_support.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

class Archive : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

// A view whose cursor the test can set (HitTest is what sets it otherwise).
class CursorView : public KROI<KBW8> {
public:
    CursorView(KROI<KBW8>* parent, int x, int y, int w, int h) : KROI<KBW8>(parent, x, y, w, h) {}
    void SetCursor(int x, int y) {
        m_n32CursorX = x;
        m_n32CursorY = y;
    }
};

const unsigned short kWideTitle[] = {'T', 0x00E9, 't', 0x263A, 0};

void FillPattern(KImage<KBW8>& image) {
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            image.SetPixel(KBW8{static_cast<uint8_t>(x * 3 + y * 17)}, x, y);
        }
    }
}

bool SamePixels(KImage<KBW8>& a, KImage<KBW8>& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) {
        return false;
    }
    for (int y = 0; y < a.GetHeight(); ++y) {
        if (std::memcmp(a.GetGenericImagePtr(0, y), b.GetGenericImagePtr(0, y), a.GetWidth()) != 0) {
            return false;
        }
    }
    return true;
}

TEST_F(Archive, ImageWithoutTextsOrDaughtersHasTheDocumentedLayout) {
    KImage<KBW8> image(10, 2);
    std::memset(image.GetGenericImagePtr(0, 0), 0xEE, 48);
    FillPattern(image);
    image.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);
    const Bytes b = SaveToBytes(image);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    ASSERT_EQ(b.size(), 4u + 32 + 4 + 20 + 12 + 8 + 48 + 2 * 28);
    EXPECT_EQ(b[0], 0x4B);
    EXPECT_EQ(b[1], 0x22);
    EXPECT_EQ(b[2], 0x04);
    EXPECT_EQ(b[3], 0x4B ^ 0x22 ^ 0x04);
    for (size_t offset = 4; offset < 40; offset += 4) {
        EXPECT_EQ(FieldAt(b, offset), 0u) << "text length or daughter count at " << offset;
    }
    EXPECT_EQ(FieldAt<int32_t>(b, 40), 0);
    EXPECT_EQ(FieldAt<int32_t>(b, 44), 0);
    EXPECT_EQ(FieldAt<int32_t>(b, 48), 10);
    EXPECT_EQ(FieldAt<int32_t>(b, 52), 2);
    EXPECT_EQ(FieldAt<int32_t>(b, 56), K_COLOR_SYSTEM_GRAY_LEVEL);
    EXPECT_EQ(FieldAt<int32_t>(b, 60), 0) << "m_bMaskOffsets";
    EXPECT_EQ(FieldAt<int32_t>(b, 72), 8) << "bits per pixel";
    EXPECT_EQ(FieldAt<int32_t>(b, 76), 192) << "row pitch in bits";
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 24; ++x) {
            EXPECT_EQ(b[80 + 24 * y + x], x < 10 ? x * 3 + y * 17 : 0) << "row " << y << " byte " << x;
        }
    }
    // Pixel height first, then pixel width, each value, flag, magnitude, name.
    EXPECT_EQ(FieldAt<float>(b, 128), 0.25f);
    EXPECT_EQ(FieldAt<int32_t>(b, 132), 0);
    EXPECT_EQ(FieldAt<float>(b, 136), 0.001f);
    EXPECT_EQ(Bytes(b.begin() + 140, b.begin() + 156), Bytes({'m', 'm', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(FieldAt<float>(b, 156), 0.5f);
}

// Image, daughters A and B, A's daughter A1: every way of storing it gives
// back the same tree, and the loaded daughters die with their parent.
TEST_F(Archive, TreeRoundTripsThroughEverySerializer) {
    KImage<KBW8> image(64, 48);
    FillPattern(image);
    image.SetTitle("narrow title");
    image.SetTitle(kWideTitle);
    image.SetAuthor("someone");
    image.SetPixelDimensions(2.0f, 3.0f, &KUnit_inch);
    CursorView a(&image, 5, 6, 20, 10);
    a.SetCursor(7, -3);
    a.SetMaskOffsets(1);
    a.SetComment(kWideTitle);
    KROI<KBW8> b(&image, 30, 1, 8, 8);
    b.SetDate("2024-01-02");
    KROI<KBW8> a1(&a, 2, 3, 4, 5);
    a.SetColorSystem(K_COLOR_SYSTEM_LAB);

    auto check = [&](KImage<KBW8>& loaded, const char* how) {
        SCOPED_TRACE(how);
        EXPECT_TRUE(SamePixels(loaded, image));
        EXPECT_STREQ(loaded.GetTitle(), "narrow title");
        EXPECT_EQ(std::basic_string<unsigned short>(loaded.GetTitleUnicode()), kWideTitle);
        EXPECT_STREQ(loaded.GetAuthor(), "someone");
        EXPECT_EQ(loaded.GetComment(), nullptr);
        float w = 0, h = 0;
        const KMeasurementUnit* unit = nullptr;
        loaded.GetPixelDimensions(w, h, unit);
        EXPECT_EQ(w, 2.0f);
        EXPECT_EQ(h, 3.0f);
        EXPECT_STREQ(unit->GetName(), "inch");
        auto* la = static_cast<KROI<KBW8>*>(loaded.GetFirstSubROI());
        ASSERT_NE(la, nullptr);
        auto* lb = static_cast<KROI<KBW8>*>(la->GetNextSiblingROI());
        ASSERT_NE(lb, nullptr);
        EXPECT_EQ(lb->GetNextSiblingROI(), nullptr);
        EXPECT_EQ(la->GetParent(), &loaded);
        EXPECT_EQ(lb->GetParent(), &loaded);
        EXPECT_EQ(la->GetOrgX(), 5);
        EXPECT_EQ(la->GetOrgY(), 6);
        EXPECT_EQ(la->GetWidth(), 20);
        EXPECT_EQ(la->GetHeight(), 10);
        EXPECT_EQ(la->GetCursorX(), 7);
        EXPECT_EQ(la->GetCursorY(), -3);
        EXPECT_EQ(la->GetMaskOffsets(), 1);
        EXPECT_EQ(la->GetColorSystem(), K_COLOR_SYSTEM_GRAY_LEVEL) << "daughters take the parent's colour system";
        EXPECT_EQ(std::basic_string<unsigned short>(la->GetCommentUnicode()), kWideTitle);
        EXPECT_STREQ(lb->GetDate(), "2024-01-02");
        EXPECT_EQ(lb->GetOrgX(), 30);
        auto* la1 = static_cast<KROI<KBW8>*>(la->GetFirstSubROI());
        ASSERT_NE(la1, nullptr);
        EXPECT_EQ(la1->GetParent(), la);
        EXPECT_EQ(la1->GetFirstSubROI(), nullptr);
        EXPECT_EQ(la1->GetWidth(), 4);
        EXPECT_EQ(la1->GetColorSystem(), K_COLOR_SYSTEM_GRAY_LEVEL)
            << "A1 is linked while A still has its type's default colour system";
        EXPECT_EQ(la1->GetImagePtr(0, 0), static_cast<KBW8*>(loaded.GetGenericImagePtr(7, 9)));
    };

    {
        KImage<KBW8> loaded;
        ASSERT_EQ(LoadFromBytes(loaded, SaveToBytes(image)), K_SUCCESS);
        check(loaded, "memory");
        // A second load deletes the daughters of the first (LeakSanitizer).
        ASSERT_EQ(LoadFromBytes(loaded, SaveToBytes(image)), K_SUCCESS);
        check(loaded, "memory, loaded twice");
    }
    {
        ScratchFile file;
        KSerializer* writer = KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite);
        ASSERT_NE(writer, nullptr);
        image.Save(writer);
        image.Save(writer);
        delete writer;
        KSerializer* reader = KSerializer::CreateFileReader(file.Path());
        ASSERT_NE(reader, nullptr);
        KImage<KBW8> first;
        KImage<KBW8> second;
        first.Load(reader);
        second.Load(reader);
        EXPECT_EQ(KGetError(), K_SUCCESS);
        EXPECT_TRUE(reader->IsEOS());
        delete reader;
        check(first, "file, first object");
        check(second, "file, second object");
    }
    {
        FILE* stream = std::tmpfile();
        ASSERT_NE(stream, nullptr);
        image.Save(stream);
        const long end = std::ftell(stream);
        std::rewind(stream);
        KImage<KBW8> loaded;
        KOk();
        loaded.Load(stream);
        EXPECT_EQ(KGetError(), K_SUCCESS);
        EXPECT_EQ(std::ftell(stream), end) << "the stream is left after the object";
        std::fclose(stream);
        check(loaded, "FILE*");
    }
}

TEST_F(Archive, LoadingReplacesContentAndSparesTheCallersViews) {
    KImage<KBW8> source(8, 8);
    const Bytes bytes = SaveToBytes(source);
    KImage<KBW8> target(20, 20);
    target.SetTitle("old");
    KROI<KBW8> mine(&target, 1, 1, 5, 5);
    ASSERT_EQ(LoadFromBytes(target, bytes), K_SUCCESS);
    EXPECT_EQ(target.GetTitle(), nullptr);
    EXPECT_EQ(target.GetWidth(), 8);
    EXPECT_EQ(target.GetFirstSubROI(), nullptr);
    EXPECT_EQ(mine.GetParent(), nullptr) << "a view of the caller's is detached, not deleted";

    // A ROI loads unattached, whatever it was attached to before.
    KROI<KBW8> view(&source, 1, 2, 3, 4);
    const Bytes roiBytes = SaveToBytes(view);
    EXPECT_EQ(roiBytes[1], 47);
    KROI<KBW8> other(&target, 0, 0, 2, 2);
    ASSERT_EQ(LoadFromBytes(other, roiBytes), K_SUCCESS);
    EXPECT_EQ(other.GetParent(), nullptr);
    EXPECT_EQ(other.GetOrgY(), 2);
    EXPECT_EQ(other.GetHeight(), 4);
}

TEST_F(Archive, HeaderChecks) {
    KImage<KBW8> image(10, 2);
    image.SetPixelDimensions(0.5f, 0.25f, &KUnit_cm);
    const Bytes saved = SaveToBytes(image);

    // Versions 0 to 2 carry records without the flag, 3 and 4 with it.
    for (uint8_t version = 0; version <= 5; ++version) {
        Bytes bytes = saved;
        SetHeaderVersion(bytes, 0, version);
        if (version < 3) {
            bytes.erase(bytes.end() - 24, bytes.end() - 20);
            bytes.erase(bytes.end() - 48, bytes.end() - 44);
        }
        KImage<KBW8> loaded;
        KMemSerializer reader;
        reader.OpenReader(bytes);
        loaded.Load(&reader);
        if (version == 5) {
            EXPECT_EQ(KGetError(), K_ERROR_UNSUPPORTED_FILE_VERSION);
            continue;
        }
        EXPECT_EQ(KGetError(), K_SUCCESS) << "version " << int(version);
        EXPECT_TRUE(reader.IsEOS()) << "version " << int(version);
        float w = 0, h = 0;
        const KMeasurementUnit* unit = nullptr;
        loaded.GetResolution(w, h, unit);
        EXPECT_EQ(w, 2.0f);
        EXPECT_EQ(h, 4.0f);
        EXPECT_STREQ(unit->GetName(), "cm");
    }

    KImage<KBW8> target;
    Bytes bytes = saved;
    bytes[3] ^= 0x01;
    EXPECT_EQ(LoadFromBytes(target, bytes), K_ERROR_BAD_FILE_FORMAT) << "checksum";
    bytes = saved;
    bytes[0] = 0x4C;
    EXPECT_EQ(LoadFromBytes(target, bytes), K_ERROR_BAD_FILE_FORMAT) << "signature";

    // A KBW8 archive read by a KC24 image: 1111, the stream back at the header.
    ScratchFile file;
    file.Write(saved);
    KSerializer* reader = KSerializer::CreateFileReader(file.Path());
    ASSERT_NE(reader, nullptr);
    KImage<KC24> colour;
    colour.Load(reader);
    EXPECT_EQ(KGetError(), K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE);
    EXPECT_EQ(reader->GetCurrentPos(), 0u);
    KImage<KBW8> grey;
    grey.Load(reader);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    delete reader;

    KMemSerializer writer;
    writer.OpenWriter();
    grey.Load(&writer);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_READING);
    KMemSerializer emptyReader;
    grey.Save(&emptyReader);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_WRITING);
    grey.Save(static_cast<KSerializer*>(nullptr));
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
}

TEST_F(Archive, FloatImagesCannotBeArchived) {
    KImage<KFLOAT32> image(4, 4);
    KMemSerializer writer;
    writer.OpenWriter();
    KOk();
    image.Save(&writer);
    EXPECT_EQ(KGetError(), K_ERROR_NEEDS_SPECIALIZATION);
    EXPECT_TRUE(writer.GetBuffer().empty()) << "nothing is written";
    ScratchFile file;
    KSerializer* fileWriter = KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite);
    KROI<KFLOAT64> view;
    view.Save(fileWriter);
    EXPECT_EQ(KGetError(), K_ERROR_NEEDS_SPECIALIZATION);
    delete fileWriter;
    EXPECT_TRUE(file.Read().empty());
    EXPECT_EQ(LoadFromBytes(image, SaveToBytes(KImage<KBW8>(2, 2))), K_ERROR_NEEDS_SPECIALIZATION);
}

TEST_F(Archive, EmptyTextsLoadAsAbsent) {
    KImage<KBW8> image(2, 2);
    image.SetTitle("");
    const unsigned short empty[] = {0};
    image.SetComment(empty);
    ASSERT_NE(image.GetTitle(), nullptr);
    KImage<KBW8> loaded;
    loaded.SetTitle("stale");
    ASSERT_EQ(LoadFromBytes(loaded, SaveToBytes(image)), K_SUCCESS);
    EXPECT_EQ(loaded.GetTitle(), nullptr);
    EXPECT_EQ(loaded.GetCommentUnicode(), nullptr);
}

// The stored pitch is honoured: an image over a caller's buffer with 16-byte
// rows reads back into the standard 24-byte rows.
TEST_F(Archive, ForeignRowPitchIsHonoured) {
    unsigned char pixels[32];
    for (int i = 0; i < 32; ++i) {
        pixels[i] = static_cast<unsigned char>(i + 1);
    }
    KImage<KBW8> adopted;
    adopted.SetImagePtr(10, 2, pixels, 128);
    const Bytes bytes = SaveToBytes(adopted);
    EXPECT_EQ(FieldAt<int32_t>(bytes, 76), 128);
    KImage<KBW8> loaded;
    ASSERT_EQ(LoadFromBytes(loaded, bytes), K_SUCCESS);
    EXPECT_EQ(loaded.GetBitsPerRow(), 192);
    EXPECT_EQ(loaded.GetPixel(9, 1).m_un8Value, 16 + 10);

    adopted.SetImagePtr(10, 2, pixels, 72);
    KMemSerializer writer;
    writer.OpenWriter();
    adopted.Save(&writer);
    EXPECT_EQ(KGetError(), K_ERROR_INVALID_IMAGE) << "rows shorter than their pixels";
    adopted.SetImagePtr(10, 2, nullptr, 0);
    adopted.Save(&writer);
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
}

}  // namespace
