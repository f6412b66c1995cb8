#include "platform/qt/TemplateBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "platform/Localized.h"
#include "platform/qt/ComboWidget.h"
#include "platform/qt/EditWidget.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichEditWidget.h"
#include "platform/qt/StaticWidget.h"
#include "res/WinDefs.h"

namespace ui {
namespace {

QWidget* CreateButton(const res::ControlTemplate& control, QWidget* client) {
    const std::uint32_t kind = control.style & BS_TYPEMASK;
    switch (kind) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return new QCheckBox(client);
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            auto* radio = new QRadioButton(client);
            radio->setAutoExclusive(false);  // the dialog keeps the template's groups
            return radio;
        }
        case BS_GROUPBOX:
            return new StaticWidget(StaticWidget::Look::GroupBox, client);
        default: {
            auto* button = new QPushButton(client);
            button->setAutoDefault(false);
            button->setDefault(kind == BS_DEFPUSHBUTTON);
            return button;
        }
    }
}

QWidget* CreateStatic(const res::ControlTemplate& control, QWidget* client) {
    const std::uint32_t kind = control.style & 0x1F;
    const auto look = kind == SS_BLACKRECT    ? StaticWidget::Look::BlackRect
                      : kind == SS_BLACKFRAME ? StaticWidget::Look::BlackFrame
                                              : StaticWidget::Look::Text;
    auto* label = new StaticWidget(look, client);
    if (kind == SS_CENTER)
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    else if (kind == SS_RIGHT)
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    else
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (control.style & SS_CENTERIMAGE)
        label->setAlignment((label->alignment() & ~Qt::AlignTop) | Qt::AlignVCenter);
    label->setWordWrap(kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT);
    if (control.style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

// Room above and below a row's text for the selection and focus frames.
constexpr int kRowPadding = 4;

QWidget* CreateList(const res::ControlTemplate& control, QWidget* client, const QFont& font) {
    auto* table = new QTableWidget(client);
    // A report list shows one line per row at the font's height; a text too
    // long for its column is cut short.
    const int rowHeight = QFontMetrics(font).height() + kRowPadding;
    table->verticalHeader()->setMinimumSectionSize(rowHeight);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setSelectionMode((control.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                            : QAbstractItemView::ExtendedSelection);
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}

QWidget* CreateRichEdit(const res::ControlTemplate& control, QWidget* client) {
    auto* edit = new RichEditWidget(client);
    edit->setLineWrapMode((control.style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                           : QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy((control.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
    edit->setReadOnly(control.style & ES_READONLY);
    return edit;
}

}  // namespace

TemplateBuilder::TemplateBuilder(const res::DialogTemplate& dialog)
    : m_dialog(dialog), m_font(QApplication::font()) {
    if (dialog.pointSize > 0) m_font.setPointSize(dialog.pointSize);
    const QFontMetrics metrics(m_font);
    m_units = DialogUnits::FromFont(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
        metrics.height());
}

QRect TemplateBuilder::ToPixels(const res::Rect& rect) const {
    const RECT pixels = m_units.ToPixels(rect);
    return QRect(pixels.left, pixels.top, pixels.Width(), pixels.Height());
}

QSize TemplateBuilder::DialogSize() const {
    return ToPixels(res::Rect{0, 0, m_dialog.cx, m_dialog.cy}).size();
}

QWidget* TemplateBuilder::CreateWidget(const res::ControlTemplate& control, QWidget* client) const {
    switch (control.cls) {
        case res::ControlClass::Button:
            return CreateButton(control, client);
        case res::ControlClass::Static:
            return CreateStatic(control, client);
        case res::ControlClass::Edit: {
            auto* edit = new EditWidget(client);
            edit->setReadOnly(control.style & ES_READONLY);
            return edit;
        }
        case res::ControlClass::ComboBox:
            return new ComboWidget((control.style & 0x3) != CBS_DROPDOWNLIST, control.style & CBS_SORT,
                                   client);
        case res::ControlClass::ListView:
            return CreateList(control, client, m_font);
        case res::ControlClass::RichEdit:
            return CreateRichEdit(control, client);
    }
    return new QWidget(client);
}

QWidget* TemplateBuilder::CreateControl(const res::ControlTemplate& control, QWidget* client) const {
    QWidget* widget = CreateWidget(control, client);
    widget->setFont(m_font);
    QRect rect = ToPixels(Localized(control));
    // A combo box's template height includes its dropped-down list.
    if (control.cls == res::ControlClass::ComboBox) rect.setHeight(widget->sizeHint().height());
    widget->setGeometry(rect);
    const QString text = ToQString(Localized(control.text));
    if (!text.isEmpty()) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setText(text);
    }
    if (!(control.style & WS_TABSTOP) && widget->focusPolicy() != Qt::NoFocus)
        widget->setFocusPolicy(Qt::ClickFocus);
    if (control.style & WS_DISABLED) widget->setEnabled(false);
    if (!(control.style & WS_VISIBLE)) widget->setVisible(false);
    return widget;
}

}  // namespace ui
