#include <lumora/image.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Placement {
    int x, y, width, height;
    bool operator==(const Placement& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Placement& p) {
    return out << "(" << p.x << ", " << p.y << ", " << p.width << " x " << p.height << ")";
}

Placement PlacementOf(const KGenericROI& roi) {
    return {roi.GetOrgX(), roi.GetOrgY(), roi.GetWidth(), roi.GetHeight()};
}

class RoiPlacement : public ::testing::Test {
protected:
    MessageBoxCapture boxes;
    KImage<KBW8> image{640, 480};

    std::string LastTrace() {
        auto shown = boxes.Boxes();
        return shown.empty() ? "" : shown.back().text.substr(0, shown.back().text.find('\n'));
    }
};

TEST_F(RoiPlacement, ConstructionAttachesAndClipsToTheParent) {
    KROI<KBW8> view(&image, 600, 0, 100, 100);
    EXPECT_EQ(PlacementOf(view), (Placement{600, 0, 40, 100}));
    EXPECT_EQ(view.GetParent(), &image);
    EXPECT_EQ(image.GetFirstSubROI(), &view);
    EXPECT_EQ(view.GetColorSystem(), K_COLOR_SYSTEM_GRAY_LEVEL);
    KROI<KBW8> loose(nullptr, -5, -5, 1000, 1000);
    EXPECT_EQ(PlacementOf(loose), (Placement{-5, -5, 1000, 1000})) << "no parent, no clipping";
}

TEST_F(RoiPlacement, OriginChangesClipOrResetToTheWholeParent) {
    KROI<KBW8> view(&image, 0, 0, 100, 100);
    view.SetOrgX(600);
    EXPECT_EQ(PlacementOf(view), (Placement{600, 0, 40, 100}));
    EXPECT_EQ(KGetError(), 0);

    view.SetOrgX(700);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 640, 480}));
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);
    EXPECT_EQ(LastTrace(), "Function: KROI::SetWidth");

    view.SetPlacement(10, 0, 100, 100);
    view.SetOrgX(-30);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 70, 100}));
    view.SetPlacement(10, 0, 100, 100);
    view.SetOrgX(-150);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 640, 480}));
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);
    EXPECT_EQ(LastTrace(), "Function: KROI::SetOrgX");

    view.SetPlacement(0, 470, 10, 100);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 470, 10, 10}));
    view.SetOrgY(-5);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 10, 5}));
}

TEST_F(RoiPlacement, PlacementWithNegativeOriginsAndRefusedSizes) {
    KROI<KBW8> view(&image, 0, 0, 10, 10);
    view.SetPlacement(-10, -10, 50, 50);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 40, 40}));

    view.SetWidth(-1);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    EXPECT_EQ(LastTrace(), "Function: KROI::SetWidth");
    EXPECT_EQ(view.GetWidth(), 40);
    view.SetPlacement(-60, 0, 50, 50);  // the width made negative is refused
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 40, 50}));
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    view.SetPlacement(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX);
    EXPECT_EQ(view.GetWidth(), 40);
}

TEST_F(RoiPlacement, ImagesRefuseViewOperations) {
    const auto refusals = std::vector<std::pair<std::function<void()>, std::string>>{
        {[&] { image.SetWidth(10); }, "KROI::SetWidth"},
        {[&] { image.SetHeight(10); }, "KROI::SetHeight"},
        {[&] { image.SetOrgX(1); }, "KROI::SetOrgX"},
        {[&] { image.SetOrgY(1); }, "KROI::SetOrgY"},
        {[&] { image.SetPlacement(0, 0, 1, 1); }, "KROI::SetPlacement"},
        {[&] { image.Detach(); }, "KROI::Detach"},
    };
    for (const auto& [operation, name] : refusals) {
        operation();
        EXPECT_EQ(KGetError(), K_ERROR_APPLIED_TO_IMAGE) << name;
        EXPECT_EQ(LastTrace(), "Function: " + name);
    }
    KImage<KBW8> other(10, 10);
    image.Attach(&other);
    EXPECT_EQ(KGetError(), K_ERROR_APPLIED_TO_IMAGE);
    EXPECT_EQ(image.GetParent(), nullptr);
    EXPECT_EQ(PlacementOf(image), (Placement{0, 0, 640, 480}));
}

