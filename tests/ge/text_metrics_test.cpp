// The text metric model: justification, rotation, mirroring, oblique, the TrueType width-factor report,
// control codes, and MTEXT line breaking and sizing. Expected boxes are worked out by hand from the model.
#include "cad/ge/text_metrics.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

using cad::ge::TextHorizontalMode;
using cad::ge::TextVerticalMode;

cad::ge::TextLayout layoutOf(const std::wstring& text, double height, TextHorizontalMode horizontal,
                             TextVerticalMode vertical, AcGePoint3d point) {
    cad::ge::TextLayout layout;
    layout.text = text;
    layout.height = height;
    layout.horizontal = horizontal;
    layout.vertical = vertical;
    layout.position = point;
    layout.alignmentPoint = point;
    return layout;
}

void expectBox(const cad::ge::ExtentsResult& result, double minX, double minY, double maxX, double maxY) {
    ASSERT_TRUE(result.isFinite());
    EXPECT_NEAR(result.box.minPoint().x, minX, 1e-12);
    EXPECT_NEAR(result.box.minPoint().y, minY, 1e-12);
    EXPECT_NEAR(result.box.maxPoint().x, maxX, 1e-12);
    EXPECT_NEAR(result.box.maxPoint().y, maxY, 1e-12);
}

} // namespace

TEST(TextMetrics, SingleLineBoxesFollowJustificationAndOrientation) {
    struct Row {
        const char* name;
        cad::ge::TextLayout layout;
        double minX, minY, maxX, maxY;
    };
    const AcGePoint3d at(10, 5, 0);
    auto rotated = layoutOf(L"AB", 3, TextHorizontalMode::Left, TextVerticalMode::Baseline, {0, 0, 0});
    rotated.rotation = kPi / 2;
    auto backward = layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, at);
    backward.mirroredInX = true;
    auto upsideDown = layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, at);
    upsideDown.mirroredInY = true;
    auto slanted = layoutOf(L"A", 1, TextHorizontalMode::Left, TextVerticalMode::Baseline, {0, 0, 0});
    slanted.oblique = kPi / 12;
    auto aligned = layoutOf(L"AB", 1, TextHorizontalMode::Aligned, TextVerticalMode::Baseline, {0, 0, 0});
    aligned.alignmentPoint.set(4, 0, 0);
    auto fitted = aligned;
    fitted.horizontal = TextHorizontalMode::Fit;
    auto narrow = layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, at);
    narrow.widthFactor = 0.5;
    const Row rows[] = {
        {"left baseline", layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, at), 10,
         5, 14, 7},
        {"descenders reach a third below",
         layoutOf(L"gap", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, at), 10, 5 - 2.0 / 3, 14,
         7},
        {"centre", layoutOf(L"ABC", 2, TextHorizontalMode::Center, TextVerticalMode::Baseline, at), 8, 5, 12,
         7},
        {"top right", layoutOf(L"ABC", 2, TextHorizontalMode::Right, TextVerticalMode::Top, at), 6, 3, 10, 5},
        {"middle", layoutOf(L"ABC", 2, TextHorizontalMode::Middle, TextVerticalMode::Baseline, at), 8, 4, 12,
         6},
        {"bottom sits on the descender line",
         layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Bottom, at), 10, 5 + 2.0 / 3, 14,
         7 + 2.0 / 3},
        {"full-width characters",
         layoutOf(L"中文", 2.5, TextHorizontalMode::Left, TextVerticalMode::Baseline, at), 10, 5, 15, 7.5},
        {"rotated a quarter turn", rotated, -3, 0, 0, 4},
        {"backward", backward, 6, 5, 10, 7},
        {"upside down", upsideDown, 10, 3, 14, 5},
        {"oblique", slanted, 0, 0, 2.0 / 3 + std::tan(kPi / 12), 1},
        {"aligned scales the height", aligned, 0, 0, 4, 3},
        {"fit keeps the height", fitted, 0, 0, 4, 1},
        {"width factor", narrow, 10, 5, 12, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectBox(cad::ge::textExtents(row.layout, cad::ge::TextWidthFactor::AppliedOnce), row.minX, row.minY,
                  row.maxX, row.maxY);
    }
    EXPECT_EQ(cad::ge::textExtents(layoutOf(L"", 1, TextHorizontalMode::Left, TextVerticalMode::Baseline, at),
                                   cad::ge::TextWidthFactor::AppliedOnce)
                  .kind,
              cad::ge::ExtentsKind::Empty);
}

