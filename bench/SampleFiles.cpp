#include "SampleFiles.h"

#include "SampleLog.h"
#include "fakes/TempFolder.h"

#include <filesystem>
#include <map>

namespace twk::bench {

std::string SampleLogFile(long sections)
{
    static twk::testing::TempFolder folder;
    static std::map<long, std::uintmax_t> sizes;
    const auto path = folder.file("twk" + std::to_string(sections) + ".txt");
    if (const auto made = sizes.find(sections); made != sizes.end()) {
        std::filesystem::resize_file(path, made->second);
        return path;
    }
    const auto content = SampleLog(sections);
    twk::testing::writeFile(path, content);
    sizes[sections] = content.size();
    return path;
}

} // namespace twk::bench
