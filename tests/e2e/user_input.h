#pragma once
// The user's own hand on a window of the real browser: real mouse clicks and real typing,
// which the page sees as trusted input with the user's activation, unlike anything a
// script or the program's agent does.
#include "browser/automation.h"
#include "browser/chromium/chromium_session.h"

#include <nlohmann/json.hpp>
#include <string>

namespace kv::test {

// Waits until the page has drawn itself twice more: what it shows is where input lands.
// target is a window's id, or the id of a frame of another site (drawn apart from its page).
inline bool Drawn(ChromiumSession& session, const std::string& target)
{
    const auto drawn = session.command(
        target, "Runtime.evaluate",
        {{"expression", "(async () => { for (let i = 0; i < 2; ++i) await new Promise((done) => "
                        "requestAnimationFrame(done)); return true; })()"},
         {"returnByValue", true},
         {"awaitPromise", true}});
    return drawn && (*drawn)["result"]["value"] == true;
}

// A click at a point of the window's page (CSS pixels from its top left corner).
inline bool UserClicksAt(ChromiumSession& session, const Browser& browser, double x, double y)
{
    if (!Drawn(session, browser.hwnd()))
        return false;
    for (const char* type : {"mousePressed", "mouseReleased"})
        if (!session.command(browser.hwnd(), "Input.dispatchMouseEvent",
                             {{"type", type}, {"x", x}, {"y", y}, {"button", "left"}, {"clickCount", 1}}))
            return false;
    return true;
}

// A click at the centre of an element. element is a script expression giving the element in
// the window's page; it may reach into frames of the page's own site.
inline bool UserClicks(ChromiumSession& session, const Browser& browser, const std::string& element)
{
    const std::string centre = "(() => { const el = (" + element + R"JS();
        if (!el) return null;
        el.scrollIntoView({block: 'center', inline: 'center'});
        const r = el.getBoundingClientRect();
        let x = r.left + r.width / 2, y = r.top + r.height / 2;
        for (let w = el.ownerDocument.defaultView; w.frameElement; w = w.parent) {
          const f = w.frameElement.getBoundingClientRect();
          x += f.left + w.frameElement.clientLeft;
          y += f.top + w.frameElement.clientTop;
        }
        return [x, y]; })())JS";
    const auto point = session.command(browser.hwnd(), "Runtime.evaluate",
                                       {{"expression", centre}, {"returnByValue", true}});
    const auto value = point ? (*point)["result"]["value"] : nlohmann::json();
    if (!value.is_array() || value.size() != 2)
        return false;
    return UserClicksAt(session, browser, value[0].get<double>(), value[1].get<double>());
}

// The name of the element that has the focus in the page or frame (as Drawn takes it).
inline std::string FocusedName(ChromiumSession& session, const std::string& target)
{
    const auto name =
        session.command(target, "Runtime.evaluate",
                        {{"expression", "document.activeElement ? document.activeElement.name || '' : ''"},
                         {"returnByValue", true}});
    const auto value = name ? (*name)["result"]["value"] : nlohmann::json();
    return value.is_string() ? value.get<std::string>() : std::string();
}

// Typing into whatever has the focus.
inline bool UserTypesHere(ChromiumSession& session, const Browser& browser, const std::string& text)
{
    return session.command(browser.hwnd(), "Input.insertText", {{"text", text}}).has_value();
}

// Puts the focus into the element and types the text; true once the element holds it.
inline bool UserTypes(ChromiumSession& session, const Browser& browser, const std::string& element,
                      const std::string& text)
{
    const auto focused =
        session.command(browser.hwnd(), "Runtime.evaluate",
                        {{"expression", "(() => { const el = (" + element +
                                            "); if (!el) return false; el.focus(); return true; })()"},
                         {"returnByValue", true}});
    if (!focused || (*focused)["result"]["value"] != true || !UserTypesHere(session, browser, text))
        return false;
    const auto value = session.command(browser.hwnd(), "Runtime.evaluate",
                                       {{"expression", "(" + element + ").value"}, {"returnByValue", true}});
    return value && (*value)["result"]["value"] == text;
}

// The element of the window's page with that name attribute, as UserClicks takes it.
inline std::string ByName(const std::string& name, const std::string& document = "document")
{
    return document + ".querySelector('[name=\"" + name + "\"]')";
}

} // namespace kv::test
