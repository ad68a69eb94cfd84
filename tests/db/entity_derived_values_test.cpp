// Derived values entities report: MTEXT measured by the metric model, raster image settings and the
// file of their image definition, and the area, perimeter and extents of regions read from ACIS text.
#include "cad/db/dictionary.h"
#include "cad/db/other_entities.h"
#include "cad/db/region_geometry.h"
#include "cad/db/text_entities.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "db_test_support.h"
#include "geometry_test_support.h"

#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace {

constexpr double kPi = 3.141592653589793;

std::unique_ptr<AcDbDatabase> drawing2000(const std::string& entities, const std::string& objects = {}) {
    auto database = std::make_unique<AcDbDatabase>(false);
    const std::string file = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
                             "0\nSECTION\n2\nENTITIES\n" +
                             entities + "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n" + objects +
                             "0\nENDSEC\n0\nEOF\n";
    cad::dxf::TagError error;
    EXPECT_TRUE(database->readDxfBuffer(file, error)) << error.message;
    return database;
}

TEST(MTextDerivedValues, MeasuresActualSizeWithTheMetricModelNotTheStoredValues) {
    struct Case {
        const char* name;
        std::string groups; // after the location; every case stores 42/43 values of 99 to be ignored
        double width;
        double height;
    };
    // Characters advance 2/3 h (full-width ones h); lines are 5/3 h apart times the spacing factor.
    const Case cases[] = {
        {"one line", "40\n3\n1\nABC\n", 6.0, 3.0},
        {"paragraph break", "40\n1.5\n1\nAB\\PCDEF\n", 4.0, 1.5 * (1.0 + 5.0 / 3.0)},
        {"double line spacing", "40\n1\n44\n2\n1\nA\\PB\n", 2.0 / 3.0, 1.0 + 10.0 / 3.0},
        {"full-width characters", "40\n3\n1\n\\U+4E2D\\U+6587A\n", 8.0, 3.0},
        {"formatting codes dropped", "40\n3\n1\n{\\fArial|b1;AB}\n", 4.0, 3.0},
        {"empty contents", "40\n3\n1\n\n", 0.0, 0.0},
    };
    for (const Case& testCase : cases) {
        const auto database =
            drawing2000("0\nMTEXT\n5\n20\n8\n0\n100\nAcDbEntity\n100\nAcDbMText\n10\n0\n20\n0\n"
                        "30\n0\n71\n1\n42\n99\n43\n99\n" +
                        testCase.groups);
        const auto* text = AcDbMText::cast(geometrytest::firstEntity(*database));
        ASSERT_NE(text, nullptr) << testCase.name;
        EXPECT_NEAR(text->actualWidth(), testCase.width, 1e-9) << testCase.name;
        EXPECT_NEAR(text->actualHeight(), testCase.height, 1e-9) << testCase.name;
    }
}

TEST(RasterImageDerivedValues, ReportsSettingsAndTheFileOfItsDefinition) {
    struct Case {
        const char* name;
        std::string kind;
        std::string groups;
        int brightness;
        int contrast;
        int fade;
        bool shown;
        bool transparent;
        std::wstring fileName; // empty: no definition is found
    };
    const std::string definition =
        "0\nIMAGEDEF\n5\n40\n100\nAcDbRasterImageDef\n90\n0\n1\nC:\\maps\\site.png\n"
        "10\n640\n20\n480\n";
    const Case cases[] = {
        {"defaults", "IMAGE", "", 50, 50, 0, true, false, L""},
        {"set values with definition", "IMAGE", "340\n40\n70\n9\n281\n80\n282\n20\n283\n35\n", 80, 20, 35,
         true, true, L"C:\\maps\\site.png"},
        {"hidden image", "IMAGE", "340\n40\n70\n0\n", 50, 50, 0, false, false, L"C:\\maps\\site.png"},
        {"definition handle that names nothing", "IMAGE", "340\n77\n", 50, 50, 0, true, false, L""},
        {"wipeout", "WIPEOUT", "70\n7\n281\n10\n283\n90\n", 10, 50, 90, true, false, L""},
    };
    for (const Case& testCase : cases) {
        const std::string subclass = testCase.kind == "IMAGE" ? "AcDbRasterImage" : "AcDbWipeout";
        const auto database =
            drawing2000("0\n" + testCase.kind + "\n5\n30\n8\n0\n100\nAcDbEntity\n100\n" + subclass +
                            "\n90\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n"
                            "12\n0\n22\n1\n32\n0\n13\n640\n23\n480\n" +
                            testCase.groups,
                        definition);
        const auto* image = AcDbRasterImage::cast(geometrytest::firstEntity(*database));
        ASSERT_NE(image, nullptr) << testCase.name;
        EXPECT_EQ(image->brightness(), testCase.brightness) << testCase.name;
        EXPECT_EQ(image->contrast(), testCase.contrast) << testCase.name;
        EXPECT_EQ(image->fade(), testCase.fade) << testCase.name;
        EXPECT_EQ(image->isSetDisplayOpt(AcDbRasterImage::kShow), testCase.shown) << testCase.name;
        EXPECT_EQ(image->isSetDisplayOpt(AcDbRasterImage::kTransparent), testCase.transparent)
            << testCase.name;
        const auto* imageDefinition = AcDbRasterImageDef::cast(database->peekObject(image->imageDefId()));
        if (testCase.fileName.empty()) {
            EXPECT_EQ(imageDefinition, nullptr) << testCase.name;
        } else {
            ASSERT_NE(imageDefinition, nullptr) << testCase.name;
            EXPECT_EQ(imageDefinition->sourceFileName(), testCase.fileName) << testCase.name;
        }
    }
}

