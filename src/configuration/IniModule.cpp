#include "configuration/IniModule.h"

#include "text/Characters.h"

namespace twk::configuration {
namespace {

// Far more than 126 characters of any encoding: a huge value is not read whole.
constexpr std::size_t kLongestRead = 1 << 16;

} // namespace

std::string ReadIni(ini::IniFiles& ini, const std::string& section, const std::string& key, const std::string& file)
{
    const auto value = ini.read(file, section, key, kLongestRead);
    if (!value || value->empty())
        return std::string(kIniBufferSize, '\0');
    return std::string(text::firstCharacters(*value, kIniLongestValue));
}

} // namespace twk::configuration
