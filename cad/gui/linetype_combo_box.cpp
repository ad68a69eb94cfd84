// Linetype items: the pattern sample is the item's icon (so the closed list shows it too); the popup's
// delegate adds the description in a column of its own beside the name.

#include "cad/gui/linetype_combo_box.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <cmath>

namespace cad::gui {
namespace {

constexpr int kDescriptionRole = Qt::UserRole + 1;
constexpr QSize kSampleSize(48, 10);
constexpr int kNameColumnWidth = 150;

// Two repetitions of the pattern across the sample, whatever its length in drawing units.
QIcon patternSample(const std::vector<double>& dashes) {
    QPixmap pixmap(kSampleSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1));
    const double y = kSampleSize.height() / 2.0;
    double patternLength = 0.0;
    for (double dash : dashes) {
        patternLength += std::fabs(dash);
    }
    if (patternLength <= 0.0) {
        painter.drawLine(QPointF(0, y), QPointF(kSampleSize.width(), y));
        return QIcon(pixmap);
    }
    const double scale = kSampleSize.width() / (2.0 * patternLength);
    double x = 0.0;
    while (x < kSampleSize.width()) {
        for (double dash : dashes) {
            const double length = std::fabs(dash) * scale;
            if (dash > 0.0) {
                painter.drawLine(QPointF(x, y), QPointF(x + length, y));
            } else if (dash == 0.0) {
                painter.drawPoint(QPointF(x, y));
            }
            x += length;
        }
    }
    return QIcon(pixmap);
}

class DescriptionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem nameOption = option;
        nameOption.rect.setWidth(std::min(option.rect.width(), kNameColumnWidth));
        QStyledItemDelegate::paint(painter, nameOption, index);
        const QRect rest = option.rect.adjusted(kNameColumnWidth + 4, 0, 0, 0);
        if (rest.width() > 0) {
            painter->save();
            painter->setPen(option.palette.color(
                (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
            painter->drawText(rest, Qt::AlignVCenter | Qt::AlignLeft,
                              index.data(kDescriptionRole).toString());
            painter->restore();
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString description = index.data(kDescriptionRole).toString();
        size.setWidth(kNameColumnWidth + 8 + option.fontMetrics.horizontalAdvance(description));
        return size;
    }
};

} // namespace

LinetypeComboBox::LinetypeComboBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(kSampleSize);
    setItemDelegate(new DescriptionDelegate(this));
}

void LinetypeComboBox::setLinetypes(const std::vector<LinetypeSample>& linetypes) {
    clear();
    int widest = 0;
    for (const LinetypeSample& linetype : linetypes) {
        addItem(patternSample(linetype.dashes), linetype.name);
        setItemData(count() - 1, linetype.description, kDescriptionRole);
        widest = std::max(widest, fontMetrics().horizontalAdvance(linetype.description));
    }
    view()->setMinimumWidth(kNameColumnWidth + 16 + widest);
    setCurrentIndex(-1);
}

QString LinetypeComboBox::descriptionAt(int item) const {
    return itemData(item, kDescriptionRole).toString();
}

} // namespace cad::gui
