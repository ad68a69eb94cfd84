// A new drawing made the host's current one for the length of a test, with helpers to add entities to
// its spaces and blocks, to add text styles, and to set the current user coordinate system. Shared by
// the module's tests that read entities through the host interface.
#pragma once

#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace hosttest {

class HostDrawing : public testing::Test {
protected:
    void SetUp() override {
        m_editor.database = &m_database;
        cad::ed::setCurrentEditor(&m_editor);
    }
    void TearDown() override { cad::ed::setCurrentEditor(nullptr); }

    AcDbObjectId add(AcDbEntity* entity, AcDbObjectId space = AcDbObjectId()) {
        if (space.isNull()) {
            space = m_database.modelSpaceId();
        }
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(acdbOpenObject(record, space, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        entity->close();
        record->close();
        return id;
    }

    AcDbObjectId addBlock(const wchar_t* name) {
        AcDbBlockTable* blocks = nullptr;
        EXPECT_EQ(acdbOpenObject(blocks, m_database.blockTableId(), AcDb::kForWrite), Acad::eOk);
        auto* definition = new AcDbBlockTableRecord;
        definition->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(blocks->add(id, definition), Acad::eOk);
        definition->close();
        blocks->close();
        return id;
    }

    // A text style; with a typeface it is a TrueType style, as the host records one (extended data of
    // application ACAD: the typeface and its flags).
    AcDbObjectId addTextStyle(const wchar_t* name, const char* typeface = nullptr) {
        AcDbTextStyleTable* styles = nullptr;
        EXPECT_EQ(acdbOpenObject(styles, m_database.textStyleTableId(), AcDb::kForWrite), Acad::eOk);
        auto* style = new AcDbTextStyleTableRecord;
        style->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(styles->add(id, style), Acad::eOk);
        if (typeface != nullptr) {
            std::vector<cad::dxf::OwnedTag> data;
            data.emplace_back(cad::dxf::Tag::makeString(1001, "ACAD"));
            data.emplace_back(cad::dxf::Tag::makeString(1000, typeface));
            data.emplace_back(cad::dxf::Tag::makeInteger(1071, 0x2000022));
            EXPECT_EQ(style->setXData(data), Acad::eOk);
        }
        style->close();
        styles->close();
        return id;
    }

    // The current user system of model space: rotated by `angle` radians about Z at `origin`.
    void setUserSystem(const AcGePoint3d& origin, double angle) {
        cad::ed::UserCoordinateSystem system;
        system.origin = origin;
        cad::ed::setUserCoordinateSystem(m_database, false, system.rotatedAboutZ(angle));
    }

    AcDbDatabase m_database;
    cad::ed::EditorState m_editor;
};

} // namespace hosttest
