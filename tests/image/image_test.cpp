#include <lumora/image.h>
#include <lumora/settings.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Nodes = std::vector<const KGenericROI*>;
using Heads = std::vector<std::string>;
using Dims = std::tuple<float, float, std::string>;

// "x,y wxh": the placement of a view in one string.
std::string Where(const KGenericROI& roi) {
    return std::to_string(roi.GetOrgX()) + "," + std::to_string(roi.GetOrgY()) + " " +
           std::to_string(roi.GetWidth()) + "x" + std::to_string(roi.GetHeight());
}

// The pixel width and height, or the resolution, with the unit's name.
Dims Measure(const KGenericROI& roi, bool resolution = false) {
    float a = 0, b = 0;
    const KMeasurementUnit* unit = nullptr;
    resolution ? roi.GetResolution(a, b, unit) : roi.GetPixelDimensions(a, b, unit);
    return {a, b, unit->GetName()};
}

Nodes Walk(KGenericROI* root) {
    Nodes visited;
    for (KGenericROI* node = root->GetNextROI(root); node && visited.size() <= 100; node = node->GetNextROI(root)) {
        visited.push_back(node);
    }
    return visited;
}

class Image : public ::testing::Test {
protected:
    void TearDown() override { KSetRecursiveCopyBehavior(1); }
    MessageBoxCapture boxes;
    KImage<KBW8> image{640, 480};
};

TEST_F(Image, WalkInPreOrderTotalOriginAndSizeAndViewsWithoutParent) {
    KImage<KBW8> root(200, 100);
    EXPECT_TRUE(Walk(&root).empty());
    KROI<KBW8> a(&root, 5, 5, 100, 50);
    KROI<KBW8> b(&root, 50, 50, 10, 10);
    KROI<KBW8> a1(&a, 10, 20, 10, 10);
    KROI<KBW8> a1x(&a1, 0, 0, 1, 1);
    KROI<KBW8> a1y(&a1, 1, 1, 1, 1);
    EXPECT_EQ(Walk(&root), (Nodes{&a, &a1, &a1x, &a1y, &b}));
    // The walk only stops when it meets stop itself: started inside the tree
    // it runs on through the rest of the tree and its root.
    EXPECT_EQ(Walk(&a1), (Nodes{&a1x, &a1y, &b, &root, &a}));
    // Total origins add the parents' origins but not the root's.
    EXPECT_EQ(a1x.GetTotalOrgX(), 15);
    EXPECT_EQ(a1x.GetTotalOrgY(), 25);
    EXPECT_EQ(a1x.GetTotalWidth(), 200);
    EXPECT_EQ(a1x.GetTotalHeight(), 100);
    EXPECT_EQ(boxes.Count(), 0u);

    // Views without a parent report 1416, through the top-parent request too.
    KROI<KBW16> loose;
    EXPECT_EQ(loose.GetTotalWidth(), 0);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_NO_PARENT);
    EXPECT_EQ(boxes.Heads(), (Heads{"Function: KROI::GetTopParent", "Function: KROI::GetTotalWidth"}));
    EXPECT_EQ(loose.GetRowPitch(), 0);
    EXPECT_EQ(loose.GetSkip(), 0);
    EXPECT_EQ(boxes.LastHead(), "Function: KROI::GetSkip");
    float w = -1, h = -1;
    const KMeasurementUnit* unit = nullptr;
    boxes.Clear();
    loose.GetPixelDimensions(w, h, unit);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_NO_PARENT);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(boxes.Heads(), (Heads{"Function: KROI::GetTopParent", "Function: KROI::GetPixelDimensions"}));
    EXPECT_EQ(loose.GetPixel(0, 0).m_un16Value, 0) << "a view without pixels reads zero";
    loose.SetPixel(KBW16{1}, 0, 0);
}

