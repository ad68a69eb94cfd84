// The undo log: after every kind of change a step back gives a drawing that saves exactly as before,
// a step forward the changed one again; steps survive saving, stay within their limit, and handles
// taken back by an undone addition are handed out again without clashing.
#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/undo_log.h"
#include "cad/ge/matrix3d.h"
#include "cad/ge/plane.h"
#include "db_test_support.h"
#include "platform/code_page.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace {

using cad::db::UndoLog;

std::unique_ptr<AcDbDatabase> editKinds() {
    auto database = std::make_unique<AcDbDatabase>(false);
    cad::dxf::TagError error;
    EXPECT_TRUE(database->readDxf(
        std::filesystem::path(QUELTO_SOURCE_DIR) / "tests/data/actions/edit_kinds.dxf", error))
        << error.message;
    database->enableUndo();
    return database;
}

std::vector<AcDbObjectId> modelIds(const AcDbDatabase& database) {
    std::vector<AcDbObjectId> ids;
    const auto* model = AcDbBlockTableRecord::cast(database.peekObject(database.modelSpaceId()));
    for (const AcDbObjectId& id : model->entityIds()) {
        if (!id.isErased() && id.isValid()) {
            ids.push_back(id);
        }
    }
    return ids;
}

AcDbObjectId firstOfKind(const AcDbDatabase& database, const std::string& kind) {
    for (const AcDbObjectId& id : modelIds(database)) {
        if (database.peekObject(id)->dxfName() == kind) {
            return id;
        }
    }
    return {};
}

// Equal saved files, or the first line where they part.
::testing::AssertionResult sameDxf(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    std::istringstream left(actual);
    std::istringstream right(expected);
    std::string leftLine;
    std::string rightLine;
    for (int line = 1;; ++line) {
        const bool moreLeft = static_cast<bool>(std::getline(left, leftLine));
        const bool moreRight = static_cast<bool>(std::getline(right, rightLine));
        if (!moreLeft || !moreRight || leftLine != rightLine) {
            return ::testing::AssertionFailure()
                   << "line " << line << ": \"" << leftLine << "\" instead of \"" << rightLine << "\"";
        }
    }
}

void transformAll(AcDbDatabase& database, const AcGeMatrix3d& transform) {
    for (const AcDbObjectId& id : modelIds(database)) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(cad::db::openObjectAs(entity, id, AcDb::kForWrite), Acad::eOk);
        entity->transformBy(transform);
        entity->close();
    }
}

void eraseKind(AcDbDatabase& database, const std::string& kind) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(entity, firstOfKind(database, kind), AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(entity->erase(), Acad::eOk);
    entity->close();
}

void explodeKind(AcDbDatabase& database, const std::string& kind) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(entity, firstOfKind(database, kind), AcDb::kForWrite), Acad::eOk);
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(entity->explode(pieces), Acad::eOk);
    for (void* piece : pieces) {
        auto* added = static_cast<AcDbEntity*>(piece);
        ASSERT_EQ(model->appendAcDbEntity(added), Acad::eOk);
        added->close();
    }
    model->close();
    entity->erase();
    entity->close();
}

void regroup(AcDbDatabase& database) {
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(database.getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId existingId;
    ASSERT_EQ(groups->getAt(L"门窗", existingId), Acad::eOk);
    AcDbObjectId newId;
    auto* created = new AcDbGroup(L"", true);
    ASSERT_EQ(groups->setAt(L"NEW", created, newId), Acad::eOk);
    created->append(firstOfKind(database, "TEXT"));
    created->close();
    groups->close();
    AcDbGroup* existing = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(existing, existingId, AcDb::kForWrite), Acad::eOk);
    existing->remove(firstOfKind(database, "LINE"));
    existing->append(firstOfKind(database, "HATCH"));
    existing->close();
}