// A caller that knows the host's TrueType report divides the width factor back out of the box, using the
// box of the same text unrotated to split each side into its text-width and text-height parts.
TEST(TextMetrics, TrueTypeReportIsUndoneByTheWidthFactorCorrection) {
    for (double rotation : {0.0, kPi / 6, 2.0, -2.5}) {
        SCOPED_TRACE(rotation);
        auto layout =
            layoutOf(L"Quelto 测试", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, {3, 4, 0});
        layout.widthFactor = 0.6;
        layout.trueTypeFont = true;
        layout.rotation = rotation;
        const cad::ge::ExtentsResult reported =
            cad::ge::textExtents(layout, cad::ge::TextWidthFactor::AppliedTwice);
        const cad::ge::ExtentsResult truth =
            cad::ge::textExtents(layout, cad::ge::TextWidthFactor::AppliedOnce);
        auto unrotated = layout;
        unrotated.rotation = 0.0;
        const AcDbExtents flat = cad::ge::textExtents(unrotated, cad::ge::TextWidthFactor::AppliedTwice).box;
        const double width = flat.maxPoint().x - flat.minPoint().x;
        const double height = flat.maxPoint().y - flat.minPoint().y;
        const double s = std::fabs(std::sin(rotation));
        const double c = std::fabs(std::cos(rotation));
        const double f = layout.widthFactor;
        const AcDbExtents& box = reported.box;
        const double correctedX =
            (c * width / (s * height + c * width) / f + s * height / (s * height + c * width)) *
            (box.maxPoint().x - box.minPoint().x);
        const double correctedY =
            (s * width / (c * height + s * width) / f + c * height / (c * height + s * width)) *
            (box.maxPoint().y - box.minPoint().y);
        EXPECT_NEAR(correctedX, truth.box.maxPoint().x - truth.box.minPoint().x, 1e-9);
        EXPECT_NEAR(correctedY, truth.box.maxPoint().y - truth.box.minPoint().y, 1e-9);
    }
    auto shapeFont = layoutOf(L"ABC", 2, TextHorizontalMode::Left, TextVerticalMode::Baseline, {0, 0, 0});
    shapeFont.widthFactor = 0.5;
    expectBox(cad::ge::textExtents(shapeFont, cad::ge::TextWidthFactor::AppliedTwice), 0, 0, 2, 2);
}

TEST(TextMetrics, ControlCodesDecodeAsSingleLineTextShowsThem) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"45%%d", L"45°"},   {L"%%P0.5", L"±0.5"}, {L"%%c10", L"⌀10"},
        {L"100%%%", L"100%"}, {L"%%uAB%%u", L"AB"}, {L"%%065", L"A"},
        {L"50%", L"50%"},     {L"%%", L"%%"},       {L"%%x", L"%%x"},
    };
    for (const auto& [input, expected] : rows) {
        EXPECT_EQ(cad::ge::decodeTextControlCodes(input), expected);
    }
}

TEST(TextMetrics, MTextSizeAndBoxFollowAttachmentAndWrapping) {
    cad::ge::MTextLayout layout;
    layout.lines = {L"AB", L"ABCD"};
    layout.textHeight = 3;
    layout.attachment = 5;
    EXPECT_NEAR(cad::ge::mtextActualWidth(layout), 8, 1e-12);
    EXPECT_NEAR(cad::ge::mtextActualHeight(layout), 8, 1e-12);
    expectBox(cad::ge::mtextExtents(layout), -4, -4, 4, 4);
    layout.attachment = 1;
    expectBox(cad::ge::mtextExtents(layout), 0, -8, 8, 0);
    layout.attachment = 9;
    layout.direction.set(0, 1, 0);
    expectBox(cad::ge::mtextExtents(layout), -8, -8, 0, 0);

    cad::ge::MTextLayout wrapping;
    wrapping.lines = {L"AAA BBB"};
    wrapping.referenceWidth = 4;
    EXPECT_EQ(cad::ge::wrappedMTextLines(wrapping), (std::vector<std::wstring>{L"AAA", L"BBB"}));
    wrapping.lines = {L"中文字"};
    wrapping.referenceWidth = 1.5;
    EXPECT_EQ(cad::ge::wrappedMTextLines(wrapping), (std::vector<std::wstring>{L"中", L"文", L"字"}));
    wrapping.lines = {L""};
    EXPECT_EQ(cad::ge::mtextExtents(wrapping).kind, cad::ge::ExtentsKind::Empty);
}