TEST_F(Image, CompatibilityChecksAnswerTheirCodes) {
    KImage<KBW8> wide(20, 10), tall(10, 20), narrow(19, 10), same(20, 10);
    KImage<KBW16> deeper(20, 10);
    EXPECT_EQ(wide.SameSize(&narrow), 1403);
    EXPECT_EQ(boxes.Count(), 0u) << "a size mismatch is an answer, not a traced failure";
    EXPECT_EQ(wide.SameSize(&same), 0);
    EXPECT_EQ(wide.PermittedDepth(2), 0);
    EXPECT_EQ(wide.PermittedDepth(static_cast<short>(0x7FFF)), 0);
    EXPECT_EQ(wide.PermittedDepth(1), 1004);
    EXPECT_EQ(wide.PermittedDataType(1), 0);
    EXPECT_EQ(wide.PermittedDataType(2), 1005);
    EXPECT_EQ(wide.SameDataType(&deeper), 0);
    EXPECT_EQ(wide.SameDepth(&deeper), 1404);
    EXPECT_EQ(boxes.Heads(), (Heads{"Function: KROI::PermittedDepth", "Function: KROI::PermittedDataType",
                                    "Function: KROI::SameDepth"}));
    boxes.Clear();
    EXPECT_EQ(wide.SameSizeDepthType(&deeper, 2, 1), 1404);
    EXPECT_EQ(boxes.Heads(), (Heads{"Function: KROI::SameDepth", "Function: KROI::SameSizeDepthType"}));
    EXPECT_EQ(wide.SameSizeDepthType(&same, 2, 1), 0);
    EXPECT_EQ(wide.SameSizeDepthType(&tall, 2, 1), 1403);
    EXPECT_EQ(wide.SameSizeDepthType(&same, 4, 1), 1004);
    EXPECT_EQ(wide.SameSizeDepthType(&same, 2, 2), 1005);
}

TEST_F(Image, TextsAreOwnedCopiesAndTheTwoFormsAreIndependent) {
    char title[] = "first";
    image.SetTitle(title);
    title[0] = 'X';
    const unsigned short wide[] = {'w', 0};
    image.SetTitle(wide);
    image.SetTitle(image.GetTitle());
    EXPECT_STREQ(image.GetTitle(), "first");
    image.SetTitle(static_cast<const char*>(nullptr));
    EXPECT_EQ(image.GetTitle(), nullptr);
    ASSERT_NE(image.GetTitleUnicode(), nullptr);
    EXPECT_NE(image.GetTitleUnicode(), wide);
    EXPECT_EQ(image.GetTitleUnicode()[0], 'w');
}

TEST_F(Image, DumpsOfAViewWithoutTextsAndOfOneWithADaughter) {
    KROI<KBW8> view(&image, 1, 2, 4, 3);
    std::ostringstream out, expected;
    view.KGenericROI::DumpToStream(out, 2);
    expected << "  Dumping KGenericROI( " << static_cast<const void*>(&view) << ") : \n"
             << "  m_pszAuthorASCII = NULL\n  m_pszCommentASCII = NULL\n"
             << "  m_pszDateASCII = NULL\n  m_pszTitleASCII = NULL\n"
             << "  m_pParent = " << static_cast<const void*>(&image) << "\n"
             << "  m_pSibling = " << static_cast<const void*>(nullptr) << "\n"
             << "  Dumping children :  <NO CHILDREN TO DUMP>\n"
             << "  m_n32OrgX = 1\n  m_n32OrgY = 2\n  m_n32Height = 3\n  m_n32Width = 4\n"
             << "  m_eColorSystem = K_COLOR_SYSTEM_GRAY_LEVEL\n";
    EXPECT_EQ(out.str(), expected.str());

    KROI<KBW8> daughter(&view, 1, 1, 2, 2);
    daughter.SetTitle("inner");
    std::ostringstream banner;
    banner << view;  // the banner, then the view's own dump with its daughters
    const std::string text = banner.str();
    EXPECT_EQ(text.rfind("+--------------------------------+\n| DUMPING KGenericROI [subclass] |\n"
                         "+--------------------------------+\n",
                         0),
              0u);
    EXPECT_NE(text.find("\n   m_pszTitleASCII = inner\n"), std::string::npos) << text;
    EXPECT_NE(text.find("m_bMaskOffsets = FALSEm_n32CursorX = 0m_n32CursorY = 0)"), std::string::npos);
    std::ostringstream imageDump;
    EXPECT_THROW(image.DumpToStream(imageDump, 0), int);
    EXPECT_TRUE(imageDump.str().empty());
}

