#include "logbrowser/LogChanges.h"

#include <algorithm>
#include <set>
#include <utility>

namespace twk::logbrowser {

std::vector<std::size_t> growingLogs(const std::vector<LogFile>& logs)
{
    std::vector<std::size_t> growing;
    bool newestClipDay = false;
    bool newestLinkDay = false;
    // Logs come newest first: the first file per day of each kind is the newest.
    for (std::size_t i = 0; i < logs.size(); ++i) {
        switch (logs[i].kind) {
        case LogKind::ClipContinuous:
        case LogKind::LinkContinuous:
            growing.push_back(i);
            break;
        case LogKind::ClipPerDay:
            if (!std::exchange(newestClipDay, true))
                growing.push_back(i);
            break;
        case LogKind::LinkPerDay:
            if (!std::exchange(newestLinkDay, true))
                growing.push_back(i);
            break;
        case LogKind::ClipPerCopy:
            break;
        }
    }
    return growing;
}

LogChanges logChanges(const std::vector<LogFile>& known, const std::vector<std::optional<platform::FileStamp>>& was,
                      const std::vector<std::optional<platform::FileStamp>>& now,
                      const std::optional<std::vector<LogFile>>& listed)
{
    LogChanges changes;
    for (std::size_t i = 0; i < known.size() && i < was.size() && i < now.size(); ++i) {
        const auto& before = was[i];
        const auto& after = now[i];
        if (before == after)
            continue;
        const bool sameFile = before && after && before->inode == after->inode && before->device == after->device;
        if (sameFile && after->size > before->size)
            changes.grown.push_back(i);
        else if (sameFile && after->size == before->size)
            continue; // touched, not changed in length: an in-place change of a value is a rewrite, which replaces
        else
            changes.other = true;
    }
    if (listed) {
        std::set<std::string> names;
        for (const auto& file : known)
            names.insert(file.name);
        std::set<std::string> present;
        for (const auto& file : *listed) {
            present.insert(file.name);
            if (!names.count(file.name))
                changes.added.push_back(file);
        }
        for (const auto& file : known)
            if (!present.count(file.name))
                changes.other = true;
    }
    return changes;
}

} // namespace twk::logbrowser