TEST_F(RoiPlacement, AttachAndDetachKeepTheDaughterListInOrder) {
    KROI<KBW8> a(&image, 0, 0, 10, 10);
    KROI<KBW8> b(&image, 0, 0, 10, 10);
    KROI<KBW8> c(&image, 0, 0, 10, 10);
    KImage<KBW8> second(5, 5);
    b.Attach(&second);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_HAS_PARENT);
    EXPECT_EQ(b.GetParent(), &image);

    b.Detach();
    EXPECT_EQ(image.GetFirstSubROI(), &a);
    EXPECT_EQ(a.GetNextSiblingROI(), &c);
    EXPECT_EQ(b.GetParent(), nullptr);
    EXPECT_EQ(b.GetNextSiblingROI(), nullptr);
    boxes.Clear();
    b.Detach();  // unattached: nothing happens, nothing is reported
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(boxes.Count(), 0u);

    b.Attach(&second);
    EXPECT_EQ(PlacementOf(b), (Placement{0, 0, 5, 5})) << "attaching re-clips to the new parent";
    a.Detach();
    EXPECT_EQ(image.GetFirstSubROI(), &c);

    b.Detach();
    b.Attach(&b);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE) << "a view cannot be its own parent";
    KROI<KBW8> child(&b, 0, 0, 1, 1);
    b.Attach(&child);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE) << "nor hang below its own daughter";
    EXPECT_EQ(b.GetParent(), nullptr);
}

TEST_F(RoiPlacement, ShrinkingAParentReclipsItsDaughters) {
    KROI<KBW8> parent(&image, 0, 0, 300, 300);
    KROI<KBW8> inside(&parent, 10, 10, 100, 100);
    KROI<KBW8> beyond(&parent, 250, 0, 50, 50);
    KROI<KBW8> grandDaughter(&inside, 50, 50, 50, 50);
    parent.SetWidth(120);
    EXPECT_EQ(PlacementOf(inside), (Placement{10, 10, 100, 100}));
    EXPECT_EQ(PlacementOf(beyond), (Placement{0, 0, 120, 300}));
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);
    parent.SetWidth(40);
    EXPECT_EQ(PlacementOf(inside), (Placement{10, 10, 30, 100}));
    EXPECT_EQ(PlacementOf(grandDaughter), (Placement{0, 0, 30, 100}))
        << "its origin now lies beyond the shrunk parent";
    EXPECT_EQ(PlacementOf(beyond), (Placement{0, 0, 40, 300}));
}

TEST_F(RoiPlacement, ImageResizeReclipsViewsAndUnattachedViewsReport1416) {
    KROI<KBW8> view(&image, 600, 0, 40, 40);
    image.SetSize(320, 240);
    EXPECT_EQ(PlacementOf(view), (Placement{0, 0, 320, 240}));
    EXPECT_EQ(KGetError(), K_ERROR_ROI_OUT_OF_PARENT);

    KROI<KBW8> loose;
    EXPECT_EQ(loose.GetRowPitch(), 0);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_NO_PARENT);
    EXPECT_EQ(loose.GetSkip(), 0);
    EXPECT_EQ(LastTrace(), "Function: KROI::GetSkip");
    float w = -1, h = -1;
    const KMeasurementUnit* unit = nullptr;
    boxes.Clear();
    loose.GetPixelDimensions(w, h, unit);
    EXPECT_EQ(KGetError(), K_ERROR_ROI_NO_PARENT);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(LastTrace(), "Function: KROI::GetPixelDimensions");
}

}  // namespace
