// Batch edits on every kind of entity of a real drawing: where the reference point lies for each of the
// ten positions and the offset units, what each edit leaves (coordinates computed here, independently
// of the host's transforms), explode and erase counts, the confirmation and the command-line lines.
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "cad/ge/extents.h"
#include "edit_drawing.h"
#include "quelto/actions/extend_command.h"
#include "quelto/filter/qlt_system_param.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using actiontest::EditDrawing;

constexpr double kTolerance = 1e-6;

void expectPoint(const AcGePoint3d& actual, double x, double y, double z, const std::string& what) {
    EXPECT_NEAR(actual.x, x, kTolerance) << what;
    EXPECT_NEAR(actual.y, y, kTolerance) << what;
    EXPECT_NEAR(actual.z, z, kTolerance) << what;
}

class ExtendCommand : public EditDrawing {
protected:
    // A command that runs without asking.
    CExtendCommand command(int doType, const AcDbObjectIdArray& ids) const {
        CExtendCommand result;
        result.m_bHasCmd = 1;
        result.m_bHasPrompt = 0;
        result.m_nDoType = doType;
        result.SetIdArray(ids);
        return result;
    }
    AcDbExtents box(AcDbObjectId id) const {
        AcDbExtents extents;
        EXPECT_EQ(peek<AcDbEntity>(id)->getGeomExtents(extents), Acad::eOk);
        return extents;
    }
    // Every kind with a bounded extents box, by type.
    std::vector<std::pair<std::string, AcDbObjectId>> boundedKinds() const {
        std::vector<std::pair<std::string, AcDbObjectId>> kinds;
        for (const char* kind :
             {"LINE", "ARC", "LWPOLYLINE", "POLYLINE", "TEXT", "INSERT", "DIMENSION", "HATCH"}) {
            kinds.emplace_back(kind, find(kind));
        }
        return kinds;
    }
    // The curve's end points are the two given, in either order.
    void expectEnds(AcDbObjectId id, const AcGePoint3d& one, const AcGePoint3d& other,
                    const std::string& what) const {
        const auto* curve = peek<AcDbCurve>(id);
        AcGePoint3d start;
        AcGePoint3d end;
        ASSERT_EQ(curve->getStartPoint(start), Acad::eOk);
        ASSERT_EQ(curve->getEndPoint(end), Acad::eOk);
        if (start.distanceTo(one) > start.distanceTo(other)) {
            std::swap(start, end);
        }
        expectPoint(start, one.x, one.y, one.z, what + " end");
        expectPoint(end, other.x, other.y, other.z, what + " other end");
    }
    // The newest live model-space entity of the kind.
    AcDbObjectId newest(const std::string& kind) const {
        const auto* model = peek<AcDbBlockTableRecord>(database().modelSpaceId());
        AcDbObjectId found;
        for (const AcDbObjectId& id : model->entityIds()) {
            const AcDbObject* object = database().peekObject(id);
            if (object != nullptr && object->dxfName() == kind) {
                found = id;
            }
        }
        return found;
    }
    // The boxes of the bounded kinds before an edit; `ids` gets the entities in the same order.
    std::vector<AcDbExtents> boundedBoxes(AcDbObjectIdArray& ids) const {
        std::vector<AcDbExtents> boxes;
        for (const auto& [kind, id] : boundedKinds()) {
            boxes.push_back(box(id));
            ids.push_back(id);
        }
        return boxes;
    }
    AcGePoint3d attributePosition(AcDbObjectId insert) const {
        const AcDbSequence* attributes = peek<AcDbEntity>(insert)->sequence();
        return peek<AcDbAttribute>(attributes->entities.front())->position();
    }
    AcGePoint3d vertexPosition(AcDbObjectId polyline, std::size_t index) const {
        return peek<AcDbVertex>(peek<AcDbEntity>(polyline)->sequence()->entities[index])->position();
    }
};

