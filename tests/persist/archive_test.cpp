// Saving and loading images and views: the byte layout, round trips through
// each serializer, header and version checks, and the partial records.
#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/serializer_support.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>

namespace {

using Archive = SilentTrace;

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

std::array<int, 4> Placement(const KGenericROI& view) {
    return {view.GetOrgX(), view.GetOrgY(), view.GetWidth(), view.GetHeight()};
}

TEST_F(Archive, ImageWithoutTextsOrDaughtersHasTheDocumentedLayout) {
    KImage<KBW8> image(10, 2);
    std::memset(image.GetGenericImagePtr(0, 0), 0xEE, 48);
    FillPattern(image);
    image.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);
    const Bytes b = SaveToBytes(image);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    ASSERT_EQ(b.size(), 4u + 32 + 4 + 20 + 12 + 8 + 48 + 2 * 28);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{0x4B, 0x22, 0x04, 0x4B ^ 0x22 ^ 0x04}));
    // Eight text lengths, daughter count, placement, colour system, mask
    // offsets, cursor, bits per pixel and row pitch in bits.
    const int32_t fields[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 2, K_COLOR_SYSTEM_GRAY_LEVEL, 0, 0, 0, 8, 192};
    for (size_t i = 0; i < std::size(fields); ++i) {
        EXPECT_EQ(FieldAt(b, 4 + 4 * i), fields[i]) << "field at " << 4 + 4 * i;
    }
    for (size_t i = 0; i < 48; ++i) {
        EXPECT_EQ(b[80 + i], i % 24 < 10 ? i % 24 * 3 + i / 24 * 17 : 0) << "pixel byte " << i;
    }
    // Pixel height first, then pixel width: value, flag, magnitude, name.
    EXPECT_EQ(FieldAt<float>(b, 128), 0.25f);
    EXPECT_EQ(FieldAt<float>(b, 156), 0.5f);
    Bytes unit(24);
    PatchAt(unit, 4, 0.001f);
    unit[8] = unit[9] = 'm';
    EXPECT_EQ(Bytes(b.begin() + 132, b.begin() + 156), unit);
    EXPECT_EQ(Bytes(b.begin() + 160, b.end()), unit);
}

// Image, daughters A and B, A's daughter A1: every way of storing it gives
// back the same tree, and the loaded daughters die with their parent; loading
// replaces what was there.
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
    const Bytes saved = SaveToBytes(image);
    // Loaded daughters take the colour system their parent has when they are
    // linked, the default of its type.
    a.SetColorSystem(K_COLOR_SYSTEM_GRAY_LEVEL);
    const Bytes expected = SaveToBytes(image);
    ASSERT_NE(saved, expected);
    auto check = [&](KImage<KBW8>& loaded, const char* how) {
        EXPECT_EQ(SaveToBytes(loaded), expected) << how;
        KGenericROI* la = loaded.GetFirstSubROI();
        ASSERT_TRUE(la && la->GetFirstSubROI() && la->GetNextSiblingROI()) << how;
        EXPECT_EQ(la->GetNextSiblingROI()->GetParent(), &loaded) << how;
        EXPECT_EQ(la->GetFirstSubROI()->GetGenericImagePtr(0, 0), loaded.GetGenericImagePtr(7, 9)) << how;
    };

    KImage<KBW8> loaded;
    ASSERT_EQ(LoadFromBytes(loaded, saved), K_SUCCESS);
    check(loaded, "memory");
    // A second load deletes the daughters of the first (LeakSanitizer).
    ASSERT_EQ(LoadFromBytes(loaded, saved), K_SUCCESS);
    check(loaded, "memory, loaded twice");

    ScratchFile file;
    std::unique_ptr<KSerializer> writer(KSerializer::CreateFileWriter(file.Path(), KSerializer::Overwrite));
    image.Save(writer.get());
    image.Save(writer.get());
    writer.reset();
    std::unique_ptr<KSerializer> reader(KSerializer::CreateFileReader(file.Path()));
    KImage<KBW8> first, second;
    first.Load(reader.get());
    second.Load(reader.get());
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_TRUE(reader->IsEOS());
    check(first, "file, first object");
    check(second, "file, second object");

    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    image.Save(stream);
    const long end = std::ftell(stream);
    std::rewind(stream);
    KOk();
    loaded.Load(stream);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_EQ(std::ftell(stream), end) << "the stream is left after the object";
    std::fclose(stream);
    check(loaded, "FILE*");

    // A ROI loads unattached, whatever it was attached to before.
    const Bytes single = SaveToBytes(a1);
    EXPECT_EQ(single[1], 47);
    ASSERT_EQ(LoadFromBytes(b, single), K_SUCCESS);
    EXPECT_EQ(b.GetParent(), nullptr);
    EXPECT_EQ(SaveToBytes(b), single);
    // Loading replaces the content: the caller's views are detached, not
    // deleted, and texts of 0 characters load as absent.
    KImage<KBW8> blank(8, 8);
    const unsigned short empty[] = {0};
    blank.SetTitle("");
    blank.SetTitle(empty);
    ASSERT_TRUE(blank.GetTitle() && blank.GetTitleUnicode());
    ASSERT_EQ(LoadFromBytes(image, SaveToBytes(blank)), K_SUCCESS);
    EXPECT_EQ(image.GetTitle(), nullptr);
    EXPECT_EQ(image.GetTitleUnicode(), nullptr);
    EXPECT_EQ(image.GetAuthor(), nullptr);
    EXPECT_EQ(image.GetFirstSubROI(), nullptr);
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(image.GetWidth(), 8);
}

