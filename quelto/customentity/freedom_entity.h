// The records of a custom entity definition: one property bound to a DXF group code (CFreedomProp), one
// custom entity class with its properties (CFreedomEntity). A property's id follows from its group code,
// so that its value kind can be told from the id alone, as for the built-in properties.
#pragma once

#include "platform/binary_archive.h"
#include "platform/mfc_types.h"

class CFreedomProp {
public:
    // Value forms of `kind`.
    enum Kind { Point3d = 1, Point2d = 2, Real = 3, Short = 4, Long = 5, Text = 6 };

    // Sets `id` from `groupCode`, plus 3000 when the property has items; an unmapped code keeps `id`.
    void ComputeId();
    // Whether a criterion id names this property (or one coordinate of a point property).
    bool CoversId(int propertyId) const;
    // The result type a value of this form has in an entity's data list (5000 for an unknown form).
    int GetResultType() const;
    // How many consecutive catalogue properties the form yields: 3, 2, 1, or 0 for an unknown form.
    int GetSlotCount() const;

    // One record: its version, then the body when the version is 1 (another version has no body, and
    // the record keeps its defaults).
    void WriteTo(CArchive& archive) const;
    void ReadFrom(CArchive& archive);

    CStringArray items;
    CString name;
    int kind = Point3d;
    CString propNote;
    CString propNote2;
    int groupCode = 10;
    int id = 0;
};

// Reads `count` records one at a time, so that a damaged count runs out of bytes instead of memory.
template <class Record>
void ReadRecords(CArchive& archive, std::int32_t count, CArray<Record>& records) {
    for (std::int32_t index = 0; index < count; ++index) {
        Record record;
        record.ReadFrom(archive);
        records.push_back(std::move(record));
    }
}

class CFreedomEntity {
public:
    // The first property in order that covers the id; null when none does.
    const CFreedomProp* FindPropById(int propertyId) const;

    void WriteTo(CArchive& archive) const;
    void ReadFrom(CArchive& archive);

    CString displayName;
    CString className;
    CString entityNote;
    CArray<CFreedomProp> props;
};
