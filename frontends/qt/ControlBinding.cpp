#include "ControlBinding.h"

#include "Texts.h"
#include "WindowWidget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace twk::qt {
namespace {

void showLook(QWidget& widget, const ui::Control& control)
{
    const QString caption = toQt(control.caption());
    if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        button->setText(caption);
    else if (auto* label = qobject_cast<QLabel*>(&widget))
        label->setText(caption);
    else if (auto* box = qobject_cast<QGroupBox*>(&widget))
        box->setTitle(caption);
    widget.setToolTip(toQt(control.tooltip()));
    widget.setEnabled(control.enabled());
    widget.setVisible(control.visible());
}

// The model's captions keep "&&" for a shown "&"; Qt reads them the same way.
template <class Refresh> void follow(QWidget& widget, ui::Control& control, Refresh refresh)
{
    QPointer<QWidget> guard(&widget);
    control.onDisplay = [guard, &control, refresh] {
        if (!guard)
            return;
        showLook(*guard, control);
        refresh();
    };
    showLook(widget, control);
    refresh();
}

} // namespace

void bindLook(QWidget& widget, ui::Control& control)
{
    follow(widget, control, [] {});
}

void bind(WindowWidget& owner, QCheckBox& widget, ui::CheckBox& control)
{
    QPointer<QCheckBox> guard(&widget);
    follow(widget, control, [guard, &control] {
        if (guard) {
            const QSignalBlocker quiet(guard.data());
            guard->setChecked(control.ticked());
        }
    });
    QObject::connect(&widget, &QCheckBox::toggled, &owner, [&owner, &control](bool checked) {
        if (owner.attached())
            control.setValue(checked ? 1 : 0);
    });
}

void bind(WindowWidget& owner, QRadioButton& widget, ui::OptionButton& control)
{
    // The model keeps each group to one choice; Qt's own grouping stays out of it.
    widget.setAutoExclusive(false);
    QPointer<QRadioButton> guard(&widget);
    follow(widget, control, [guard, &control] {
        if (guard) {
            const QSignalBlocker quiet(guard.data());
            guard->setChecked(control.selected());
        }
    });
    QObject::connect(&widget, &QRadioButton::clicked, &owner, [&owner, &control, guard] {
        if (!owner.attached())
            return;
        control.select();
        if (guard) {
            const QSignalBlocker quiet(guard.data());
            guard->setChecked(true);
        }
    });
}

void bind(WindowWidget& owner, QPushButton& widget, ui::Button& control)
{
    follow(widget, control, [] {});
    QObject::connect(&widget, &QPushButton::clicked, &owner, [&owner, &control] {
        if (owner.attached())
            control.click();
    });
}

void bind(WindowWidget& owner, QListWidget& widget, ui::ListBox& control)
{
    QPointer<QListWidget> guard(&widget);
    follow(widget, control, [guard, &control] {
        if (!guard)
            return;
        const QSignalBlocker quiet(guard.data());
        guard->clear();
        for (const auto& item : control.items())
            guard->addItem(toQt(item));
        guard->setCurrentRow(control.selectedIndex());
    });
    QObject::connect(&widget, &QListWidget::currentRowChanged, &owner, [&owner, &control](int row) {
        if (owner.attached() && row != control.selectedIndex())
            control.select(row);
    });
}

} // namespace twk::qt
