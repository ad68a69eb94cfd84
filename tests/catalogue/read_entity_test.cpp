// ReadEntity on entities built here, each value checked against what the test computes by hand: the line
// angle's three branches, circle and arc texts, wrapped arc spans, text justification and mirroring,
// leading numbers of text, empty polylines, block references, infinite lines, a rotated user system,
// values that are not written, and bad input.

#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/qlt_system_param.h"
#include "tests/actions/host_drawing.h"
#include "tests/filter/filter_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using Values = std::map<std::wstring, std::wstring>;

class ReadEntity : public hosttest::HostDrawing {
protected:
    void SetUp() override {
        HostDrawing::SetUp();
        CQLTSystemParam().SetHasFreedom(0);
    }

    // The values of the type's list after reading `id` in world coordinates and degrees, by name.
    Values read(AcDbObjectId id, const wchar_t* type, BOOL userCoordinates = FALSE, BOOL radians = FALSE) {
        m_catalogue.ReadEntity(id, userCoordinates, radians);
        return values(type);
    }
    Values values(const wchar_t* type) {
        Values result;
        for (const EntityProp& property : m_catalogue.FindEntityInfo(type, 0)->props) {
            result[property.name] = property.value;
        }
        return result;
    }
    void expectValues(const Values& actual, const Values& expected, const std::string& what) {
        for (const auto& [name, value] : expected) {
            const auto found = actual.find(name);
            ASSERT_NE(found, actual.end()) << what << ": no property " << testing::PrintToString(name);
            EXPECT_EQ(found->second, value) << what << ": " << testing::PrintToString(name);
        }
    }

    filter_test::IsolatedSettings m_settings;
    CInfoMapList m_catalogue;
};

TEST_F(ReadEntity, LinesTakeTheirAngleFromTheArcSineRule) {
    const struct {
        AcGePoint3d start, end;
        Values expected;
    } rows[] = {
        {{0, 0, 0}, {10, 0, 0}, {{L"长度", L"10"}, {L"角度", L"0"}, {L"中点X", L"5"}, {L"X增量", L"10"}}},
        {{0, 0, 0}, {0, -5, 0}, {{L"长度", L"5"}, {L"角度", L"270"}, {L"Y增量", L"-5"}, {L"中点Y", L"-2.5"}}},
        {{0, 0, 0}, {10, -10, 0}, {{L"角度", L"-45"}, {L"长度", L"14.1421356"}}},
        {{3, 4, 0},
         {0, 0, 0},
         {{L"角度", L"233.1301024"}, {L"长度", L"5"}, {L"终点X", L"0"}, {L"起点Y", L"4"}}},
        // The angle uses the length in space: asin(3/5) for a line climbing 4 while it rises 3 in Y.
        {{1, 1, 1}, {1, 4, 5}, {{L"角度", L"143.1301024"}, {L"Z增量", L"4"}, {L"中点Z", L"3"}}},
        {{2, 2, 2}, {2, 2, 2}, {{L"角度", L"0"}, {L"长度", L"0"}}},
    };
    for (const auto& row : rows) {
        expectValues(read(add(new AcDbLine(row.start, row.end)), L"LINE"), row.expected, "line");
    }
    const Values radians =
        read(add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, -5, 0))), L"LINE", FALSE, TRUE);
    EXPECT_EQ(radians.at(L"角度"), L"4.712389");
}

