// Colour list items carry their index as item data; the "选择颜色..." item carries -1 and opens a grid of
// the index palette laid out like the host's colour dialog (the hue wheel 10-249 in 24 columns of ten
// shades, then the standard colours and the greys).

#include "cad/gui/color_combo_box.h"

#include "cad/gui/entity_style.h"

#include <QDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <array>

namespace cad::gui {
namespace {

constexpr int kChooseItemData = -1;
constexpr int kRecentLimit = 8;
constexpr std::array<int, 9> kStandardIndexes = {
    ColorComboBox::kByLayer, ColorComboBox::kByBlock, 1, 2, 3, 4, 5, 6, 7};
constexpr QSize kSwatchSize(14, 14);

QIcon swatch(int index) {
    QPixmap pixmap(kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect box(0, 0, kSwatchSize.width() - 1, kSwatchSize.height() - 1);
    if (index == 7) {
        // Colour 7 is white on a dark background and black on paper: both halves, as the host shows it.
        painter.fillRect(box, Qt::white);
        const std::array<QPoint, 3> lowerHalf = {box.bottomLeft(), box.bottomRight(), box.topRight()};
        painter.setBrush(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(lowerHalf.data(), static_cast<int>(lowerHalf.size()));
    } else if (index >= 1 && index <= 255) {
        painter.fillRect(box, indexColor(index));
    } else {
        painter.fillRect(box, Qt::white);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(box);
    return QIcon(pixmap);
}

// The palette grid; answers the chosen index, or -1 when the user closed it.
int pickIndexColor(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("选择颜色"));
    auto* grid = new QGridLayout(&dialog);
    grid->setSpacing(1);
    int chosen = -1;
    const auto addButton = [&](int index, int row, int column) {
        auto* button = new QToolButton(&dialog);
        button->setIcon(swatch(index));
        button->setIconSize(kSwatchSize);
        button->setAutoRaise(true);
        button->setToolTip(ColorComboBox::colorName(index));
        QObject::connect(button, &QToolButton::clicked, &dialog, [&dialog, &chosen, index] {
            chosen = index;
            dialog.accept();
        });
        grid->addWidget(button, row, column);
    };
    for (int index = 10; index <= 249; ++index) {
        const int hueColumn = (index - 10) / 10;
        addButton(index, index % 10, hueColumn);
    }
    for (int index = 1; index <= 9; ++index) {
        addButton(index, 11, index - 1);
    }
    for (int index = 250; index <= 255; ++index) {
        addButton(index, 11, index - 250 + 12);
    }
    dialog.exec();
    return chosen;
}

} // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(kSwatchSize);
    for (int index : kStandardIndexes) {
        insertColorItem(count(), index);
    }
    addItem(QStringLiteral("选择颜色..."), kChooseItemData);
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &ColorComboBox::onActivated);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int item) {
        const int index = itemData(item).toInt();
        if (item >= 0 && index != kChooseItemData) {
            m_lastIndex = index;
            emit colorIndexChanged(index);
        }
    });
}

QString ColorComboBox::colorName(int index) {
    switch (index) {
    case kByLayer:
        return QStringLiteral("随层");
    case kByBlock:
        return QStringLiteral("随块");
    case 1:
        return QStringLiteral("红");
    case 2:
        return QStringLiteral("黄");
    case 3:
        return QStringLiteral("绿");
    case 4:
        return QStringLiteral("青");
    case 5:
        return QStringLiteral("蓝");
    case 6:
        return QStringLiteral("洋红");
    case 7:
        return QStringLiteral("白");
    default:
        return QStringLiteral("颜色 %1").arg(index);
    }
}

int ColorComboBox::colorIndex() const {
    const int item = currentIndex();
    if (item < 0) {
        return kByLayer;
    }
    const int index = itemData(item).toInt();
    return index == kChooseItemData ? m_lastIndex : index;
}

void ColorComboBox::setColorIndex(int index) {
    if (index < kByBlock || index > kByLayer) {
        return;
    }
    if (itemOfIndex(index) < 0) {
        addRecentColor(index);
    }
    setCurrentIndex(itemOfIndex(index));
}

void ColorComboBox::addRecentColor(int index) {
    if (index < kByBlock || index > kByLayer || itemOfIndex(index) >= 0) {
        return;
    }
    const int firstRecent = static_cast<int>(kStandardIndexes.size());
    insertColorItem(firstRecent, index);
    const int chooseItem = findData(kChooseItemData);
    if (chooseItem - firstRecent > kRecentLimit) {
        removeItem(chooseItem - 1);
    }
}

int ColorComboBox::itemOfIndex(int index) const {
    return findData(index);
}

void ColorComboBox::insertColorItem(int position, int index) {
    insertItem(position, swatch(index), colorName(index), index);
}

void ColorComboBox::onActivated(int item) {
    if (itemData(item).toInt() != kChooseItemData) {
        return;
    }
    // Offscreen (scripts, tests) nobody could answer the palette, so the choice is left as it was.
    const int picked =
        QGuiApplication::platformName() == QLatin1String("offscreen") ? -1 : pickIndexColor(this);
    setColorIndex(picked >= 0 ? picked : m_lastIndex);
}

} // namespace cad::gui
