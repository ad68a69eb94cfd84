// The drawing the editor tests share: a small database made current, with lines and a circle in model
// space, a line in paper space and one inside a block definition, and a helper that runs acedSSGet and
// answers the members.
#pragma once

#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/editor_state.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/selection_set.h"

#include <gtest/gtest.h>
#include <vector>

namespace edtest {

// A new drawing made current: a red line on WALL and a circle on 0 in model space, a line on WALL in
// paper space, and a line on WALL inside a block definition that no selection may reach.
class Drawing : public testing::Test {
protected:
    void SetUp() override {
        m_editor.database = &m_database;
        cad::ed::setCurrentEditor(&m_editor);
        auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
        line->setLayer(L"WALL");
        line->setColorIndex(1);
        m_line = add(line, m_database.modelSpaceId());
        auto* circle = new AcDbCircle(AcGePoint3d(20, 0, 0), AcGeVector3d(0, 0, 1), 5);
        m_circle = add(circle, m_database.modelSpaceId());
        auto* paperLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
        paperLine->setLayer(L"WALL");
        m_paperLine = add(paperLine, m_database.paperSpaceId());

        AcDbBlockTable* blocks = nullptr;
        ASSERT_EQ(cad::db::openObjectAs(blocks, m_database.blockTableId(), AcDb::kForWrite), Acad::eOk);
        auto* definition = new AcDbBlockTableRecord;
        definition->setName(L"DOOR");
        AcDbObjectId definitionId;
        ASSERT_EQ(blocks->add(definitionId, definition), Acad::eOk);
        definition->close();
        blocks->close();
        auto* blockLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
        blockLine->setLayer(L"WALL");
        m_blockLine = add(blockLine, definitionId);
    }
    void TearDown() override { cad::ed::setCurrentEditor(nullptr); }

    AcDbObjectId add(AcDbEntity* entity, AcDbObjectId space) {
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(cad::db::openObjectAs(record, space, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        entity->close();
        record->close();
        return id;
    }

    // A paper-space layout of the name with its own block record; answers the record.
    AcDbObjectId addLayout(const wchar_t* name, const wchar_t* blockName) {
        AcDbBlockTable* blocks = nullptr;
        EXPECT_EQ(cad::db::openObjectAs(blocks, m_database.blockTableId(), AcDb::kForWrite), Acad::eOk);
        auto* record = new AcDbBlockTableRecord;
        record->setName(blockName);
        AcDbObjectId recordId;
        EXPECT_EQ(blocks->add(recordId, record), Acad::eOk);
        blocks->close();
        AcDbDictionary* layouts = nullptr;
        EXPECT_EQ(cad::db::openObjectAs(layouts, m_database.layoutDictionaryId(), AcDb::kForWrite),
                  Acad::eOk);
        auto* layout = new AcDbLayout;
        layout->setLayoutName(name);
        layout->setTabOrder(2);
        layout->setBlockTableRecordId(recordId);
        AcDbObjectId layoutId;
        EXPECT_EQ(layouts->setAt(name, layout, layoutId), Acad::eOk);
        layout->close();
        layouts->close();
        record->setLayoutId(layoutId);
        record->close();
        return recordId;
    }

    // Runs acedSSGet and answers the members (empty when it fails), freeing the set.
    std::vector<AcDbObjectId> select(const wchar_t* mode, resbuf* filter = nullptr,
                                     const double* first = nullptr, const double* second = nullptr,
                                     int* status = nullptr) {
        ads_name set;
        const int result = acedSSGet(mode, first, second, filter, set);
        acutRelRb(filter);
        if (status != nullptr) {
            *status = result;
        }
        std::vector<AcDbObjectId> members;
        if (result != RTNORM) {
            return members;
        }
        std::int32_t length = 0;
        EXPECT_EQ(acedSSLength(set, &length), RTNORM);
        for (std::int32_t index = 0; index < length; ++index) {
            ads_name entity;
            EXPECT_EQ(acedSSName(set, index, entity), RTNORM);
            AcDbObjectId id;
            EXPECT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
            members.push_back(id);
        }
        EXPECT_EQ(acedSSFree(set), RTNORM);
        return members;
    }

    AcDbDatabase m_database;
    cad::ed::EditorState m_editor;
    AcDbObjectId m_line, m_circle, m_paperLine, m_blockLine;
};

using Ids = std::vector<AcDbObjectId>;

} // namespace edtest

using edtest::Drawing;
using edtest::Ids;
