// Entity classes: which class each DXF type becomes, the values the accessors answer for known groups,
// changes that are saved and read back, and the DXF data list handed to acdbEntGetX.
#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/dictionary.h"
#include "cad/db/entity_data.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/ge/extents.h"
#include "db_test_support.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A drawing with only an ENTITIES section holding `entityGroups` (code and value lines).
std::string entitiesFile(const std::string& entityGroups) {
    return "0\nSECTION\n2\nENTITIES\n" + entityGroups + "0\nENDSEC\n0\nEOF\n";
}

const AcDbEntity* firstEntity(const AcDbDatabase& database) {
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    if (model == nullptr || model->entityIds().empty()) {
        return nullptr;
    }
    return AcDbEntity::cast(database.peekObject(model->entityIds().front()));
}

std::vector<const AcDbEntity*> allEntities(const AcDbDatabase& database) {
    std::vector<const AcDbEntity*> entities;
    for (const AcDbObjectId& recordId : database.blockRecordIds()) {
        const auto* record = AcDbBlockTableRecord::cast(database.peekObject(recordId));
        for (const AcDbObjectId& id : record->entityIds()) {
            const auto* entity = AcDbEntity::cast(database.peekObject(id));
            entities.push_back(entity);
            if (entity->sequence() == nullptr) {
                continue;
            }
            for (const AcDbObjectId& child : entity->sequence()->entities) {
                entities.push_back(AcDbEntity::cast(database.peekObject(child)));
            }
        }
    }
    return entities;
}

TEST(Entities, EveryDxfTypeBecomesItsHostClass) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    const std::map<std::string, AcRxClass*> expected{{"LINE", AcDbLine::desc()},
                                                     {"LWPOLYLINE", AcDbPolyline::desc()},
                                                     {"RAY", AcDbRay::desc()},
                                                     {"XLINE", AcDbXline::desc()},
                                                     {"MLINE", AcDbMline::desc()},
                                                     {"SPLINE", AcDbSpline::desc()},
                                                     {"CIRCLE", AcDbCircle::desc()},
                                                     {"ARC", AcDbArc::desc()},
                                                     {"ELLIPSE", AcDbEllipse::desc()},
                                                     {"TEXT", AcDbText::desc()},
                                                     {"MTEXT", AcDbMText::desc()},
                                                     {"DIMENSION", AcDbDimension::desc()},
                                                     {"HATCH", AcDbHatch::desc()},
                                                     {"REGION", AcDbRegion::desc()},
                                                     {"INSERT", AcDbBlockReference::desc()},
                                                     {"ATTRIB", AcDbAttribute::desc()},
                                                     {"POINT", AcDbPoint::desc()},
                                                     {"IMAGE", AcDbRasterImage::desc()},
                                                     {"WIPEOUT", AcDbWipeout::desc()},
                                                     {"SHAPE", AcDbShape::desc()},
                                                     {"VIEWPORT", AcDbViewport::desc()},
                                                     {"POLYLINE", AcDbPolylineEntity::desc()},
                                                     {"VERTEX", AcDbVertex::desc()},
                                                     {"3DFACE", AcDbGenericEntity::desc()},
                                                     {"SOLID", AcDbGenericEntity::desc()},
                                                     {"LEADER", AcDbGenericEntity::desc()},
                                                     {"ATTDEF", AcDbAttributeDefinition::desc()}};
    std::set<std::string> seen;
    for (const char* file : {"generated/all_entities_R2010.dxf", "generated/region_placeholder_R2000.dxf"}) {
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxf(quelto::testing::corpusDirectory() / file, error)) << error.toString();
        for (const AcDbEntity* entity : allEntities(database)) {
            const auto found = expected.find(entity->dxfName());
            if (found == expected.end()) {
                continue;
            }
            EXPECT_TRUE(entity->isKindOf(found->second)) << entity->dxfName();
            seen.insert(entity->dxfName());
        }
    }
    for (const auto& [name, description] : expected) {
        EXPECT_TRUE(seen.count(name) == 1) << name << " not in the drawings";
    }
}

