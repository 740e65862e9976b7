#include <lumora/image.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

class GenericRoi : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

std::vector<const KGenericROI*> Walk(KGenericROI* root) {
    std::vector<const KGenericROI*> visited;
    for (KGenericROI* node = root->GetNextROI(root); node; node = node->GetNextROI(root)) {
        visited.push_back(node);
        if (visited.size() > 100) {
            break;
        }
    }
    return visited;
}

TEST_F(GenericRoi, WalkVisitsDaughtersInPreOrderAndEndsAtTheRoot) {
    KImage<KBW8> root(100, 100);
    EXPECT_TRUE(Walk(&root).empty());
    KROI<KBW8> a(&root, 0, 0, 50, 50);
    KROI<KBW8> b(&root, 50, 50, 10, 10);
    KROI<KBW8> a1(&a, 1, 1, 5, 5);
    KROI<KBW8> a2(&a, 2, 2, 5, 5);
    KROI<KBW8> a1x(&a1, 0, 0, 1, 1);
    EXPECT_EQ(Walk(&root), (std::vector<const KGenericROI*>{&a, &a1, &a1x, &a2, &b}));
    // The walk only stops when it meets stop itself: started inside the tree
    // it runs on through the rest of the tree and its root.
    EXPECT_EQ(Walk(&a), (std::vector<const KGenericROI*>{&a1, &a1x, &a2, &b, &root}));
}

TEST_F(GenericRoi, TotalOriginAddsParentsButNotTheRoot) {
    KImage<KBW8> image(200, 100);
    KROI<KBW8> outer(&image, 5, 5, 100, 50);
    KROI<KBW8> inner(&outer, 10, 20, 10, 10);
    EXPECT_EQ(inner.GetTotalOrgX(), 15);
    EXPECT_EQ(inner.GetTotalOrgY(), 25);
    EXPECT_EQ(image.GetTotalOrgX(), 0);
    EXPECT_EQ(inner.GetTotalWidth(), 200);
    EXPECT_EQ(inner.GetTotalHeight(), 100);
}

TEST_F(GenericRoi, TotalSizeOfADetachedViewReportsTwice) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KROI<KBW8> loose;
    EXPECT_EQ(loose.GetTotalWidth(), 0);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_NO_PARENT);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text.substr(0, 29), "Function: KROI::GetTopParent\n");
    EXPECT_EQ(shown[1].text.substr(0, 30), "Function: KROI::GetTotalWidth\n");
}

TEST_F(GenericRoi, CompatibilityChecksAnswerTheirCodes) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KImage<KBW8> wide(20, 10);
    KImage<KBW8> tall(10, 20);
    KImage<KBW8> same(20, 10);
    KImage<KBW16> deeper(20, 10);
    EXPECT_EQ(wide.SameSize(&tall), 1403);
    EXPECT_EQ(boxes.Count(), 0u) << "a size mismatch is an answer, not a traced failure";
    EXPECT_EQ(wide.SameSize(&same), 0);
    EXPECT_EQ(KGetError(), 0);

    EXPECT_EQ(wide.PermittedDepth(2), 0);
    EXPECT_EQ(wide.PermittedDepth(1), 1004);
    EXPECT_EQ(wide.PermittedDepth(static_cast<short>(0x7FFF)), 0);
    EXPECT_EQ(wide.PermittedDataType(1), 0);
    EXPECT_EQ(wide.PermittedDataType(2), 1005);
    EXPECT_EQ(wide.SameDepth(&deeper), 1404);
    EXPECT_EQ(wide.SameDataType(&deeper), 0);
    boxes.Clear();

    EXPECT_EQ(wide.SameSizeDepthType(&deeper, 2, 1), 1404);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text.substr(0, 25), "Function: KROI::SameDepth");
    EXPECT_EQ(shown[1].text.substr(0, 33), "Function: KROI::SameSizeDepthType");
    EXPECT_EQ(wide.SameSizeDepthType(&same, 2, 1), 0);
    EXPECT_EQ(wide.SameSizeDepthType(&tall, 2, 1), 1403);
}

TEST_F(GenericRoi, TextsAreOwnedCopiesAndTheTwoFormsAreIndependent) {
    KImage<KBW8> image;
    char title[] = "first";
    image.SetTitle(title);
    title[0] = 'X';
    EXPECT_STREQ(image.GetTitle(), "first");
    const unsigned short wide[] = {'w', 0};
    image.SetTitle(wide);
    image.SetTitle(image.GetTitle());
    EXPECT_STREQ(image.GetTitle(), "first");
    image.SetTitle(static_cast<const char*>(nullptr));
    EXPECT_EQ(image.GetTitle(), nullptr);
    ASSERT_NE(image.GetTitleUnicode(), nullptr);
    EXPECT_EQ(image.GetTitleUnicode()[0], 'w');
    image.SetAuthor("a");
    image.SetComment("c");
    image.SetDate("d");
    EXPECT_STREQ(image.GetAuthor(), "a");
    EXPECT_STREQ(image.GetComment(), "c");
    EXPECT_STREQ(image.GetDate(), "d");
    EXPECT_EQ(image.GetDateUnicode(), nullptr);
}

TEST_F(GenericRoi, DumpOfAnObjectWithoutTextsOrDaughters) {
    KImage<KBW8> image(8, 8);
    KROI<KBW8> view(&image, 1, 2, 4, 3);
    std::ostringstream out;
    view.KGenericROI::DumpToStream(out, 2);
    std::ostringstream expected;
    expected << "  Dumping KGenericROI( " << static_cast<const void*>(&view) << ") : \n"
             << "  m_pszAuthorASCII = NULL\n"
             << "  m_pszCommentASCII = NULL\n"
             << "  m_pszDateASCII = NULL\n"
             << "  m_pszTitleASCII = NULL\n"
             << "  m_pParent = " << static_cast<const void*>(&image) << "\n"
             << "  m_pSibling = " << static_cast<const void*>(nullptr) << "\n"
             << "  Dumping children :  <NO CHILDREN TO DUMP>\n"
             << "  m_n32OrgX = 1\n"
             << "  m_n32OrgY = 2\n"
             << "  m_n32Height = 3\n"
             << "  m_n32Width = 4\n"
             << "  m_eColorSystem = K_COLOR_SYSTEM_GRAY_LEVEL\n";
    EXPECT_EQ(out.str(), expected.str());
}

TEST_F(GenericRoi, StreamBannerThenTheViewsOwnDumpWithItsDaughters) {
    KImage<KBW8> image(8, 8);
    KROI<KBW8> view(&image, 0, 0, 4, 4);
    KROI<KBW8> daughter(&view, 1, 1, 2, 2);
    daughter.SetTitle("inner");
    std::ostringstream out;
    out << view;
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("+--------------------------------+\n"
                         "| DUMPING KGenericROI [subclass] |\n"
                         "+--------------------------------+\n",
                         0),
              0u);
    EXPECT_NE(text.find("\n   m_pszTitleASCII = inner\n"), std::string::npos) << text;
    EXPECT_NE(text.find("m_bMaskOffsets = FALSEm_n32CursorX = 0m_n32CursorY = 0)"), std::string::npos);
    std::ostringstream imageDump;
    EXPECT_THROW(image.DumpToStream(imageDump, 0), int);
    EXPECT_TRUE(imageDump.str().empty());
}

}  // namespace