TEST_F(ReadEntity, CirclesAndArcsGiveSizesAndWrappedSpans) {
    auto* circle = new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 0, 1), 1.0);
    expectValues(read(add(circle), L"CIRCLE"),
                 {{L"圆心X", L"1"},
                  {L"圆心Z", L"3"},
                  {L"半径", L"1"},
                  {L"直径", L"2"},
                  {L"周长", L"6.2831853"},
                  {L"面积", L"3.1415927"},
                  {L"厚度", L"0"}},
                 "circle");
    const double degree = 3.141592653589793 / 180.0;
    auto* arc = new AcDbArc(AcGePoint3d(10, 0, 0), 2.0, 350 * degree, 10 * degree);
    // Start and end from the angles; the "middle" is the point at parameter 0.5 rad, which this arc does
    // not reach, so it stays at the origin.
    expectValues(read(add(arc), L"ARC"),
                 {{L"总角度", L"20"},
                  {L"起点角度", L"350"},
                  {L"终点角度", L"10"},
                  {L"半径", L"2"},
                  {L"直径", L"4"},
                  {L"弧长", L"0.6981317"},
                  {L"面积", L"0.6981317"},
                  {L"起点X", L"11.9696155"},
                  {L"起点Y", L"-0.3472964"},
                  {L"终点Y", L"0.3472964"},
                  {L"中点X", L"0"},
                  {L"中点Y", L"0"}},
                 "arc");
    auto* quarter = new AcDbArc(AcGePoint3d(10, 0, 0), 2.0, 0.0, 90 * degree);
    expectValues(read(add(quarter), L"ARC"),
                 {{L"总角度", L"90"},
                  {L"中点X", L"11.7551651"},
                  {L"中点Y", L"0.9588511"},
                  {L"终点X", L"10"},
                  {L"终点Y", L"2"},
                  {L"面积", L"3.1415927"}},
                 "quarter arc");
}

TEST_F(ReadEntity, TextsGiveJustificationMirroringAndLeadingNumbers) {
    addTextStyle(L"工程字", "Arial");
    const struct {
        AcDb::TextHorzMode horizontal;
        AcDb::TextVertMode vertical;
        const wchar_t* item;
    } justifications[] = {
        {AcDb::kTextLeft, AcDb::kTextBase, L"左"},     {AcDb::kTextFit, AcDb::kTextBase, L"调整"},
        {AcDb::kTextAlign, AcDb::kTextBase, L"对齐"},  {AcDb::kTextMid, AcDb::kTextBase, L"中间"},
        {AcDb::kTextCenter, AcDb::kTextTop, L"中上"},  {AcDb::kTextRight, AcDb::kTextVertMid, L"右中"},
        {AcDb::kTextLeft, AcDb::kTextBottom, L"左下"}, {AcDb::kTextCenter, AcDb::kTextVertMid, L"正中"},
        {AcDb::kTextAlign, AcDb::kTextTop, L"正中"},   {AcDb::kTextFit, AcDb::kTextBottom, L"正中"},
    };
    for (const auto& row : justifications) {
        auto* text = new AcDbText;
        text->setTextString(L"12.5米");
        text->setHorizontalMode(row.horizontal);
        text->setVerticalMode(row.vertical);
        EXPECT_EQ(read(add(text), L"TEXT").at(L"对正"), row.item) << row.horizontal << "/" << row.vertical;
    }
    auto* text = new AcDbText;
    text->setPosition(AcGePoint3d(5, 6, 0));
    text->setHeight(3.5);
    text->setWidthFactor(0.7);
    text->setOblique(15 * 3.141592653589793 / 180.0);
    text->setRotation(3.141592653589793 / 2);
    text->setTextString(L"-3.25e2 号");
    text->setTextStyleName(L"工程字");
    expectValues(read(add(text), L"TEXT"),
                 {{L"位置X", L"5"},
                  {L"高度", L"3.5"},
                  {L"宽高比", L"0.7"},
                  {L"倾斜", L"15"},
                  {L"旋转", L"90"},
                  {L"文本数值", L"-325"},
                  {L"文本样式", L"工程字"},
                  {L"文本内容", L"-3.25e2 号"},
                  {L"倒置", L"否"},
                  {L"反向", L"否"}},
                 "text");
    auto* words = new AcDbText;
    words->setTextString(L"第3层");
    EXPECT_EQ(read(add(words), L"TEXT").at(L"文本数值"), L"0");
}