// ---- ACIS text for regions, written by hand ----

struct SatEdge {
    AcGePoint3d start; // the end is the next edge's start (its own start for a full circle)
    bool circular = false;
    AcGePoint3d center;
    double radius = 0.0;
    bool curveReversed = false; // the edge runs from its start to its end against its curve
};
SatEdge lineFrom(const AcGePoint3d& start) {
    SatEdge edge;
    edge.start = start;
    return edge;
}
struct SatLoop {
    std::vector<SatEdge> edges;
    bool coedgesReversed = false;
};

// One planar face (normal +Z unless told) in the record layout of ACIS 4.0 ("400") or 7.0 ("700"), which
// puts an integer tag and one more pointer after the attribute pointer.
std::vector<std::string>
satRegion(const std::string& version, const std::vector<SatLoop>& loops,
          const std::string& surface = "plane-surface $H 0 0 0 0 0 1 1 0 0 forward_v I I I I",
          const std::string& faceSense = "forward") {
    const std::string header = version == "700" ? "$-1 -1 $-1" : "$-1";
    auto record = [&header](std::string text) {
        for (std::size_t at = text.find("$H"); at != std::string::npos; at = text.find("$H")) {
            text.replace(at, 2, header);
        }
        return text + " #";
    };
    auto ref = [](std::size_t index) { return "$" + std::to_string(index); };
    std::vector<std::string> lines = {version + " 0 1 0",
                                      "@8 unknown @9 ACIS 7.0 @24 Thu Jan 01 00:00:00 2009",
                                      "1 9.9999999999999995e-007 1e-010"};
    lines.push_back(record("body $H $1 $-1 $-1"));
    lines.push_back(record("lump $H $-1 $2 $0"));
    lines.push_back(record("shell $H $-1 $-1 $3 $-1 $1"));
    lines.push_back(record("face $H $-1 $5 $2 $-1 $4 " + faceSense + " single"));
    lines.push_back(record(surface));
    // Per loop: the loop, then per edge five records: coedge, edge, vertex, point, curve.
    std::size_t loopIndex = 5;
    for (std::size_t loop = 0; loop < loops.size(); ++loop) {
        const std::vector<SatEdge>& edges = loops[loop].edges;
        const std::size_t first = loopIndex + 1;
        const std::size_t next = first + 5 * edges.size();
        lines.push_back(
            record("loop $H " + (loop + 1 < loops.size() ? ref(next) : "$-1") + " " + ref(first) + " $3"));
        for (std::size_t edge = 0; edge < edges.size(); ++edge) {
            const std::size_t base = first + 5 * edge;
            const std::size_t following = first + 5 * ((edge + 1) % edges.size());
            const std::size_t previous = first + 5 * ((edge + edges.size() - 1) % edges.size());
            const SatEdge& shape = edges[edge];
            const std::string sense = loops[loop].coedgesReversed ? "reversed" : "forward";
            const std::string startVertex = ref(base + 2);
            const std::string endVertex = ref(following + 2);
            lines.push_back(record("coedge $H " + ref(following) + " " + ref(previous) + " $-1 " +
                                   ref(base + 1) + " " + sense + " " + ref(loopIndex) + " $-1"));
            lines.push_back(record("edge $H " + startVertex + " 0 " + endVertex + " 1 " + ref(base) + " " +
                                   ref(base + 4) + " " + (shape.curveReversed ? "reversed" : "forward") +
                                   " @7 unknown"));
            lines.push_back(record("vertex $H " + ref(base + 1) + " " + ref(base + 3)));
            std::ostringstream point;
            point.precision(17);
            point << "point $H " << shape.start.x << " " << shape.start.y << " " << shape.start.z;
            lines.push_back(record(point.str()));
            std::ostringstream curve;
            curve.precision(17);
            if (shape.circular) {
                curve << "ellipse-curve $H " << shape.center.x << " " << shape.center.y << " "
                      << shape.center.z << " 0 0 1 " << shape.radius << " 0 0 1 I I";
            } else {
                const AcGePoint3d& end = edges[(edge + 1) % edges.size()].start;
                curve << "straight-curve $H " << shape.start.x << " " << shape.start.y << " 0 "
                      << end.x - shape.start.x << " " << end.y - shape.start.y << " 0 I I";
            }
            lines.push_back(record(curve.str()));
        }
        loopIndex = next;
    }
    lines.emplace_back("End-of-ACIS-data");
    return lines;
}

