// sites, show and search: the tree and one site's details, read as the program reads them.
#include "cli/command_runners.h"
#include "cli/json_output.h"
#include "sites/site_lookup.h"
#include "sites/site_search.h"
#include "storage/site_file.h"
#include "storage/site_file_text.h"

#include <iostream>

namespace kv::cli {
namespace {

constexpr std::string_view kMaskedPassword = "********";

JsonOutput SiteJson(const SiteEntry& site)
{
    return {{"name", site.name}, {"folder", site.folder}, {"path", "/" + site.treePath()}};
}

int PrintSites(const std::vector<SiteEntry>& sites, bool json)
{
    if (json) {
        JsonOutput list = JsonOutput::array();
        for (const SiteEntry& site : sites)
            list.push_back(SiteJson(site));
        PrintJson(list);
        return kSucceeded;
    }
    for (const SiteEntry& site : sites)
        std::cout << site.treePath() << '\n';
    return kSucceeded;
}

} // namespace

int RunSites(const CommandContext& context)
{
    std::filesystem::path folder;
    if (const auto wanted = context.arguments.value("folder")) {
        const auto found = LookUpFolder(context.profileDirectory, *wanted);
        if (!found)
            return Fail(found.error());
        folder = *found;
    }
    return PrintSites(ListSites(context.profileDirectory, folder), context.arguments.has("json"));
}

int RunSearch(const CommandContext& context)
{
    const auto& words = context.arguments.positionals();
    if (words.size() != 1)
        return Fail("search needs one TEXT (quote it when it holds blanks)");
    SiteSearchCache cache;
    return PrintSites(cache.search(context.profileDirectory, words.front()), context.arguments.has("json"));
}

int RunShow(const CommandContext& context)
{
    const auto& words = context.arguments.positionals();
    if (words.size() != 1)
        return Fail("show needs one SITE");
    const auto site = LookUpSite(context.profileDirectory, words.front());
    if (!site)
        return Fail(site.error());
    const auto text = SiteFileText::load(site->file);
    if (!text)
        return Fail("cannot read " + site->file.string() + ": " + text.error().message());
    const bool reveal = context.arguments.has("reveal");
    JsonOutput fields = JsonOutput::array();
    std::string lines;
    for (const SiteDetailField& field : kSiteDetailFields) {
        const auto value = text->secure(field.section, field.key);
        if (!value)
            return Fail("'" + site->treePath() + "' is damaged: its values cannot be decrypted");
        const bool hidden = field.key == FORMPASSVALUE && !reveal;
        fields.push_back({{"key", field.key},
                          {"label", field.label},
                          {"value", hidden ? JsonOutput(nullptr) : JsonOutput(*value)}});
        lines += std::string(field.label) + ": " + (hidden ? std::string(kMaskedPassword) : *value) + "\n";
    }
    if (context.arguments.has("json")) {
        JsonOutput document = SiteJson(*site);
        document["fields"] = std::move(fields);
        PrintJson(document);
    } else {
        std::cout << lines;
    }
    return kSucceeded;
}

} // namespace kv::cli
