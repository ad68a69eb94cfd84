// Our drawings checked against ezdxf, an independent DXF library: what we write reads back in it with the
// same vertices and audits clean, and what it draws has the extents, exploded pieces, arc and circle
// centres and polyline vertices we compute.
// Skipped where ezdxf is not installed.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "db_test_support.h"
#include "geometry_test_support.h"
#include "support/command_output.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using geometrytest::expectBoxNear;

namespace {

bool ezdxfMissing() {
    return std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0;
}

// The standard output of one of our ezdxf scripts; nothing when it could not run or failed.
std::optional<std::string> runScript(const std::string& script, const std::filesystem::path& drawing) {
    const std::string command = "/usr/bin/python3 '" + std::string(QUELTO_SOURCE_DIR) + "/tests/db/" +
                                script + "' '" + drawing.string() + "'";
    return quelto::testing::commandOutput(command);
}

struct WrittenVertex {
    AcGePoint3d point;
    double bulge = 0.0;
};

AcDbObjectId appendPolyline(AcDbDatabase& database, AcDbPolylineEntity* polyline,
                            const std::vector<WrittenVertex>& vertices) {
    const bool spatial = AcDb3dPolyline::cast(polyline) != nullptr;
    for (const WrittenVertex& vertex : vertices) {
        AcDbObjectId id;
        AcDbVertex* made = spatial ? static_cast<AcDbVertex*>(new AcDb3dPolylineVertex(vertex.point))
                                   : new AcDb2dVertex(vertex.point, vertex.bulge);
        EXPECT_EQ(polyline->appendVertex(id, made), Acad::eOk);
    }
    AcDbBlockTableRecord* model = nullptr;
    EXPECT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(model->appendAcDbEntity(id, polyline), Acad::eOk);
    polyline->close();
    model->close();
    return id;
}

TEST(EzdxfCrossCheck, NewPolylinesReadBackWithTheSameVerticesAndAuditClean) {
    if (ezdxfMissing()) {
        GTEST_SKIP() << "ezdxf is not installed";
    }
    const std::vector<WrittenVertex> flat = {
        {{0, 0, 0}, 0.5}, {{4, 0, 0}, 0.0}, {{4, 3, 0}, -1.0}, {{0, 3, 0}, 0}};
    const std::vector<WrittenVertex> spatial = {{{1, 2, 3}, 0}, {{4, 5, 6}, 0}, {{-7, 8.5, -9.25}, 0}};
    for (const auto& [version, versionText] :
         {std::pair{cad::db::kVersionR2000, "AC1015"}, std::pair{1032, "AC1032"}}) {
        AcDbDatabase database;
        auto* closedFlat = new AcDb2dPolyline();
        closedFlat->setClosed(true);
        const AcDbObjectId flatId = appendPolyline(database, closedFlat, flat);
        const AcDbObjectId spatialId = appendPolyline(database, new AcDb3dPolyline(), spatial);
        database.setHeaderVariable(
            {"$ACADVER", {cad::dxf::OwnedTag(cad::dxf::Tag::makeString(1, versionText))}});
        const quelto::testing::TemporaryFolder folder;
        const std::filesystem::path saved = folder / ("polylines_" + std::string(versionText) + ".dxf");
        cad::dxf::TagError error;
        cad::db::SaveOptions options;
        options.version = version;
        ASSERT_TRUE(database.writeDxf(saved, options, error)) << error.toString();
        const std::optional<std::string> output = runScript("ezdxf_polylines.py", saved);
        ASSERT_TRUE(output.has_value()) << versionText;

        std::ostringstream expected;
        for (const auto& [id, vertices, kind] :
             {std::tuple{flatId, flat, "2d"}, std::tuple{spatialId, spatial, "3d"}}) {
            expected << "polyline " << database.peekObject(id)->handle().toHex() << " " << kind << " "
                     << vertices.size() << "\n";
            for (const WrittenVertex& vertex : vertices) {
                expected << vertex.point.x << " " << vertex.point.y << " " << vertex.point.z << " "
                         << vertex.bulge << "\n";
            }
        }
        // ezdxf prints floats as Python does ("4.0"); compare numbers, not texts.
        std::istringstream actualLines(*output);
        std::istringstream expectedLines(expected.str());
        std::string actualLine;
        std::string expectedLine;
        while (std::getline(expectedLines, expectedLine)) {
            ASSERT_TRUE(std::getline(actualLines, actualLine)) << versionText << ": missing " << expectedLine;
            if (expectedLine.rfind("polyline", 0) == 0) {
                EXPECT_EQ(actualLine, expectedLine) << versionText;
                continue;
            }
            std::istringstream actualValues(actualLine);
            std::istringstream expectedValues(expectedLine);
            double actual = 0.0;
            double wanted = 0.0;
            while (expectedValues >> wanted) {
                ASSERT_TRUE(actualValues >> actual) << versionText << ": " << actualLine;
                EXPECT_DOUBLE_EQ(actual, wanted) << versionText << ": " << actualLine;
            }
        }
        EXPECT_FALSE(std::getline(actualLines, actualLine)) << versionText << ": " << actualLine;
    }
}

// ezdxf draws circular and elliptic arcs as cubic Bezier curves, four to the full turn, and takes the
// exact box of those; that approximation bulges out by up to 2.7e-4 of the radius, so boxes may differ
// by that much of the entity's size. Anything larger is a real disagreement.
constexpr double kArcApproximation = 5e-4;

struct EzdxfAnswers {
    std::map<std::string, std::array<double, 6>> extents;
    std::map<std::string, std::string> explodedTypes;         // "ARC=1 LINE=2", types in name order
    std::map<std::string, AcGePoint3d> centres;               // arcs and circles, world coordinates
    std::map<std::string, std::vector<AcGePoint3d>> vertices; // light polylines, world coordinates
};

EzdxfAnswers parseAnswers(const std::string& output) {
    EzdxfAnswers answers;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind;
        std::string handle;
        words >> kind >> handle;
        if (kind == "extents") {
            std::array<double, 6>& box = answers.extents[handle];
            for (double& value : box) {
                words >> value;
            }
        } else if (kind == "centre") {
            AcGePoint3d& centre = answers.centres[handle];
            words >> centre.x >> centre.y >> centre.z;
        } else if (kind == "vertices") {
            AcGePoint3d vertex;
            while (words >> vertex.x >> vertex.y >> vertex.z) {
                answers.vertices[handle].push_back(vertex);
            }
        } else if (kind == "explode") {
            std::string rest;
            std::getline(words, rest);
            answers.explodedTypes[handle] = rest.empty() ? rest : rest.substr(1);
        }
    }
    return answers;
}

