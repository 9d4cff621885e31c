#include "ui/TextBox.h"

namespace twk::ui {

void TextBox::setText(std::string text)
{
    if (text == *text_)
        return;
    text_ = std::make_shared<std::string>(std::move(text));
    changed();
}

void TextBox::setTextOf(const TextBox& other)
{
    if (other.text_ == text_ || *other.text_ == *text_)
        return;
    text_ = other.text_;
    changed();
}

void TextBox::changed()
{
    ++revision_;
    if (onDisplay)
        onDisplay();
    if (onChange)
        onChange();
}

void TextBox::append(std::string_view more)
{
    if (more.empty())
        return;
    if (text_.use_count() > 1)
        text_ = std::make_shared<std::string>(*text_); // the other box keeps its text
    // Room for as much again: the next lines go in without copying a long text, and
    // room not yet written costs no memory.
    if (const auto size = text_->size() + more.size(); size > text_->capacity())
        text_->reserve(2 * size);
    *text_ += more;
    ++revision_;
    if (onAppended)
        onAppended(more);
    else if (onDisplay)
        onDisplay();
    if (onChange)
        onChange();
}

void TextBox::setSize(float width, float height)
{
    bounds_.width = width;
    bounds_.height = height;
    if (onDisplay)
        onDisplay();
}

void TextBox::setVisible(bool visible)
{
    visible_ = visible;
    if (onDisplay)
        onDisplay();
}

void TextBox::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (onDisplay)
        onDisplay();
}

} // namespace twk::ui
