// Reads the symbol tables through the host's open/close discipline; each record is open only while its
// name is copied.

#include "quelto/ui/drawing_lists.h"

#include "cad/app/host_api.h"
#include "quelto/actions/xyz_base_draw.h"

namespace {

AcDbDatabase* workingDatabase() {
    return acdbHostApplicationServices()->workingDatabase();
}

// Calls `visit` with every record of the table, open for read.
template <class Record, class Visit>
void forEachRecord(AcDbObjectId tableId, Visit&& visit) {
    AcDbSymbolTable* table = nullptr;
    if (tableId.isNull() || acdbOpenObject(table, tableId, AcDb::kForRead) != Acad::eOk) {
        return;
    }
    const std::vector<AcDbObjectId> records = table->recordIds();
    table->close();
    for (AcDbObjectId recordId : records) {
        Record* record = nullptr;
        if (acdbOpenObject(record, recordId, AcDb::kForRead) == Acad::eOk) {
            visit(*record);
            record->close();
        }
    }
}

} // namespace

CStringArray DrawingLayerNames() {
    CStringArray names;
    if (AcDbDatabase* database = workingDatabase()) {
        forEachRecord<AcDbLayerTableRecord>(database->layerTableId(),
                                            [&](const AcDbLayerTableRecord& record) {
                                                CString name;
                                                record.getName(name);
                                                names.push_back(std::move(name));
                                            });
    }
    return names;
}

std::vector<CLinetypeEntry> DrawingLinetypes() {
    std::vector<CLinetypeEntry> linetypes;
    if (AcDbDatabase* database = workingDatabase()) {
        forEachRecord<AcDbLinetypeTableRecord>(
            database->linetypeTableId(), [&](const AcDbLinetypeTableRecord& record) {
                CLinetypeEntry entry;
                record.getName(entry.name);
                entry.comments = record.comments();
                // The dash lengths are DXF group 49 of the record, in pattern order.
                for (const cad::dxf::OwnedTag& tag : record.extraTags()) {
                    if (tag.code == 49) {
                        entry.dashes.push_back(tag.view().isDouble() ? tag.real
                                                                     : static_cast<double>(tag.integer));
                    }
                }
                linetypes.push_back(std::move(entry));
            });
    }
    return linetypes;
}

CStringArray DrawingLayoutNames() {
    CStringArray names;
    CXYZBaseDraw::GetLayoutNames(workingDatabase(), names, TRUE);
    return names;
}
