#include "cli/json_output.h"

#include <iostream>

namespace kv::cli {

void PrintJson(const JsonOutput& document)
{
    std::cout << document.dump(2, ' ', false, JsonOutput::error_handler_t::replace) << '\n';
}

} // namespace kv::cli
