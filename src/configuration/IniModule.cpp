#include "configuration/IniModule.h"

#include "text/Characters.h"

namespace twk::configuration {

std::string ReadIni(IniFiles& ini, const std::string& section, const std::string& key, const std::string& file)
{
    const auto value = ini.read(file, section, key);
    if (!value || value->empty())
        return std::string(kIniBufferSize, '\0');
    return std::string(text::firstCharacters(*value, kIniLongestValue));
}

} // namespace twk::configuration