TEST(Entities, ConstructionLinesAreNoRays) {
    AcDbXline xline;
    AcDbRay ray;
    EXPECT_EQ(AcDbRay::cast(&xline), nullptr);
    EXPECT_EQ(AcDbXline::cast(&ray), nullptr);
    EXPECT_NE(AcDbCurve::cast(&xline), nullptr);
    AcDbExtents box;
    EXPECT_EQ(xline.getGeomExtents(box), Acad::eInvalidExtents);
}

TEST(Entities, TextCopiesMeasureWithTheirOriginalsStyle) {
    const std::string file =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\n"
        "STYLE\n5\n3\n70\n1\n0\nSTYLE\n5\n11\n2\nTT\n70\n0\n3\narial.ttf\n1001\nACAD\n1000\nArial\n1071\n34\n"
        "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n20\n8\n0\n10\n0\n20\n0\n30\n0\n40\n2\n"
        "1\nWIDE\n41\n3\n7\nTT\n0\nENDSEC\n0\nEOF\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(file, error)) << error.toString();
    const auto* text = AcDbText::cast(firstEntity(database));
    ASSERT_NE(text, nullptr);
    std::unique_ptr<AcDbEntity> copy(text->clone());
    const auto* copiedText = AcDbText::cast(copy.get());
    ASSERT_NE(copiedText, nullptr);
    EXPECT_EQ(copiedText->database(), nullptr);
    EXPECT_EQ(copiedText->textStyle(), text->textStyle());
    AcDbExtents original;
    AcDbExtents copied;
    ASSERT_EQ(text->getGeomExtents(original), Acad::eOk);
    ASSERT_EQ(copiedText->getGeomExtents(copied), Acad::eOk);
    EXPECT_TRUE(original.maxPoint() == copied.maxPoint());
    EXPECT_TRUE(original.minPoint() == copied.minPoint());
}

TEST(Entities, LeaveTheGroupsOfAnEmbeddedObjectToIt) {
    const std::string groups =
        "0\nMTEXT\n5\n40\n100\nAcDbEntity\n8\n0\n100\nAcDbMText\n10\n5\n20\n6\n30\n0\n40\n2\n"
        "41\n100\n71\n1\n72\n5\n1\nText\n73\n1\n44\n1\n101\nEmbedded Object\n70\n1\n10\n1\n"
        "20\n0\n30\n0\n11\n0.8\n21\n0.6\n31\n0\n40\n9\n";
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(database.readDxfBuffer(entitiesFile(groups), error)) << error.toString();
    const auto* text = AcDbMText::cast(firstEntity(database));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->rotation(), 0.0);
    EXPECT_EQ(text->textHeight(), 2.0);
    EXPECT_EQ(text->location().x, 5.0);
    // Saved back in place, behind the marker.
    const std::string saved = dbtest::saveToBytes(database);
    ASSERT_NE(saved.find("Embedded Object"), std::string::npos);
    EXPECT_LT(saved.find("Embedded Object"), saved.find("\n0.8"));
}

