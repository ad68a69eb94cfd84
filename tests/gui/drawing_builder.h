// Small drawings built in code for the desktop tests: entities appended to a space, layers made on
// demand, and the handle text of an entity for readable expectations.
#pragma once

#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"

#include <gtest/gtest.h>
#include <string>

namespace gui_test {

inline AcDbObjectId append(AcDbDatabase& database, AcDbEntity* entity, AcDbObjectId space = {}) {
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(
        cad::db::openObjectAs(record, space.isNull() ? database.modelSpaceId() : space, AcDb::kForWrite),
        Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    record->close();
    return id;
}

inline AcDbObjectId line(AcDbDatabase& database, double x1, double y1, double x2, double y2) {
    return append(database, new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
}

inline void addLayer(AcDbDatabase& database, const wchar_t* name, int color, bool off, bool frozen) {
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(table, database.layerTableId(), AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbLayerTableRecord();
    record->setName(name);
    record->setColorIndex(static_cast<Adesk::UInt16>(color));
    record->setIsOff(off);
    record->setIsFrozen(frozen);
    AcDbObjectId id;
    ASSERT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
}

inline std::string handleOf(AcDbObjectId id) {
    return id.handle().toHex();
}

} // namespace gui_test
