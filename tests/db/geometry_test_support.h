// Drawings for the geometry tests: a drawing read from inline DXF groups, its model-space entities in
// order, and comparisons of points and boxes within a tolerance.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/db/symbol_tables.h"
#include "cad/ge/extents.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace geometrytest {

// A drawing with the given BLOCKS section contents (R12 style, no block records) and ENTITIES groups.
inline std::unique_ptr<AcDbDatabase> drawing(const std::string& entities, const std::string& blocks = {},
                                             const std::string& header = {}) {
    auto database = std::make_unique<AcDbDatabase>(false);
    const std::string file = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n" + header + "0\nENDSEC\n" +
                             "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
                             entities + "0\nENDSEC\n0\nEOF\n";
    cad::dxf::TagError error;
    EXPECT_TRUE(database->readDxfBuffer(file, error)) << error.message;
    return database;
}

inline std::vector<AcDbObjectId> modelEntities(const AcDbDatabase& database) {
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    return model != nullptr ? model->entityIds() : std::vector<AcDbObjectId>{};
}

inline const AcDbEntity* firstEntity(const AcDbDatabase& database) {
    const std::vector<AcDbObjectId> ids = modelEntities(database);
    return ids.empty() ? nullptr : AcDbEntity::cast(database.peekObject(ids.front()));
}

inline void expectPointNear(const AcGePoint3d& actual, const AcGePoint3d& expected, const std::string& what,
                            double tolerance = 1e-7) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

inline void expectBoxNear(const AcDbExtents& actual, const AcGePoint3d& minimum, const AcGePoint3d& maximum,
                          const std::string& what, double tolerance = 1e-7) {
    expectPointNear(actual.minPoint(), minimum, what + " (minimum)", tolerance);
    expectPointNear(actual.maxPoint(), maximum, what + " (maximum)", tolerance);
}

} // namespace geometrytest