TEST_F(Image, PlacementsClipToTheParentOrResetToTheWholeParent) {
    const std::string whole = "0,0 640x480";
    const K_ERRORS ok = K_SUCCESS, out = K_ERROR_ROI_OUT_OF_PARENT, range = K_ERROR_PARAMETER_1_OUT_OF_RANGE;
    const struct {
        std::array<int, 4> start;  // as constructed
        std::function<void(KROI<KBW8>&)> change;
        std::string expected;
        K_ERRORS error;
        std::string trace;  // the last traced operation
    } cases[] = {
        {{600, 0, 100, 100}, [](auto&) {}, "600,0 40x100", ok, ""},
        {{0, 0, 100, 100}, [](auto& v) { v.SetOrgX(600); }, "600,0 40x100", ok, ""},
        {{0, 5, 100, 100}, [](auto& v) { v.SetOrgX(700); }, whole, out, "KROI::SetWidth"},
        {{10, 0, 100, 100}, [](auto& v) { v.SetOrgX(-30); }, "0,0 70x100", ok, ""},
        {{10, 5, 100, 100}, [](auto& v) { v.SetOrgX(-150); }, whole, out, "KROI::SetOrgX"},
        {{0, 0, 10, 10}, [](auto& v) { v.SetPlacement(0, 470, 10, 100); }, "0,470 10x10", ok, ""},
        {{0, 470, 10, 10}, [](auto& v) { v.SetOrgY(-5); }, "0,0 10x5", ok, ""},
        {{0, 470, 10, 10}, [](auto& v) { v.SetOrgY(-15); }, whole, out, "KROI::SetOrgY"},
        {{0, 0, 10, 10}, [](auto& v) { v.SetPlacement(-10, -20, 50, 50); }, "0,0 40x30", ok, ""},
        {{0, 0, 40, 40}, [](auto& v) { v.SetWidth(-1); }, "0,0 40x40", range, "KROI::SetWidth"},
        {{0, 0, 40, 40}, [](auto& v) { v.SetHeight(-1); }, "0,0 40x40", range, "KROI::SetHeight"},
        // The width made negative is refused; the height still changes.
        {{0, 0, 40, 40}, [](auto& v) { v.SetPlacement(-60, 0, 50, 50); }, "0,0 40x50", range, "KROI::SetWidth"},
        {{0, 0, 40, 40}, [](auto& v) { v.SetPlacement(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX); }, "0,0 40x40",
         range, "KROI::SetHeight"},
        {{0, 0, 40, 40}, [](auto& v) { v.SetSize(700, 30); }, "0,0 640x30", ok, ""},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        KROI<KBW8> view(&image, c.start[0], c.start[1], c.start[2], c.start[3]);
        c.change(view);
        EXPECT_EQ(Where(view), c.expected) << c.start[0] << "," << c.start[1];
        EXPECT_EQ(KGetError(), c.error) << c.expected;
        EXPECT_EQ(boxes.LastHead(), c.trace.empty() ? "" : "Function: " + c.trace) << c.expected;
    }
    EXPECT_EQ(Where(KROI<KBW8>(nullptr, -5, -5, 1000, 1000)), "-5,-5 1000x1000") << "no parent, no clipping";
}

TEST_F(Image, ImagesRefuseViewOperations) {
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[&] { image.SetWidth(10); }, "KROI::SetWidth"},
        {[&] { image.SetHeight(10); }, "KROI::SetHeight"},
        {[&] { image.SetOrgX(1); }, "KROI::SetOrgX"},
        {[&] { image.SetOrgY(1); }, "KROI::SetOrgY"},
        {[&] { image.SetPlacement(0, 0, 1, 1); }, "KROI::SetPlacement"},
        {[&] { image.Detach(); }, "KROI::Detach"},
        {[&] { image.Attach(&image); }, "KROI::Attach"},
    };
    for (const auto& [operation, name] : refusals) {
        operation();
        EXPECT_EQ(KGetError(), K_ERROR_APPLIED_TO_IMAGE) << name;
        EXPECT_EQ(boxes.LastHead(), "Function: " + name);
    }
    EXPECT_EQ(Where(image), "0,0 640x480");
}

