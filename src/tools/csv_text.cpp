#include "tools/csv_text.h"

#include <csv.h>

namespace kv {

namespace {

// What the callbacks build while the text is fed one line at a time.
struct Reading {
    CsvText result;
    CsvRecord current;
    std::size_t line = 0;  // the line being fed
    bool inRecord = false; // bytes of an unfinished record have been fed
};

void OnField(void* data, std::size_t length, void* reading)
{
    auto& r = *static_cast<Reading*>(reading);
    r.current.fields.emplace_back(static_cast<const char*>(data), data ? length : 0);
}

void OnRecordEnd(int, void* reading)
{
    auto& r = *static_cast<Reading*>(reading);
    r.result.records.push_back(std::move(r.current));
    // What follows a lone CR begins a record on this same line.
    r.current = {r.line, {}};
    r.inRecord = false;
}

// Blanks belong to the value: a password may begin or end with one.
int NoBlanks(unsigned char)
{
    return 0;
}

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of("\r\n") == std::string_view::npos;
}

} // namespace

CsvText ParseCsv(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    csv_parser parser;
    Reading reading;
    auto start = [&] {
        if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
            return false;
        csv_set_space_func(&parser, NoBlanks);
        return true;
    };
    if (!start()) {
        reading.result.outOfMemory = true;
        return std::move(reading.result);
    }
    while (!text.empty() && !reading.result.outOfMemory) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        text.remove_prefix(line.size());
        ++reading.line;
        // Blank lines between records are skipped by the parser; a record begins on the
        // first line that holds something.
        if (!reading.inRecord && !IsBlankLine(line)) {
            reading.current.line = reading.line;
            reading.inRecord = true;
        }
        if (csv_parse(&parser, line.data(), line.size(), OnField, OnRecordEnd, &reading) == line.size())
            continue;
        if (csv_error(&parser) != CSV_EPARSE) {
            reading.result.outOfMemory = true;
            break;
        }
        // The broken record is dropped; a fresh parser takes up the next line.
        reading.result.malformedLines.push_back(reading.current.line);
        reading.current = {};
        reading.inRecord = false;
        csv_free(&parser);
        if (!start()) {
            reading.result.outOfMemory = true;
            return std::move(reading.result);
        }
    }
    const std::size_t openLine = reading.current.line;
    if (!reading.result.outOfMemory && csv_fini(&parser, OnField, OnRecordEnd, &reading) != 0 &&
        csv_error(&parser) == CSV_EPARSE)
        reading.result.unclosedQuoteLine = openLine;
    csv_free(&parser);
    return std::move(reading.result);
}

} // namespace kv
