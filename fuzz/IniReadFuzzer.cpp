// Reads arbitrary file content back through findValue and hasSection, and
// holds the reader against the write index: both must see the same file. The
// same text saved with a byte-order mark, as UTF-16 or with CR line ends must
// read the same, and every file must be saved again byte for byte.
#include "FuzzCheck.h"
#include "IniNames.h"
#include "SwappedCase.h"
#include "ini/IniEncoding.h"
#include "ini/IniIndex.h"
#include "ini/IniText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace twk;
using namespace twk::ini;
using twk::fuzz::swappedCase;

// Lone line feeds made CR LF, as an editor that fixes line ends would.
std::string withCrLf(std::string_view content)
{
    std::string result;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\n' && (i == 0 || content[i - 1] != '\r'))
            result += '\r';
        result += content[i];
    }
    return result;
}

// Every line break made a CR alone; CRs before a line feed belong to its break.
std::string withCrOnly(std::string_view content)
{
    std::string result;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\n')
            result += content[i];
        else if (i == 0 || content[i - 1] != '\r')
            result += '\r';
    }
    return result;
}

// The same text in the other forms a file may be saved in; UTF-16 only where
// the text is one it can hold unchanged.
std::vector<std::string> otherForms(std::string_view content)
{
    std::vector<std::string> forms;
    for (const auto encoding : {ini::Encoding::Utf8, ini::Encoding::Utf16LittleEndian, ini::Encoding::Utf16BigEndian}) {
        ini::FileForm form;
        form.encoding = encoding;
        auto bytes = ini::encoded(content, form);
        if (ini::decoded(bytes).text == content)
            forms.push_back(std::move(bytes));
    }
    // Unless the content begins with a mark of its own, which the plain reader takes for text.
    if (auto crOnly = withCrOnly(content); ini::decoded(crOnly).text == crOnly)
        forms.push_back(std::move(crOnly));
    return forms;
}

void checkQuery(std::string_view content, const std::string& crlf, const std::vector<std::string>& forms,
                const IniIndex& index, std::string_view section, std::string_view key)
{
    const auto value = ini::findValue(content, section, key);
    const bool present = ini::hasSection(content, section);
    // A value comes from one line of a section that is there.
    TWK_FUZZ_CHECK(!value || (present && value->find_first_of("\r\n") == std::string::npos));

    // Letter case in names and the kind of line ends do not matter.
    TWK_FUZZ_CHECK(ini::findValue(content, swappedCase(section), swappedCase(key)) == value);
    TWK_FUZZ_CHECK(ini::hasSection(content, swappedCase(section)) == present);
    TWK_FUZZ_CHECK(ini::findValue(crlf, section, key) == value);
    TWK_FUZZ_CHECK(ini::hasSection(crlf, section) == present);
    for (const auto& form : forms)
        TWK_FUZZ_CHECK(ini::valueInFile(form, section, key) == value);

    // The first section of a name wins: another one at the end changes nothing.
    if (present) {
        const auto later = std::string(content) + ini::newSectionText(content, section, key, "later");
        TWK_FUZZ_CHECK(ini::findValue(later, section, key) == value);
    }

    // The write index sees the same file: it adds a new section only when
    // the reader finds none, and adds a key at the end only when the reader
    // finds no such key.
    const auto added = index.answer(section, key, "x");
    const bool appends = added.verdict == IniIndex::Verdict::Append;
    if (appends && added.text == ini::newSectionText(content, section, key, "x"))
        TWK_FUZZ_CHECK(!present);
    TWK_FUZZ_CHECK(!value || !appends);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto section = input.ConsumeRandomLengthString(64);
    const auto key = input.ConsumeRandomLengthString(64);
    const auto content = input.ConsumeRemainingBytesAsString();

    // Whatever a file holds, it is saved again as it was.
    const auto file = ini::decoded(content);
    TWK_FUZZ_CHECK(ini::encoded(file.text, file.form) == content);

    const IniIndex index(content);
    const auto crlf = withCrLf(content);
    const auto forms = otherForms(content);
    checkQuery(content, crlf, forms, index, section, key);
    for (const auto& pair : twk::fuzz::namePairs(content, 16))
        checkQuery(content, crlf, forms, index, pair.section, pair.key);
    return 0;
}