TEST_F(Image, AttachAndDetachKeepTheDaughterListInOrder) {
    image.SetColorSystem(K_COLOR_SYSTEM_LAB);
    KROI<KBW8> a(&image, 0, 0, 10, 10);
    KROI<KBW8> b(&image, 0, 0, 10, 10);
    KROI<KBW8> c(&image, 0, 0, 10, 10);
    EXPECT_EQ(b.GetColorSystem(), K_COLOR_SYSTEM_LAB) << "taken from the parent";
    KImage<KBW8> second(5, 5);
    b.Attach(&second);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_HAS_PARENT);
    EXPECT_EQ(b.GetParent(), &image);
    b.Detach();
    EXPECT_EQ(Nodes({image.GetFirstSubROI(), a.GetNextSiblingROI(), b.GetParent(), b.GetNextSiblingROI()}),
              Nodes({&a, &c, nullptr, nullptr}));
    boxes.Clear();
    KSetError(K_ERROR_INTERNAL);
    b.Detach();  // unattached: nothing happens, nothing is reported
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(boxes.Count(), 0u);

    b.Attach(&second);
    EXPECT_EQ(Where(b), "0,0 5x5") << "attaching re-clips to the new parent";
    a.Detach();
    EXPECT_EQ(image.GetFirstSubROI(), &c);
    b.Detach();
    b.Attach(&b);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE) << "a view cannot be its own parent";
    KROI<KBW8> child(&b, 0, 0, 1, 1);
    KROI<KBW8> grandChild(&child, 0, 0, 1, 1);
    b.Attach(&grandChild);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE) << "nor hang below its own daughters";
    EXPECT_EQ(b.GetParent(), nullptr);
}

TEST_F(Image, ResizingAParentReclipsItsDaughters) {
    KROI<KBW8> parent(&image, 0, 0, 300, 300);
    KROI<KBW8> inside(&parent, 10, 10, 100, 100);
    KROI<KBW8> beyond(&parent, 250, 0, 50, 50);
    KROI<KBW8> grandDaughter(&inside, 50, 50, 50, 50);
    parent.SetWidth(120);
    EXPECT_EQ(Where(inside) + " " + Where(beyond), "10,10 100x100 0,0 120x300");
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);
    parent.SetWidth(40);  // the grand-daughter's origin now lies beyond the shrunk parent
    EXPECT_EQ(Where(inside) + " " + Where(beyond) + " " + Where(grandDaughter), "10,10 30x100 0,0 40x300 0,0 30x100");

    KROI<KBW8> view(&image, 600, 400, 40, 40);
    image.SetSize(320, 240);
    EXPECT_EQ(Where(view), "0,0 320x240");
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);
    std::vector<unsigned char> memory(100 * 50);
    image.SetImagePtr(100, 50, memory.data(), 0);
    EXPECT_EQ(Where(view), "0,0 100x50") << "adopting re-clips too";
}

template <class T>
void ExpectOwnedRows(int width, int rowPitch, int colPitch) {
    KImage<T> owned(width, 3);
    EXPECT_EQ(std::make_tuple(owned.GetBitsPerRow(), owned.GetRowPitch(), owned.GetColPitch()),
              std::make_tuple(rowPitch * 8, rowPitch, colPitch));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(owned.GetGenericImagePtr(0, 0)) % 32, 0u);
    // The last row ends at least 8 bytes before the end of the allocation:
    // writing the whole padded buffer must stay inside it (checked by ASan).
    std::memset(owned.GetGenericImagePtr(0, 0), 0xAB, static_cast<size_t>(rowPitch) * 3 + 8);
}

TEST_F(Image, OwnedRowsArePaddedTo192BitsAndAligned) {
    ExpectOwnedRows<KBW8>(640, 648, 1);
    ExpectOwnedRows<KC24>(10, 48, 3);
    ExpectOwnedRows<KBW1>(100, 24, 0);
    ExpectOwnedRows<KRaw96>(5, 72, 12);
    ExpectOwnedRows<KFLOAT64>(3, 24, 8);
    KImage<KBW1> bilevel(100, 10);
    EXPECT_EQ(KROI<KBW1>(&bilevel, 3, 0, 10, 10).GetSkip(), (192 - 10) / 8);
}