TEST_F(ReadEntity, PolylinesWithoutVerticesHaveZeroWidths) {
    expectValues(read(add(new AcDbPolyline), L"LWPOLYLINE"),
                 {{L"顶点数", L"0"},
                  {L"起点宽度", L"0"},
                  {L"终点宽度", L"0"},
                  {L"长度", L"0"},
                  {L"面积", L"0"},
                  {L"闭合", L"否"},
                  {L"无圆弧", L"是"}},
                 "empty polyline");
    // A closed square of side 10 whose first segment tapers from 1 to 2 and whose last ends at 3.
    auto* square = new AcDbPolyline;
    square->addVertexAt(0, AcGePoint2d(0, 0), 0.0, 1.0, 2.0);
    square->addVertexAt(1, AcGePoint2d(10, 0));
    square->addVertexAt(2, AcGePoint2d(10, 10));
    square->addVertexAt(3, AcGePoint2d(0, 10), 0.0, 0.5, 3.0);
    square->setClosed(true);
    square->setElevation(2.5);
    expectValues(read(add(square), L"LWPOLYLINE"),
                 {{L"顶点数", L"4"},
                  {L"起点宽度", L"1"},
                  {L"终点宽度", L"3"},
                  {L"标高", L"2.5"},
                  {L"面积", L"100"},
                  {L"长度", L"40"},
                  {L"闭合", L"是"},
                  {L"无圆弧", L"是"}},
                 "square");
    // A half circle of radius 5 closed by its diameter: bulge 1.
    auto* half = new AcDbPolyline;
    half->addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    half->addVertexAt(1, AcGePoint2d(10, 0));
    half->setClosed(true);
    expectValues(read(add(half), L"LWPOLYLINE"),
                 {{L"面积", L"39.2699082"}, {L"长度", L"25.7079633"}, {L"无圆弧", L"否"}}, "half circle");
}

TEST_F(ReadEntity, BlockReferencesPointsAndInfiniteLines) {
    const AcDbObjectId door = addBlock(L"门M1");
    auto* reference = new AcDbBlockReference(AcGePoint3d(100, 50, 0), door);
    reference->setScaleFactors(AcGeScale3d(2, -2, 1));
    reference->setRotation(3.141592653589793 / 6);
    expectValues(read(add(reference), L"INSERT"),
                 {{L"位置X", L"100"},
                  {L"位置Y", L"50"},
                  {L"比例X", L"2"},
                  {L"比例Y", L"-2"},
                  {L"比例Z", L"1"},
                  {L"旋转", L"30"},
                  {L"名称", L"门M1"}},
                 "insert");
    expectValues(read(add(new AcDbPoint(AcGePoint3d(-1, 2.5, 7))), L"POINT"),
                 {{L"位置X", L"-1"}, {L"位置Y", L"2.5"}, {L"位置Z", L"7"}, {L"厚度", L"0"}}, "point");
    auto* ray = new AcDbRay;
    ray->setBasePoint(AcGePoint3d(1, 1, 0));
    ray->setUnitDir(AcGeVector3d(0, -1, 0));
    expectValues(read(add(ray), L"RAY"),
                 {{L"基点X", L"1"}, {L"方向点Y", L"0"}, {L"方向矢量Y", L"-1"}, {L"XY角度", L"270"}}, "ray");
    auto* xline = new AcDbXline;
    xline->setBasePoint(AcGePoint3d(0, 0, 0));
    xline->setUnitDir(AcGeVector3d(std::sqrt(0.5), -std::sqrt(0.5), 0));
    const Values rayBefore = values(L"RAY");
    expectValues(read(add(xline), L"XLINE"), {{L"XY角度", L"-45"}, {L"方向点X", L"0.7071068"}}, "xline");
    // A construction line is no ray: the ray's list keeps what the ray gave.
    EXPECT_EQ(values(L"RAY"), rayBefore);
}