TEST_F(Archive, HeaderChecks) {
    KImage<KBW8> image(10, 2);
    image.SetPixelDimensions(0.5f, 0.25f, &KUnit_cm);
    const Bytes saved = SaveToBytes(image);
    // Versions 0 to 2 carry records without the flag, 3 and 4 with it.
    for (uint8_t version = 0; version <= 5; ++version) {
        Bytes bytes = saved;
        bytes[2] = version;
        bytes[3] = 0x4B ^ 34 ^ version;
        if (version < 3) {
            bytes.erase(bytes.end() - 24, bytes.end() - 20);
            bytes.erase(bytes.end() - 48, bytes.end() - 44);
        }
        KImage<KBW8> loaded;
        KMemSerializer reader;
        reader.OpenReader(bytes);
        loaded.Load(&reader);
        EXPECT_EQ(KGetError(), version < 5 ? K_SUCCESS : K_ERROR_UNSUPPORTED_FILE_VERSION) << int(version);
        if (version < 5) {
            EXPECT_TRUE(reader.IsEOS());
            EXPECT_EQ(SaveToBytes(loaded), saved) << int(version);
        }
    }
    for (size_t damaged : {0, 3}) {
        Bytes bytes = saved;
        bytes[damaged] ^= 0x01;
        EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "signature or checksum";
    }

    // A KBW8 archive read by a KC24 image: 1111, the stream back at the header.
    ScratchFile file;
    file.Write(saved);
    std::unique_ptr<KSerializer> reader(KSerializer::CreateFileReader(file.Path()));
    KImage<KC24> colour;
    colour.Load(reader.get());
    EXPECT_EQ(KGetError(), K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE);
    EXPECT_EQ(reader->GetCurrentPos(), 0u);
    image.Load(reader.get());
    EXPECT_EQ(KGetError(), K_SUCCESS);

    KMemSerializer mem;
    mem.OpenWriter();
    image.Load(&mem);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_READING);
    mem.OpenReader({});
    image.Save(&mem);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_WRITING);
    image.Save(static_cast<KSerializer*>(nullptr));
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);

    KImage<KFLOAT32> floats(4, 4);
    EXPECT_TRUE(SaveToBytes(floats).empty()) << "nothing is written";
    EXPECT_EQ(KGetError(), K_ERROR_NEEDS_SPECIALIZATION);
    EXPECT_EQ(LoadFromBytes(floats, saved), K_ERROR_NEEDS_SPECIALIZATION);
}

