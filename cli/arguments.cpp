#include "cli/arguments.h"

#include <algorithm>
#include <charconv>

namespace kv::cli {

tl::expected<Arguments, std::string> Arguments::parse(const std::vector<std::string>& words,
                                                      const std::vector<OptionSpec>& options)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--") || word == "-") {
            parsed.positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto known = std::find_if(options.begin(), options.end(),
                                        [&name](const OptionSpec& option) { return option.name == name; });
        if (known == options.end())
            return tl::unexpected("unknown option '--" + name + "'");
        if (!known->takesValue) {
            if (equals != std::string::npos)
                return tl::unexpected("option '--" + name + "' takes no value");
            parsed.values_[name] = "";
            continue;
        }
        if (equals != std::string::npos) {
            parsed.values_[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            parsed.values_[name] = words[++i];
        } else {
            return tl::unexpected("option '--" + name + "' needs a value");
        }
    }
    return parsed;
}

std::optional<std::string> Arguments::value(std::string_view option) const
{
    const auto found = values_.find(std::string(option));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::optional<long> WholeNumber(std::string_view text, long low, long high)
{
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < low ||
        number > high)
        return std::nullopt;
    return number;
}

} // namespace kv::cli
