// The CAD list controls: colour swatches drawn from the index palette, recent colours added in front
// and limited, lineweight items by value, and linetype items with their descriptions.

#include "cad/gui/color_combo_box.h"
#include "cad/gui/entity_style.h"
#include "cad/gui/linetype_combo_box.h"
#include "cad/gui/lineweight_combo_box.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QRgb swatchCentre(const cad::gui::ColorComboBox& box, int item) {
    const QImage image = box.itemIcon(item).pixmap(box.iconSize()).toImage();
    return image.pixel(image.width() / 2, image.height() / 2 + 2);
}

TEST(CadListControls, ColourSwatchesUseTheIndexPaletteAndRecentColoursStayFew) {
    cad::gui::ColorComboBox box;
    EXPECT_EQ(box.colorIndex(), cad::gui::ColorComboBox::kByLayer);
    box.setColorIndex(1);
    EXPECT_EQ(box.currentText(), QStringLiteral("红"));
    EXPECT_EQ(swatchCentre(box, box.currentIndex()), qRgb(255, 0, 0));

    const int before = box.count();
    box.setColorIndex(30);
    EXPECT_EQ(box.colorIndex(), 30);
    EXPECT_EQ(box.count(), before + 1);
    EXPECT_EQ(box.currentText(), QStringLiteral("颜色 30"));
    EXPECT_EQ(swatchCentre(box, box.currentIndex()), cad::gui::indexColor(30).rgb());

    for (int index = 40; index < 52; ++index) {
        box.addRecentColor(index);
    }
    EXPECT_EQ(box.count(), before + 8);
    EXPECT_EQ(box.findText(QStringLiteral("颜色 51")), before - 1) << "the newest recent colour comes first";
    EXPECT_EQ(box.findText(QStringLiteral("颜色 30")), -1);
    box.setColorIndex(0);
    EXPECT_EQ(box.currentText(), QStringLiteral("随块"));
    box.setColorIndex(300);
    EXPECT_EQ(box.colorIndex(), 0) << "an index outside the palette changes nothing";
}

TEST(CadListControls, LineweightsAndLinetypesByValue) {
    cad::gui::LineweightComboBox weights;
    weights.setLineWeight(211);
    EXPECT_EQ(weights.currentText(), QStringLiteral("2.11 毫米"));
    EXPECT_EQ(weights.lineWeight(), 211);
    weights.setLineWeight(-3);
    EXPECT_EQ(weights.currentText(), QStringLiteral("默认"));
    weights.setLineWeight(17);
    EXPECT_EQ(weights.currentIndex(), -1);
    EXPECT_EQ(weights.lineWeight(), cad::gui::LineweightComboBox::kByLayer);

    cad::gui::LinetypeComboBox linetypes;
    linetypes.setLinetypes({{QStringLiteral("随层"), QString(), {}},
                            {QStringLiteral("DASHED"), QStringLiteral("Dashed __ __"), {0.5, -0.25}}});
    EXPECT_EQ(linetypes.currentIndex(), -1);
    EXPECT_EQ(linetypes.count(), 2);
    EXPECT_EQ(linetypes.descriptionAt(1), QStringLiteral("Dashed __ __"));
    EXPECT_FALSE(linetypes.itemIcon(1).isNull());
}

} // namespace
