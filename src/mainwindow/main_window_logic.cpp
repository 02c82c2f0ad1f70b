#include "mainwindow/main_window_logic.h"

#include "mainwindow/area_table.h"
#include "mainwindow/help_address.h"
#include "mainwindow/main_window_texts.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "version.h"

#include <charconv>
#include <limits>

namespace kv {
namespace {

std::optional<long long> IntegerValue(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

int RestoredEdge(const std::string& stored, int screenExtent, int windowExtent)
{
    auto value = IntegerValue(stored);
    if (!value || *value < -1 || *value > std::numeric_limits<int>::max())
        return (screenExtent - windowExtent) / 2;
    return static_cast<int>(*value);
}

} // namespace

MainWindowLogic::MainWindowLogic(std::filesystem::path profileFile, MainWindowView& view, Dialogs& dialogs,
                                 UrlLauncher& launcher, ShutdownSteps shutdown)
    : profileFile_(std::move(profileFile)), view_(view), dialogs_(dialogs), launcher_(launcher),
      shutdown_(std::move(shutdown))
{
}

void MainWindowLogic::onCommand(int commandId)
{
    if (commandId >= kCommandFirstArea && commandId < kCommandFirstArea + kAreaCount)
        view_.selectBarPosition(commandId - kCommandFirstArea);
    else if (commandId == kCommandExit)
        view_.closeWindow();
    else if (commandId == kCommandOnlineHelp)
        openHelpPage();
}

void MainWindowLogic::onAreaSelected(int barId)
{
    view_.hideAllAreas();
    if (barId < 1 || barId > kAreaCount)
        return;
    selected_ = barId - 1;
    view_.showArea(barId);
    if (barId == kAreaNews)
        openNewsPage();
}

void MainWindowLogic::onKeyDown(int keyCode)
{
    if (keyCode == kKeyF5 && selected_ == 0)
        view_.reloadSitesTree();
    if (keyCode == kKeyF1)
        openHelpPage();
}

void MainWindowLogic::openHelpPage()
{
    if (!selected_)
        return;
    launcher_.LaunchBrowser(
        HelpAddress(*selected_, VersionQueryText(kVersionMajor, kVersionMinor, kVersionRevision)));
}

void MainWindowLogic::openHomePage()
{
    launcher_.LaunchBrowser(HomeAddress());
}

void MainWindowLogic::openNewsPage()
{
    launcher_.LaunchBrowser(NewsAddress());
}

TwipPoint MainWindowLogic::restoredPosition(TwipSize screen, TwipSize window) const
{
    return {RestoredEdge(ReadIniValue(kOptionsSection, LEFT, profileFile_), screen.width, window.width),
            RestoredEdge(ReadIniValue(kOptionsSection, TOP, profileFile_), screen.height, window.height)};
}

std::optional<bool> MainWindowLogic::loadNimbrase() const
{
    std::string stored = ReadIniValue(kOptionsSection, NIMBRASE, profileFile_);
    if (stored.empty()) {
        WriteIniValue(kOptionsSection, NIMBRASE, kSettingOff, profileFile_);
        return false;
    }
    auto value = IntegerValue(stored);
    if (value == 1)
        return true;
    if (value == 0)
        return false;
    return std::nullopt;
}

bool MainWindowLogic::onUnloadRequest()
{
    if (shutdown_.exitCleanup)
        shutdown_.exitCleanup();
    // Only a plain 0 closes without asking; anything unreadable keeps the safer question.
    if (IntegerValue(ReadIniValue(kOptionsSection, EXITWARNING, profileFile_)) != 0 &&
        dialogs_.ask(kExitQuestion, Buttons::YesNo, Icon::Exclamation) != Dialogs::Answer::Yes)
        return false;
    if (shutdown_.releaseHotkeys)
        shutdown_.releaseHotkeys();
    TwipPoint position = view_.windowPosition();
    WriteIniValue(kOptionsSection, LEFT, std::to_string(position.left), profileFile_);
    WriteIniValue(kOptionsSection, TOP, std::to_string(position.top), profileFile_);
    return true;
}

} // namespace kv
