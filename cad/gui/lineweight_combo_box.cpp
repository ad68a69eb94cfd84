// Lineweight items carry their value as item data and a stroke drawn at the weight's width, scaled so
// that the heaviest weight still fits the item's height.

#include "cad/gui/lineweight_combo_box.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace cad::gui {
namespace {

constexpr std::array<int, 24> kWeights = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                          53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
constexpr QSize kSampleSize(40, 12);
// Pixels per millimetre of the samples: 2.11 mm draws 9 pixels wide.
constexpr double kPixelsPerMillimetre = 4.2;

QIcon stroke(int value) {
    QPixmap pixmap(kSampleSize);
    pixmap.fill(Qt::transparent);
    if (value >= 0) {
        QPainter painter(&pixmap);
        const int width = std::max(1, static_cast<int>(value / 100.0 * kPixelsPerMillimetre + 0.5));
        painter.fillRect(QRect(0, (kSampleSize.height() - width) / 2, kSampleSize.width(), width), Qt::black);
    }
    return QIcon(pixmap);
}

} // namespace

LineweightComboBox::LineweightComboBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(kSampleSize);
    for (int value : {kByLayer, kByBlock, kByLineWeightDefault}) {
        addItem(stroke(value), lineWeightName(value), value);
    }
    for (int value : kWeights) {
        addItem(stroke(value), lineWeightName(value), value);
    }
    setCurrentIndex(0);
}

std::span<const int> LineweightComboBox::standardWeights() {
    return kWeights;
}

QString LineweightComboBox::lineWeightName(int value) {
    switch (value) {
    case kByLayer:
        return QStringLiteral("随层");
    case kByBlock:
        return QStringLiteral("随块");
    case kByLineWeightDefault:
        return QStringLiteral("默认");
    default:
        return QStringLiteral("%1 毫米").arg(value / 100.0, 0, 'f', 2);
    }
}

int LineweightComboBox::lineWeight() const {
    const int item = currentIndex();
    return item < 0 ? kByLayer : itemData(item).toInt();
}

void LineweightComboBox::setLineWeight(int value) {
    setCurrentIndex(findData(value));
}

} // namespace cad::gui
