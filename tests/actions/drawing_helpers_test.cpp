// The drawing helpers: the number-to-text rule against the C library's printf, angles and boxes, the
// layouts and current space of a real drawing, text-style typefaces, the visual extents of text, and
// the world-to-user conversion.

#include "quelto/actions/qlt_command.h"
#include "quelto/actions/tav_geom.h"
#include "quelto/actions/visual_extents.h"
#include "quelto/actions/world_to_user.h"
#include "quelto/actions/xyz_base_draw.h"
#include "tests/actions/host_drawing.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

constexpr double kPi = 3.141592653589793;

// The rule done the slow way: printf, then the characters trimmed one by one.
std::wstring printfTrimmed(double value) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.7f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return std::wstring(text.begin(), text.end());
}

TEST(NumberToText, TrimsZerosAndThePointAsPrintfWouldPrint) {
    const struct {
        double value;
        const wchar_t* text;
    } rows[] = {
        {2.0, L"2"},
        {0.125, L"0.125"},
        {100.0, L"100"},
        {1e-8, L"0"},
        {-0.0, L"-0"},
        {1.5, L"1.5"},
        {4e-8, L"0"},
        {6e-8, L"0.0000001"},
        {-2.5, L"-2.5"},
        {10.0, L"10"},
        {1e20, L"100000000000000000000"},
        {-1e-9, L"-0"},
        {0.1 + 0.2, L"0.3"},
        {123456.00000049, L"123456.0000005"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CXYZBaseObject::FormatReal(row.value), row.text) << row.value;
    }
    EXPECT_EQ(CXYZBaseObject::FormatReal(1.7976931348623157e308), printfTrimmed(1.7976931348623157e308));
    std::mt19937_64 generator(20261206);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-9, 12);
    for (int index = 0; index < 20000; ++index) {
        const double value = mantissa(generator) * std::pow(10.0, exponent(generator));
        ASSERT_EQ(CXYZBaseObject::FormatReal(value), printfTrimmed(value)) << value;
    }
    // Values at and next to rounding ties of the seventh decimal, where a scaled product would round
    // the wrong way.
    for (int step = -2000; step <= 2000; ++step) {
        for (const double base : {0.0, 1.0, 123.0, 98765.0, 4.5e8}) {
            const double value = base + (step + 0.5) * 1e-7;
            ASSERT_EQ(CXYZBaseObject::FormatReal(value), printfTrimmed(value)) << value;
            const double next = std::nextafter(value, 1e300);
            ASSERT_EQ(CXYZBaseObject::FormatReal(next), printfTrimmed(next)) << next;
        }
    }
    // Values of a few decimals, as drawings are made of: most decimal places end in zeros to trim.
    for (int units = -30000; units <= 30000; units += 7) {
        for (const double scale : {1.0, 0.5, 0.125, 0.1, 0.01, 1e-4, 1e-7, 1e3}) {
            const double value = units * scale;
            ASSERT_EQ(CXYZBaseObject::FormatReal(value), printfTrimmed(value)) << value;
        }
    }
    for (const int value : {0, 7, -42, 1000000, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(CXYZBaseObject::FormatInteger(value), std::to_wstring(value));
    }
}

TEST(Geometry, AngleFollowsTheArcSineRuleOnBothSides) {
    const struct {
        AcGePoint3d to;
        double angle;
    } rows[] = {
        {{1, 0, 0}, 0.0},
        {{-1, 0, 0}, kPi},
        {{0, -1, 0}, 1.5 * kPi},
        {{1, -1, 0}, -kPi / 4},
        {{0, 1, 0}, kPi / 2},
        {{-1, -1, 0}, 1.25 * kPi},
        {{1, 1, 0}, kPi / 4},
        {{0, 0, 0}, 0.0},
        // The distance is taken in space: a climbing line is not measured in its XY projection.
        {{1, 1, std::sqrt(2.0)}, kPi / 6},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(CTAVGeom::GetAngle(AcGePoint3d(0, 0, 0), row.to), row.angle, 1e-12)
            << row.to.x << "," << row.to.y << "," << row.to.z;
    }
    EXPECT_NEAR(CTAVGeom::GetAngle(AcGePoint3d(5, 5, 0), AcGePoint3d(5, 2, 0)), 1.5 * kPi, 1e-12);
}

