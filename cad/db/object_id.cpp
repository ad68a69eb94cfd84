// Object ids: the null id and the handle an id maps to.
#include "cad/db/object_id.h"

#include "cad/db/db_object.h"

const AcDbObjectId AcDbObjectId::kNull;

AcDbHandle AcDbObjectId::handle() const {
    return m_slot != nullptr && m_slot->object != nullptr ? m_slot->object->handle() : AcDbHandle();
}