// The stored pitch is honoured: an image over a caller's buffer with 16-byte
// rows reads back into the standard 24-byte rows.
TEST_F(Archive, ForeignRowPitchIsHonoured) {
    unsigned char pixels[32];
    std::iota(pixels, pixels + 32, 1);
    KImage<KBW8> adopted;
    adopted.SetImagePtr(10, 2, pixels, 128);
    const Bytes bytes = SaveToBytes(adopted);
    EXPECT_EQ(FieldAt(bytes, 76), 128);
    KImage<KBW8> loaded;
    ASSERT_EQ(LoadFromBytes(loaded, bytes), K_SUCCESS);
    EXPECT_EQ(loaded.GetBitsPerRow(), 192);
    EXPECT_EQ(loaded.GetPixel(9, 1).m_un8Value, 16 + 10);

    // Refusals come before the header: not even a memory writer, which
    // cannot rewind, keeps a byte of the refused object.
    adopted.SetImagePtr(10, 2, pixels, 72);
    EXPECT_TRUE(SaveToBytes(adopted).empty());
    EXPECT_EQ(KGetError(), K_ERROR_INVALID_IMAGE) << "rows shorter than their pixels";
    adopted.SetImagePtr(10, 2, nullptr, 0);
    EXPECT_TRUE(SaveToBytes(adopted).empty());
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
}

// Moves a partial record of image through stream in the stream's direction:
// the versioned form for an alignment below 0, else the version-less one.
template <class T>
K_ERRORS Partial(KImage<T>& image, KMemSerializer& stream, int alignment) {
    if (alignment < 0) {
        image.PartialSerialize(&stream);
    } else {
        image.VersionLessPartialSerialize(&stream, static_cast<unsigned>(alignment));
    }
    EXPECT_TRUE(stream.IsEOS() || KFailure());
    return KGetError();
}

template <class T>
Bytes WritePartial(KImage<T>& image, int alignment) {
    KMemSerializer writer;
    writer.OpenWriter();
    EXPECT_EQ(Partial(image, writer, alignment), K_SUCCESS);
    return writer.GetBuffer();
}

template <class T>
K_ERRORS ReadPartial(KImage<T>& image, const Bytes& bytes, int alignment) {
    KMemSerializer reader;
    reader.OpenReader(bytes);
    return Partial(image, reader, alignment);
}

TEST_F(Archive, PartialImageRecordCarriesTheWritersPitch) {
    KImage<KBW8> image(10, 2);
    FillPattern(image);
    const Bytes b = WritePartial(image, -1);
    ASSERT_EQ(b.size(), 12u + 48);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 12), (Bytes{10, 0, 0, 0, 2, 0, 0, 0, 24, 0, 0, 0}));
    EXPECT_EQ(b[12 + 24 + 9], 9 * 3 + 17);
    EXPECT_EQ(b[12 + 23], 0) << "padding is written as zeros";
    KImage<KBW8> loaded;
    ASSERT_EQ(ReadPartial(loaded, b, -1), K_SUCCESS);
    EXPECT_EQ(loaded.GetPixel(9, 1).m_un8Value, 9 * 3 + 17);

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

    // The FILE* forms wrap the stream; a null one is not open.
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    image.PartialSerialize(stream, 1);
    image.VersionLessPartialSerialize(stream, 1, 8);
    std::rewind(stream);
    KImage<KBW8> first, second;
    first.PartialSerialize(stream, 0);
    second.VersionLessPartialSerialize(stream, 0, 8);
    EXPECT_EQ(KGetError(), K_SUCCESS);
    EXPECT_EQ(std::fgetc(stream), EOF);
    std::fclose(stream);
    EXPECT_EQ(SaveToBytes(first), SaveToBytes(image));
    EXPECT_EQ(SaveToBytes(second), SaveToBytes(image));
    first.PartialSerialize(static_cast<FILE*>(nullptr), 0);
    EXPECT_EQ(KGetError(), K_ERROR_SERIALIZER_NOT_OPEN);
}

