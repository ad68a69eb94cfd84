// The document side of the interface: acedCommand running ZOOM and QSAVE at once, CTAB switching the
// current space, the drawing-bound variables, locks, the resource stack and queued input.

#include "cad/app/command_processor.h"
#include "cad/app/document_manager.h"
#include "cad/db/curve_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/entity_access.h"
#include "cad/ed/selection_set.h"
#include "cad/ed/system_variables.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class Document : public testing::Test {
protected:
    void SetUp() override {
        cad::app::CommandProcessor::instance().registerHostCommands();
        m_document = acDocManager->newDocument();
        AcDbDatabase& database = *m_document->database();
        add(database.modelSpaceId(), AcGePoint3d(0, 0, 0));
        add(database.paperSpaceId(), AcGePoint3d(5, 5, 0));
    }
    void TearDown() override { acDocManager->closeAll(); }

    void add(AcDbObjectId space, const AcGePoint3d& start) {
        AcDbBlockTableRecord* record = nullptr;
        ASSERT_EQ(cad::db::openObjectAs(record, space, AcDb::kForWrite), Acad::eOk);
        auto* line = new AcDbLine(start, start + AcGeVector3d(1, 1, 0));
        ASSERT_EQ(record->appendAcDbEntity(line), Acad::eOk);
        line->close();
        record->close();
    }

    static resbuf getVariable(const wchar_t* name) {
        resbuf value{};
        EXPECT_EQ(acedGetVar(name, &value), RTNORM) << testing::PrintToString(std::wstring(name));
        return value;
    }

    AcApDocument* m_document = nullptr;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_scope{m_commandLine};
};

TEST_F(Document, CommandCallRunsZoomAndSaveAtOnce) {
    const double first[3] = {10, 20, 0};
    const double second[3] = {30, 60, 0};
    ASSERT_EQ(acedCommand(RTSTR, L"Zoom", RT3DPOINT, first, RT3DPOINT, second, RTNONE), RTNORM);
    const resbuf center = getVariable(L"VIEWCTR");
    EXPECT_DOUBLE_EQ(center.resval.rpoint[0], 20.0);
    EXPECT_DOUBLE_EQ(center.resval.rpoint[1], 40.0);
    EXPECT_DOUBLE_EQ(getVariable(L"VIEWSIZE").resval.rreal, 40.0);
    ASSERT_EQ(acedCommand(RTSTR, L"_ZOOM", RTSTR, L"W", RTPOINT, first, RTPOINT, second, 0), RTNORM);

    const fs::path path = fs::temp_directory_path() / ("quelto_qsave_" + std::to_string(getpid()) + ".dxf");
    fs::remove(path);
    m_document->setPath(path);
    ASSERT_EQ(acedCommand(RTSTR, L"QSAVE", RTNONE), RTNORM);
    EXPECT_TRUE(fs::exists(path)) << testing::PrintToString(m_commandLine.transcript());
    AcDbDatabase reread(false);
    cad::dxf::TagError error;
    EXPECT_TRUE(reread.readDxf(path, error)) << error.toString();
    fs::remove(path);

    EXPECT_EQ(acedCommand(RTSTR, L"NOSUCHCOMMAND", RTNONE), RTERROR);
    EXPECT_EQ(acedCommand(RTSTR, L"ZOOM", RTENAME, first, RTNONE), RTERROR);
}

TEST_F(Document, CurrentLayoutSwitchesTheSpaceSelectionsWorkIn) {
    resbuf ctab = getVariable(L"CTAB");
    EXPECT_STREQ(ctab.resval.rstring, L"Model");
    acutDelString(ctab.resval.rstring);
    EXPECT_EQ(getVariable(L"TILEMODE").resval.rint, 1);

    const resbuf layout = {nullptr, RTSTR, {.rstring = const_cast<ACHAR*>(L"layout1")}};
    ASSERT_EQ(acedSetVar(L"CTAB", &layout), RTNORM);
    ctab = getVariable(L"CTAB");
    EXPECT_STREQ(ctab.resval.rstring, L"Layout1");
    acutDelString(ctab.resval.rstring);
    EXPECT_EQ(getVariable(L"TILEMODE").resval.rint, 0);

    // "L" works in the current space; "X" keeps covering every layout.
    ads_name set;
    ASSERT_EQ(acedSSGet(L"L", nullptr, nullptr, nullptr, set), RTNORM);
    ads_name entity;
    acedSSName(set, 0, entity);
    acedSSFree(set);
    resbuf* data = acdbEntGet(entity);
    const resbuf* start = data;
    while (start != nullptr && start->restype != 10) {
        start = start->rbnext;
    }
    ASSERT_NE(start, nullptr);
    EXPECT_DOUBLE_EQ(start->resval.rpoint[0], 5.0);
    acutRelRb(data);

    const resbuf missing = {nullptr, RTSTR, {.rstring = const_cast<ACHAR*>(L"No such layout")}};
    EXPECT_EQ(acedSetVar(L"CTAB", &missing), RTERROR);
    const resbuf readOnly = {nullptr, RTSHORT, {.rint = 1}};
    EXPECT_EQ(acedSetVar(L"TILEMODE", &readOnly), RTERROR);
}