SatLoop rectangle(double left, double bottom, double right, double top, bool reversed = false) {
    SatLoop loop;
    for (const AcGePoint3d corner : {AcGePoint3d(left, bottom, 0), AcGePoint3d(right, bottom, 0),
                                     AcGePoint3d(right, top, 0), AcGePoint3d(left, top, 0)}) {
        loop.edges.push_back(lineFrom(corner));
    }
    loop.coedgesReversed = reversed;
    return loop;
}

SatLoop circle(const AcGePoint3d& center, double radius, bool reversed = false) {
    SatLoop loop;
    loop.edges.push_back(SatEdge{center + AcGeVector3d(radius, 0, 0), true, center, radius});
    loop.coedgesReversed = reversed;
    return loop;
}

// A 10 x 4 slot with half-circle ends: (0,0)-(10,0), arc about (10,2), (10,4)-(0,4), arc about (0,2).
SatLoop slot(bool arcsAgainstCurve) {
    SatLoop loop;
    loop.edges.push_back(lineFrom(AcGePoint3d{0, 0, 0}));
    loop.edges.push_back(SatEdge{{10, 0, 0}, true, {10, 2, 0}, 2.0});
    loop.edges.push_back(lineFrom(AcGePoint3d{10, 4, 0}));
    loop.edges.push_back(SatEdge{{0, 4, 0}, true, {0, 2, 0}, 2.0});
    if (arcsAgainstCurve) {
        // The same outline run clockwise: the arcs now go against their counter-clockwise curves.
        std::vector<SatEdge> reversed;
        reversed.push_back(SatEdge{{0, 0, 0}, true, {0, 2, 0}, 2.0, true});
        reversed.push_back(lineFrom(AcGePoint3d{0, 4, 0}));
        reversed.push_back(SatEdge{{10, 4, 0}, true, {10, 2, 0}, 2.0, true});
        reversed.push_back(lineFrom(AcGePoint3d{10, 0, 0}));
        loop.edges = reversed;
    }
    return loop;
}

std::vector<std::string> encodeForDxf(const std::vector<std::string>& lines) {
    std::vector<std::string> encoded;
    for (const std::string& line : lines) {
        std::string text;
        for (const char character : line) {
            text += character == ' ' ? ' ' : static_cast<char>(159 - static_cast<unsigned char>(character));
        }
        encoded.push_back(text);
    }
    return encoded;
}

