#include "update/updates_area.h"

namespace kv {

void UpdatesArea::ShowSettings(UpdatesAreaView& view)
{
    const std::string mode = settings_.UpdateCheck();
    for (const int index : {0, 1}) {
        if (mode == (index == 0 ? kUpdateCheckAutomatic : kUpdateCheckManual)) {
            view.selectUpdateMode(index);
            optUpdates_Click(view, index);
        }
    }
    view.selectFirstDownloadSite();
    const std::string frequency = settings_.UpdateFrequency();
    if (UpdatePeriodSeconds(frequency))
        view.selectFrequency(frequency);
}

void UpdatesArea::optUpdates_Click(UpdatesAreaView& view, int index)
{
    view.showFrequencyControls(false);
    view.showManualControls(false);
    if (index != 0 && index != 1)
        return;
    const bool automatic = index == 0;
    view.showFrequencyControls(automatic);
    view.showManualControls(!automatic);
    const std::string_view mode = automatic ? kUpdateCheckAutomatic : kUpdateCheckManual;
    const bool changed = settings_.UpdateCheck() != mode;
    settings_.setUpdateCheck(mode);
    // Otherwise a user who turned automatic checks off would still get them until a restart.
    if (changed)
        schedule_.ScheduleUpdateCheck();
}

void UpdatesArea::cmdUpdateFrequency_Click(std::string_view frequency)
{
    const bool changed = settings_.UpdateFrequency() != frequency;
    settings_.setUpdateFrequency(frequency);
    if (changed)
        schedule_.ScheduleUpdateCheck();
}

} // namespace kv
