// The lineweight list of the criteria pages: ByLayer, ByBlock, Default and the standard weights in
// hundredths of a millimetre, each shown with a stroke of its own thickness as a CAD program does.
#pragma once

#include "platform/export.h"

#include <QComboBox>
#include <span>

namespace cad::gui {

class QUELTO_EXPORT LineweightComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kByLayer = -1;
    static constexpr int kByBlock = -2;
    static constexpr int kByLineWeightDefault = -3;

    explicit LineweightComboBox(QWidget* parent = nullptr);

    // The chosen value (hundredths of a millimetre, or one of the three negative codes); ByLayer when
    // nothing is chosen.
    int lineWeight() const;
    // Chooses the item of the value; a value not in the list chooses nothing.
    void setLineWeight(int value);

    // The weights a drawing may store (DXF group 370), in ascending order.
    static std::span<const int> standardWeights();
    static QString lineWeightName(int value);
};

} // namespace cad::gui
