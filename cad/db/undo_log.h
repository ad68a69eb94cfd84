// The database's undo log: every object opened for write gets a copy of its state taken the first time
// within a step, every object added is noted, and a step can then be taken back and forth by exchanging
// those copies with the objects in their slots. The host files one step per command; changes made
// outside any command form a step of their own that ends when the next command starts.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_handle.h"
#include "cad/db/object_id.h"
#include "platform/export.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cad::db {

class QUELTO_EXPORT UndoLog {
public:
    static constexpr std::size_t kDefaultStepLimit = 20;

    explicit UndoLog(AcDbDatabase& database);
    ~UndoLog();
    UndoLog(const UndoLog&) = delete;
    UndoLog& operator=(const UndoLog&) = delete;

    // Starts a step named after the command (any step still open is ended first) and ends it. A step
    // in which nothing changed is not kept, so commands that only look leave the log as it was.
    void beginStep(std::wstring name);
    void endStep();

    // Hooks of the database: an object is about to be opened for write, about to be added (before it
    // takes its handle), has been added, or the header is about to change.
    void noteOpenForWrite(ObjectSlot& slot);
    void prepareAdd();
    void noteAdded(ObjectSlot& slot);
    void noteHeaderChange();

    enum class Result { Done, NothingToDo, ObjectsOpen };
    // Takes back (or redoes) up to `count` steps; the names of the steps taken, newest first for undo
    // and oldest first for redo, are appended to `names`. Nothing moves while an object of a step is
    // still open (ObjectsOpen).
    Result undo(int count, std::vector<std::wstring>* names = nullptr);
    Result redo(int count, std::vector<std::wstring>* names = nullptr);

    std::size_t undoSteps() const { return m_undo.size(); }
    std::size_t redoSteps() const { return m_redo.size(); }
    // The objects recorded in the newest step that can be undone (0 when there is none).
    std::size_t newestStepObjectCount() const;
    std::size_t stepLimit() const { return m_limit; }
    // At least one step is always kept; the oldest steps beyond the limit are dropped at once.
    void setStepLimit(std::size_t limit);
    // Forgets every step (a drawing read anew).
    void clear();

private:
    struct Record {
        ObjectSlot* slot = nullptr;
        // The other state of the slot: the object before the change while the step stands, after it
        // once the step was undone; null on the side where the object does not exist.
        std::unique_ptr<AcDbObject> state;
        bool erased = false;
    };
    struct Step {
        std::wstring name;
        std::uint32_t serial = 0;
        std::vector<Record> records;
        AcDbHandle handseed;
        std::optional<std::vector<HeaderVariable>> header;
        // Lengths of the database's section lists when the step began, and what the step had appended
        // to them while it is undone.
        std::size_t entitiesLength = 0;
        std::size_t objectsLength = 0;
        std::size_t blocksLength = 0;
        std::vector<AcDbObjectId> entitiesTail;
        std::vector<AcDbObjectId> objectsTail;
        std::vector<AcDbObjectId> blocksTail;
    };

    Step& currentStep();
    bool hasOpenObjects(const Step& step) const;
    void exchange(Record& record);
    void takeBack(Step& step);
    void bringBack(Step& step);
    void trimToLimit();
    // Moves up to `count` steps from the back of one list to the other, taking them back or bringing
    // them back on the way.
    Result travel(std::deque<std::unique_ptr<Step>>& from, std::deque<std::unique_ptr<Step>>& to, bool back,
                  int count, std::vector<std::wstring>* names);

    AcDbDatabase& m_database;
    std::deque<std::unique_ptr<Step>> m_undo;
    std::deque<std::unique_ptr<Step>> m_redo;
    std::unique_ptr<Step> m_open;
    std::optional<std::wstring> m_commandName; // set while a command's step is open
    std::uint32_t m_serial = 0;
    std::size_t m_limit = kDefaultStepLimit;
};

} // namespace cad::db