TEST_F(ExtendCommand, ScalesAboutEachOfTheTenReferencePositions) {
    // The arc's box is (20, 0)-(25, 5); positions run down the columns left, centre, right.
    for (int position = 0; position <= 9; ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        reload();
        const AcDbObjectId arc = find("ARC");
        expectPoint(box(arc).minPoint(), 20, 0, 0, "box");
        expectPoint(box(arc).maxPoint(), 25, 5, 0, "box");
        const double baseX = position == 9 ? 0.0 : 20.0 + 2.5 * (position / 3);
        const double baseY = position == 9 ? 0.0 : 2.5 * (position % 3);
        CExtendCommand scale = command(CExtendCommand::kScale, {arc});
        scale.m_nPosIndex = position;
        scale.m_dScaleA = 2.0;
        m_output.clear();
        EXPECT_EQ(scale.Run(), 1);
        expectPoint(peek<AcDbArc>(arc)->center(), baseX + 2.0 * (20.0 - baseX), baseY + 2.0 * (0.0 - baseY),
                    0, "centre");
        EXPECT_NEAR(peek<AcDbArc>(arc)->radius(), 10.0, kTolerance);
        EXPECT_EQ(m_output.transcript(), L"有效选择1个,编辑实体1个\n");
    }
}

TEST_F(ExtendCommand, OffsetsInDrawingUnitsEntityWidthAndEntityHeight) {
    // The bulged polyline's box is (0, 8)-(4, 14): width 4, height 6. Its first vertex (0, 10) is
    // scaled by 2 about the reference point.
    struct Row {
        int position;
        BOOL hasOffset;
        int xUnit;
        double xOffset;
        int yUnit;
        double yOffset;
        double baseX;
        double baseY;
    };
    const std::vector<Row> rows = {
        {8, 1, CExtendCommand::kEntityWidth, 0.5, CExtendCommand::kDrawingUnit, 0.0, 4 + 2, 14},
        {8, 1, CExtendCommand::kDrawingUnit, 3.0, CExtendCommand::kDrawingUnit, -1.0, 4 + 3, 14 - 1},
        {8, 1, CExtendCommand::kEntityHeight, 1.0, CExtendCommand::kEntityWidth, -1.0, 4 + 6, 14 - 4},
        {0, 1, CExtendCommand::kDrawingUnit, 0.0, CExtendCommand::kEntityHeight, 0.5, 0, 8 + 3},
        {8, 0, CExtendCommand::kEntityWidth, 0.5, CExtendCommand::kEntityHeight, 0.5, 4, 14},
        {9, 1, CExtendCommand::kEntityWidth, 0.5, CExtendCommand::kEntityHeight, -1.0, 2, -6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("position " + std::to_string(row.position) + ", units " + std::to_string(row.xUnit) +
                     "/" + std::to_string(row.yUnit));
        reload();
        const AcDbObjectId polyline = find("LWPOLYLINE");
        expectPoint(box(polyline).minPoint(), 0, 8, 0, "box");
        expectPoint(box(polyline).maxPoint(), 4, 14, 0, "box");
        CExtendCommand scale = command(CExtendCommand::kScale, {polyline});
        scale.m_nPosIndex = row.position;
        scale.m_bHasOffset = row.hasOffset;
        scale.m_nXUnit = row.xUnit;
        scale.m_dXOffset = row.xOffset;
        scale.m_nYUnit = row.yUnit;
        scale.m_dYOffset = row.yOffset;
        scale.m_dScaleA = 2.0;
        scale.Run();
        AcGePoint3d first;
        ASSERT_EQ(peek<AcDbPolyline>(polyline)->getPointAt(0, first), Acad::eOk);
        expectPoint(first, row.baseX + 2.0 * (0.0 - row.baseX), row.baseY + 2.0 * (10.0 - row.baseY), 0,
                    "vertex");
    }
}

TEST_F(ExtendCommand, RotatesEveryKindAboutTheOrigin) {
    AcDbObjectIdArray ids;
    const std::vector<AcDbExtents> before = boundedBoxes(ids);
    CExtendCommand rotate = command(CExtendCommand::kRotate, ids);
    rotate.m_nPosIndex = 9;
    rotate.m_dRoateA = 90.0;
    EXPECT_EQ(rotate.Run(), 1);
    EXPECT_EQ(m_output.transcript(), L"有效选择8个,编辑实体8个\n");
    // A quarter turn maps (x, y) to (-y, x), and a box onto a box.
    for (std::size_t index = 0; index < ids.size(); ++index) {
        const std::string kind = boundedKinds()[index].first;
        const AcDbExtents after = box(ids[index]);
        expectPoint(after.minPoint(), -before[index].maxPoint().y, before[index].minPoint().x, 0,
                    kind + " minimum");
        expectPoint(after.maxPoint(), -before[index].minPoint().y, before[index].maxPoint().x, 0,
                    kind + " maximum");
    }
    expectPoint(peek<AcDbLine>(find("LINE", L"A"))->endPoint(), 0, 10, 0, "line end");
    expectPoint(peek<AcDbArc>(find("ARC"))->center(), 0, 20, 0, "arc centre");
    expectPoint(peek<AcDbText>(find("TEXT"))->position(), -20, 0, 0, "text position");
    EXPECT_NEAR(peek<AcDbText>(find("TEXT"))->rotation(), std::numbers::pi / 2, kTolerance);
    expectPoint(peek<AcDbBlockReference>(find("INSERT"))->position(), -10, 40, 0, "insert position");
    EXPECT_NEAR(peek<AcDbBlockReference>(find("INSERT"))->rotation(), std::numbers::pi / 2, kTolerance);
    expectPoint(attributePosition(find("INSERT")), -11.5, 40, 0, "attribute position");
    expectPoint(vertexPosition(find("POLYLINE"), 2), -3, 34, 0, "vertex");
}

TEST_F(ExtendCommand, MirrorsInALineAtTheAxisAngle) {
    // Axis 45 degrees through the origin: (x, y) becomes (y, x), and arcs turn the other way.
    const AcDbObjectIdArray ids = {find("LINE", L"A"), find("ARC"), find("LWPOLYLINE"), find("HATCH")};
    CExtendCommand mirror = command(CExtendCommand::kMirror, ids);
    mirror.m_nPosIndex = 9;
    mirror.m_dAxiusA = 45.0;
    EXPECT_EQ(mirror.Run(), 1);
    expectPoint(peek<AcDbLine>(ids[0])->endPoint(), 0, 10, 0, "line end");
    // Curves are checked through their world points: a mirror image may be stored with a turned normal.
    // The arc from (25, 0) to (20, 5) about (20, 0) now runs from (0, 25) to (5, 20) about (0, 20).
    expectEnds(ids[1], {0, 25, 0}, {5, 20, 0}, "arc");
    // Still a quarter circle: turned the other way round it would cover three quarters.
    expectPoint(box(ids[1]).minPoint(), 0, 20, 0, "arc minimum");
    expectPoint(box(ids[1]).maxPoint(), 5, 25, 0, "arc maximum");
    AcGePoint3d point;
    // The polyline's vertices (0, 10), (4, 10), (4, 14); the bulge between the first two passed (2, 8).
    const double expected[][2] = {{10, 0}, {10, 4}, {14, 4}};
    for (unsigned int vertex = 0; vertex < 3; ++vertex) {
        ASSERT_EQ(peek<AcDbPolyline>(ids[2])->getPointAtParam(vertex, point), Acad::eOk);
        expectPoint(point, expected[vertex][0], expected[vertex][1], 0, "vertex " + std::to_string(vertex));
    }
    ASSERT_EQ(peek<AcDbPolyline>(ids[2])->getPointAtParam(0.5, point), Acad::eOk);
    expectPoint(point, 8, 2, 0, "bulge middle");
    expectPoint(box(ids[3]).minPoint(), 0, 50, 0, "hatch minimum");
    expectPoint(box(ids[3]).maxPoint(), 4, 54, 0, "hatch maximum");

    // About the centre of its box (22.5, 2.5) with a vertical axis: x becomes 45 - x.
    reload();
    CExtendCommand vertical = command(CExtendCommand::kMirror, {find("ARC")});
    vertical.m_nPosIndex = 4;
    vertical.m_dAxiusA = 90.0;
    vertical.Run();
    expectEnds(find("ARC"), {20, 0, 0}, {25, 5, 0}, "arc");
    expectPoint(box(find("ARC")).minPoint(), 20, 0, 0, "arc minimum");
    expectPoint(box(find("ARC")).maxPoint(), 25, 5, 0, "arc maximum");
}

TEST_F(ExtendCommand, MovesEveryKindByTheDisplacement) {
    AcDbObjectIdArray ids;
    const std::vector<AcDbExtents> before = boundedBoxes(ids);
    CExtendCommand move = command(CExtendCommand::kMove, ids);
    move.m_dMoveX = 5.0;
    move.m_dMoveY = -3.0;
    move.m_dMoveZ = 1.0;
    EXPECT_EQ(move.Run(), 1);
    for (std::size_t index = 0; index < ids.size(); ++index) {
        const std::string kind = boundedKinds()[index].first;
        const AcDbExtents after = box(ids[index]);
        const AcGePoint3d low = before[index].minPoint();
        const AcGePoint3d high = before[index].maxPoint();
        expectPoint(after.minPoint(), low.x + 5, low.y - 3, low.z + 1, kind + " minimum");
        expectPoint(after.maxPoint(), high.x + 5, high.y - 3, high.z + 1, kind + " maximum");
    }
    expectPoint(peek<AcDbLine>(ids[0])->startPoint(), 5, -3, 1, "line start");
    expectPoint(peek<AcDbText>(find("TEXT"))->position(), 5, 17, 1, "text position");
    expectPoint(attributePosition(find("INSERT")), 45, 8.5, 1, "attribute position");
    // A flat polyline's vertices lie in its plane; the plane rose to elevation 1.
    expectPoint(vertexPosition(find("POLYLINE"), 1), 39, -3, 0, "vertex");
    EXPECT_NEAR(peek<AcDbPolylineEntity>(find("POLYLINE"))->elevation(), 1.0, kTolerance);
}

TEST_F(ExtendCommand, ScalingIgnoresNothingAtAnElevationOrWithoutExtents) {
    // The reference point has Z 0, so a line at elevation 7 rises to 14.
    const AcDbObjectId raised = find("LINE", L"Z");
    const AcDbObjectId xline = find("XLINE");
    CExtendCommand scale = command(CExtendCommand::kScale, {raised, xline});
    scale.m_nPosIndex = 4;
    scale.m_dScaleA = 2.0;
    EXPECT_EQ(scale.Run(), 1);
    expectPoint(peek<AcDbLine>(raised)->startPoint(), -3, 30, 14, "raised line start");
    expectPoint(peek<AcDbLine>(raised)->endPoint(), 9, 30, 14, "raised line end");
    // An unbounded line has no extents: the edit goes on about the origin.
    expectPoint(peek<AcDbXline>(xline)->basePoint(), 0, 80, 0, "construction line base");
    EXPECT_EQ(m_output.transcript(), L"部分实体编辑出现异常\n有效选择2个,编辑实体2个\n");
}

TEST_F(ExtendCommand, ExplodesPolylinesAndInsertsButNotALine) {
    const AcDbObjectId line = find("LINE", L"A");
    const AcDbObjectIdArray ids = {find("LWPOLYLINE"), find("POLYLINE"), find("INSERT"), line};
    const std::size_t entitiesBefore = liveModelEntities();
    EXPECT_EQ(command(CExtendCommand::kExplode, ids).Run(), 1);
    EXPECT_EQ(m_output.transcript(), L"有效选择4个,编辑实体3个\n");
    for (int index = 0; index < 3; ++index) {
        EXPECT_TRUE(ids[index].isErased()) << index;
    }
    EXPECT_FALSE(line.isErased());
    // Two pieces from each polyline, and the block's line, arc and attribute definition.
    EXPECT_EQ(liveModelEntities(), entitiesBefore - 3 + 2 + 2 + 3);
    const AcDbObjectId side = find("LINE", L"B");
    ASSERT_FALSE(side.isNull());
    expectPoint(peek<AcDbLine>(side)->startPoint(), 4, 10, 0, "polyline side start");
    expectPoint(peek<AcDbLine>(side)->endPoint(), 4, 14, 0, "polyline side end");
    const AcDbObjectId bulge = find("ARC", L"B");
    ASSERT_FALSE(bulge.isNull());
    expectPoint(peek<AcDbArc>(bulge)->center(), 2, 10, 0, "bulge centre");
    EXPECT_NEAR(peek<AcDbArc>(bulge)->radius(), 2.0, kTolerance);
    const AcDbObjectId doorLine = newest("LINE");
    ASSERT_FALSE(doorLine.isNull());
    expectPoint(peek<AcDbLine>(doorLine)->endPoint(), 41, 10, 0, "door line end");
}

TEST_F(ExtendCommand, ErasesAndCountsOnlyWhatItCouldOpen) {
    const AcDbObjectId line = find("LINE", L"A");
    EXPECT_EQ(command(CExtendCommand::kErase, {line, find("TEXT"), line}).Run(), 1);
    EXPECT_TRUE(line.isErased());
    EXPECT_TRUE(find("TEXT").isNull());
    EXPECT_EQ(m_output.transcript(), L"有效选择3个,编辑实体2个\n");
}

TEST_F(ExtendCommand, UnchangedScaleAndUnknownCommandNumbers) {
    const AcDbObjectId arc = find("ARC");
    CExtendCommand unit = command(CExtendCommand::kScale, {arc});
    unit.m_nPosIndex = 4;
    unit.m_dScaleA = 1.0;
    unit.Run();
    expectPoint(peek<AcDbArc>(arc)->center(), 20, 0, 0, "centre");
    EXPECT_EQ(m_output.transcript(), L"有效选择1个,编辑实体1个\n");
    m_output.clear();
    EXPECT_EQ(command(6, {arc}).Run(), 1);
    EXPECT_EQ(m_output.transcript(), L"有效选择1个,编辑实体0个\n");
}

TEST_F(ExtendCommand, AsksFirstAndDoesNothingUnlessTheAnswerIsYes) {
    const AcDbObjectIdArray ids = {find("LINE", L"A"), find("ARC")};
    CExtendCommand mirror = command(CExtendCommand::kMirror, ids);
    mirror.m_bHasPrompt = 1;
    m_boxes.queueAnswer(IDNO);
    EXPECT_EQ(mirror.Run(), 0);
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, L"确实需要对筛选出的2个实体进行镜像（Mirror）批量操作吗？");
    EXPECT_EQ(m_boxes.shown()[0].caption, L"确认继续");
    EXPECT_EQ(m_boxes.shown()[0].buttons(), MB_YESNO);
    EXPECT_EQ(m_boxes.shown()[0].icon(), MB_ICONQUESTION);
    EXPECT_EQ(m_output.transcript(), L"");
    expectPoint(peek<AcDbArc>(ids[1])->center(), 20, 0, 0, "arc centre after No");

    m_boxes.queueAnswer(IDYES);
    EXPECT_EQ(mirror.Run(), 1);
    EXPECT_EQ(m_output.transcript(), L"有效选择2个,编辑实体2个\n");

    // Without HasCmd nothing is asked and nothing is done.
    mirror.m_bHasCmd = 0;
    EXPECT_EQ(mirror.Run(), 0);
    EXPECT_EQ(m_boxes.shown().size(), 2u);
}

