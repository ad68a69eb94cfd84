// The colour list of the criteria pages, drawn like a CAD program's own: ByLayer, ByBlock, the seven
// standard index colours and the colours used recently, each with a swatch of its index-palette RGB,
// and "选择颜色..." to pick any of the 255 index colours from a palette grid.
#pragma once

#include "platform/export.h"

#include <QComboBox>

namespace cad::gui {

class QUELTO_EXPORT ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kByBlock = 0;
    static constexpr int kByLayer = 256;

    explicit ColorComboBox(QWidget* parent = nullptr);

    // The chosen colour index (0 ByBlock, 1-255, 256 ByLayer); ByLayer when nothing is chosen.
    int colorIndex() const;
    // Chooses the index, first adding it to the recent colours when the list lacks it. Indexes outside
    // 0-256 are ignored.
    void setColorIndex(int index);
    // Puts the index among the recent colours (after the standard ones, newest first, at most eight).
    void addRecentColor(int index);

    // The item text of an index: "随层", "随块", the standard colour names, otherwise "颜色 N".
    static QString colorName(int index);

signals:
    void colorIndexChanged(int index);

private:
    int itemOfIndex(int index) const;
    void insertColorItem(int position, int index);
    void onActivated(int item);

    int m_lastIndex = kByLayer;
};

} // namespace cad::gui
