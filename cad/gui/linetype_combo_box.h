// The linetype list of the criteria pages: one item per linetype with a sample of its dash pattern
// drawn in front of the name and the description beside it, as a CAD program lists its linetypes.
#pragma once

#include "platform/export.h"

#include <QComboBox>
#include <QString>
#include <vector>

namespace cad::gui {

struct LinetypeSample {
    QString name;        // the text the list shows and finds the item by
    QString description; // drawn beside the name
    // Dash lengths in drawing units as DXF group 49 gives them: positive draws, negative skips, zero
    // is a dot. Empty: a continuous line.
    std::vector<double> dashes;
};

class QUELTO_EXPORT LinetypeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit LinetypeComboBox(QWidget* parent = nullptr);

    // Replaces the items; nothing is chosen afterwards.
    void setLinetypes(const std::vector<LinetypeSample>& linetypes);
    QString descriptionAt(int item) const;
};

} // namespace cad::gui
