#include "tests/support/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "platform/qt/StaticWidget.h"

namespace tarnel::test {
namespace {

// Another platform's hinting may need a pixel or two more than this one's.
constexpr int kSpare = 2;

QString WithoutMnemonic(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

bool IsGroupBox(const QWidget& widget) {
    auto* box = dynamic_cast<const ui::StaticWidget*>(&widget);
    return box && box->GetLook() == ui::StaticWidget::Look::GroupBox;
}

QString TextOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return WithoutMnemonic(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return WithoutMnemonic(button->text());
    return {};
}

// A wrapping label is cut when its lines need more height than it has, or a
// word is wider than the label (Qt does not break inside a word).
int LabelOverflow(const QLabel& label, const QString& text) {
    const QFontMetrics metrics(label.font());
    const QRect box = label.contentsRect();
    if (!label.wordWrap()) return metrics.horizontalAdvance(text) + kSpare - box.width();
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, box.width() - kSpare, 100000), Qt::TextWordWrap, text);
    return std::max(needed.height() - box.height(), needed.width() + kSpare - box.width());
}

int ButtonOverflow(const QWidget& widget, const QString& text) {
    const QFontMetrics metrics(widget.font());
    const QStyle* style = widget.style();
    int indicator = 0;
    if (qobject_cast<const QCheckBox*>(&widget)) {
        indicator = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                    style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    } else if (qobject_cast<const QRadioButton*>(&widget)) {
        indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                    style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    } else {
        constexpr int kButtonMargins = 8;
        indicator = kButtonMargins;
    }
    return indicator + metrics.horizontalAdvance(text) + kSpare - widget.width();
}

// How many pixels a widget's text needs beyond what the widget has; 0 or less
// when it fits.
int Overflow(const QWidget& widget) {
    const QString text = TextOf(widget);
    if (text.isEmpty()) return 0;
    if (IsGroupBox(widget)) {
        constexpr int kMargins = 16;
        return QFontMetrics(widget.font()).horizontalAdvance(text) + kMargins + kSpare - widget.width();
    }
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return LabelOverflow(*label, text);
    return ButtonOverflow(widget, text);
}

// The columns must fit also once rows fill the list and its vertical scroll
// bar takes its share of the width.
int ColumnsOverflow(const QTableView& table) {
    const int columns = table.horizontalHeader()->length();
    if (columns == 0) return 0;
    int room = table.contentsRect().width();
    if (table.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        room -= table.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &table);
    return columns - room;
}

}  // namespace

QStringList CutTexts(const QWidget& root) {
    QStringList cut;
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root)) continue;
        if (auto* table = qobject_cast<const QTableView*>(widget)) {
            if (const int overflow = ColumnsOverflow(*table); overflow > 0)
                cut << QStringLiteral("the columns of a list by %1 px").arg(overflow);
            continue;
        }
        if (const int overflow = Overflow(*widget); overflow > 0) {
            cut << QStringLiteral("%1 \"%2\" by %3 px (control %4 x %5 px)")
                       .arg(QLatin1String(widget->metaObject()->className()), TextOf(*widget))
                       .arg(overflow)
                       .arg(widget->width())
                       .arg(widget->height());
        }
    }
    return cut;
}

}  // namespace tarnel::test
