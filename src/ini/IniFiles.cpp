#include "ini/IniFiles.h"

#include "ini/IniEncoding.h"
#include "ini/IniRewrite.h"
#include "ini/IniText.h"
#include "text/Characters.h"

#include <algorithm>

namespace twk::ini {
namespace {

using Verdict = IniIndex::Verdict;
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kRewriteAttempts = 3;          // a file that keeps changing under the copy is left alone
constexpr std::size_t kFormLooked = 1 << 16; // what tells a file's form: its mark and its first line end
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

std::optional<std::string> IniFiles::read(const std::string& path, const std::string& section, const std::string& key,
                                          std::size_t longest)
{
    const auto stamp = files_.stamp(path);
    if (!stamp)
        return std::nullopt;
    if (const auto whole = wholeIfNotPlain(path, *stamp)) {
        auto value = *whole ? ini::valueInFile(**whole, section, key) : std::nullopt;
        if (value && value->size() > longest)
            value->resize(longest);
        return value;
    }
    IniScan scan(files_, path, 0, heldLine_);
    ScannedLine line;
    bool inside = false;
    while (scan.next(line)) {
        if (line.section) {
            if (inside)
                return std::nullopt; // only the first section of the name counts
            inside = scan.nameIs(line, section);
            continue;
        }
        if (!inside || !scan.keyIs(line, key))
            continue;
        if (!line.hasValue)
            return std::nullopt; // a key without a value reads as none
        // A value in double or single quotes is read without them.
        auto begin = line.valueBegin;
        auto end = line.valueEnd;
        if (end - begin >= 2) {
            const auto first = scan.bytes(begin, begin + 1);
            const auto last = scan.bytes(end - 1, end);
            if ((first == "\"" || first == "'") && last == first) {
                ++begin;
                --end;
            }
        }
        return scan.bytes(begin, begin + std::min<std::uint64_t>(end - begin, longest));
    }
    return std::nullopt;
}

SectionLook IniFiles::lookForSection(const std::string& path, const std::string& section)
{
    SectionLook look{false, path, section, std::nullopt};
    const auto stamp = files_.stamp(path);
    if (!stamp)
        return look;
    if (const auto* entry = indexedFor(path, *stamp); entry && entry->index && entry->index->surelyWithout(section))
        return look;
    if (const auto whole = wholeIfNotPlain(path, *stamp)) {
        look.present = *whole && ini::hasSection(ini::decoded(**whole).text, section);
        return look;
    }
    // The names looked through at start answer for a name of their day.
    const auto known = prefetch_.holds(path, *stamp, section);
    if (known.value_or(false)) {
        look.present = true;
        return look;
    }
    if (!known) {
        IniScan scan(files_, path, 0, heldLine_);
        ScannedLine line;
        look.present = scan.nextSectionNamed(section, line);
        if (look.present || scan.failed() || files_.stamp(path) != stamp)
            return look;
    }
    look.missingIn = *stamp;
    return look;
}

bool IniFiles::hasKey(const std::string& path, const std::string& section, const std::string& key)
{
    const auto stamp = files_.stamp(path);
    if (!stamp)
        return false;
    // The index tells when a write of the key would be a plain append.
    if (const auto* entry = indexedFor(path, *stamp); entry && entry->index)
        if (entry->index->answer(section, key, "").verdict == Verdict::Append)
            return false;
    return read(path, section, key, 0).has_value();
}

bool IniFiles::write(const std::string& path, const std::string& fullSection, const std::string& fullKey,
                     const std::string& fullValue, platform::NewFile access, const SectionLook& look)
{
    // Each part ends at its first NUL, as a C string does: the answer for an
    // absent value is 128 NULs, and not one of them may reach the file.
    const std::string section(text::beforeFirstNul(fullSection));
    const std::string key(text::beforeFirstNul(fullKey));
    // A value without a NUL (every log entry) goes on as it stands: a huge text is not copied.
    const auto kept = text::beforeFirstNul(fullValue);
    const std::string cutValue = kept.size() == fullValue.size() ? std::string() : std::string(kept);
    const std::string& value = kept.size() == fullValue.size() ? fullValue : cutValue;
    const auto before = files_.stamp(path);
    if (!before)
        return rewrite(path, section, key, value, access); // creates it
    auto* entry = usedEntry(path, *before);
    // Only files in plain form are indexed: a valid index saves the look at its form.
    if (const auto whole = entry ? std::nullopt : wholeIfNotPlain(path, *before)) {
        forget(path);
        return *whole && files_.replace(path, ini::fileWithValue(**whole, section, key, value), access);
    }
    const auto planned = plan(path, *before, entry, look, section, key, value);
    if (planned.verdict != Verdict::Append)
        return rewrite(path, section, key, value, access);

    const auto expected = before->size + planned.text.size();
    if (!files_.append(path, planned.text)) {
        forget(path); // an append cut short may leave a tail nobody knows: look again next time
        return false;
    }
    const auto after = files_.stamp(path);
    if (!after || after->size != expected) {
        forget(path); // someone else wrote to it too
        return true;
    }
    if (entry) {
        if (entry->index)
            entry->index->appended(planned.text);
        entry->stamp = *after;
    } else {
        remember(path, *after, std::nullopt);
    }
    return true;
}

IniIndex::Answer IniFiles::plan(const std::string& path, const platform::FileStamp& stamp, Indexed* entry,
                                const SectionLook& look, const std::string& section, const std::string& key,
                                const std::string& value)
{
    // A section the caller just found missing is added at the end: nothing
    // to read, and no index to make for it.
    if (look.missingIn == stamp && look.path == path && look.section == section)
        if (const auto end = lastByte(path, stamp.size))
            return {Verdict::Append, ini::newSectionText(*end, section, key, value)};
    if (entry && !entry->index) {
        // Written once already in this run: worth an index from now on.
        auto index = IniIndex::of(files_, path, heldLine_);
        if (!index || files_.stamp(path) != stamp) {
            forget(path);
            return {Verdict::Rewrite, {}};
        }
        entry->index = std::move(index);
    }
    if (entry) {
        auto answer = entry->index->answer(section, key, value);
        if (answer.verdict != Verdict::Unsure)
            return answer;
    }
    return probe(path, stamp, section, key, value);
}

// Looks through the file for the one section name: absent, the write adds a
// section at the end; present as the last section, with the key missing and
// no blank lines after it, the write adds the key at the end.
IniIndex::Answer IniFiles::probe(const std::string& path, const platform::FileStamp& stamp, const std::string& section,
                                 const std::string& key, const std::string& value)
{
    IniScan scan(files_, path, 0, heldLine_);
    ScannedLine line;
    IniIndex::Answer answer{Verdict::Rewrite, {}};
    if (!scan.nextSectionNamed(section, line)) {
        const auto end = lastByte(path, stamp.size);
        if (!scan.failed() && end)
            answer = {Verdict::Append, ini::newSectionText(*end, section, key, value)};
    } else {
        std::uint64_t lastLineNext = line.next;
        bool lastLineHasBreak = line.end != line.next;
        bool atEnd = true;
        while (atEnd && scan.next(line)) {
            if (line.section || scan.keyIs(line, key))
                atEnd = false;
            else if (!line.blank) {
                lastLineNext = line.next;
                lastLineHasBreak = line.end != line.next;
            }
        }
        if (atEnd && !scan.failed() && lastLineNext == stamp.size)
            answer = {Verdict::Append,
                      std::string(lastLineHasBreak ? "" : kLineEnd) + key + "=" + value + std::string(kLineEnd)};
    }
    if (answer.verdict == Verdict::Append && files_.stamp(path) != stamp)
        return {Verdict::Rewrite, {}}; // changed while it was read
    return answer;
}

bool IniFiles::rewrite(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value, platform::NewFile access)
{
    forget(path);
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt)
        if (RewriteWithValue(files_, path, section, key, value, access, heldLine_))
            return true;
    return false;
}

std::optional<std::optional<std::string>> IniFiles::wholeIfNotPlain(const std::string& path,
                                                                    const platform::FileStamp& stamp)
{
    const auto start = files_.readRange(path, 0, kFormLooked);
    if (start && ini::isPlainText(*start))
        return std::nullopt;
    // A log saved once with a UTF-8 mark grows past what is held whole: after
    // its mark it is plain, and is read and written in pieces like any log.
    if (start && stamp.size > kLargestWholeFile && start->starts_with(kUtf8Mark) &&
        ini::isPlainText(std::string_view(*start).substr(kUtf8Mark.size())))
        return std::nullopt;
    if (!start || stamp.size > kLargestWholeFile)
        return std::optional<std::string>(); // no hand-edited file: left alone
    return files_.read(path);
}

std::optional<std::string> IniFiles::lastByte(const std::string& path, std::uint64_t size)
{
    if (size == 0)
        return std::string();
    auto end = files_.readRange(path, size - 1, 1);
    if (!end || end->size() != 1)
        return std::nullopt;
    return end;
}

const IniFiles::Indexed* IniFiles::indexedFor(const std::string& path, const platform::FileStamp& stamp) const
{
    const auto found =
        std::find_if(indexed_.begin(), indexed_.end(), [&](const Indexed& entry) { return entry.path == path; });
    return found != indexed_.end() && found->stamp == stamp ? &*found : nullptr;
}

IniFiles::Indexed* IniFiles::usedEntry(const std::string& path, const platform::FileStamp& stamp)
{
    const auto found =
        std::find_if(indexed_.begin(), indexed_.end(), [&](const Indexed& entry) { return entry.path == path; });
    if (found == indexed_.end())
        return nullptr;
    if (found->stamp != stamp) {
        indexed_.erase(found); // changed behind our back
        return nullptr;
    }
    std::rotate(found, found + 1, indexed_.end());
    return &indexed_.back();
}

void IniFiles::remember(const std::string& path, const platform::FileStamp& stamp, std::optional<IniIndex> index)
{
    forget(path);
    if (indexed_.size() >= kIndexedFiles)
        indexed_.erase(indexed_.begin());
    indexed_.push_back({path, stamp, std::move(index)});
}

void IniFiles::forget(const std::string& path)
{
    std::erase_if(indexed_, [&](const Indexed& entry) { return entry.path == path; });
}

} // namespace twk::ini