TEST(Geometry, BoxesGiveSizesCornersAndCentres) {
    const AcDbExtents box(AcGePoint3d(-2, 1, 3), AcGePoint3d(6, 5, 7));
    EXPECT_DOUBLE_EQ(CTAVGeom::GetExtentsWidth(box), 8.0);
    EXPECT_DOUBLE_EQ(CTAVGeom::GetExtentsHeight(box), 4.0);
    const struct {
        int column, row;
        double x, y;
    } corners[] = {{-1, -1, -2, 1}, {0, 0, 2, 3}, {1, 1, 6, 5}, {-1, 1, -2, 5}, {1, 0, 6, 3}, {0, -1, 2, 1}};
    for (const auto& corner : corners) {
        const AcGePoint3d point = CTAVGeom::GetExtentsPoint(box, corner.column, corner.row);
        EXPECT_EQ(point.x, corner.x) << corner.column << "," << corner.row;
        EXPECT_EQ(point.y, corner.y) << corner.column << "," << corner.row;
        EXPECT_EQ(point.z, 0.0);
    }
    const AcGePoint3d centre = CTAVGeom::GetExtentsCenter(box);
    EXPECT_EQ(centre.x, 2.0);
    EXPECT_EQ(centre.y, 3.0);
    EXPECT_EQ(centre.z, 5.0);
    const AcGePoint3d middle = CTAVGeom::GetMidPoint(AcGePoint3d(1, 2, 3), AcGePoint3d(2, 4, -3));
    EXPECT_EQ(middle.x, 1.5);
    EXPECT_EQ(middle.y, 3.0);
    EXPECT_EQ(middle.z, 0.0);
    EXPECT_EQ(CTAVGeom::IsEqual(1.0, 1.00005, 0.0001), 1);
    EXPECT_EQ(CTAVGeom::IsEqual(1.0, 1.0002, 0.0001), 0);
    EXPECT_EQ(CTAVGeom::IsEqual(-3.0, -3.0, 0.0), 0);
}

using DrawingHelpers = hosttest::HostDrawing;

TEST_F(DrawingHelpers, LayoutsAreNamedInDictionaryOrderAndOwnTheirEntities) {
    CStringArray names{L"stale"};
    EXPECT_EQ(CXYZBaseDraw::GetLayoutNames(&m_database, names, FALSE), 3);
    EXPECT_EQ(names, (CStringArray{L"stale", L"Layout1", L"Model"}));
    EXPECT_EQ(CXYZBaseDraw::GetLayoutNames(&m_database, names, TRUE), 2);
    EXPECT_EQ(CXYZBaseDraw::GetLayoutNames(nullptr, names, TRUE), 0);
    EXPECT_TRUE(names.empty());

    const AcDbObjectId modelLine = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    const AcDbObjectId paperLine =
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), m_database.paperSpaceId());
    const AcDbObjectId blockLine =
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), addBlock(L"DOOR"));
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(modelLine, FALSE), L"Model");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(paperLine, FALSE), L"Layout1");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(blockLine, FALSE), L"");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(m_database.modelSpaceId(), TRUE), L"Model");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(m_database.paperSpaceId(), TRUE), L"Layout1");
    // An entity given where a block is expected, a block given as an entity, nothing at all.
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(modelLine, TRUE), L"");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(m_database.modelSpaceId(), FALSE), L"");
    EXPECT_EQ(CXYZBaseDraw::GetLayoutName(AcDbObjectId(), FALSE), L"");
    EXPECT_EQ(CXYZBaseDraw::GetCurrentSpace(), m_database.modelSpaceId());
}

TEST_F(DrawingHelpers, TypefaceLengthCountsOnlyTrueTypeStyles) {
    EXPECT_EQ(CXYZBaseDraw::GetTypefaceLength(addTextStyle(L"TT", "Arial")), 5);
    EXPECT_EQ(CXYZBaseDraw::GetTypefaceLength(addTextStyle(L"SHX")), 0);
    EXPECT_EQ(CXYZBaseDraw::GetTypefaceLength(AcDbObjectId()), 0);
    // A layer is no text style.
    EXPECT_EQ(CXYZBaseDraw::GetTypefaceLength(m_database.clayer()), 0);
}

