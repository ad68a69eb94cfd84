// Filling "<本次模板>" from a template entity: the settings' preselection and grouping, then every field
// the template gives, for a template in model space and one in a paper-space layout, and the record
// without a template.

#include "quelto/catalogue/template_filter.h"
#include "quelto/filter/qlt_system_param.h"
#include "tests/actions/host_drawing.h"
#include "tests/filter/filter_test_support.h"

#include <gtest/gtest.h>

namespace {

class TemplateFilter : public hosttest::HostDrawing {
protected:
    void SetUp() override {
        HostDrawing::SetUp();
        m_parameters.SetHasFreedom(0);
    }
    void expectAdvancedOff(const CFilter& filter) {
        EXPECT_EQ(filter.m_bLineWeight, 0);
        EXPECT_EQ(filter.m_bSpace, 0);
        EXPECT_EQ(filter.m_bLineType, 0);
        EXPECT_EQ(filter.m_bLtScale, 0);
        EXPECT_EQ(filter.m_bVisible, 0);
        EXPECT_EQ(filter.m_bPlanar, 0);
        EXPECT_EQ(filter.m_bWidth, 0);
        EXPECT_EQ(filter.m_bHeight, 0);
        for (const CString* op : {&filter.m_strColorOp, &filter.m_strLineWeightOp, &filter.m_strSpaceOp,
                                  &filter.m_strLineTypeOp, &filter.m_strLtScaleOp, &filter.m_strVisibleOp,
                                  &filter.m_strPlanarOp, &filter.m_strWidthOp, &filter.m_strHeightOp}) {
            EXPECT_EQ(*op, L"=");
        }
    }

