// Run-time class descriptions in the host's style: every database class has a static desc() naming it
// and its parent, isA() gives an object's own class, and T::cast() is the checked down-cast that
// opening an object "as" a class relies on.
#pragma once

#include "platform/export.h"

class QUELTO_EXPORT AcRxClass {
public:
    AcRxClass(const wchar_t* name, const AcRxClass* parent) : m_name(name), m_parent(parent) {}
    const wchar_t* name() const { return m_name; }
    const AcRxClass* myParent() const { return m_parent; }
    bool isDerivedFrom(const AcRxClass* other) const {
        for (const AcRxClass* current = this; current != nullptr; current = current->m_parent) {
            if (current == other) {
                return true;
            }
        }
        return false;
    }

private:
    const wchar_t* m_name;
    const AcRxClass* m_parent;
};

// Declares desc(), isA() and cast() in a database class, and copyState() for the undo log;
// ACRX_DEFINE_MEMBERS provides them.
#define ACRX_DECLARE_MEMBERS(CLASS)                                                                          \
    static AcRxClass* desc();                                                                                \
    AcRxClass* isA() const override;                                                                         \
    AcDbObject* copyState() const override;                                                                  \
    static CLASS* cast(const AcDbObject* object) {                                                           \
        return object != nullptr && object->isKindOf(desc())                                                 \
                   ? static_cast<CLASS*>(const_cast<AcDbObject*>(object))                                    \
                   : nullptr;                                                                                \
    }

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT)                                                                   \
    AcRxClass* CLASS::desc() {                                                                               \
        static AcRxClass description(L## #CLASS, PARENT::desc());                                            \
        return &description;                                                                                 \
    }                                                                                                        \
    AcRxClass* CLASS::isA() const {                                                                          \
        return desc();                                                                                       \
    }                                                                                                        \
    AcDbObject* CLASS::copyState() const {                                                                   \
        return new CLASS(*this);                                                                             \
    }