TEST(RegionMeasure, MeasuresPlanarRegionsOfStraightAndCircularEdges) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        double area;
        double perimeter;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const Case cases[] = {
        {"square, ACIS 7.0 layout",
         satRegion("700", {rectangle(0, 0, 10, 10)}),
         100.0,
         40.0,
         {0, 0, 0},
         {10, 10, 0}},
        {"square, ACIS 4.0 layout",
         satRegion("400", {rectangle(2, 3, 7, 5)}),
         10.0,
         14.0,
         {2, 3, 0},
         {7, 5, 0}},
        {"clockwise loop on a reversed face",
         satRegion("700", {rectangle(0, 0, 4, 3, true)},
                   "plane-surface $H 0 0 0 0 0 1 1 0 0 forward_v I I I I", "reversed"),
         12.0,
         14.0,
         {0, 0, 0},
         {4, 3, 0}},
        {"circle", satRegion("700", {circle({1, 2, 0}, 5)}), 25.0 * kPi, 10.0 * kPi, {-4, -3, 0}, {6, 7, 0}},
        {"square with a round hole",
         satRegion("700", {rectangle(0, 0, 10, 10), circle({5, 5, 0}, 2, true)}),
         100.0 - 4.0 * kPi,
         40.0 + 4.0 * kPi,
         {0, 0, 0},
         {10, 10, 0}},
        {"slot with half-circle ends",
         satRegion("700", {slot(false)}),
         40.0 + 4.0 * kPi,
         20.0 + 4.0 * kPi,
         {-2, 0, 0},
         {12, 4, 0}},
        {"slot whose arcs run against their curves",
         satRegion("400", {slot(true)}),
         40.0 + 4.0 * kPi,
         20.0 + 4.0 * kPi,
         {-2, 0, 0},
         {12, 4, 0}},
        {"encoded as DXF stores it",
         encodeForDxf(satRegion("700", {rectangle(0, 0, 10, 10)})),
         100.0,
         40.0,
         {0, 0, 0},
         {10, 10, 0}},
    };
    for (const Case& testCase : cases) {
        const cad::db::RegionMeasure result = cad::db::measureRegion(testCase.lines);
        ASSERT_EQ(result.status, Acad::eOk) << testCase.name << ": " << result.error;
        EXPECT_NEAR(result.area, testCase.area, 1e-9) << testCase.name;
        EXPECT_NEAR(result.perimeter, testCase.perimeter, 1e-9) << testCase.name;
        geometrytest::expectBoxNear(result.extents, testCase.minimum, testCase.maximum, testCase.name, 1e-9);
    }
}

TEST(RegionMeasure, AnswersAClearStatusForDataItDoesNotModel) {
    std::vector<std::string> truncated = satRegion("700", {rectangle(0, 0, 1, 1)});
    truncated.back() = "edge $-1 -1 $-1 $9";
    std::vector<std::string> spline = satRegion("700", {rectangle(0, 0, 1, 1)});
    for (std::string& line : spline) {
        if (line.rfind("straight-curve", 0) == 0) {
            line = "intcurve-curve $-1 -1 $-1 forward { exactcur nurbs 3 open 2 0 3 1 3 } I I #";
        }
    }
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        Acad::ErrorStatus status;
        const char* errorMentions;
    };
    const Case cases[] = {
        {"empty body", {}, Acad::eNotApplicable, "empty"},
        {"record without its end", truncated, Acad::eInvalidInput, "not closed"},
        {"spline edges", spline, Acad::eNotImplementedYet, "intcurve-curve"},
        {"cone surface",
         satRegion("700", {circle({0, 0, 0}, 1)}, "cone-surface $H 0 0 0 0 0 1 1 0 0 1 0 1 1 I I I I"),
         Acad::eNotImplementedYet, "not a plane"},
        {"header only", {"700 0 1 0", "@8 unknown", "1 1e-06 1e-10"}, Acad::eInvalidInput, "fewer"},
        {"no face",
         {"700 0 1 0", "@8 unknown", "1 1e-06 1e-10", "body $-1 -1 $-1 $-1 $-1 $-1 #"},
         Acad::eNotApplicable,
         "no face"},
    };
    for (const Case& testCase : cases) {
        const cad::db::RegionMeasure result = cad::db::measureRegion(testCase.lines);
        EXPECT_EQ(result.status, testCase.status) << testCase.name << ": " << result.error;
        EXPECT_NE(result.error.find(testCase.errorMentions), std::string::npos)
            << testCase.name << ": " << result.error;
    }
}

