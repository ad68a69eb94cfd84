// How an entity looks on screen: its effective colour (ByLayer and ByBlock resolved, true colours, the
// 256 index colours), linetype dash pattern and lineweight, and whether its layer shows it at all. The
// layer, linetype and header lookups are cached per drawing, since a redraw asks for every entity.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "platform/export.h"

#include <QColor>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace cad::gui {

// The RGB of an index colour 1..255; 7 (white/black) answers white, the caller flips it for paper.
QUELTO_EXPORT QColor indexColor(int index);

// Dash lengths in drawing units: positive draws, negative skips, zero is a dot.
struct DashPattern {
    std::vector<double> dashes;
    double length = 0.0;
    bool isContinuous() const { return dashes.empty() || length <= 0.0; }
};

// What a block reference hands down to the entities of its block that say ByBlock, and the layer
// that entities on layer "0" inside the block take.
struct InheritedStyle {
    QColor color;
    std::uint32_t layerIndex = 0; // interned name index; 0: none (top level)
    const DashPattern* pattern = nullptr;
    double lineWeightMillimetres = 0.25;
};

struct EffectiveStyle {
    bool visible = true;
    QColor color;
    const DashPattern* pattern = nullptr; // null: continuous
    double lineWeightMillimetres = 0.25;
    std::uint32_t layerIndex = 0;
};

class QUELTO_EXPORT StyleResolver {
public:
    // `paper`: drawing for print on white, where colour 7 is black.
    StyleResolver(const AcDbDatabase& database, bool paper);

    EffectiveStyle resolve(const AcDbEntity& entity, const InheritedStyle* inherited) const;
    // $LTSCALE of the drawing.
    double linetypeScale() const { return m_linetypeScale; }
    bool showLineWeights() const { return m_showLineWeights; }
    QColor foreground() const { return m_paper ? QColor(Qt::black) : QColor(Qt::white); }

private:
    struct LayerLook {
        bool visible = true;
        QColor color;
        const DashPattern* pattern = nullptr;
        double lineWeightMillimetres = 0.25;
    };
    struct LinetypeChoice {
        enum class Kind { ByLayer, ByBlock, Named };
        Kind kind = Kind::Named;
        const DashPattern* pattern = nullptr;
    };
    const LinetypeChoice& linetypeChoice(const std::wstring& name) const;
    const LayerLook& layer(std::uint32_t nameIndex, const std::wstring& name) const;
    const DashPattern* linetype(const std::wstring& name) const;
    QColor fromIndex(int index) const;

    const AcDbDatabase& m_database;
    bool m_paper;
    double m_linetypeScale = 1.0;
    bool m_showLineWeights = false;
    mutable std::unordered_map<std::uint32_t, LayerLook> m_layers;
    mutable std::unordered_map<std::wstring, DashPattern> m_linetypes;
    mutable std::unordered_map<const std::wstring*, LinetypeChoice> m_choices;
};

} // namespace cad::gui