void changeProperties(AcDbDatabase& database) {
    AcDbEntity* text = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(text, firstOfKind(database, "TEXT"), AcDb::kForWrite), Acad::eOk);
    text->setColorIndex(1);
    text->setLayer(L"0");
    text->close();
    database.setHeaderVariable({"$LTSCALE", {cad::dxf::OwnedTag(cad::dxf::Tag::makeDouble(40, 2.5))}});
}

struct Edit {
    const char* name;
    std::function<void(AcDbDatabase&)> apply;
};

const std::vector<Edit>& edits() {
    static const std::vector<Edit> kAll = {
        {"mirror",
         [](AcDbDatabase& database) {
             transformAll(database,
                          AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(1, 2, 0), AcGeVector3d(1, 1, 0))));
         }},
        {"move",
         [](AcDbDatabase& database) {
             transformAll(database, AcGeMatrix3d::translation(AcGeVector3d(5, -3, 1)));
         }},
        {"scale",
         [](AcDbDatabase& database) {
             transformAll(database, AcGeMatrix3d::scaling(2.0, AcGePoint3d(10, 10, 0)));
         }},
        {"rotate",
         [](AcDbDatabase& database) {
             transformAll(database, AcGeMatrix3d::rotation(0.7, AcGeVector3d::kZAxis, AcGePoint3d(3, 4, 0)));
         }},
        {"erase",
         [](AcDbDatabase& database) {
             eraseKind(database, "ARC");
             eraseKind(database, "DIMENSION");
         }},
        {"explode",
         [](AcDbDatabase& database) {
             explodeKind(database, "LWPOLYLINE");
             explodeKind(database, "POLYLINE");
             explodeKind(database, "INSERT");
         }},
        {"group", regroup},
        {"properties", changeProperties},
    };
    return kAll;
}

TEST(UndoLog, EveryKindOfChangeIsTakenBackAndBroughtAgainExactly) {
    for (const Edit& edit : edits()) {
        SCOPED_TRACE(edit.name);
        const auto database = editKinds();
        UndoLog& log = *database->undoLog();
        const std::string before = dbtest::saveToBytes(*database);
        log.beginStep(L"EDIT");
        edit.apply(*database);
        log.endStep();
        const std::string after = dbtest::saveToBytes(*database);
        ASSERT_NE(before, after);
        ASSERT_EQ(log.undoSteps(), 1u);

        ASSERT_EQ(log.undo(1), UndoLog::Result::Done);
        EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), before));
        ASSERT_EQ(log.redo(1), UndoLog::Result::Done);
        EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), after));
        ASSERT_EQ(log.undo(1), UndoLog::Result::Done);
        EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), before));
        EXPECT_EQ(log.undo(1), UndoLog::Result::NothingToDo);
    }
}

TEST(UndoLog, SeveralStepsGoBackAndForthAcrossASave) {
    const auto database = editKinds();
    UndoLog& log = *database->undoLog();
    std::vector<std::string> states = {dbtest::saveToBytes(*database)};
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quelto_undo_steps.dxf";
    for (const Edit& edit : edits()) {
        log.beginStep(platform::utf8ToWide(edit.name));
        edit.apply(*database);
        log.endStep();
        states.push_back(dbtest::saveToBytes(*database));
        cad::dxf::TagError error;
        ASSERT_TRUE(database->writeDxf(file, {}, error)) << error.message;
    }
    ASSERT_EQ(log.undoSteps(), edits().size());

    std::vector<std::wstring> names;
    ASSERT_EQ(log.undo(3, &names), UndoLog::Result::Done);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"properties", L"group", L"explode"}));
    EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), states[states.size() - 4]));
    ASSERT_EQ(log.redo(2), UndoLog::Result::Done);
    EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), states[states.size() - 2]));
    ASSERT_EQ(log.undo(100), UndoLog::Result::Done);
    EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), states.front()));
    ASSERT_EQ(log.redo(100), UndoLog::Result::Done);
    EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), states.back()));

    // A change after an undo ends the redo history.
    log.undo(1);
    log.beginStep(L"ERASE");
    eraseKind(*database, "TEXT");
    log.endStep();
    EXPECT_EQ(log.redo(1), UndoLog::Result::NothingToDo);
    std::filesystem::remove(file);
}

