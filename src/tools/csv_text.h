#pragma once
// CSV text as the exports of password managers and browsers write it (RFC 4180: commas,
// double quotes, quoted values across lines; LF, CRLF or CR line ends), read with libcsv.
// Every byte of a value is kept as it stands: no blanks are trimmed.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct CsvRecord {
    std::size_t line = 0; // where the record begins, counted by LF from 1
    std::vector<std::string> fields;
};

struct CsvText {
    std::vector<CsvRecord> records; // blank lines give none
    // A quoted value still open at the end of the text: the line its record began on.
    // That record is not among the records.
    std::optional<std::size_t> unclosedQuoteLine;
    // Records with a double quote out of place (inside an unquoted value, or after a
    // closing one), by the line each began on. They are not among the records; reading
    // goes on with the next line.
    std::vector<std::size_t> malformedLines;
    bool outOfMemory = false;
};

CsvText ParseCsv(std::string_view text);

} // namespace kv
