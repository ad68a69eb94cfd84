// POLYLINE vertices and INSERT attributes before and after their owner joins a drawing: held by the
// owner, moved into the database with a SEQEND, copied by clone, used by the geometry, and written
// with the subclass markers of their kind.
#include "cad/db/curve_entities.h"
#include "cad/db/curve_geometry.h"
#include "cad/db/other_entities.h"
#include "cad/db/sub_entities.h"
#include "cad/db/text_entities.h"
#include "cad/dxf/tag_writer.h"
#include "cad/ge/matrix3d.h"
#include "geometry_test_support.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using geometrytest::expectBoxNear;
using geometrytest::expectPointNear;

namespace {

constexpr double kPi = 3.141592653589793;

// A closed 2x2 square whose first side bulges out below into a half circle of radius 1.
std::unique_ptr<AcDb2dPolyline> bulgedSquare() {
    auto polyline = std::make_unique<AcDb2dPolyline>();
    polyline->setClosed(true);
    polyline->setLayer(L"WALLS");
    const std::vector<std::pair<AcGePoint3d, double>> corners = {
        {{0, 0, 0}, 1.0}, {{2, 0, 0}, 0.0}, {{2, 2, 0}, 0.0}, {{0, 2, 0}, 0.0}};
    for (const auto& [point, bulge] : corners) {
        AcDbObjectId id;
        EXPECT_EQ(polyline->appendVertex(id, new AcDb2dVertex(point, bulge)), Acad::eOk);
        EXPECT_TRUE(id.isNull());
    }
    return polyline;
}

std::unique_ptr<AcDb3dPolyline> spatialPath(const std::vector<AcGePoint3d>& points) {
    auto polyline = std::make_unique<AcDb3dPolyline>();
    for (const AcGePoint3d& point : points) {
        AcDbObjectId id;
        EXPECT_EQ(polyline->appendVertex(id, new AcDb3dPolylineVertex(point)), Acad::eOk);
    }
    return polyline;
}

void deleteAll(AcDbVoidPtrArray& pieces) {
    for (void* piece : pieces) {
        delete static_cast<AcDbEntity*>(piece);
    }
    pieces.clear();
}

AcDbObjectId appendToModelSpace(AcDbDatabase& database, AcDbEntity* entity) {
    AcDbBlockTableRecord* model = nullptr;
    EXPECT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(model->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    model->close();
    return id;
}

void expectBulgedSquareGeometry(const AcDbCurve& curve, const std::string& what) {
    AcDbExtents box;
    ASSERT_EQ(curve.getGeomExtents(box), Acad::eOk) << what;
    expectBoxNear(box, {0, -1, 0}, {2, 2, 0}, what);
    double area = 0.0;
    ASSERT_EQ(curve.getArea(area), Acad::eOk) << what;
    EXPECT_NEAR(area, 4.0 + kPi / 2.0, 1e-9) << what;
    double end = 0.0;
    ASSERT_EQ(curve.getEndParam(end), Acad::eOk) << what;
    double length = 0.0;
    ASSERT_EQ(curve.getDistAtParam(end, length), Acad::eOk) << what;
    EXPECT_NEAR(length, kPi + 6.0, 1e-9) << what;
    AcGePoint3d middle;
    ASSERT_EQ(curve.getPointAtParam(0.5, middle), Acad::eOk) << what;
    expectPointNear(middle, {1, -1, 0}, what + " (middle of the bulge)");
}

TEST(PolylineSubEntities, GeometryUsesTheVerticesWhereverThePolylineIs) {
    AcDbDatabase database;
    std::unique_ptr<AcDb2dPolyline> held = bulgedSquare();
    expectBulgedSquareGeometry(*held, "outside a drawing");

    std::unique_ptr<AcDbEntity> copyOutside(held->clone());
    ASSERT_NE(copyOutside, nullptr);
    expectBulgedSquareGeometry(*AcDbCurve::cast(copyOutside.get()), "copy of a polyline outside a drawing");

    AcDb2dPolyline* polyline = held.release();
    const AcDbObjectId id = appendToModelSpace(database, polyline);
    const auto* resident = AcDb2dPolyline::cast(database.peekObject(id));
    ASSERT_NE(resident, nullptr);
    expectBulgedSquareGeometry(*resident, "in a drawing");

    std::unique_ptr<AcDbEntity> copyInside(resident->clone());
    ASSERT_NE(copyInside, nullptr);
    EXPECT_TRUE(copyInside->isNewObject());
    expectBulgedSquareGeometry(*AcDbCurve::cast(copyInside.get()), "copy of a polyline in a drawing");

    AcDbVoidPtrArray pieces;
    ASSERT_EQ(copyInside->explode(pieces), Acad::eOk);
    EXPECT_EQ(pieces.size(), 4U);
    deleteAll(pieces);
}

TEST(PolylineSubEntities, JoinTheDrawingWithTheirOwnerAndASequenceEnd) {
    struct Row {
        const char* what;
        std::unique_ptr<AcDbEntity> owner;
        std::size_t children;
    };
    std::vector<Row> rows;
    rows.push_back({"2D polyline", bulgedSquare(), 4});
    rows.push_back({"3D polyline", spatialPath({{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}), 3});
    auto reference = std::make_unique<AcDbBlockReference>();
    for (const wchar_t* tag : {L"NUMBER", L"ROOM"}) {
        auto* attribute = new AcDbAttribute();
        attribute->setTag(tag);
        attribute->setTextString(L"1");
        AcDbObjectId id;
        EXPECT_EQ(reference->appendAttribute(id, attribute), Acad::eOk);
    }
    rows.push_back({"block reference", std::move(reference), 2});

    AcDbDatabase database;
    for (Row& row : rows) {
        ASSERT_EQ(cad::db::subEntities(*row.owner).size(), row.children) << row.what;
        AcDbEntity* owner = row.owner.release();
        const AcDbObjectId ownerId = appendToModelSpace(database, owner);
        const auto* resident = AcDbEntity::cast(database.peekObject(ownerId));
        const AcDbSequence* sequence = resident->sequence();
        ASSERT_NE(sequence, nullptr) << row.what;
        EXPECT_TRUE(sequence->pending.empty()) << row.what;
        ASSERT_EQ(sequence->entities.size(), row.children) << row.what;
        for (const AcDbObjectId& child : sequence->entities) {
            const auto* entity = AcDbEntity::cast(database.peekObject(child));
            ASSERT_NE(entity, nullptr) << row.what;
            EXPECT_EQ(entity->ownerId(), ownerId) << row.what;
        }
        const auto* end = AcDbSequenceEnd::cast(database.peekObject(sequence->sequenceEnd));
        ASSERT_NE(end, nullptr) << row.what;
        EXPECT_EQ(end->ownerId(), ownerId) << row.what;
        EXPECT_EQ(end->layerName(), resident->layerName()) << row.what;
    }
    // Vertices go on their polyline's layer.
    const auto* square = AcDbEntity::cast(database.peekObject(geometrytest::modelEntities(database).front()));
    for (const AcDbEntity* vertex : cad::db::subEntities(*square)) {
        EXPECT_EQ(vertex->layerName(), L"WALLS");
    }
}

TEST(PolylineSubEntities, AppendingToAResidentPolylineAddsItsSequenceEnd) {
    AcDbDatabase database;
    const AcDbObjectId id = appendToModelSpace(database, new AcDb3dPolyline());
    AcDb3dPolyline* polyline = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(polyline, id, AcDb::kForWrite), Acad::eOk);
    for (const AcGePoint3d& point : {AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)}) {
        AcDbObjectId vertexId;
        ASSERT_EQ(polyline->appendVertex(vertexId, new AcDb3dPolylineVertex(point)), Acad::eOk);
        EXPECT_FALSE(vertexId.isNull());
    }
    polyline->close();
    const auto* resident = AcDb3dPolyline::cast(database.peekObject(id));
    EXPECT_NE(database.peekObject(static_cast<const AcDbEntity*>(resident)->sequence()->sequenceEnd),
              nullptr);
    double end = 0.0;
    double length = 0.0;
    ASSERT_EQ(resident->getEndParam(end), Acad::eOk);
    ASSERT_EQ(resident->getDistAtParam(end, length), Acad::eOk);
    EXPECT_NEAR(length, 5.0, 1e-12);

    // Refused: the caller keeps the vertex.
    AcDbObjectId vertexId;
    AcDb3dPolyline* readOnly = nullptr;
    AcDb3dPolylineVertex refused;
    ASSERT_EQ(cad::db::openObjectAs(readOnly, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(readOnly->appendVertex(vertexId, &refused), Acad::eNotOpenForWrite);
    readOnly->close();
}

TEST(PolylineSubEntities, TransformMovesHeldVertices) {
    std::unique_ptr<AcDb2dPolyline> square = bulgedSquare();
    ASSERT_EQ(square->transformBy(AcGeMatrix3d::translation({10, 20, 0})), Acad::eOk);
    AcDbExtents box;
    ASSERT_EQ(square->getGeomExtents(box), Acad::eOk);
    expectBoxNear(box, {10, 19, 0}, {12, 22, 0}, "moved");
    ASSERT_EQ(square->transformBy(
                  AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(10, 0, 0), AcGeVector3d(0, 1, 0)))),
              Acad::eOk);
    ASSERT_EQ(square->getGeomExtents(box), Acad::eOk);
    expectBoxNear(box, {8, 19, 0}, {10, 22, 0}, "mirrored in x = 10");
}

TEST(PolylineSubEntities, ExplodedInsertGivesPolylinesWithTheirVertices) {
    const std::string block =
        "0\nBLOCK\n8\n0\n2\nP\n70\n0\n10\n0\n20\n0\n30\n0\n"
        "0\nPOLYLINE\n8\n0\n66\n1\n70\n0\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n"
        "0\nVERTEX\n8\n0\n10\n1\n20\n0\n30\n0\n"
        "0\nVERTEX\n8\n0\n10\n1\n20\n1\n30\n0\n0\nSEQEND\n8\n0\n"
        "0\nPOLYLINE\n8\n0\n66\n1\n70\n8\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n32\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n1\n30\n2\n70\n32\n0\nSEQEND\n8\n0\n0\nENDBLK\n8\n0\n";
    // A uniform scale keeps the 2D polyline whole; a stretch breaks it into its segments first, as it
    // cannot stay a polyline of lines and arcs. The 3D polyline takes any transform.
    struct Row {
        const char* what;
        const char* scales;
        std::vector<std::size_t> verticesOfPieces; // 0 for a piece that is not a polyline
        AcGePoint3d minimum;
        AcGePoint3d maximum;
    };
    const std::vector<Row> rows = {
        {"uniform", "41\n2\n42\n2\n43\n2\n", {3, 2}, {5, 5, 0}, {7, 7, 4}},
        {"stretched", "41\n3\n42\n2\n43\n1\n", {0, 0, 2}, {5, 5, 0}, {8, 7, 2}},
    };
    for (const Row& row : rows) {
        const auto database = geometrytest::drawing(
            std::string("0\nINSERT\n8\n0\n2\nP\n10\n5\n20\n5\n30\n0\n") + row.scales, block);
        const AcDbEntity* insert = geometrytest::firstEntity(*database);
        ASSERT_NE(insert, nullptr);
        AcDbVoidPtrArray pieces;
        ASSERT_EQ(insert->explode(pieces), Acad::eOk) << row.what;
        ASSERT_EQ(pieces.size(), row.verticesOfPieces.size()) << row.what;
        AcDbExtents all;
        for (std::size_t index = 0; index < pieces.size(); ++index) {
            const auto* piece = static_cast<AcDbEntity*>(pieces[index]);
            const auto* polyline = AcDbPolylineEntity::cast(piece);
            EXPECT_EQ(polyline != nullptr ? cad::db::polylineVertices(*polyline).size() : 0,
                      row.verticesOfPieces[index])
                << row.what << " piece " << index;
            AcDbExtents box;
            ASSERT_EQ(piece->getGeomExtents(box), Acad::eOk) << row.what;
            all.addExt(box);
        }
        expectBoxNear(all, row.minimum, row.maximum, row.what);
        deleteAll(pieces);
    }
}

// The type and subclass markers of every entity from the first POLYLINE to its SEQEND.
std::vector<std::string> writtenSequence(const AcDbDatabase& database, int version) {
    cad::dxf::TagCollector collector;
    database.writeDxfTags(collector, version);
    std::vector<std::string> result;
    bool inside = false;
    for (const cad::dxf::OwnedTag& tag : collector.tags()) {
        if (tag.code == 0 && tag.text == "POLYLINE") {
            inside = true;
        }
        if (!inside || (tag.code != 0 && tag.code != 100)) {
            continue;
        }
        result.push_back(tag.text);
        if (tag.text == "SEQEND") {
            break;
        }
    }
    return result;
}

TEST(PolylineSubEntities, NewPolylinesWriteTheMarkersOfTheirKind) {
    auto withVertex = [](AcDbPolylineEntity* polyline, AcDbVertex* vertex) {
        AcDbObjectId id;
        EXPECT_EQ(polyline->appendVertex(id, vertex), Acad::eOk);
        return polyline;
    };
    struct Row {
        AcDbPolylineEntity* polyline;
        std::string polylineMarker;
        std::string vertexMarker;
    };
    const std::vector<Row> rows = {
        {withVertex(new AcDb2dPolyline(), new AcDb2dVertex()), "AcDb2dPolyline", "AcDb2dVertex"},
        {withVertex(new AcDb3dPolyline(), new AcDb3dPolylineVertex()), "AcDb3dPolyline",
         "AcDb3dPolylineVertex"},
        {withVertex(new AcDbPolygonMesh(), new AcDbPolygonMeshVertex()), "AcDbPolygonMesh",
         "AcDbPolygonMeshVertex"},
        {withVertex(withVertex(new AcDbPolyFaceMesh(), new AcDbPolyFaceMeshVertex()), new AcDbFaceRecord()),
         "AcDbPolyFaceMesh", "AcDbPolyFaceMeshVertex"},
    };
    for (const Row& row : rows) {
        AcDbDatabase database;
        const bool faces = AcDbPolyFaceMesh::cast(row.polyline) != nullptr;
        appendToModelSpace(database, row.polyline);
        std::vector<std::string> expected = {"POLYLINE",   "AcDbEntity", row.polylineMarker, "VERTEX",
                                             "AcDbEntity", "AcDbVertex", row.vertexMarker};
        if (faces) {
            expected.insert(expected.end(), {"VERTEX", "AcDbEntity", "AcDbVertex", "AcDbFaceRecord"});
        }
        expected.push_back("SEQEND");
        EXPECT_EQ(writtenSequence(database, cad::db::kVersionR2000), expected) << row.polylineMarker;
        std::vector<std::string> r12;
        for (const std::string& name : expected) {
            if (name.rfind("AcDb", 0) != 0) {
                r12.push_back(name);
            }
        }
        EXPECT_EQ(writtenSequence(database, cad::db::kVersionR12), r12) << row.polylineMarker << " in R12";
    }
}

TEST(PolylineSubEntities, ReadPolylinesKeepTheMarkersTheyCameWith) {
    const std::string header = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
                               "0\nSECTION\n2\nENTITIES\n";
    const std::string tail = "0\nENDSEC\n0\nEOF\n";
    struct Row {
        const char* what;
        std::string entities;
        std::vector<std::string> markers;
    };
    const std::vector<Row> rows = {
        {"without markers",
         "0\nPOLYLINE\n5\n20\n8\n0\n66\n1\n70\n8\n0\nVERTEX\n5\n21\n8\n0\n10\n1\n20\n2\n30\n3\n70\n32\n"
         "0\nSEQEND\n5\n22\n8\n0\n",
         {"POLYLINE", "VERTEX", "SEQEND"}},
        {"with a 3D kind on a 2D polyline's groups",
         "0\nPOLYLINE\n5\n20\n100\nAcDbEntity\n8\n0\n100\nAcDb3dPolyline\n66\n1\n70\n0\n"
         "0\nVERTEX\n5\n21\n100\nAcDbEntity\n8\n0\n100\nAcDbVertex\n100\nAcDb2dVertex\n10\n1\n20\n2\n30\n0\n"
         "0\nSEQEND\n5\n22\n100\nAcDbEntity\n8\n0\n",
         {"POLYLINE", "AcDbEntity", "AcDb3dPolyline", "VERTEX", "AcDbEntity", "AcDbVertex", "AcDb2dVertex",
          "SEQEND"}},
    };
    for (const Row& row : rows) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(header + row.entities + tail, error)) << error.toString();
        EXPECT_EQ(writtenSequence(database, 0), row.markers) << row.what;
    }
}

} // namespace
