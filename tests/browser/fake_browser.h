#pragma once
// A scripted browser for the logic tests: pages are built as snapshots, and every call the
// rules make on a window (navigations, writes, window states) is recorded in order.
#include "browser/automation.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kv::test {

// Elements as a page's snapshot would hold them.
inline DomElement Input(std::string type, std::string name = {}, std::string value = {})
{
    DomElement element;
    element.Tagname = "INPUT";
    element.Type = std::move(type);
    element.Name = std::move(name);
    element.Value = std::move(value);
    return element;
}
inline DomElement Text(std::string name, std::string value = {})
{
    return Input("text", std::move(name), std::move(value));
}
inline DomElement Password(std::string name, std::string value = {})
{
    return Input("password", std::move(name), std::move(value));
}
inline DomElement Hidden(std::string name, std::string value = {})
{
    return Input("hidden", std::move(name), std::move(value));
}
inline DomElement Button(std::string type, std::string name = {})
{
    DomElement element;
    element.Tagname = "BUTTON";
    element.Type = std::move(type);
    element.Name = std::move(name);
    return element;
}
// The element as a decoy nobody sees (off-screen, aria-hidden, no size, ...).
inline DomElement Unseen(DomElement element)
{
    element.visible = false;
    return element;
}
inline DomElement Autocomplete(DomElement element, std::string autocomplete)
{
    element.autocomplete = std::move(autocomplete);
    return element;
}
inline DomElement Link(std::string href)
{
    DomElement element;
    element.Tagname = "A";
    element.Href = std::move(href);
    return element;
}

// A form's action, name, method and attributes as the page wrote them.
struct FormProps {
    FormProps(std::string action = {}, std::string name = {}, std::string method = {},
              std::vector<std::pair<std::string, std::string>> attributes = {})
        : action(std::move(action)), name(std::move(name)), method(std::move(method)),
          attributes(std::move(attributes))
    {
    }
    std::string action;
    std::string name;
    std::string method;
    std::vector<std::pair<std::string, std::string>> attributes;
};

// Builds one document: forms and loose elements in document order, then frames.
class Page {
public:
    explicit Page(std::string url, std::string title = "Sign in", std::string frameId = "main")
    {
        document_.url = std::move(url);
        document_.title = std::move(title);
        document_.frameId = std::move(frameId);
        // Each page built is a document of its own.
        document_.documentId = "doc-" + document_.frameId + "-" + document_.url;
    }

    Page& form(std::vector<DomElement> elements, FormProps facts = {})
    {
        DomForm form;
        form.index = static_cast<int>(document_.Forms.size());
        form.Action = std::move(facts.action);
        form.Name = std::move(facts.name);
        form.method = std::move(facts.method);
        form.attributes = std::move(facts.attributes);
        form.ref = nextRef();
        for (auto& element : elements) {
            element.formIndex = form.index;
            element.ref = nextRef();
            document_.All.push_back(element);
            form.elements.push_back(std::move(element));
        }
        document_.Forms.push_back(std::move(form));
        return *this;
    }
    // An element outside every form.
    Page& loose(DomElement element)
    {
        element.ref = nextRef();
        document_.All.push_back(std::move(element));
        return *this;
    }
    Page& frame(DocumentSnapshot document, bool accessible = true)
    {
        FrameSnapshot frame;
        frame.accessible = accessible;
        if (accessible)
            frame.document = std::move(document);
        document_.frames.push_back(std::move(frame));
        return *this;
    }
    DocumentSnapshot build() const { return document_; }
    operator DocumentSnapshot() const { return document_; }

private:
    NodeRef nextRef() { return {document_.frameId, document_.documentId, nextNode_++}; }

    DocumentSnapshot document_;
    long nextNode_ = 1;
};

// The element of a snapshot's form, for comparing refs of recorded writes.
inline const NodeRef& RefOf(const DocumentSnapshot& document, std::size_t form, std::size_t element)
{
    return document.Forms.at(form).elements.at(element).ref;
}

