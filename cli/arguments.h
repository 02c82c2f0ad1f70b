#pragma once
// The command line of one subcommand: options (--name, --name VALUE or --name=VALUE) and
// the words between them. Anything not declared is refused with a line that says what.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <vector>

namespace kv::cli {

struct OptionSpec {
    std::string_view name; // without the leading "--"
    bool takesValue = false;
};

class Arguments {
public:
    static tl::expected<Arguments, std::string> parse(const std::vector<std::string>& words,
                                                      const std::vector<OptionSpec>& options);

    bool has(std::string_view option) const { return values_.contains(std::string(option)); }
    std::optional<std::string> value(std::string_view option) const;
    const std::vector<std::string>& positionals() const { return positionals_; }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> positionals_;
};

// A whole decimal number within [low, high]; nothing for anything else.
std::optional<long> WholeNumber(std::string_view text, long low, long high);

} // namespace kv::cli