// The same text in a TrueType style and in a shape-font style: once corrected, the TrueType box is the
// box the text really covers, which the shape-font style reports directly.
TEST_F(DrawingHelpers, TrueTypeTextBoxesLoseTheirExtraWidthFactor) {
    addTextStyle(L"TT", "Arial");
    addTextStyle(L"SHX");
    for (const double degrees : {0.0, 90.0, 180.0, 270.0, 30.0, 135.0, 200.0, 315.0}) {
        const auto makeText = [&](const wchar_t* style) {
            auto* text = new AcDbText;
            text->setPosition(AcGePoint3d(10, 20, 0));
            text->setHeight(2.5);
            text->setTextString(L"QS 快速选择");
            text->setTextStyleName(style);
            text->setWidthFactor(2.0);
            text->setRotation(degrees * kPi / 180.0);
            return add(text);
        };
        AcDbExtents corrected;
        AcDbExtents expected;
        ASSERT_EQ(GetVisualExtents(makeText(L"TT"), corrected), Acad::eOk);
        ASSERT_EQ(GetVisualExtents(makeText(L"SHX"), expected), Acad::eOk);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(corrected.minPoint()[axis], expected.minPoint()[axis], 1e-9)
                << degrees << " " << axis;
            EXPECT_NEAR(corrected.maxPoint()[axis], expected.maxPoint()[axis], 1e-9)
                << degrees << " " << axis;
        }
    }
}

TEST_F(DrawingHelpers, OtherEntitiesKeepTheirGeometricExtents) {
    addTextStyle(L"TT", "Arial");
    auto* plain = new AcDbText;
    plain->setTextString(L"ABC");
    plain->setHeight(1.0);
    plain->setTextStyleName(L"TT");
    const AcDbObjectId unitFactor = add(plain);
    const AcDbObjectId line = add(new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(-4, 6, 3)));
    for (const AcDbObjectId id : {unitFactor, line}) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
        AcDbExtents geometric;
        ASSERT_EQ(entity->getGeomExtents(geometric), Acad::eOk);
        entity->close();
        AcDbExtents visual;
        ASSERT_EQ(GetVisualExtents(id, visual), Acad::eOk);
        EXPECT_TRUE(visual.minPoint() == geometric.minPoint());
        EXPECT_TRUE(visual.maxPoint() == geometric.maxPoint());
    }
    AcDbExtents untouched;
    EXPECT_EQ(GetVisualExtents(AcDbObjectId(), untouched), Acad::eNullObjectId);
}

TEST_F(DrawingHelpers, PointsTurnIntoTheRotatedUserSystem) {
    setUserSystem(AcGePoint3d(10, 5, 0), kPi / 2);
    AcGePoint3d spatial(10, 7, 4);
    ASSERT_TRUE(QLTCommand::WcsToUcs(spatial));
    EXPECT_NEAR(spatial.x, 2.0, 1e-12);
    EXPECT_NEAR(spatial.y, 0.0, 1e-12);
    EXPECT_NEAR(spatial.z, 4.0, 1e-12);
    AcGePoint2d flat(9, 5);
    ASSERT_TRUE(QLTCommand::WcsToUcs(flat));
    EXPECT_NEAR(flat.x, 0.0, 1e-12);
    EXPECT_NEAR(flat.y, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(QLTCommand::RadianToDegree(kPi / 4), 45.0);
    EXPECT_DOUBLE_EQ(QLTCommand::DegreeToRadian(270.0), 1.5 * kPi);
    cad::ed::setCurrentEditor(nullptr);
    AcGePoint3d kept(1, 2, 3);
    EXPECT_FALSE(QLTCommand::WcsToUcs(kept));
    EXPECT_EQ(kept.x, 1.0);
    EXPECT_FALSE(WorldToUser().Convert(kept));
    EXPECT_EQ(kept.x, 1.0);
}

// The conversion taken once must give the host's per-point results to the last bit, or texts of
// converted coordinates would differ between readers.
TEST_F(DrawingHelpers, ConversionTakenOnceMatchesTheHostBitForBit) {
    std::mt19937_64 generator(7);
    std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
    for (const double angle : {0.0, 0.3, kPi / 2, 2.5}) {
        setUserSystem(AcGePoint3d(coordinate(generator), coordinate(generator), 0.0), angle);
        const WorldToUser converter;
        for (int index = 0; index < 1000; ++index) {
            const AcGePoint3d world(coordinate(generator), coordinate(generator),
                                    coordinate(generator) / 1e3);
            AcGePoint3d byHost = world;
            AcGePoint3d once = world;
            ASSERT_TRUE(QLTCommand::WcsToUcs(byHost));
            ASSERT_TRUE(converter.Convert(once));
            ASSERT_EQ(once.x, byHost.x) << angle;
            ASSERT_EQ(once.y, byHost.y) << angle;
            ASSERT_EQ(once.z, byHost.z) << angle;
        }
    }
}

} // namespace
