#pragma once
// Every decision of the main window: command dispatch, area switch, window keys,
// help pages, window position, the secure-browsing repair and the exit question.
#include "browser/url_launcher.h"
#include "mainwindow/main_window_view.h"
#include "support/dialogs.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace kv {

inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF5 = 116;

// Steps of the shutdown that other parts of the program own.
struct ShutdownSteps {
    std::function<void()> exitCleanup;    // browser data cleanup, before the question
    std::function<void()> releaseHotkeys; // after the question
};

struct TwipSize {
    int width = 0;
    int height = 0;
};

class MainWindowLogic {
public:
    MainWindowLogic(std::filesystem::path profileFile, MainWindowView& view, Dialogs& dialogs,
                    UrlLauncher& launcher, ShutdownSteps shutdown = {});

    // Menu command: 100-109 select an area, 110 closes the window, 112 opens help.
    void onCommand(int commandId);
    // The bar reports a selection (click or code) by item id.
    void onAreaSelected(int barId);
    void onKeyDown(int keyCode);
    void openHelpPage();
    // The About and News links.
    void openHomePage();
    void openNewsPage();

    // Left and top edge in twips: the stored ones, or centred when absent or below -1.
    TwipPoint restoredPosition(TwipSize screen, TwipSize window) const;
    // The secure-browsing check box: checked, cleared, or nothing to say (left as designed).
    // A missing value is written back as "0".
    std::optional<bool> loadNimbrase() const;

    // The unload request; false keeps the window open. On true the position is saved.
    bool onUnloadRequest();

    std::optional<int> selectedPosition() const { return selected_; }
    const std::filesystem::path& profileFile() const { return profileFile_; }

private:
    std::filesystem::path profileFile_;
    MainWindowView& view_;
    Dialogs& dialogs_;
    UrlLauncher& launcher_;
    ShutdownSteps shutdown_;
    std::optional<int> selected_;
};

} // namespace kv