TEST_F(Image, SetSizeKeepsTheBufferOnlyForTheSameSizeAndRefusesWhatCannotBe) {
    const void* before = image.GetGenericImagePtr(0, 0);
    image.GetMaskRuns().AddElement(KRun{nullptr, nullptr, 0, 0});
    KSetError(K_ERROR_INTERNAL);
    image.SetSize(640, 480);
    EXPECT_EQ(KGetError(), K_ERROR_INTERNAL) << "an unchanged size costs nothing";
    EXPECT_EQ(image.GetGenericImagePtr(0, 0), before);
    EXPECT_EQ(image.GetMaskRuns().GetNumElements(), 1u);
    image.SetSize(641, 480);
    EXPECT_EQ(image.GetMaskRuns().GetNumElements(), 0u) << "a resize empties the mask";
    image.SetSize(0, 0);
    EXPECT_EQ(image.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_FALSE(image.OwnsBuffer());

    // The 4 GB limit counts whole bytes per pixel, so bilevel images pass it;
    // the row pitch in bits must fit 32 bits; the machine cannot give 2^57 bytes.
    KImage<KBW8> gray(10, 10);
    KImage<KBW1> bilevel;
    const struct {
        KGenericROI* target;
        int width, height;
        K_ERRORS error;
        std::string after;
    } sizes[] = {
        {&gray, 70000, 70000, K_ERROR_ORIGIN_IMAGE_TOO_BIG, "0,0 10x10"},
        {&gray, -1, 5, K_ERROR_PARAMETER_1_OUT_OF_RANGE, "0,0 10x10"},
        {&gray, 5, -1, K_ERROR_PARAMETER_2_OUT_OF_RANGE, "0,0 10x10"},
        {&gray, -1, -1, K_ERROR_PARAMETER_1_OUT_OF_RANGE, "0,0 10x10"},
        {&bilevel, 70000, 70000, K_SUCCESS, "0,0 70000x70000"},
        {&bilevel, 1 << 30, 1 << 30, K_ERROR_ALLOCATION, "0,0 0x0"},
        {&bilevel, INT32_MAX, 1, K_ERROR_ORIGIN_IMAGE_TOO_BIG, "0,0 0x0"},
    };
    for (const auto& s : sizes) {
        s.target->SetSize(s.width, s.height);
        EXPECT_EQ(KGetError(), s.error) << s.width << " x " << s.height;
        EXPECT_EQ(Where(*s.target), s.after) << s.width << " x " << s.height;
    }
    EXPECT_NE(gray.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_EQ(bilevel.GetGenericImagePtr(0, 0), nullptr);
}

TEST_F(Image, AdoptedBuffersUseTheDefaultPitchAndSurviveTheImage) {
    std::vector<unsigned char> memory(320 * 240, 0x5A);
    {
        KImage<KBW8> adopting;
        adopting.SetImagePtr(320, 240, memory.data(), 0);
        EXPECT_EQ(adopting.GetGenericImagePtr(0, 0), memory.data());
        adopting.SetPixel(KBW8{1}, 2, 1);
        KImage<KBW8> copy(adopting);
        EXPECT_EQ(copy.GetGenericImagePtr(0, 0), memory.data()) << "copies of adopting images share memory";
        adopting.SetImagePtr(3, 1, memory.data(), 0);
        EXPECT_EQ(adopting.GetBitsPerRow(), 32);
    }
    EXPECT_EQ(memory[320 + 2], 1);
    KImage<KBW1> bilevel;
    bilevel.SetImagePtr(33, 1, memory.data(), 0);
    EXPECT_EQ(bilevel.GetBitsPerRow(), 64);
    KImage<KBW8> owning(7, 8);
    owning.SetImagePtr(memory.data(), 0);
    EXPECT_FALSE(owning.OwnsBuffer());
    EXPECT_EQ(owning.GetRowPitch(), 8);
}

TEST_F(Image, CopiesOfOwningImagesAreDeepAndRebaseAddressRuns) {
    KImage<KBW8> source(20, 5);
    for (int i = 0; i < 100; ++i) {
        source.SetPixel(KBW8{static_cast<uint8_t>(i * 7)}, i % 20, i / 20);
    }
    source.SetTitle("source");
    source.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);
    auto* base = static_cast<unsigned char*>(source.GetGenericImagePtr(0, 0));
    source.GetMaskRuns().AddElement(KRun{base + 3, base + 8, 3, 0});

    KImage<KBW8> copy(source);
    auto* copyBase = static_cast<unsigned char*>(copy.GetGenericImagePtr(0, 0));
    EXPECT_NE(copyBase, base);
    EXPECT_EQ(std::memcmp(copyBase, base, static_cast<size_t>(source.GetImgPitch())), 0);
    EXPECT_STREQ(copy.GetTitle(), "source");
    EXPECT_EQ(Measure(copy), Dims(0.5f, 0.25f, "mm"));
    ASSERT_EQ(copy.GetMaskRuns().GetNumElements(), 1u);
    using Span = std::pair<void*, void*>;
    EXPECT_EQ(Span(copy.GetMaskRuns()[0].pBeg, copy.GetMaskRuns()[0].pEnd), Span(copyBase + 3, copyBase + 8));
    source.SetMaskOffsets(1);
    source.GetMaskRuns()[0] = KRun{reinterpret_cast<void*>(3), reinterpret_cast<void*>(8), 3, 0};
    KImage<KBW8> offsetCopy;
    offsetCopy = source;
    EXPECT_EQ(offsetCopy.GetMaskRuns()[0].pBeg, reinterpret_cast<void*>(3)) << "offsets are copied unchanged";

    KImage<KBW8>& alias = copy;
    copy = alias;
    EXPECT_EQ(copy.GetGenericImagePtr(0, 0), copyBase);
    EXPECT_EQ(Where(copy), "0,0 20x5");
    EXPECT_EQ(copy.GetPixel(19, 4).m_un8Value, static_cast<uint8_t>(99 * 7));
    copy.SetPixel(KBW8{0}, 1, 0);
    EXPECT_EQ(source.GetPixel(1, 0).m_un8Value, 7);
}

TEST_F(Image, RecursiveCopiesCloneTheDaughterTreeAndViewClonesShareTheParent) {
    KImage<KBW8> source(50, 50);
    KROI<KBW8> a(&source, 1, 2, 10, 10);
    KROI<KBW8> b(&source, 20, 20, 5, 5);
    KROI<KBW8> a1(&a, 3, 3, 2, 2);
    a1.SetComment("deep");
    KImage<KBW8> flat(8, 8);
    KROI<KBW8> old(&flat, 0, 0, 4, 4);
    source.CopyTo(&flat, 0);
    EXPECT_EQ(Nodes({flat.GetFirstSubROI(), old.GetParent()}), Nodes({nullptr, nullptr}))
        << "old daughters are detached, not deleted";

    KImage<KBW8> deep;
    source.CopyTo(&deep, 1);
    auto* ca = static_cast<KROI<KBW8>*>(deep.GetFirstSubROI());
    ASSERT_NE(ca, nullptr);
    auto* cb = static_cast<KROI<KBW8>*>(ca->GetNextSiblingROI());
    auto* ca1 = static_cast<KROI<KBW8>*>(ca->GetFirstSubROI());
    ASSERT_TRUE(cb && ca1);
    EXPECT_EQ(Where(*ca) + " " + Where(*cb), "1,2 10x10 20,20 5x5");
    EXPECT_STREQ(ca1->GetComment(), "deep");
    EXPECT_EQ(ca1->GetTotalOrgX(), 4);
    EXPECT_EQ(Nodes({source.GetFirstSubROI(), a.GetNextSiblingROI()}), Nodes({&a, &b})) << "the source is untouched";
    delete ca1;  // the clones belong to the copy's user
    delete cb;
    delete ca;
    KSetRecursiveCopyBehavior(0);
    EXPECT_EQ(KImage<KBW8>(source).GetFirstSubROI(), nullptr);
    KROI<KBW8>* imageClone = source.CreateROIClone(0);
    EXPECT_EQ(imageClone->IsAnROI(), 0);
    EXPECT_EQ(Where(*imageClone), "0,0 50x50");
    EXPECT_EQ(imageClone->GetFirstSubROI(), nullptr);
    delete imageClone;

    a.SetTitle("v");
    KROI<KBW8>* clone = a.CreateROIClone(0);
    EXPECT_EQ(clone->GetParent(), &source);
    EXPECT_EQ(Where(*clone), "1,2 10x10");
    EXPECT_STREQ(clone->GetTitle(), "v");
    delete clone;
    EXPECT_EQ(b.GetNextSiblingROI(), nullptr) << "deleting a view detaches it";
    KROI<KBW8> assigned;
    assigned = a;
    EXPECT_EQ(assigned.GetParent(), &source);
    EXPECT_EQ(Where(assigned), "1,2 10x10");
}

TEST_F(Image, DaughtersCarryingTheAllocatedMarkDieWithTheirParent) {
    KROI<KBW8> survivor;
    KROI<KBW8> orphan;
    {
        KImage<KBW8> parent(10, 10);
        auto* owned = new KROI<KBW8>(&parent, 0, 0, 5, 5);
        owned->SetAllocated();
        orphan.Attach(owned);
        survivor.Attach(&parent);
        // The image deletes `owned` when it dies (LeakSanitizer would report
        // it otherwise); unmarked views are only detached.
    }
    EXPECT_EQ(Nodes({survivor.GetParent(), orphan.GetParent()}), Nodes({nullptr, nullptr}));
}

TEST_F(Image, PixelDimensionsAndResolutionLiveInTheImage) {
    KROI<KBW8> view(&image, 0, 0, 2, 2);
    EXPECT_EQ(Measure(image), Dims(1.0f, 1.0f, "None"));
    image.SetPixelDimensions(0.0f, 2.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), 0);
    image.SetPixelDimensions(0.0f, 0.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), K_ERROR_PIXEL_SIZE_NOT_FINITE);
    image.SetResolution(0.0f, 2.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), K_ERROR_PIXEL_SIZE_NOT_FINITE);
    image.SetResolution(2.0f, 0.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), K_ERROR_PIXEL_SIZE_NOT_FINITE);
    view.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);  // forwarded to the image
    EXPECT_EQ(Measure(image, true), Dims(2.0f, 4.0f, "mm"));
    view.SetResolution(100.0f, 50.0f, nullptr);  // a null unit keeps the unit
    EXPECT_EQ(Measure(view), Dims(0.01f, 0.02f, "mm"));
    EXPECT_EQ(Measure(view, true), Dims(100.0f, 50.0f, "mm"));
}

