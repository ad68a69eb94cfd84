// Effective colours, linetypes and lineweights. Index colours 10-249 follow the hue wheel of the index
// table (24 hues in 15 degree steps, five shades each in a full and a half-saturated form); 250-255 are
// the greys.

#include "cad/gui/entity_style.h"

#include "cad/db/symbol_tables.h"

#include <array>
#include <cmath>
#include <cwctype>

namespace cad::gui {
namespace {

constexpr std::array<int, 5> kShadeValues = {255, 165, 127, 76, 38};
constexpr std::array<int, 6> kGreys = {51, 80, 105, 130, 190, 255};
constexpr double kDefaultLineWeight = 0.25;

QColor wheelColor(int index) {
    const int hue = ((index - 10) / 10) * 15;
    const int shade = (index % 10) / 2;
    const bool halfSaturated = (index % 2) == 1;
    return QColor::fromHsv(hue % 360, halfSaturated ? 127 : 255,
                           kShadeValues[static_cast<std::size_t>(shade)]);
}

std::wstring upper(const std::wstring& text) {
    std::wstring result = text;
    for (wchar_t& character : result) {
        character = static_cast<wchar_t>(std::towupper(character));
    }
    return result;
}

double headerReal(const AcDbDatabase& database, const char* name, double fallback) {
    const cad::db::HeaderVariable* variable = database.headerVariable(name);
    if (variable == nullptr || variable->values.empty()) {
        return fallback;
    }
    const cad::dxf::Tag value = variable->values.front().view();
    return value.isDouble() ? value.real : static_cast<double>(value.integer);
}

double millimetres(int lineWeight, double byLayer, double byBlock) {
    switch (lineWeight) {
    case AcDb::kLnWtByLayer:
        return byLayer;
    case AcDb::kLnWtByBlock:
        return byBlock;
    case AcDb::kLnWtByLwDefault:
        return kDefaultLineWeight;
    default:
        return lineWeight >= 0 ? lineWeight / 100.0 : kDefaultLineWeight;
    }
}

QColor trueColor(std::int32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

QColor indexColor(int index) {
    switch (index) {
    case 1:
        return {255, 0, 0};
    case 2:
        return {255, 255, 0};
    case 3:
        return {0, 255, 0};
    case 4:
        return {0, 255, 255};
    case 5:
        return {0, 0, 255};
    case 6:
        return {255, 0, 255};
    case 8:
        return {128, 128, 128};
    case 9:
        return {192, 192, 192};
    default:
        break;
    }
    if (index >= 10 && index <= 249) {
        return wheelColor(index);
    }
    if (index >= 250 && index <= 255) {
        const int grey = kGreys[static_cast<std::size_t>(index - 250)];
        return {grey, grey, grey};
    }
    return {255, 255, 255};
}

StyleResolver::StyleResolver(const AcDbDatabase& database, bool paper)
    : m_database(database), m_paper(paper) {
    m_linetypeScale = headerReal(database, "$LTSCALE", 1.0);
    if (m_linetypeScale <= 0.0) {
        m_linetypeScale = 1.0;
    }
    m_showLineWeights = headerReal(database, "$LWDISPLAY", 0.0) != 0.0;
}

QColor StyleResolver::fromIndex(int index) const {
    if (index == 7 || index <= 0 || index > 255) {
        return foreground();
    }
    return indexColor(index);
}

const DashPattern* StyleResolver::linetype(const std::wstring& name) const {
    const std::wstring key = upper(name);
    if (key.empty() || key == L"CONTINUOUS" || key == L"BYLAYER" || key == L"BYBLOCK") {
        return nullptr;
    }
    auto found = m_linetypes.find(key);
    if (found == m_linetypes.end()) {
        DashPattern pattern;
        const AcDbObjectId id = m_database.recordIdByName(m_database.linetypeTableId(), name);
        if (const auto* record = AcDbLinetypeTableRecord::cast(m_database.peekObject(id))) {
            for (const cad::dxf::OwnedTag& tag : record->extraTags()) {
                if (tag.code == 49) {
                    const double dash = tag.view().isDouble() ? tag.real : static_cast<double>(tag.integer);
                    pattern.dashes.push_back(dash);
                    pattern.length += std::fabs(dash);
                }
            }
        }
        found = m_linetypes.emplace(key, std::move(pattern)).first;
    }
    return found->second.isContinuous() ? nullptr : &found->second;
}

const StyleResolver::LinetypeChoice& StyleResolver::linetypeChoice(const std::wstring& name) const {
    // Interned names keep their address for the life of the process, so the address is the key: no
    // upper-casing per entity and redraw.
    auto found = m_choices.find(&name);
    if (found == m_choices.end()) {
        LinetypeChoice choice;
        const std::wstring key = upper(name);
        if (key.empty() || key == L"BYLAYER") {
            choice.kind = LinetypeChoice::Kind::ByLayer;
        } else if (key == L"BYBLOCK") {
            choice.kind = LinetypeChoice::Kind::ByBlock;
        } else {
            choice.pattern = linetype(name);
        }
        found = m_choices.emplace(&name, choice).first;
    }
    return found->second;
}

const StyleResolver::LayerLook& StyleResolver::layer(std::uint32_t nameIndex,
                                                     const std::wstring& name) const {
    auto found = m_layers.find(nameIndex);
    if (found != m_layers.end()) {
        return found->second;
    }
    LayerLook look;
    look.color = foreground();
    const AcDbObjectId id = m_database.recordIdByName(m_database.layerTableId(), name);
    if (const auto* record = AcDbLayerTableRecord::cast(m_database.peekObject(id))) {
        look.visible = !record->isOff() && !record->isFrozen();
        look.color =
            record->trueColor() >= 0 ? trueColor(record->trueColor()) : fromIndex(record->colorIndex());
        look.pattern = linetype(record->linetypeName());
        look.lineWeightMillimetres =
            millimetres(record->lineWeight(), kDefaultLineWeight, kDefaultLineWeight);
    }
    return m_layers.emplace(nameIndex, look).first->second;
}

EffectiveStyle StyleResolver::resolve(const AcDbEntity& entity, const InheritedStyle* inherited) const {
    EffectiveStyle style;
    std::uint32_t layerIndex = entity.layerNameId().index();
    const std::wstring* layerName = &entity.layerName();
    // Entities on layer "0" inside a block take the layer of the reference that shows them.
    if (inherited != nullptr && inherited->layerIndex != 0 && *layerName == L"0") {
        layerIndex = inherited->layerIndex;
        layerName = nullptr;
    }
    const LayerLook& look = layerName != nullptr ? layer(layerIndex, *layerName) : m_layers.at(layerIndex);
    style.layerIndex = layerIndex;
    style.visible = look.visible && entity.visibility() == AcDb::kVisible;
    const QColor blockColor = inherited != nullptr ? inherited->color : foreground();
    if (entity.trueColor() >= 0) {
        style.color = trueColor(entity.trueColor());
    } else if (entity.colorIndex() == AcDbEntity::kColorByLayer) {
        style.color = look.color;
    } else if (entity.colorIndex() == AcDbEntity::kColorByBlock) {
        style.color = blockColor;
    } else {
        style.color = fromIndex(entity.colorIndex());
    }
    const LinetypeChoice& choice = linetypeChoice(entity.linetypeName());
    if (choice.kind == LinetypeChoice::Kind::ByLayer) {
        style.pattern = look.pattern;
    } else if (choice.kind == LinetypeChoice::Kind::ByBlock) {
        style.pattern = inherited != nullptr ? inherited->pattern : nullptr;
    } else {
        style.pattern = choice.pattern;
    }
    style.lineWeightMillimetres =
        millimetres(entity.lineWeight(), look.lineWeightMillimetres,
                    inherited != nullptr ? inherited->lineWeightMillimetres : kDefaultLineWeight);
    return style;
}

} // namespace cad::gui
