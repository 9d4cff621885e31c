#pragma once

#include "ui/CheckBox.h"
#include "ui/Control.h"
#include "ui/ListBox.h"
#include "ui/OptionButton.h"

class QAbstractButton;
class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace twk::qt {

class WindowWidget;

// Keeps a widget and a control of the program's model in step, both ways.
// Nothing reaches the model once the owning window has been detached.
void bind(WindowWidget& owner, QCheckBox& widget, ui::CheckBox& control);
void bind(WindowWidget& owner, QRadioButton& widget, ui::OptionButton& control);
void bind(WindowWidget& owner, QPushButton& widget, ui::Button& control);
void bind(WindowWidget& owner, QListWidget& widget, ui::ListBox& control);
// Captions, tooltips and visibility of a label or a frame.
void bindLook(QWidget& widget, ui::Control& control);

} // namespace twk::qt