TEST_F(ReadEntity, EllipsesGiveAxesAnglesAndArea) {
    auto* ellipse = new AcDbEllipse;
    ASSERT_EQ(ellipse->set(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(0, 4, 0), 0.5),
              Acad::eOk);
    expectValues(read(add(ellipse), L"ELLIPSE"),
                 {{L"长轴半径", L"4"},
                  {L"短轴半径", L"2"},
                  {L"半径比例", L"0.5"},
                  {L"长轴矢量Y", L"4"},
                  {L"短轴矢量X", L"-2"},
                  {L"起点角度", L"0"},
                  {L"终点角度", L"360"},
                  {L"面积", L"25.1327412"},
                  {L"起点Y", L"4"},
                  {L"终点Y", L"4"}},
                 "ellipse");
}

TEST_F(ReadEntity, PointsFollowTheRotatedUserSystemButTheLineAngleStaysInTheWorld) {
    setUserSystem(AcGePoint3d(10, 0, 0), 3.141592653589793 / 2);
    const AcDbObjectId line = add(new AcDbLine(AcGePoint3d(10, 0, 0), AcGePoint3d(20, 0, 0)));
    // The user X axis is the world Y axis: world (20, 0) lies at user (0, -10).
    expectValues(read(line, L"LINE", TRUE),
                 {{L"起点X", L"0"},
                  {L"起点Y", L"0"},
                  {L"终点X", L"0"},
                  {L"终点Y", L"-10"},
                  {L"X增量", L"0"},
                  {L"Y增量", L"-10"},
                  {L"中点Y", L"-5"},
                  {L"长度", L"10"},
                  {L"角度", L"0"}},
                 "line in a rotated system");
    expectValues(read(line, L"LINE", FALSE), {{L"终点X", L"20"}, {L"X增量", L"10"}}, "line in the world");
    // The settings decide when none are given.
    CQLTSystemParam settings;
    settings.SetUseRadius(1);
    m_catalogue.ReadEntity(add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(-1, 0, 0))));
    EXPECT_EQ(values(L"LINE").at(L"角度"), L"3.1415927");
    EXPECT_EQ(values(L"LINE").at(L"起点Y"), L"10");
    settings.SetUseUserCoord(0);
    m_catalogue.ReadEntity(line);
    EXPECT_EQ(values(L"LINE").at(L"起点X"), L"10");
    EXPECT_EQ(m_catalogue.currentObject, line);
}