TEST_F(Image, NestedViewsAddressTheImageAtTheSumOfTheirOrigins) {
    KImage<KBW16> gray(100, 50);
    KROI<KBW16> outer(&gray, 10, 5, 50, 30);
    KROI<KBW16> inner(&outer, 3, 4, 10, 12);
    const auto* base = static_cast<unsigned char*>(gray.GetGenericImagePtr(0, 0));
    EXPECT_EQ(inner.GetGenericImagePtr(0, 0), base + 9 * 216 + 13 * 2) << "1600 bits padded to 1728";
    EXPECT_EQ(inner.GetImagePtr(2, 1), gray.GetImagePtr(15, 10));
    EXPECT_EQ(std::make_tuple(inner.GetRowPitch(), inner.GetImgPitch(), inner.GetSkip()),
              std::make_tuple(216, 216 * 12, 216 - 20));
    inner.SetPixel(KBW16{4242}, 1, 1);
    EXPECT_EQ(gray.GetPixel(14, 10).m_un16Value, 4242);
    EXPECT_EQ(outer.GetPixel(4, 5).m_un16Value, 4242);
}

TEST_F(Image, BilevelPixelsAreBitsFromTheTopOfEachByte) {
    KImage<KBW1> bilevel(100, 10);
    auto* base = static_cast<unsigned char*>(bilevel.GetGenericImagePtr(0, 0));
    std::memset(base, 0, static_cast<size_t>(bilevel.GetRowPitch()) * 10);
    EXPECT_EQ(bilevel.GetGenericImagePtr(17, 2), base + 50);
    EXPECT_EQ(bilevel.GetBitIndex(14, 2), 6u);
    bilevel.SetPixel(KBW1{1}, 9, 0);
    EXPECT_EQ(base[1], 0x40);
    EXPECT_EQ(bilevel.GetPixel(9, 0).m_un32Value, 1u);
    bilevel.SetPixel(KBW1{77}, 15, 0);
    EXPECT_EQ(base[1], 0x41);
    EXPECT_EQ(bilevel.GetPixel(15, 0).m_un32Value, 1u) << "reads exactly 1";
    bilevel.SetPixel(KBW1{0}, 9, 0);
    EXPECT_EQ(base[1], 0x01);
    KROI<KBW1> view(&bilevel, 5, 1, 20, 5);
    view.SetPixel(KBW1{1}, 4, 1);  // absolute column 9, row 2
    EXPECT_EQ(base[48 + 1], 0x40);
    EXPECT_EQ(view.GetBitIndex(4, 1), 1u);
    EXPECT_EQ(view.GetPixel(4, 1).m_un32Value, 1u);
}

