#include "ini/SectionNameBounds.h"

#include "text/Characters.h"

namespace twk::ini {
namespace {

std::string shapeOf(std::string_view folded)
{
    std::string shape(folded);
    for (char& c : shape)
        if (c >= '0' && c <= '9')
            c = '9';
    return shape;
}

} // namespace

void SectionNameBounds::add(std::string_view name)
{
    if (name.size() > kLongestName)
        return; // never equal to a name that is asked for
    const auto folded = text::asciiLower(name);
    auto shape = shapeOf(folded);
    const auto found = greatest_.find(shape);
    if (found != greatest_.end()) {
        if (folded > found->second)
            found->second = folded;
        return;
    }
    if (greatest_.size() >= kMostShapes) {
        shapesDropped_ = true;
        return;
    }
    greatest_.emplace(std::move(shape), folded);
}

bool SectionNameBounds::surelyAbsent(std::string_view name) const
{
    if (name.size() > kLongestName)
        return false;
    const auto folded = text::asciiLower(name);
    const auto found = greatest_.find(shapeOf(folded));
    if (found == greatest_.end())
        return !shapesDropped_;
    return folded > found->second;
}

} // namespace twk::ini
