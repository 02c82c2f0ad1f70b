#pragma once
// The Updates area's settings: automatic or manual checks and their frequency.
#include "update/update_schedule.h"
#include "update/update_settings.h"

#include <string_view>

namespace kv {

// What the area's logic asks of its form.
class UpdatesAreaView {
public:
    virtual ~UpdatesAreaView() = default;
    virtual void selectUpdateMode(int index) = 0;       // optUpdates, without its click
    virtual void showFrequencyControls(bool shown) = 0; // cmdUpdateFrequency and its label
    virtual void showManualControls(bool shown) = 0;    // cmdManualUpdate, cmbDownloadSite and its label
    virtual void selectFrequency(std::string_view) = 0; // cmdUpdateFrequency
    virtual void selectFirstDownloadSite() = 0;
};

class UpdatesArea {
public:
    UpdatesArea(UpdateSettings& settings, UpdateSchedule& schedule) : settings_(settings), schedule_(schedule)
    {
    }

    // When the area opens: the stored choices, selected as a click would.
    void ShowSettings(UpdatesAreaView& view);
    // 0: automatic, 1: manual. A changed choice re-arms the schedule at once.
    void optUpdates_Click(UpdatesAreaView& view, int index);
    void cmdUpdateFrequency_Click(std::string_view frequency);

private:
    UpdateSettings& settings_;
    UpdateSchedule& schedule_;
};

} // namespace kv