// The REGION entity answers through the host's calls, from data read out of a drawing.
TEST(RegionExplode, BreaksIntoTheCurvesOfItsBoundary) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::map<std::string, int> pieces;
        double perimeter;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const Case cases[] = {
        {"square", satRegion("700", {rectangle(0, 0, 10, 10)}), {{"LINE", 4}}, 40.0, {0, 0, 0}, {10, 10, 0}},
        {"circle",
         satRegion("700", {circle({1, 2, 0}, 5)}),
         {{"CIRCLE", 1}},
         10.0 * kPi,
         {-4, -3, 0},
         {6, 7, 0}},
        {"square with a round hole",
         satRegion("700", {rectangle(0, 0, 10, 10), circle({5, 5, 0}, 2, true)}),
         {{"LINE", 4}, {"CIRCLE", 1}},
         40.0 + 4.0 * kPi,
         {0, 0, 0},
         {10, 10, 0}},
        {"slot whose arcs run against their curves",
         satRegion("400", {slot(true)}),
         {{"LINE", 2}, {"ARC", 2}},
         20.0 + 4.0 * kPi,
         {-2, 0, 0},
         {12, 4, 0}},
    };
    for (const Case& testCase : cases) {
        std::string groups = "0\nREGION\n5\n30\n8\nEDGES\n100\nAcDbEntity\n100\nAcDbModelerGeometry\n70\n1\n";
        for (const std::string& line : encodeForDxf(testCase.lines)) {
            groups += "1\n" + line + "\n";
        }
        const auto database = drawing2000(groups);
        const auto* region = AcDbRegion::cast(geometrytest::firstEntity(*database));
        ASSERT_NE(region, nullptr) << testCase.name;
        AcDbVoidPtrArray pieces;
        ASSERT_EQ(region->explode(pieces), Acad::eOk) << testCase.name;
        std::map<std::string, int> counts;
        double length = 0.0;
        AcDbExtents box;
        for (void* piece : pieces) {
            std::unique_ptr<AcDbEntity> entity(static_cast<AcDbEntity*>(piece));
            ++counts[entity->dxfName()];
            EXPECT_EQ(entity->layerName(), L"EDGES") << testCase.name;
            const auto* curve = AcDbCurve::cast(entity.get());
            ASSERT_NE(curve, nullptr) << testCase.name;
            double end = 0.0;
            double distance = 0.0;
            ASSERT_EQ(curve->getEndParam(end), Acad::eOk) << testCase.name;
            ASSERT_EQ(curve->getDistAtParam(end, distance), Acad::eOk) << testCase.name;
            length += distance;
            AcDbExtents part;
            ASSERT_EQ(entity->getGeomExtents(part), Acad::eOk) << testCase.name;
            box.addExt(part);
        }
        EXPECT_EQ(counts, testCase.pieces) << testCase.name;
        EXPECT_NEAR(length, testCase.perimeter, 1e-9) << testCase.name;
        geometrytest::expectBoxNear(box, testCase.minimum, testCase.maximum, testCase.name, 1e-9);
    }
}

TEST(RegionDerivedValues, AnswersAreaPerimeterAndExtentsFromTheDrawing) {
    std::string groups = "0\nREGION\n5\n30\n8\n0\n100\nAcDbEntity\n100\nAcDbModelerGeometry\n70\n1\n";
    for (const std::string& line : encodeForDxf(satRegion("700", {rectangle(1, 1, 4, 5)}))) {
        groups += "1\n" + line + "\n";
    }
    const auto database = drawing2000(groups);
    const auto* region = AcDbRegion::cast(geometrytest::firstEntity(*database));
    ASSERT_NE(region, nullptr);
    double area = 0.0;
    double perimeter = 0.0;
    AcDbExtents extents;
    ASSERT_EQ(region->getArea(area), Acad::eOk);
    ASSERT_EQ(region->getPerimeter(perimeter), Acad::eOk);
    ASSERT_EQ(region->getGeomExtents(extents), Acad::eOk);
    EXPECT_NEAR(area, 12.0, 1e-9);
    EXPECT_NEAR(perimeter, 14.0, 1e-9);
    geometrytest::expectBoxNear(extents, {1, 1, 0}, {4, 5, 0}, "region");

    QUELTO_SKIP_WITHOUT_CORPUS();
    std::ifstream placeholderFile(
        quelto::testing::corpusDirectory() / "generated" / "region_placeholder_R2000.dxf", std::ios::binary);
    ASSERT_TRUE(placeholderFile);
    const std::string bytes((std::istreambuf_iterator<char>(placeholderFile)),
                            std::istreambuf_iterator<char>());
    AcDbDatabase placeholder(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(placeholder.readDxfBuffer(bytes, error)) << error.message;
    const AcDbRegion* empty = nullptr;
    for (const AcDbObjectId id : geometrytest::modelEntities(placeholder)) {
        if (const auto* candidate = AcDbRegion::cast(placeholder.peekObject(id))) {
            empty = candidate;
        }
    }
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->getArea(area), Acad::eNotApplicable);
    EXPECT_EQ(empty->getPerimeter(perimeter), Acad::eNotApplicable);
    EXPECT_EQ(empty->getGeomExtents(extents), Acad::eInvalidExtents);
}