TEST(Entities, AnswerTheirGroupsThroughTheHostAccessors) {
    constexpr double kPi = 3.141592653589793;
    struct Case {
        const char* name;
        std::string groups;
        std::function<void(const AcDbEntity&)> check;
    };
    const Case cases[] = {
        {"line without colour or linetype", "0\nLINE\n8\nWALLS\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n",
         [](const AcDbEntity& entity) {
             const auto& line = *AcDbLine::cast(&entity);
             EXPECT_EQ(line.layer(), L"WALLS");
             EXPECT_EQ(line.colorIndex(), 256);
             EXPECT_EQ(line.linetype(), L"BYLAYER");
             EXPECT_EQ(line.lineWeight(), AcDb::kLnWtByLayer);
             EXPECT_EQ(line.visibility(), AcDb::kVisible);
             EXPECT_EQ(line.startPoint().z, 3.0);
             EXPECT_EQ(line.endPoint().y, 5.0);
         }},
        {"common properties given",
         "0\nCIRCLE\n8\n0\n6\nDASHED\n62\n1\n370\n50\n48\n2.5\n60\n1\n10\n0\n20\n0\n30\n0\n40\n2\n",
         [](const AcDbEntity& entity) {
             EXPECT_EQ(entity.colorIndex(), 1);
             EXPECT_EQ(entity.linetype(), L"DASHED");
             EXPECT_EQ(entity.lineWeight(), AcDb::kLnWt050);
             EXPECT_EQ(entity.linetypeScale(), 2.5);
             EXPECT_EQ(entity.visibility(), AcDb::kInvisible);
             EXPECT_EQ(AcDbCircle::cast(&entity)->radius(), 2.0);
         }},
        {"arc angles in radians", "0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n50\n90\n51\n180\n",
         [=](const AcDbEntity& entity) {
             EXPECT_NEAR(AcDbArc::cast(&entity)->startAngle(), kPi / 2, 1e-12);
             EXPECT_NEAR(AcDbArc::cast(&entity)->endAngle(), kPi, 1e-12);
         }},
        {"text flags and modes",
         "0\nTEXT\n8\n0\n10\n1\n20\n1\n30\n0\n40\n2.5\n1\n12.5 m\n50\n30\n71\n6\n72\n2\n73\n3\n",
         [=](const AcDbEntity& entity) {
             const auto& text = *AcDbText::cast(&entity);
             EXPECT_EQ(text.textString(), L"12.5 m");
             EXPECT_TRUE(text.isMirroredInX());
             EXPECT_TRUE(text.isMirroredInY());
             EXPECT_EQ(text.horizontalMode(), AcDb::kTextRight);
             EXPECT_EQ(text.verticalMode(), AcDb::kTextTop);
             EXPECT_NEAR(text.rotation(), kPi / 6, 1e-12);
             EXPECT_EQ(text.textStyleName(), L"STANDARD");
         }},
        {"mtext chunks joined",
         "0\nMTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n3\nfirst \n3\nsecond \n1\nlast\n72\n3\n73\n2\n",
         [](const AcDbEntity& entity) {
             const auto& text = *AcDbMText::cast(&entity);
             EXPECT_EQ(text.contents(), L"first second last");
             EXPECT_EQ(text.flowDirection(), AcDbMText::kTtoB);
             EXPECT_EQ(text.lineSpacingStyle(), 2);
         }},
        {"lightweight polyline vertices",
         "0\nLWPOLYLINE\n8\n0\n90\n2\n70\n1\n10\n0\n20\n0\n40\n1\n41\n2\n10\n5\n20\n0\n42\n0.5\n",
         [](const AcDbEntity& entity) {
             const auto& polyline = *AcDbPolyline::cast(&entity);
             ASSERT_EQ(polyline.numVerts(), 2U);
             EXPECT_TRUE(polyline.isClosed());
             EXPECT_FALSE(polyline.isOnlyLines());
             double start = 0.0;
             double end = 0.0;
             EXPECT_EQ(polyline.getWidthsAt(0, start, end), Acad::eOk);
             EXPECT_EQ(end, 2.0);
             double bulge = 0.0;
             EXPECT_EQ(polyline.getBulgeAt(1, bulge), Acad::eOk);
             EXPECT_EQ(bulge, 0.5);
             EXPECT_EQ(polyline.getBulgeAt(2, bulge), Acad::eInvalidIndex);
         }},
        {"aligned dimension by kind",
         "0\nDIMENSION\n8\n0\n2\n*D1\n10\n0\n20\n0\n30\n0\n11\n5\n21\n1\n31\n0\n70\n33\n42\n10\n1\n<> "
         "mm\n3\nISO\n",
         [](const AcDbEntity& entity) {
             ASSERT_TRUE(AcDbAlignedDimension::cast(&entity) != nullptr);
             const auto& dimension = *AcDbDimension::cast(&entity);
             EXPECT_EQ(dimension.measurement(), 10.0);
             EXPECT_EQ(dimension.dimensionText(), L"<> mm");
             EXPECT_EQ(dimension.dimensionStyleName(), L"ISO");
             EXPECT_EQ(dimension.textPosition().x, 5.0);
         }},
        {"viewport flags",
         "0\nVIEWPORT\n8\n0\n10\n1\n20\n2\n30\n0\n40\n100\n41\n50\n68\n1\n69\n2\n12\n0\n22\n0\n45\n25\n90\n81"
         "920\n",
         [](const AcDbEntity& entity) {
             const auto& viewport = *AcDbViewport::cast(&entity);
             EXPECT_TRUE(viewport.isOn());
             EXPECT_TRUE(viewport.isLocked());
             EXPECT_TRUE(viewport.isNonRectClipOn());
             EXPECT_EQ(viewport.customScale(), 2.0);
         }},
        {"hatch pattern",
         "0\nHATCH\n8\n0\n10\n0\n20\n0\n30\n4\n2\nANSI31\n70\n0\n71\n1\n91\n0\n75\n1\n76\n1\n52\n45\n41\n2\n",
         [=](const AcDbEntity& entity) {
             const auto& hatch = *AcDbHatch::cast(&entity);
             EXPECT_EQ(hatch.patternName(), L"ANSI31");
             EXPECT_TRUE(hatch.associative());
             EXPECT_EQ(hatch.hatchStyle(), AcDbHatch::kOuter);
             EXPECT_NEAR(hatch.patternAngle(), kPi / 4, 1e-12);
             EXPECT_EQ(hatch.patternScale(), 2.0);
             EXPECT_EQ(hatch.elevation(), 4.0);
         }},
        {"unknown class keeps its groups", "0\nACME_WIDGET\n8\nPARTS\n62\n3\n90\n7\n1\nvalue\n",
         [](const AcDbEntity& entity) {
             EXPECT_TRUE(AcDbGenericEntity::cast(&entity) != nullptr);
             EXPECT_EQ(entity.dxfName(), "ACME_WIDGET");
             EXPECT_EQ(entity.layer(), L"PARTS");
             EXPECT_EQ(entity.colorIndex(), 3);
             ASSERT_EQ(entity.extraTags().size(), 2U);
             EXPECT_EQ(entity.extraTags()[1].text, "value");
         }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxfBuffer(entitiesFile(testCase.groups), error)) << error.toString();
        const AcDbEntity* entity = firstEntity(database);
        ASSERT_NE(entity, nullptr);
        testCase.check(*entity);
    }
}