// The drawing holds no TEXT or MTEXT: their boxes come from font metrics, and ezdxf measures with other
// fonts than our metric model, so the two legitimately differ.
TEST(EzdxfCrossCheck, ExtentsAndExplodedPiecesAgreeWithEzdxf) {
    if (ezdxfMissing()) {
        GTEST_SKIP() << "ezdxf is not installed";
    }
    const quelto::testing::TemporaryFolder folder;
    const std::filesystem::path drawing = folder / "kinds.dxf";
    const std::optional<std::string> output = runScript("ezdxf_extents.py", drawing);
    ASSERT_TRUE(output.has_value());
    const EzdxfAnswers answers = parseAnswers(*output);
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxf(drawing, error)) << error.toString();
    ASSERT_GE(answers.extents.size(), 15U);

    std::size_t compared = 0;
    for (const AcDbObjectId& id : geometrytest::modelEntities(database)) {
        const auto* entity = AcDbEntity::cast(database.peekObject(id));
        const std::string handle = entity->handle().toHex();
        const std::string what = entity->dxfName() + " " + handle;
        const auto expected = answers.extents.find(handle);
        ASSERT_NE(expected, answers.extents.end()) << what;
        AcDbExtents box;
        ASSERT_EQ(entity->getGeomExtents(box), Acad::eOk) << what;
        const AcGePoint3d minimum(expected->second[0], expected->second[1], expected->second[2]);
        const AcGePoint3d maximum(expected->second[3], expected->second[4], expected->second[5]);
        expectBoxNear(box, minimum, maximum, what, kArcApproximation * minimum.distanceTo(maximum) + 1e-9);
        ++compared;

        if (const auto centre = answers.centres.find(handle); centre != answers.centres.end()) {
            const auto* circle = AcDbCircle::cast(entity);
            const AcGePoint3d ours = circle != nullptr ? circle->center() : AcDbArc::cast(entity)->center();
            EXPECT_LT(ours.distanceTo(centre->second), 1e-9) << what << " centre";
        }
        if (const auto vertices = answers.vertices.find(handle); vertices != answers.vertices.end()) {
            const auto* polyline = AcDbPolyline::cast(entity);
            ASSERT_EQ(polyline->numVerts(), vertices->second.size()) << what;
            for (unsigned int index = 0; index < polyline->numVerts(); ++index) {
                AcGePoint3d ours;
                ASSERT_EQ(polyline->getPointAt(index, ours), Acad::eOk);
                EXPECT_LT(ours.distanceTo(vertices->second[index]), 1e-9) << what << " vertex " << index;
            }
        }
        if (entity->isKindOf(AcDbBlockReference::desc())) {
            AcDbVoidPtrArray pieces;
            ASSERT_EQ(entity->explode(pieces), Acad::eOk) << what;
            std::map<std::string, int> counts;
            for (void* piece : pieces) {
                std::unique_ptr<AcDbEntity> owned(static_cast<AcDbEntity*>(piece));
                ++counts[owned->dxfName()];
            }
            std::string types;
            for (const auto& [name, count] : counts) {
                types += (types.empty() ? "" : " ") + name + "=" + std::to_string(count);
            }
            EXPECT_EQ(types, answers.explodedTypes.at(handle)) << what;
        }
    }
    EXPECT_EQ(compared, answers.extents.size());
    EXPECT_EQ(answers.centres.size(), 5U);
    EXPECT_EQ(answers.vertices.size(), 2U);
}

} // namespace
