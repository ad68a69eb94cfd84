// A drawing made current for the matching tests, with private settings, and a runner that puts chosen
// entities into a set, runs the extended filter over it and checks that the rewritten set and the id
// list agree in order.
#pragma once

#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "quelto/matching/entity_extend_filter.h"
#include "tests/filter/filter_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace matching_test {

using Ids = std::vector<AcDbObjectId>;

// Members of a set in order.
inline Ids setMembers(const ads_name set) {
    Ids members;
    std::int32_t length = 0;
    acedSSLength(set, &length);
    for (std::int32_t index = 0; index < length; ++index) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(set, index, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) {
            members.push_back(id);
        }
    }
    return members;
}

class MatchingDrawing : public testing::Test {
protected:
    void SetUp() override {
        m_editor.database = &m_database;
        cad::ed::setCurrentEditor(&m_editor);
        // World coordinates unless a test asks for the user system.
        CQLTSystemParam().SetUseUserCoord(0);
    }
    void TearDown() override { cad::ed::setCurrentEditor(nullptr); }

    AcDbObjectId add(AcDbEntity* entity, AcDbObjectId space = AcDbObjectId()) {
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(acdbOpenObject(record, space.isNull() ? m_database.modelSpaceId() : space, AcDb::kForWrite),
                  Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        entity->close();
        record->close();
        return id;
    }

    AcDbObjectId addBlockDefinition(const wchar_t* name) {
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

    // Runs the engine loaded from `filter` over a set of `candidates` and answers the ids it kept,
    // checking that the set was rewritten to the same entities in the same order.
    Ids run(const CFilter& filter, const CString& typeName, const Ids& candidates,
            bool batchVariant = false) {
        ads_name set;
        acedSSAdd(nullptr, nullptr, set);
        for (const AcDbObjectId& id : candidates) {
            ads_name name;
            acdbGetAdsName(name, id);
            acedSSAdd(name, set, set);
        }
        CEntityExtendFilter engine;
        if (batchVariant) {
            engine.LoadFromBatchFilter(filter);
        } else {
            engine.LoadFromFilter(filter);
        }
        AcDbObjectIdArray ids;
        EXPECT_EQ(engine.FilterSelection(set, typeName, ids), 1);
        const Ids kept(ids.begin(), ids.end());
        EXPECT_EQ(setMembers(set), kept) << "the rewritten set and the id list differ";
        acedSSFree(set);
        return kept;
    }

    // A record with the type criterion on and one row per (id, letter, operator, value).
    struct RowText {
        int propertyId;
        const wchar_t* op;
        const wchar_t* value;
    };
    static CFilter rowsFilter(std::initializer_list<RowText> rows, int logicMode = 0,
                              const CString& logic = {}) {
        CFilter filter;
        filter.m_bType = 1;
        int letter = 0;
        for (const RowText& row : rows) {
            filter.m_arrPropId.push_back(row.propertyId);
            filter.m_arrPropRow.push_back(letter++);
            filter.m_arrPropOp.push_back(row.op);
            filter.m_arrPropValue.push_back(row.value);
        }
        filter.m_bLogic = logicMode != 0 ? 1 : 0;
        filter.m_nLogicMode = logicMode;
        filter.m_strLogic = logic;
        return filter;
    }

    filter_test::IsolatedSettings m_settings;
    AcDbDatabase m_database;
    cad::ed::EditorState m_editor;
};

} // namespace matching_test
