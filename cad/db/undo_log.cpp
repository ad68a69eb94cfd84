// The undo log. Taking a step back and bringing it forward are the same exchange of each recorded
// object with the state kept for it, so undo and redo cost a pointer swap per object; only the first
// open for write of an object within a step pays for a copy.
#include "cad/db/undo_log.h"

#include "cad/db/object_io.h"

#include <algorithm>
#include <cassert>

namespace cad::db {

namespace {
template <class Id>
void moveTail(std::vector<Id>& list, std::size_t length, std::vector<Id>& tail) {
    assert(list.size() >= length);
    tail.assign(list.begin() + static_cast<std::ptrdiff_t>(length), list.end());
    list.resize(length);
}

template <class Id>
void appendTail(std::vector<Id>& list, std::vector<Id>& tail) {
    list.insert(list.end(), tail.begin(), tail.end());
    tail.clear();
}
} // namespace

UndoLog::UndoLog(AcDbDatabase& database) : m_database(database) {}

UndoLog::~UndoLog() = default;

void UndoLog::beginStep(std::wstring name) {
    endStep();
    m_commandName = std::move(name);
}

void UndoLog::endStep() {
    m_commandName.reset();
    if (m_open == nullptr) {
        return;
    }
    if (m_open->records.empty() && !m_open->header) {
        m_open.reset();
        return;
    }
    m_undo.push_back(std::move(m_open));
    trimToLimit();
}

UndoLog::Step& UndoLog::currentStep() {
    if (m_open != nullptr) {
        return *m_open;
    }
    // A change after an undo starts a new history: the steps undone can no longer be brought back.
    m_redo.clear();
    m_open = std::make_unique<Step>();
    m_open->name = m_commandName.value_or(std::wstring());
    m_open->serial = ++m_serial;
    m_open->handseed = m_database.m_handseed;
    m_open->entitiesLength = m_database.m_entitiesOrder.size();
    m_open->objectsLength = m_database.m_objectsOrder.size();
    m_open->blocksLength = m_database.m_blockOrder.size();
    return *m_open;
}

void UndoLog::noteOpenForWrite(ObjectSlot& slot) {
    Step& step = currentStep();
    if (slot.undoStep == step.serial) {
        return;
    }
    slot.undoStep = step.serial;
    Record& record = step.records.emplace_back();
    record.slot = &slot;
    record.state.reset(slot.object->copyState());
    record.erased = slot.erased;
}

void UndoLog::prepareAdd() {
    currentStep();
}

void UndoLog::noteAdded(ObjectSlot& slot) {
    Step& step = currentStep();
    slot.undoStep = step.serial;
    Record& record = step.records.emplace_back();
    record.slot = &slot;
    record.erased = slot.erased;
}

void UndoLog::noteHeaderChange() {
    Step& step = currentStep();
    if (!step.header) {
        step.header = m_database.m_header;
    }
}

std::size_t UndoLog::newestStepObjectCount() const {
    return m_undo.empty() ? 0 : m_undo.back()->records.size();
}

void UndoLog::setStepLimit(std::size_t limit) {
    m_limit = std::max<std::size_t>(limit, 1);
    trimToLimit();
}

void UndoLog::trimToLimit() {
    while (m_undo.size() > m_limit) {
        m_undo.pop_front();
    }
}

void UndoLog::clear() {
    m_undo.clear();
    m_redo.clear();
    m_open.reset();
    m_commandName.reset();
}

bool UndoLog::hasOpenObjects(const Step& step) const {
    return std::any_of(step.records.begin(), step.records.end(), [](const Record& record) {
        return record.slot->openForWrite || record.slot->readers > 0;
    });
}

void UndoLog::exchange(Record& record) {
    ObjectSlot& slot = *record.slot;
    if (slot.object != nullptr && record.state == nullptr) {
        m_database.unindexHandle(slot.object->handle().value());
    }
    const bool appears = slot.object == nullptr && record.state != nullptr;
    std::swap(slot.object, record.state);
    std::swap(slot.erased, record.erased);
    if (slot.object != nullptr) {
        DatabaseAccess::attach(*slot.object, &slot);
    }
    if (appears) {
        m_database.indexHandle(&slot);
    }
}

void UndoLog::takeBack(Step& step) {
    for (auto record = step.records.rbegin(); record != step.records.rend(); ++record) {
        exchange(*record);
    }
    std::swap(m_database.m_handseed, step.handseed);
    if (step.header) {
        std::swap(m_database.m_header, *step.header);
    }
    moveTail(m_database.m_entitiesOrder, step.entitiesLength, step.entitiesTail);
    moveTail(m_database.m_objectsOrder, step.objectsLength, step.objectsTail);
    moveTail(m_database.m_blockOrder, step.blocksLength, step.blocksTail);
}

void UndoLog::bringBack(Step& step) {
    for (Record& record : step.records) {
        exchange(record);
    }
    std::swap(m_database.m_handseed, step.handseed);
    if (step.header) {
        std::swap(m_database.m_header, *step.header);
    }
    appendTail(m_database.m_entitiesOrder, step.entitiesTail);
    appendTail(m_database.m_objectsOrder, step.objectsTail);
    appendTail(m_database.m_blockOrder, step.blocksTail);
}

UndoLog::Result UndoLog::travel(std::deque<std::unique_ptr<Step>>& from,
                                std::deque<std::unique_ptr<Step>>& to, bool back, int count,
                                std::vector<std::wstring>* names) {
    endStep();
    if (from.empty() || count <= 0) {
        return Result::NothingToDo;
    }
    for (int moved = 0; moved < count && !from.empty(); ++moved) {
        Step& step = *from.back();
        if (hasOpenObjects(step)) {
            return Result::ObjectsOpen;
        }
        if (back) {
            takeBack(step);
        } else {
            bringBack(step);
        }
        if (names != nullptr) {
            names->push_back(step.name);
        }
        to.push_back(std::move(from.back()));
        from.pop_back();
    }
    trimToLimit();
    return Result::Done;
}

UndoLog::Result UndoLog::undo(int count, std::vector<std::wstring>* names) {
    return travel(m_undo, m_redo, true, count, names);
}

UndoLog::Result UndoLog::redo(int count, std::vector<std::wstring>* names) {
    return travel(m_redo, m_undo, false, count, names);
}

} // namespace cad::db
