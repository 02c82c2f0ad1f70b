// CSV text from anywhere, as the importer reads it: the parser, the header check and the
// reading of each line must never crash, and what they accept must be fit to store.
#include "fuzz_check.h"
#include "storage/ini_values.h"
#include "support/utf8_text.h"
#include "tools/csv_formats.h"
#include "tools/csv_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using kv::fuzz::Require;

namespace {

// The first byte may put a known header in front, so the lines behind it are read too.
constexpr std::array<std::string_view, 5> kHeaders = {
    "",
    "name,url,username,password,note\n",
    "url,username,password,httpRealm,formActionOrigin,guid,timeCreated,timeLastUsed,timePasswordChanged\n",
    "folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,login_totp\n",
    "Group,Title,Username,Password,URL,Notes,TOTP,Icon,Last Modified,Created\n",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string text(kHeaders[data[0] % kHeaders.size()]);
    text.append(reinterpret_cast<const char*>(data + 1), size - 1);
    const kv::CsvText csv = kv::ParseCsv(text);
    Require(!csv.outOfMemory);

    std::size_t lastLine = 0;
    for (const kv::CsvRecord& record : csv.records) {
        Require(record.line >= 1 && record.line >= lastLine);
        lastLine = record.line;
    }
    if (csv.unclosedQuoteLine)
        Require(*csv.unclosedQuoteLine >= lastLine);
    if (csv.records.empty())
        return 0;
    const auto columns = kv::RecogniseCsvHeader(csv.records.front().fields);
    if (!columns)
        return 0;
    for (std::size_t i = 1; i < csv.records.size(); ++i) {
        const auto site = kv::ReadCsvSite(*columns, csv.records[i]);
        if (!site || !*site)
            continue;
        const kv::CsvSite& s = **site;
        Require(!s.name.empty());
        for (const std::string* value : {&s.name, &s.url, &s.login, &s.password}) {
            Require(kv::IsValidUtf8(*value));
            Require(value->size() <= kv::kMaxSecureValueLength);
        }
        for (const std::string& folder : s.folder)
            Require(!folder.empty() && folder.find('/') == std::string::npos);
    }
    return 0;
}
