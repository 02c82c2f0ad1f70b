#include "tools/site_printer.h"

#include "tools/print_page.h"

namespace kv {

bool PrintSites(WindowList& browser, const std::filesystem::path& sitesDirectory, const WaitUntil& wait)
{
    const std::shared_ptr<Browser> window = browser.createBrowser();
    if (!window)
        return false;
    if (!window->Visible())
        window->setVisible(true);
    wait([&] { return !window->Busy() && window->readyState() == ReadyState::Complete; }, kPrintReadyLimit);
    if (!window->write({}, BuildPrintPage(sitesDirectory)))
        return false;
    return window->print();
}

} // namespace kv
