// The entity data list as modules read it: the host's order of the leading groups, the layout groups 67
// and 410 that every entity of a layout carries (and block-definition entities do not), and filters on
// them.

#include "drawing_fixture.h"

#include <string>

namespace {

struct LeadingGroups {
    std::vector<short> codes; // up to and including the layer
    int paperSpace = -1;
    std::wstring layout;
    AcDbObjectId owner;
};

LeadingGroups leadingGroups(AcDbObjectId id) {
    ads_name name;
    acdbGetAdsName(name, id);
    resbuf* data = acdbEntGet(name);
    LeadingGroups groups;
    for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
        groups.codes.push_back(item->restype);
        if (item->restype == 67) {
            groups.paperSpace = item->resval.rint;
        } else if (item->restype == 410) {
            groups.layout = item->resval.rstring;
        } else if (item->restype == 330) {
            acdbGetObjectId(groups.owner, item->resval.rlname);
        } else if (item->restype == 8) {
            break;
        }
    }
    acutRelRb(data);
    return groups;
}

TEST_F(Drawing, DataListNamesTheLayoutOfEveryLayoutEntityInTheHostOrder) {
    const AcDbObjectId plan = addLayout(L"Plan", L"*Paper_Space0");
    const AcDbObjectId planLine = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 0, 0)), plan);
    const std::vector<short> layoutOrder = {-1, 0, 330, 5, 100, 67, 410, 8};
    struct Row {
        AcDbObjectId id;
        AcDbObjectId owner;
        int paperSpace;
        const wchar_t* layout;
    };
    const Row rows[] = {
        {m_line, m_database.modelSpaceId(), 0, L"Model"},
        {m_paperLine, m_database.paperSpaceId(), 1, L"Layout1"},
        {planLine, plan, 1, L"Plan"},
    };
    for (const Row& row : rows) {
        const LeadingGroups groups = leadingGroups(row.id);
        EXPECT_EQ(groups.codes, layoutOrder) << testing::PrintToString(std::wstring(row.layout));
        EXPECT_EQ(groups.owner, row.owner);
        EXPECT_EQ(groups.paperSpace, row.paperSpace);
        EXPECT_EQ(groups.layout, row.layout);
    }
    const LeadingGroups inBlock = leadingGroups(m_blockLine);
    EXPECT_EQ(inBlock.codes, (std::vector<short>{-1, 0, 330, 5, 100, 8}));

    EXPECT_EQ(select(L"X", acutBuildList(410, L"Plan", 0)), (Ids{planLine}));
    EXPECT_EQ(select(L"X", acutBuildList(410, L"model", 0)), (Ids{m_line, m_circle}));
    EXPECT_EQ(select(L"X", acutBuildList(67, 1, 0)), (Ids{m_paperLine, planLine}));
    EXPECT_EQ(select(L"X", acutBuildList(-4, L"<NOT", 410, L"Model", -4, L"NOT>", 0)),
              (Ids{m_paperLine, planLine}));
}

} // namespace