TEST(UndoLog, KeepsOnlyTheNewestStepsAndSkipsStepsThatChangedNothing) {
    const auto database = editKinds();
    UndoLog& log = *database->undoLog();
    log.setStepLimit(2);
    std::size_t objectsOfAMove = 0;
    for (int step = 0; step < 3; ++step) {
        log.beginStep(L"MOVE");
        transformAll(*database, AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0)));
        log.endStep();
        objectsOfAMove = log.newestStepObjectCount();
    }
    log.beginStep(L"LIST");
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(entity, firstOfKind(*database, "ARC"), AcDb::kForRead), Acad::eOk);
    entity->close();
    log.endStep();
    EXPECT_EQ(log.undoSteps(), 2u);
    // Reading in a later command recorded nothing.
    EXPECT_EQ(log.newestStepObjectCount(), objectsOfAMove);
    EXPECT_GT(objectsOfAMove, modelIds(*database).size()); // sub-entities are objects of their own
    EXPECT_EQ(log.undo(5), UndoLog::Result::Done);
    EXPECT_EQ(log.redoSteps(), 2u);
    AcGePoint3d start;
    ASSERT_EQ(AcDbLine::cast(database->peekObject(firstOfKind(*database, "LINE")))->getStartPoint(start),
              Acad::eOk);
    EXPECT_DOUBLE_EQ(start.x, 1.0); // the first move is beyond the limit and stays
}

TEST(UndoLog, RefusesWhileAnObjectOfTheStepIsOpen) {
    const auto database = editKinds();
    UndoLog& log = *database->undoLog();
    log.beginStep(L"MOVE");
    transformAll(*database, AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0)));
    log.endStep();
    const std::string moved = dbtest::saveToBytes(*database);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(entity, firstOfKind(*database, "ARC"), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(log.undo(1), UndoLog::Result::ObjectsOpen);
    EXPECT_TRUE(sameDxf(dbtest::saveToBytes(*database), moved));
    entity->close();
    EXPECT_EQ(log.undo(1), UndoLog::Result::Done);
}

TEST(UndoLog, HandlesOfAnUndoneAdditionAreGivenOutAgainWithoutClashing) {
    const auto database = editKinds();
    UndoLog& log = *database->undoLog();
    const AcDbHandle seed = database->handseed();
    log.beginStep(L"EXPLODE");
    explodeKind(*database, "LWPOLYLINE");
    log.endStep();
    const AcDbObjectId piece = database->objectIdOf(seed);
    ASSERT_TRUE(piece.isValid());
    log.undo(1);
    EXPECT_FALSE(piece.isValid());
    EXPECT_TRUE(database->objectIdOf(seed).isNull());
    EXPECT_EQ(database->handseed(), seed);

    // Changes outside any command form their own step.
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(model, database->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId lineId;
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    ASSERT_EQ(model->appendAcDbEntity(lineId, line), Acad::eOk);
    line->close();
    model->close();
    EXPECT_EQ(lineId.handle(), seed);
    EXPECT_EQ(database->objectIdOf(seed), lineId);
    EXPECT_EQ(log.redo(1), UndoLog::Result::NothingToDo);

    AcDbDatabase reread(false);
    cad::dxf::TagError error;
    ASSERT_TRUE(reread.readDxfBuffer(dbtest::saveToBytes(*database), error)) << error.message;
    EXPECT_TRUE(reread.diagnostics().empty());
    std::vector<std::wstring> names;
    ASSERT_EQ(log.undo(1, &names), UndoLog::Result::Done);
    EXPECT_EQ(names, std::vector<std::wstring>{L""});
    EXPECT_FALSE(lineId.isValid());
}

} // namespace
