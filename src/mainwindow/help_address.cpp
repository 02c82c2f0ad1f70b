#include "mainwindow/help_address.h"

#include "mainwindow/area_table.h"
#include "mainwindow/main_window_texts.h"

namespace kv {
namespace {

std::string LastThreeDigits(int number)
{
    std::string digits = "000" + std::to_string(number);
    return digits.substr(digits.size() - 3);
}

} // namespace

std::string VersionQueryText(int major, int minor, int revision)
{
    return LastThreeDigits(major) + LastThreeDigits(minor) + LastThreeDigits(revision);
}

std::string HelpAddress(int position, const std::string& versionText)
{
    const Area* area = AreaAtPosition(position);
    if (!area)
        return {};
    return std::string(kMakerSite) + std::string(area->helpPath) + "?version=" + versionText;
}

std::string NewsAddress()
{
    return std::string(kMakerSite) + std::string(kNewsPath);
}

std::string HomeAddress()
{
    return std::string(kMakerSite);
}

std::string VersionLabel(int major, int minor, int revision)
{
    return std::string(kVersionLabelPrefix) + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

} // namespace kv