TEST_F(Archive, VersionLessRowsArePaddedToTheAlignment) {
    KImage<KBW8> image(10, 3);
    FillPattern(image);
    for (const auto& [alignment, stored] : {std::pair{1, 10}, {4, 12}, {32, 32}, {0, 10}}) {
        SCOPED_TRACE(alignment);
        const Bytes b = WritePartial(image, alignment);
        ASSERT_EQ(b.size(), 8u + 3 * stored);
        for (int x = 0; x < stored; ++x) {
            EXPECT_EQ(b[8 + stored + x], x < 10 ? x * 3 + 17 : 0);
        }
        KImage<KBW8> loaded;
        ASSERT_EQ(ReadPartial(loaded, b, alignment), K_SUCCESS);
        EXPECT_EQ(loaded.GetPixel(9, 2).m_un8Value, 9 * 3 + 2 * 17);
        EXPECT_EQ(loaded.GetPixel(1, 0).m_un8Value, 3);
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

TEST_F(Archive, PartialRoiRecordPlacesTheViewByTheRules) {
    KImage<KBW8> image(100, 50);
    KROI<KBW8> view(&image, 3, 4, 20, 10);
    KMemSerializer mem;
    mem.OpenWriter();
    view.PartialSerialize(&mem);
    view.VersionLessPartialSerialize(&mem, 77);
    const Bytes record = {3, 0, 0, 0, 4, 0, 0, 0, 20, 0, 0, 0, 10, 0, 0, 0};
    EXPECT_EQ(mem.GetBuffer(), record + record) << "the alignment is ignored";

    // A negative origin is cut off the extent, which is then clipped to the
    // parent; origin -30 leaves a negative width.
    const std::pair<std::array<int, 4>, std::array<int, 4>> cases[] = {
        {{-5, 40, 20, 30}, {0, 40, 15, 10}}, {{10, -3, 20, 30}, {10, 0, 20, 27}}, {{-30, 0, 20, 5}, {}}};
    for (const auto& [stored, placed] : cases) {
        Bytes bytes(16);
        std::memcpy(bytes.data(), stored.data(), 16);
        mem.OpenReader(bytes);
        view.PartialSerialize(&mem);
        EXPECT_EQ(KGetError(), placed[2] ? K_SUCCESS : K_ERROR_PARAMETER_1_OUT_OF_RANGE);
        EXPECT_TRUE(!placed[2] || Placement(view) == placed) << stored[0] << ", " << stored[1];
    }

    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    mem.OpenReader(record);
    image.KROI<KBW8>::PartialSerialize(&mem);
    EXPECT_EQ(KGetError(), K_ERROR_APPLIED_TO_IMAGE);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("KROI::SetPlacement"), std::string::npos);
    EXPECT_EQ(image.GetWidth(), 100);
}

TEST_F(Archive, DimensionalValueRecordVersions) {
    KDimensionalValue value(2.5f, &KUnit_mile);
    KMemSerializer mem;
    mem.OpenWriter();
    value.Serialize(&mem, static_cast<unsigned>(-1));
    const Bytes b = mem.GetBuffer();
    Bytes expected(28);
    PatchAt(expected, 0, 2.5f);
    PatchAt(expected, 8, 1609.344f);
    std::memcpy(&expected[12], "mile", 4);
    EXPECT_EQ(b, expected) << "value, flag 0, magnitude, name and zeros";

    // Version 1 has no flag; a set flag is ignored in version 2 and refused
    // (traced) in version 3, leaving the unit as it was.
    Bytes v1 = b;
    v1.erase(v1.begin() + 4, v1.begin() + 8);
    Bytes flagged = b;
    PatchAt<int32_t>(flagged, 4, 1);
    PatchAt(flagged, 8, 7.0f);
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    for (const auto& [version, bytes, magnitude] :
         {std::tuple{1u, v1, 1609.344f}, {2u, flagged, 7.0f}, {3u, flagged, 0.0f}}) {
        KDimensionalValue read(1.0f, &KUnit_km);
        mem.OpenReader(bytes);
        read.Serialize(&mem, version);
        EXPECT_EQ(KGetError(), magnitude ? K_SUCCESS : K_ERROR_INTERNAL);
        EXPECT_EQ(read.GetUnit()->GetMagnitude(), magnitude ? magnitude : KUnit_km.GetMagnitude());
        EXPECT_STREQ(read.GetUnit()->GetName(), magnitude ? "mile" : "Km");
        EXPECT_TRUE(!magnitude || (mem.IsEOS() && read.GetValue() == 2.5f)) << version;
    }
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.find("Function: KDimensionalValue::Serialize\n"), 0u);

    // The same record inside an image fails the load with 32767.
    KSetTraceMode(K_TRACE_SILENT);
    KImage<KBW8> image(2, 2);
    Bytes archive = SaveToBytes(image);
    PatchAt<int32_t>(archive, archive.size() - 24, 1);
    EXPECT_EQ(LoadFromBytes(image, archive), K_ERROR_INTERNAL);
}

}  // namespace
