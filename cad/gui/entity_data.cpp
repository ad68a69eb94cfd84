// The entity's data list through acdbEntGet, searched for a few number groups and released.
#include "cad/gui/entity_data.h"

#include "cad/ed/entity_access.h"
#include "cad/ed/resbuf.h"

namespace cad::gui {

std::map<int, double> groupNumbers(const AcDbEntity& entity, const std::set<int>& codes) {
    std::map<int, double> numbers;
    ads_name name = {0, 0};
    if (acdbGetAdsName(name, entity.objectId()) != Acad::eOk) {
        return numbers;
    }
    resbuf* data = acdbEntGet(name);
    for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
        if (codes.count(item->restype) == 0 || numbers.count(item->restype) != 0) {
            continue;
        }
        switch (resbufValueKind(item->restype)) {
        case ResbufValueKind::Real:
            numbers[item->restype] = item->resval.rreal;
            break;
        case ResbufValueKind::Short:
            numbers[item->restype] = item->resval.rint;
            break;
        case ResbufValueKind::Long:
            numbers[item->restype] = item->resval.rlong;
            break;
        default:
            break;
        }
    }
    acutRelRb(data);
    return numbers;
}

} // namespace cad::gui