// Hatches keep their boundaries as groups; after a transform the boundary box (measured from those
// groups) and the pattern must be the transformed ones.
TEST(HatchTransform, RewritesBoundariesAndPatternForTheFourTransforms) {
    const std::string head = "0\nHATCH\n8\n0\n10\n0\n20\n0\n30\n0\n2\nANSI31\n70\n0\n71\n0\n91\n1\n";
    const std::string tail = "97\n0\n75\n0\n76\n1\n52\n30\n41\n1.5\n77\n0\n78\n0\n98\n0\n";
    // A half disc: the line (0,0)-(4,0) closed by the arc about (2,0) from 0 to 180 degrees; box (0,0)-(4,2).
    const std::string halfDisc =
        head +
        "92\n1\n93\n2\n72\n1\n10\n0\n20\n0\n11\n4\n21\n0\n72\n2\n10\n2\n20\n0\n40\n2\n"
        "50\n0\n51\n180\n73\n1\n" +
        tail;
    // The same half disc below the line as a bulged polyline path: bulge 1 from (0,0) to (4,0).
    const std::string bulged =
        head + "92\n2\n72\n1\n73\n1\n93\n2\n10\n0\n20\n0\n42\n1\n10\n4\n20\n0\n42\n0\n" + tail;
    // The upper half of the ellipse of semi-axes 2 and 1 about the origin, closed by its major axis.
    const std::string halfEllipse = head +
                                    "92\n1\n93\n2\n72\n1\n10\n-2\n20\n0\n11\n2\n21\n0\n72\n3\n10\n0\n20\n0\n"
                                    "11\n2\n21\n0\n40\n0.5\n50\n0\n51\n180\n73\n1\n" +
                                    tail;
    struct Case {
        const char* name;
        std::string groups;
        AcGeMatrix3d transform;
        AcGePoint3d minimum;
        AcGePoint3d maximum;
        double patternAngleDegrees;
        double patternScale;
    };
    const AcGeMatrix3d mirrorInYAxis =
        AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis));
    const AcGeMatrix3d mirrorInXAxis =
        AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d::kOrigin, AcGeVector3d::kYAxis));
    const Case cases[] = {
        {"moved", halfDisc, AcGeMatrix3d::translation({1, 2, 0}), {1, 2, 0}, {5, 4, 0}, 30.0, 1.5},
        {"scaled about a point",
         halfDisc,
         AcGeMatrix3d::scaling(2.0, {4, 0, 0}),
         {-4, 0, 0},
         {4, 4, 0},
         30.0,
         3.0},
        {"quarter turn",
         halfDisc,
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         {-2, 0, 0},
         {0, 4, 0},
         120.0,
         1.5},
        {"mirrored in the Y axis", halfDisc, mirrorInYAxis, {-4, 0, 0}, {0, 2, 0}, 150.0, 1.5},
        {"mirrored in the X axis", halfDisc, mirrorInXAxis, {0, -2, 0}, {4, 0, 0}, 330.0, 1.5},
        {"bulged path mirrored", bulged, mirrorInXAxis, {0, 0, 0}, {4, 2, 0}, 330.0, 1.5},
        {"bulged path turned",
         bulged,
         AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis),
         {-4, 0, 0},
         {0, 2, 0},
         210.0,
         1.5},
        {"elliptical edge mirrored", halfEllipse, mirrorInXAxis, {-2, -1, 0}, {2, 0, 0}, 330.0, 1.5},
        {"elliptical edge turned",
         halfEllipse,
         AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis),
         {-1, -2, 0},
         {0, 2, 0},
         120.0,
         1.5},
    };
    for (const Case& testCase : cases) {
        const auto database = geometrytest::drawing(testCase.groups);
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(
            cad::db::openObjectAs(entity, geometrytest::modelEntities(*database).front(), AcDb::kForWrite),
            Acad::eOk)
            << testCase.name;
        auto* hatch = AcDbHatch::cast(entity);
        ASSERT_NE(hatch, nullptr) << testCase.name;
        EXPECT_EQ(hatch->transformBy(testCase.transform), Acad::eOk) << testCase.name;
        AcDbExtents extents;
        EXPECT_EQ(hatch->getGeomExtents(extents), Acad::eOk) << testCase.name;
        geometrytest::expectBoxNear(extents, testCase.minimum, testCase.maximum, testCase.name);
        EXPECT_NEAR(hatch->patternAngle() * 180.0 / kPi, testCase.patternAngleDegrees, 1e-9) << testCase.name;
        EXPECT_NEAR(hatch->patternScale(), testCase.patternScale, 1e-12) << testCase.name;
        entity->close();
    }
}

} // namespace
