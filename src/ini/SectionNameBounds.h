#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace twk::ini {

// Tells, in bounded memory, that a section name is surely not among the
// names of a file, for the names a log adds: stamps that grow with time.
// Names are grouped by shape (their length, where they hold digits, their
// other characters without regard to case); for each shape the greatest
// name is kept, and a name beyond it cannot be in the file. Copied lines
// that look like sections make shapes of their own and do not hide the
// stamps. Anything it cannot tell is left to a look at the file.
class SectionNameBounds {
public:
    static constexpr std::size_t kLongestName = 64;
    static constexpr std::size_t kMostShapes = 1024;

    void add(std::string_view name);
    bool surelyAbsent(std::string_view name) const;

private:
    std::unordered_map<std::string, std::string> greatest_; // by shape, names folded
    bool shapesDropped_ = false;
};

} // namespace twk::ini