TEST_F(ExtendCommand, TakesItsFieldsFromThePreferences) {
    CExtendCommand defaults;
    EXPECT_EQ(defaults.m_bHasCmd, 0);
    EXPECT_EQ(defaults.m_bHasPrompt, 1);
    EXPECT_EQ(defaults.m_nDoType, 1);
    EXPECT_EQ(defaults.m_nPosIndex, 4);
    EXPECT_EQ(defaults.m_dScaleA, 1.0);

    CQLTSystemParam param;
    param.SetHasCmd(1);
    param.SetHasPrompt(0);
    param.SetDoType(4);
    param.SetPosIndex(8);
    param.SetHasOffset(1);
    param.SetXUnit(1);
    param.SetYUnit(2);
    param.SetXOffset(0.5);
    param.SetYOffset(-1.5);
    param.SetMoveX(1.25);
    param.SetMoveY(2.5);
    param.SetMoveZ(-3.75);
    param.SetScaleA(3.0);
    param.SetRoateA(30.0);
    param.SetAxiusA(60.0);
    const CExtendCommand read;
    EXPECT_EQ(std::vector<int>({read.m_bHasCmd, read.m_bHasPrompt, read.m_nDoType, read.m_nPosIndex,
                                read.m_bHasOffset, read.m_nXUnit, read.m_nYUnit}),
              std::vector<int>({1, 0, 4, 8, 1, 1, 2}));
    EXPECT_EQ(std::vector<double>({read.m_dXOffset, read.m_dYOffset, read.m_dMoveX, read.m_dMoveY,
                                   read.m_dMoveZ, read.m_dScaleA, read.m_dRoateA, read.m_dAxiusA}),
              std::vector<double>({0.5, -1.5, 1.25, 2.5, -3.75, 3.0, 30.0, 60.0}));
}

} // namespace