TEST(Entities, ChangesAreSavedAndReadBack) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxf(quelto::testing::corpusDirectory() / "generated/all_entities_R2018.dxf", error))
        << error.toString();
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    AcDbObjectId lineId;
    AcDbObjectId polylineId;
    AcDbObjectId erasedId;
    for (const AcDbObjectId& id : model->entityIds()) {
        const AcDbObject* object = database.peekObject(id);
        if (lineId.isNull() && AcDbLine::cast(object) && AcDbLine::cast(object)->colorIndex() == 256) {
            lineId = id;
        } else if (polylineId.isNull() && AcDbPolyline::cast(object)) {
            polylineId = id;
        } else if (erasedId.isNull() && AcDbCircle::cast(object)) {
            erasedId = id;
        }
    }
    ASSERT_FALSE(lineId.isNull() || polylineId.isNull() || erasedId.isNull());
    AcDbLine* line = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(line, lineId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(line->setColorIndex(5), Acad::eOk);
    EXPECT_EQ(line->setLayer(L"新图层"), Acad::eOk);
    EXPECT_EQ(line->setEndPoint(AcGePoint3d(7, 8, 9)), Acad::eOk);
    line->close();
    AcDbPolyline* polyline = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(polyline, polylineId, AcDb::kForWrite), Acad::eOk);
    const unsigned int vertices = polyline->numVerts();
    EXPECT_EQ(polyline->addVertexAt(vertices, AcGePoint2d(100, 200), 0.25), Acad::eOk);
    polyline->close();
    AcDbObject* erased = nullptr;
    ASSERT_EQ(cad::db::openObject(erased, erasedId, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(erased->erase(), Acad::eOk);
    erased->close();

    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxfBuffer(dbtest::saveToBytes(database), error, "saved")) << error.toString();
    const auto* savedLine = AcDbLine::cast(reopened.peekObject(reopened.objectIdOf(lineId.handle())));
    ASSERT_NE(savedLine, nullptr);
    EXPECT_EQ(savedLine->colorIndex(), 5);
    EXPECT_EQ(savedLine->layer(), L"新图层");
    EXPECT_EQ(savedLine->endPoint().z, 9.0);
    const auto* savedPolyline =
        AcDbPolyline::cast(reopened.peekObject(reopened.objectIdOf(polylineId.handle())));
    ASSERT_NE(savedPolyline, nullptr);
    ASSERT_EQ(savedPolyline->numVerts(), vertices + 1);
    AcGePoint2d last;
    savedPolyline->getPointAt(vertices, last);
    EXPECT_EQ(last.y, 200.0);
    EXPECT_TRUE(reopened.objectIdOf(erasedId.handle()).isNull());
}