// Entities the host builds only from drawing files: multi-line texts and the two raster kinds.
TEST_F(ReadEntity, MultiLineTextsAndImagesFromAFile) {
    const std::string file =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
        "0\nMTEXT\n5\nB0\n100\nAcDbEntity\n8\n0\n100\nAcDbMText\n10\n1\n20\n2\n30\n0\n40\n2.5\n41\n30\n"
        "71\n1\n72\n1\n1\n12.5米 长\n50\n0.5235987755982988\n73\n1\n44\n1.5\n"
        "0\nMTEXT\n5\nB1\n100\nAcDbEntity\n8\n0\n100\nAcDbMText\n10\n0\n20\n0\n30\n0\n40\n1\n41\n0\n"
        "71\n1\n72\n4\n1\n\\A1;12 号\n73\n2\n44\n1\n"
        "0\nIMAGE\n5\nC0\n100\nAcDbEntity\n8\n0\n100\nAcDbRasterImage\n90\n0\n10\n1\n20\n2\n30\n0\n"
        "11\n0.5\n21\n0\n31\n0\n12\n0\n22\n0.25\n32\n0\n13\n20\n23\n10\n70\n7\n280\n0\n281\n60\n"
        "282\n40\n283\n10\n"
        "0\nWIPEOUT\n5\nC1\n100\nAcDbEntity\n8\n0\n100\nAcDbWipeout\n90\n0\n10\n9\n20\n9\n30\n0\n"
        "11\n1\n21\n0\n31\n0\n12\n0\n22\n1\n32\n0\n13\n1\n23\n1\n70\n7\n280\n0\n281\n50\n"
        "282\n50\n283\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    AcDbDatabase loaded(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(loaded.readDxfBuffer(file, error)) << error.toString();
    m_editor.database = &loaded;
    const auto idOf = [&](const wchar_t* handle) { return loaded.objectIdOf(AcDbHandle(handle)); };
    expectValues(read(idOf(L"B0"), L"MTEXT"),
                 {{L"位置X", L"1"},
                  {L"位置Y", L"2"},
                  {L"文字高度", L"2.5"},
                  {L"最大宽度", L"30"},
                  {L"旋转", L"30"},
                  {L"行距比例", L"1.5"},
                  {L"文本数值", L"12.5"},
                  {L"文本内容", L"12.5米 长"},
                  {L"方向", L"水平"},
                  {L"行距样式", L"至少"}},
                 "mtext");
    // A leading format code is no number; flow bottom to top is not written, so the previous text stays.
    expectValues(
        read(idOf(L"B1"), L"MTEXT"),
        {{L"文本数值", L"0"}, {L"文本内容", L"\\A1;12 号"}, {L"方向", L"水平"}, {L"行距样式", L"精确"}},
        "mtext with a format code");
    // The width vector (1, 0) gives -0: acos(1) negated, since its Y is not above 0.
    expectValues(read(idOf(L"C0"), L"IMAGE"),
                 {{L"亮度", L"60"},
                  {L"对比度", L"40"},
                  {L"褪色度", L"10"},
                  {L"位置X", L"1"},
                  {L"位置Y", L"2"},
                  {L"宽度", L"10"},
                  {L"高度", L"2.5"},
                  {L"旋转", L"-0"},
                  {L"显示图像", L"是"},
                  {L"显示裁剪", L"是"},
                  {L"透明", L"否"},
                  {L"路径", L""}},
                 "image");
    const Values image = values(L"IMAGE");
    const Values wipeout = values(L"WIPEOUT");
    m_catalogue.ReadEntity(idOf(L"C1"), FALSE, FALSE);
    EXPECT_EQ(values(L"IMAGE"), image);
    EXPECT_EQ(values(L"WIPEOUT"), wipeout);
    EXPECT_EQ(wipeout.at(L"亮度"), L"");
    m_editor.database = &m_database;
}

TEST_F(ReadEntity, BadInputLeavesEveryValueAlone) {
    const AcDbObjectId kept = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(7, 0, 0)));
    m_catalogue.ReadEntity(kept, FALSE, FALSE);
    const auto snapshot = [&] {
        std::vector<Values> all;
        for (const EntityInfo& info : m_catalogue.GetPropertyTable()) {
            all.push_back(values(info.typeName.c_str()));
        }
        return all;
    };
    const std::vector<Values> before = snapshot();
    auto* erased = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    const AcDbObjectId erasedId = add(erased);
    AcDbEntity* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(opened, erasedId, AcDb::kForWrite), Acad::eOk);
    opened->erase();
    opened->close();
    auto* orphan = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    orphan->setLayer(L"没有这个图层");
    const AcDbObjectId orphanId = add(orphan);
    for (const AcDbObjectId id : {AcDbObjectId(), erasedId, m_database.layerTableId(), m_database.clayer()}) {
        m_catalogue.ReadEntity(id, FALSE, FALSE);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(m_catalogue.currentObject, id);
    }
    // A layer the table does not hold changes nothing about the line's own values.
    EXPECT_EQ(read(orphanId, L"LINE").at(L"长度"), L"1");
}

TEST_F(ReadEntity, AnotherTypeOrAnUnwrittenValueKeepsThePreviousRead) {
    m_catalogue.ReadEntity(add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0))), FALSE, FALSE);
    m_catalogue.ReadEntity(add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2)), FALSE, FALSE);
    EXPECT_EQ(values(L"LINE").at(L"长度"), L"3");
    EXPECT_EQ(values(L"CIRCLE").at(L"直径"), L"4");
}

} // namespace