TEST_F(Document, LayerViewportAndPickVariablesFollowTheDrawing) {
    AcDbDatabase& database = *m_document->database();
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(layers, database.layerTableId(), AcDb::kForWrite), Acad::eOk);
    auto* wall = new AcDbLayerTableRecord;
    wall->setName(L"墙体");
    AcDbObjectId wallId;
    ASSERT_EQ(layers->add(wallId, wall), Acad::eOk);
    wall->close();
    layers->close();

    resbuf layer = getVariable(L"CLAYER");
    EXPECT_STREQ(layer.resval.rstring, L"0");
    acutDelString(layer.resval.rstring);
    const resbuf wallName = {nullptr, RTSTR, {.rstring = const_cast<ACHAR*>(L"墙体")}};
    ASSERT_EQ(acedSetVar(L"CLAYER", &wallName), RTNORM);
    EXPECT_EQ(database.clayer(), wallId);
    layer = getVariable(L"CLAYER");
    EXPECT_STREQ(layer.resval.rstring, L"墙体");
    acutDelString(layer.resval.rstring);
    const resbuf missing = {nullptr, RTSTR, {.rstring = const_cast<ACHAR*>(L"NO SUCH LAYER")}};
    EXPECT_EQ(acedSetVar(L"CLAYER", &missing), RTERROR);

    EXPECT_EQ(getVariable(L"CVPORT").resval.rint, 2);
    const resbuf layout = {nullptr, RTSTR, {.rstring = const_cast<ACHAR*>(L"Layout1")}};
    ASSERT_EQ(acedSetVar(L"CTAB", &layout), RTNORM);
    EXPECT_EQ(getVariable(L"CVPORT").resval.rint, 1);
    EXPECT_EQ(getVariable(L"PICKFIRST").resval.rint, 1);
    EXPECT_EQ(getVariable(L"PICKSTYLE").resval.rint, 1);
}

// Answers prompts from the document's queued input, as the command line of a host does.
class QueuedInputCommandLine final : public cad::ed::CommandLine {
public:
    void write(std::wstring_view) override {}
    std::optional<std::wstring> readLine(std::wstring_view) override {
        const auto queued = acDocManager->takeQueuedLine();
        return queued ? std::optional(queued->text) : std::nullopt;
    }
};

TEST_F(Document, QueuedInputEndsAnswersAtBlanksExceptWhereAPromptTakesThem) {
    acDocManager->sendStringToExecute(m_document, L"_.ERASE _P  QS ");
    const std::wstring expected[] = {L"_.ERASE", L"_P", L"", L"QS"};
    for (const std::wstring& answer : expected) {
        const auto queued = acDocManager->takeQueuedLine();
        ASSERT_TRUE(queued.has_value());
        EXPECT_EQ(queued->text, answer);
    }
    EXPECT_FALSE(acDocManager->takeQueuedLine().has_value());

    QueuedInputCommandLine queuedInput;
    const cad::ed::ScopedCommandLine scope(queuedInput);
    acDocManager->sendStringToExecute(m_document, L"first word\nsecond word\n");
    ACHAR text[64];
    ASSERT_EQ(acedGetString(1, L"Text: ", text, 64), RTNORM);
    EXPECT_STREQ(text, L"first word");
    ASSERT_EQ(acedGetString(0, L"Word: ", text, 64), RTNORM);
    EXPECT_STREQ(text, L"second");
    ASSERT_EQ(acedGetString(0, L"Word: ", text, 64), RTNORM);
    EXPECT_STREQ(text, L"word");
}

TEST_F(Document, ManagerKeepsLocksResourcesAndQueuedInput) {
    EXPECT_EQ(acDocManager->curDocument(), m_document);
    EXPECT_EQ(curDoc()->database(), acdbHostApplicationServices()->workingDatabase());
    EXPECT_EQ(acDocManager->lockDocument(m_document), Acad::eOk);
    EXPECT_EQ(m_document->lockMode(), AcAp::kWrite);
    EXPECT_EQ(acDocManager->unlockDocument(m_document), Acad::eOk);
    EXPECT_EQ(acDocManager->unlockDocument(m_document), Acad::eNotApplicable);
    EXPECT_EQ(m_document->lockMode(), AcAp::kNotLocked);

    int moduleResources = 0;
    acDocManager->pushResourceHandle(&moduleResources);
    EXPECT_EQ(acDocManager->currentResourceHandle(), &moduleResources);
    acDocManager->pushAcadResourceHandle();
    EXPECT_EQ(acDocManager->currentResourceHandle(), nullptr);
    acDocManager->popResourceHandle();
    EXPECT_EQ(acDocManager->currentResourceHandle(), &moduleResources);
    acDocManager->popResourceHandle();

    EXPECT_EQ(acDocManager->sendStringToExecute(m_document, L"qs\nZOOM\nE", false, false, true), Acad::eOk);
    EXPECT_EQ(acDocManager->takeQueuedLine()->text, L"qs");
    EXPECT_EQ(acDocManager->takeQueuedLine()->text, L"ZOOM");
    // A line is queued once its newline has come.
    EXPECT_FALSE(acDocManager->takeQueuedLine().has_value());
    acDocManager->sendStringToExecute(m_document, L"\n");
    EXPECT_EQ(acDocManager->takeQueuedLine()->text, L"E");
    EXPECT_EQ(acedGetAcadFrame(), nullptr);
}

} // namespace