TEST(Entities, SavedBinaryReadsBackAsTheSameDrawing) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(
        database.readDxf(quelto::testing::corpusDirectory() / "generated/all_entities_R2010.dxf", error))
        << error.toString();
    AcDbDatabase reopened(false);
    ASSERT_TRUE(
        reopened.readDxfBuffer(dbtest::saveToBytes(database, cad::dxf::DxfFormat::Binary), error, "binary"))
        << error.toString();
    EXPECT_EQ(reopened.formatRead(), cad::dxf::DxfFormat::Binary);
    EXPECT_EQ(dbtest::saveToBytes(reopened), dbtest::saveToBytes(database));
}

TEST(Entities, GiveTheirDataListLikeEntGet) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    const std::string groups = "0\nLINE\n5\n2A\n8\n图层\n10\n1\n20\n2\n30\n0\n11\n3\n21\n4\n31\n0\n"
                               "1001\nQUELTO\n1000\n附加\n1070\n7\n";
    ASSERT_TRUE(database.readDxfBuffer(
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n" + entitiesFile(groups), error))
        << error.toString();
    const AcDbEntity* line = firstEntity(database);
    ASSERT_NE(line, nullptr);
    const std::vector<cad::db::DataTag> list = cad::db::objectDataList(*line);
    ASSERT_GE(list.size(), 4U);
    EXPECT_EQ(list[0].tag.code, -1);
    EXPECT_EQ(list[0].id, line->objectId());
    EXPECT_EQ(list[1].tag.code, 0);
    EXPECT_EQ(list[1].tag.text, "LINE");
    std::vector<int> codes;
    for (const cad::db::DataTag& item : list) {
        codes.push_back(item.tag.code);
    }
    EXPECT_EQ(codes, (std::vector<int>{-1, 0, 5, 8, 10, 20, 30, 11, 21, 31, 1001, 1000, 1070}));
    EXPECT_EQ(list[3].tag.text, "图层");
    EXPECT_EQ(list[11].tag.text, "附加");
    EXPECT_EQ(line->xData("QUELTO").size(), 3U);
}

TEST(Entities, ReplaceTheirExtendedDataInPlace) {
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    const std::string groups = "0\nPOINT\n8\n0\n10\n0\n20\n0\n30\n0\n1001\nA\n1000\nold\n1001\nB\n1070\n1\n";
    ASSERT_TRUE(database.readDxfBuffer(entitiesFile(groups), error)) << error.toString();
    AcDbEntity* point = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(point, firstEntity(database)->objectId(), AcDb::kForWrite), Acad::eOk);
    std::vector<cad::dxf::OwnedTag> replacement(2);
    replacement[0] = cad::dxf::OwnedTag(cad::dxf::Tag::makeString(1001, "A"));
    replacement[1] = cad::dxf::OwnedTag(cad::dxf::Tag::makeString(1000, "new"));
    EXPECT_EQ(point->setXData(replacement), Acad::eOk);
    point->close();
    AcDbDatabase reopened(false);
    ASSERT_TRUE(reopened.readDxfBuffer(dbtest::saveToBytes(database), error)) << error.toString();
    const std::vector<cad::dxf::OwnedTag> data = firstEntity(reopened)->xData();
    ASSERT_EQ(data.size(), 4U);
    EXPECT_EQ(data[0].text, "B");
    EXPECT_EQ(data[3].text, "new");
}

} // namespace