TEST_F(Image, Yuy2PairsShareTheirChroma) {
    KImage<KYUY2> yuy2(4, 2);
    auto* row = static_cast<unsigned char*>(yuy2.GetGenericImagePtr(0, 0));
    const size_t size = static_cast<size_t>(yuy2.GetRowPitch()) * 2 + 8;  // with the slack after the last row
    std::memset(row, 0xEE, size);
    const unsigned char pairs[8] = {10, 100, 11, 200, 12, 50, 13, 60};  // Y0 U Y1 V, Y2 U Y3 V
    std::memcpy(row, pairs, sizeof pairs);
    const auto yuv = [&](int x) {
        const KYUY2 p = yuy2.GetPixel(x, 0);
        return std::vector<int>{p.Y, p.U, p.V};
    };
    EXPECT_EQ(yuv(0), (std::vector<int>{10, 100, 200}));
    EXPECT_EQ(yuv(1), (std::vector<int>{11, 75, 130})) << "averaged with the next pair";
    EXPECT_EQ(yuv(3), (std::vector<int>{13, 50, 60})) << "the last odd column keeps its own pair";
    yuy2.SetPixel(KYUY2{99, 1, 2}, 1, 0);  // an odd column leaves the pair's chroma
    yuy2.SetPixel(KYUY2{7, 8, 9}, 2, 0);
    yuy2.SetPixel(KYUY2{1, 1, 1}, 4, 0);  // outside: nothing happens
    yuy2.SetPixel(KYUY2{1, 1, 1}, 0, 2);
    std::vector<unsigned char> expected(size, 0xEE);
    const unsigned char written[8] = {10, 100, 99, 200, 7, 8, 13, 9};
    std::memcpy(expected.data(), written, sizeof written);
    EXPECT_EQ(std::vector<unsigned char>(row, row + size), expected);
}

TEST_F(Image, VoidNotVoidAndTheMissingYuy2TypedPointer) {
    KImage<KBW8> empty;
    EXPECT_EQ(std::make_pair(empty.Void(), image.Void()), std::make_pair(1, 0));
    EXPECT_EQ(static_cast<const KROI<KBW8>&>(KROI<KBW8>(&image, 0, 0, 2, 2)).Void(), 0);
    empty.NotVoid();
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
    image.NotVoid();
    EXPECT_EQ(KGetError(), 0);
    KImage<KYUY2> yuy2(4, 2);
    EXPECT_EQ(yuy2.GetImagePtr(0, 0), nullptr);
    EXPECT_EQ(KGetError(), K_ERROR_UNSUPPORTED_IMAGE_TYPE);
    EXPECT_EQ(boxes.LastHead(), "Function: KROI::GetImagePtr ( YUY2)");
    EXPECT_NE(yuy2.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_EQ(static_cast<const KROI<KYUY2>&>(yuy2).Void(), 1);
    yuy2.NotVoid();
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
}

}  // namespace