class FakeBrowser : public Browser {
public:
    struct Write {
        NodeRef ref;
        std::string value;
        bool operator==(const Write&) const = default;
    };
    struct Post {
        std::string url;
        std::string body;
        std::string headers;
        bool operator==(const Post&) const = default;
    };

    explicit FakeBrowser(std::string hwnd) : hwnd_(std::move(hwnd)) {}

    std::string hwnd() const override { return hwnd_; }
    std::string LocationURL() override { return locationUrl; }
    std::string LocationName() override { return locationName; }
    ReadyState readyState() override { return ReadyState::Complete; }
    bool Busy() override { return false; }
    bool Visible() override { return visible; }
    void setVisible(bool value) override { visible = value; }

    bool Navigate(const std::string& url) override
    {
        navigations.push_back(url);
        return navigateSucceeds;
    }
    bool Navigate(const std::string& url, const std::string& postData, const std::string& headers) override
    {
        posts.push_back({url, postData, headers});
        return navigateSucceeds;
    }
    bool setWindowState(WindowState state) override
    {
        windowStates.push_back(state);
        return true;
    }
    bool print() override { return true; }
    std::optional<DocumentSnapshot> Document(const std::string& frameId) override
    {
        return frameId.empty() ? windowDocument : std::nullopt;
    }

    bool setValue(const NodeRef& element, const std::string& value) override
    {
        writes.push_back({element, value});
        return true;
    }
    bool click(const NodeRef& element) override
    {
        clicks.push_back(element);
        return true;
    }
    bool submit(const NodeRef& form) override
    {
        submits.push_back(form);
        return true;
    }
    bool write(const std::string&, const std::string&) override { return true; }
    bool watchForPasswordField(const std::string& frameId, std::chrono::milliseconds limit) override
    {
        watches.emplace_back(frameId, limit);
        return true;
    }

    void subscribe(BrowserEvents& sink) override { sinks.push_back(&sink); }
    void unsubscribe(BrowserEvents& sink) override { std::erase(sinks, &sink); }

    // Scripted state
    std::string locationUrl;
    std::string locationName;
    std::optional<DocumentSnapshot> windowDocument; // what Document() reads of the window's own page
    bool navigateSucceeds = true;

    // Records
    bool visible = false;
    std::vector<std::string> navigations;
    std::vector<Post> posts;
    std::vector<WindowState> windowStates;
    std::vector<Write> writes;
    std::vector<NodeRef> clicks;
    std::vector<NodeRef> submits;
    std::vector<std::pair<std::string, std::chrono::milliseconds>> watches;
    std::vector<BrowserEvents*> sinks;

private:
    std::string hwnd_;
};

class FakeWindowList : public WindowList {
public:
    std::vector<std::shared_ptr<Browser>> windows() override
    {
        ++enumerations;
        return {open.begin(), open.end()};
    }
    std::shared_ptr<Browser> createBrowser() override
    {
        if (!browserStarts)
            return nullptr;
        auto browser = std::make_shared<FakeBrowser>("window-" + std::to_string(++created));
        opened.push_back(browser);
        return browser;
    }
    void subscribe(WindowListEvents& sink) override { sinks.push_back(&sink); }
    void unsubscribe(WindowListEvents& sink) override { std::erase(sinks, &sink); }

    // Every address the created windows were sent to, window by window.
    std::vector<std::string> navigationsOfAll() const
    {
        std::vector<std::string> all;
        for (const auto& window : opened)
            all.insert(all.end(), window->navigations.begin(), window->navigations.end());
        return all;
    }

    bool browserStarts = true;
    std::vector<std::shared_ptr<FakeBrowser>> open;   // what windows() lists
    std::vector<std::shared_ptr<FakeBrowser>> opened; // what createBrowser() made
    std::vector<WindowListEvents*> sinks;
    int enumerations = 0;
    int created = 0;
};

} // namespace kv::test