    filter_test::IsolatedSettings m_settings;
    CQLTSystemParam m_parameters;
    CInfoMapList m_catalogue;
};

TEST_F(TemplateFilter, ModelSpaceTemplateFillsEveryCriterion) {
    m_parameters.SetPickOperator(2);
    m_parameters.SetSelectFromAll(0);
    m_parameters.SetLastGroupOperator(1);
    m_parameters.SetGroupOperator(3);
    m_parameters.SetGroupName(L"外墙");
    auto* line = new AcDbLine(AcGePoint3d(1, 2, 0), AcGePoint3d(7, 10, 0));
    line->setLayer(L"墙");
    line->setColorIndex(3);
    line->setLineWeight(AcDb::kLnWt035);
    line->setLinetype(L"DASHED");
    line->setLinetypeScale(2.5);
    line->setVisibility(AcDb::kInvisible);
    const AcDbObjectId id = add(line);

    CFilter filter;
    filter.m_strName = L"<本次模板>";
    filter.m_arrPropId.push_back(201);
    filter.m_arrPropRow.push_back(0);
    filter.m_arrPropOp.push_back(L"=");
    filter.m_arrPropValue.push_back(L"1");
    ASSERT_TRUE(FillFilterFromTemplate(filter, id, m_catalogue));
    EXPECT_EQ(filter.m_strName, L"<本次模板>");
    EXPECT_EQ(filter.m_bSelectFromAll, 0);
    EXPECT_EQ(filter.m_nGroupMode, 3);
    EXPECT_EQ(filter.m_strGroupName, L"外墙");
    EXPECT_EQ(filter.m_bType, 1);
    EXPECT_EQ(filter.m_bLayer, 1);
    EXPECT_EQ(filter.m_bColor, 1);
    expectAdvancedOff(filter);
    EXPECT_EQ(filter.m_strType, L"直线");
    EXPECT_EQ(filter.m_strLayer, L"墙");
    EXPECT_EQ(filter.m_nColor, 3);
    EXPECT_EQ(filter.m_nLineWeight, 35);
    EXPECT_EQ(filter.m_strLineType, L"DASHED");
    EXPECT_EQ(filter.m_dLtScale, 2.5);
    EXPECT_EQ(filter.m_nVisibility, 1);
    EXPECT_EQ(filter.m_nPlanar, 1);
    EXPECT_EQ(filter.m_strSpace, L"Model");
    EXPECT_DOUBLE_EQ(filter.m_dWidth, 6.0);
    EXPECT_DOUBLE_EQ(filter.m_dHeight, 8.0);
    // No property row is made; the catalogue holds the template's values for the property page.
    EXPECT_TRUE(filter.m_arrPropId.empty());
    EXPECT_TRUE(filter.m_arrPropValue.empty());
    EXPECT_EQ(m_catalogue.FindEntityInfo(L"LINE", 0)->props[12].value, L"10");
    EXPECT_EQ(m_catalogue.currentObject, id);
}

TEST_F(TemplateFilter, PaperSpaceTemplateNamesItsLayoutAndMeasuresTrueTypeTextTruly) {
    m_parameters.SetPickOperator(1);
    m_parameters.SetLastGroupOperator(0);
    m_parameters.SetGroupOperator(4);
    addTextStyle(L"TT", "Arial");
    addTextStyle(L"SHX");
    const auto makeText = [](const wchar_t* style) {
        auto* text = new AcDbText;
        text->setTextString(L"图框 A3");
        text->setHeight(5.0);
        text->setWidthFactor(0.8);
        text->setTextStyleName(style);
        return text;
    };
    const AcDbObjectId trueType = add(makeText(L"TT"), m_database.paperSpaceId());
    const AcDbObjectId shapeFont = add(makeText(L"SHX"), m_database.paperSpaceId());
    CFilter reference;
    ASSERT_TRUE(FillFilterFromTemplate(reference, shapeFont, m_catalogue));
    CFilter filter;
    ASSERT_TRUE(FillFilterFromTemplate(filter, trueType, m_catalogue));
    EXPECT_EQ(filter.m_bSelectFromAll, 1);
    EXPECT_EQ(filter.m_nGroupMode, 0);
    EXPECT_EQ(filter.m_strType, L"单行文本");
    EXPECT_EQ(filter.m_strSpace, L"Layout1");
    EXPECT_EQ(filter.m_nColor, 256);
    EXPECT_EQ(filter.m_strLayer, L"0");
    expectAdvancedOff(filter);
    EXPECT_GT(filter.m_dWidth, 0.0);
    EXPECT_NEAR(filter.m_dWidth, reference.m_dWidth, 1e-9);
    EXPECT_NEAR(filter.m_dHeight, reference.m_dHeight, 1e-9);
    EXPECT_EQ(m_catalogue.FindEntityInfo(L"TEXT", 0)->props[14].value, L"图框 A3");
}

TEST_F(TemplateFilter, WithoutATemplateOnlyTheSettingsApply) {
    m_parameters.SetPickOperator(0);
    m_parameters.SetLastGroupOperator(1);
    m_parameters.SetGroupOperator(2);
    m_parameters.SetGroupName(L"G");
    CFilter filter;
    filter.m_bType = 1;
    filter.m_strLayer = L"old";
    filter.m_bSelectFromAll = 1;
    auto* erased = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1);
    const AcDbObjectId erasedId = add(erased);
    AcDbEntity* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(opened, erasedId, AcDb::kForWrite), Acad::eOk);
    opened->erase();
    opened->close();
    for (const AcDbObjectId id : {AcDbObjectId(), erasedId, m_database.modelSpaceId()}) {
        EXPECT_FALSE(FillFilterFromTemplate(filter, id, m_catalogue));
        EXPECT_EQ(filter.m_bType, 0);
        EXPECT_EQ(filter.m_strType, L"直线");
        EXPECT_EQ(filter.m_strLayer, L"0");
        EXPECT_EQ(filter.m_strColorOp, L"");
        EXPECT_EQ(filter.m_strSpace, L"[*模型*]");
        EXPECT_EQ(filter.m_bSelectFromAll, 0);
        EXPECT_EQ(filter.m_nGroupMode, 2);
        EXPECT_EQ(filter.m_strGroupName, L"G");
    }
}

} // namespace
