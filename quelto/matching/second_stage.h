// The second stage of a quick selection as one call, shared by the command driver, the batch bridge and
// the tests: the host filter list from the record's basic criteria, the host's selection over the
// chosen scope, the extended filter over the candidates, and the matching ids in set order.
#pragma once

#include "cad/db/object_id.h"
#include "cad/ed/resbuf.h"
#include "platform/export.h"
#include "platform/mfc_types.h"

class CFilter;
class CInfoMapList;

namespace quelto::matching {

// Where the candidates come from.
struct QUELTO_EXPORT CandidateScope {
    enum class Kind {
        WholeDrawing,  // acedSSGet "X"
        UserSelection, // acedSSGet with no mode: the host's object-selection prompt
        GivenSet,      // the members of a set the caller holds, in its order
        Window         // acedSSGet "W" with two corners
    };

    static CandidateScope wholeDrawing();
    static CandidateScope userSelection();
    static CandidateScope givenSet(const ads_name set);
    static CandidateScope window(const ads_point firstCorner, const ads_point secondCorner);

    Kind kind = Kind::WholeDrawing;
    ads_name set = {0, 0};
    ads_point firstCorner = {0.0, 0.0, 0.0};
    ads_point secondCorner = {0.0, 0.0, 0.0};
};

struct QUELTO_EXPORT SecondStageResult {
    // acedSSGet's answer: RTNORM when the host found candidates, else its failure code.
    int status = RTERROR;
    // The set rewritten to the matching entities; the caller frees it (acedSSFree) when status is RTNORM.
    ads_name set = {0, 0};
    // The matching entities in set order.
    AcDbObjectIdArray ids;
    // The type name the engine ran with: item 1 of the host filter, empty when the type criterion is off.
    CString typeName;
};

// The type name of the record's type criterion for the host filter and the engine: the DXF name, with
// "DIMENSION" for the dimension kinds (DIMENSION33 ...); empty when the type criterion is off.
QUELTO_EXPORT CString hostFilterTypeName(const CFilter& filter, const CString& dxfName);

// The host filter list of the record's basic criteria, each item linked at the tail: type (with group 70
// for a dimension kind), layer, colour and lineweight with their operators. `dxfName` is the catalogue's
// DXF name of the record's type. Null when no criterion is on; released by the caller (acutRelRb).
QUELTO_EXPORT resbuf* buildHostFilterList(const CFilter& filter, const CString& dxfName);

// Runs the whole second stage. The batch variant leaves the space criterion off and combines the rows
// by AND. Returns 1 when the host selection succeeded (the set in `result` then needs freeing), else 0.
QUELTO_EXPORT int runSecondStage(const CFilter& filter, const CString& dxfName, const CandidateScope& scope,
                                 bool batchVariant, SecondStageResult& result);
// The same with the DXF name of the record's type looked up in the catalogue.
QUELTO_EXPORT int runSecondStage(const CFilter& filter, const CInfoMapList& catalogue,
                                 const CandidateScope& scope, bool batchVariant, SecondStageResult& result);

} // namespace quelto::matching
