#pragma once
// What the program asks of the web browser: the list of its windows, one browser object
// per window, the events of each window, and the documents shown in them as plain data.
//
// Documents are read as snapshots: one value holding the forms, elements and frames of a
// document at one moment. The rules that scan, fill and submit run over snapshots; writes
// go back one call each, addressed by the NodeRef a snapshot carries.
//
// Events are delivered one at a time on the thread that drives the back-end, never inside
// another handler. A handler may make synchronous calls (Document, setValue, click, ...);
// each waits for its own answer with a timeout and returns failure when none comes.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv {

// Where a write goes: one element or form of one document of one frame. A reference taken
// from a snapshot of a document that has since been replaced addresses nothing, and writes
// through it fail instead of touching the new document.
struct NodeRef {
    std::string frameId;    // the frame whose document holds the node
    std::string documentId; // that document, as it was when the snapshot was taken
    long node = -1;         // the node within that document

    bool valid() const { return node >= 0; }
    bool operator==(const NodeRef&) const = default;
};

// One element of a document, with the properties the login rules read.
struct DomElement {
    std::string Tagname; // upper case: "INPUT", "BUTTON", "A", "SELECT", "TEXTAREA", ...
    std::string Type;    // as the element reads it: lower case, "text" for an input without type,
                         // "submit" for a button without type; empty for elements without one
    std::string Value;   // current value (typed text for inputs)
    std::string Name;    // the name attribute, empty when absent
    std::string id;      // the id attribute, empty when absent
    std::string Href;    // links: the address as the page resolves it ("javascript:..." stays as is)
    int formIndex = -1;  // index of the form it belongs to in Forms, -1 when in none
    // A person can see and reach it: decoys (off-screen, aria-hidden, out of the tab order,
    // of no size, invisible) are not visible.
    bool visible = true;
    std::string autocomplete; // the autocomplete attribute, lower case ("current-password", ...)
    NodeRef ref;
};

// One form of a document.
struct DomForm {
    int index = 0;      // position in Forms, 0-based
    std::string Action; // the action as written, empty when absent; "[object]" when an element
                        // named "action" hides the property
    std::string Name;   // the name as written; "[object]" when hidden by an element named "name"
    std::string method; // the method as written; "[object]" when hidden by an element named "method"
    std::vector<std::pair<std::string, std::string>> attributes; // every attribute: lower-case name, value
    std::vector<DomElement> elements; // the form's controls in order, as the form's elements list
    NodeRef ref;

    // The value of an attribute by name (case-insensitive); nullopt when the form has none.
    std::optional<std::string> Attributes(std::string_view attributeName) const
    {
        for (const auto& [name, value] : attributes)
            if (std::equal(name.begin(), name.end(), attributeName.begin(), attributeName.end(),
                           [](char a, char b) {
                               return std::tolower(static_cast<unsigned char>(a)) ==
                                      std::tolower(static_cast<unsigned char>(b));
                           }))
                return value;
        return std::nullopt;
    }
};

struct FrameSnapshot;

// One document at one moment.
struct DocumentSnapshot {
    std::string frameId;    // the frame showing it
    std::string documentId; // this document: another document in the same frame has another id
    std::string url;        // its address
    std::string title;      // its title
    std::vector<DomForm> Forms;
    // The elements the login rules walk, in document order: every INPUT, BUTTON, A, SELECT
    // and TEXTAREA of the document (frames excluded). Form elements here are the same elements
    // as in Forms[i].elements, with the same refs.
    std::vector<DomElement> All;
    std::vector<FrameSnapshot> frames; // the document's child frames, in order
    bool truncated = false;            // the page held more elements than a snapshot carries

    // The elements of All whose Tagname equals one of the given (upper-case) names, in
    // document order; tags({"INPUT", "BUTTON"}) gives the inputs and buttons as one walk.
    std::vector<const DomElement*> tags(std::initializer_list<std::string_view> tagnames) const
    {
        std::vector<const DomElement*> found;
        for (const auto& element : All)
            if (std::find(tagnames.begin(), tagnames.end(), element.Tagname) != tagnames.end())
                found.push_back(&element);
        return found;
    }
};

// A child frame as its parent sees it. A frame from another origin (scheme, host, port)
// cannot be read: accessible is false and document stays empty.
struct FrameSnapshot {
    bool accessible = false;
    DocumentSnapshot document;
};

enum class ReadyState { Uninitialized = 0, Loading = 1, Loaded = 2, Interactive = 3, Complete = 4 };

enum class WindowState { Normal, Maximized, Minimized };

// The window or frame an event is about (what a handler reads of "pDisp").
struct EventFrame {
    std::string frameId;
    bool topLevel = true;    // the window's own document rather than a frame's
    std::string LocationURL; // the frame's address when the event was raised
    ReadyState readyState = ReadyState::Complete;
    std::optional<DocumentSnapshot> document; // nullopt: the document could not be read
};

// A document finished loading in the window or in one of its frames.
struct DocumentCompleteEvent {
    EventFrame pDisp; // document: taken when the load finished
    std::string url;
};

// A document navigation is about to be sent (the request is already on its way and is never
// held back). pDisp.document is the document being left as it was last seen: for a form
// submission, as it stood after the page's own submit handlers ran.
struct BeforeNavigateEvent {
    EventFrame pDisp;
    std::string url;
    std::string method;   // "GET" or "POST"
    std::string PostData; // the exact bytes of the request body, empty for none
    // The navigation follows a submit or click the user made (a trusted event while the page
    // had the user's activation), not one a page's script forged or the program made.
    bool byUser = false;
};

// The user is submitting a form in the window (the moment the original browser began its
// download). Always delivered before the BeforeNavigateEvent of the same submission; never
// for submissions made by a page's script or by the program.
struct DownloadBeginEvent {
    std::string frameId;                           // the frame whose form is submitted
    std::optional<DocumentSnapshot> typed;         // the window's page when the submit began: what the
                                                   // user typed, before any page handler ran; nullopt
                                                   // when the page could not be read
    std::optional<DocumentSnapshot> afterHandlers; // the same page after the page's submit handlers
};

// A request with a body that a page's script sent (fetch, XMLHttpRequest) as the user's
// submit or click in a page with a password field was carried out: logins sent by script.
struct ScriptRequestEvent {
    EventFrame pDisp; // the sending document as last seen: after the submit's page handlers ran
    std::string url;
    std::string method;
    std::string PostData;    // the exact bytes of the request body
    std::string contentType; // its Content-Type header as the page set it, empty when none
};

// A password field appeared in a document watched with watchForPasswordField.
struct PasswordFieldEvent {
    EventFrame pDisp; // document: taken right after the field appeared
};

// The events of one browser window. Connect with Browser::subscribe.
class BrowserEvents {
public:
    virtual ~BrowserEvents() = default;
    virtual void DocumentComplete(const DocumentCompleteEvent& event) = 0;
    virtual void BeforeNavigate2(const BeforeNavigateEvent& event) = 0;
    virtual void DownloadBegin(const DownloadBeginEvent& event) = 0;
    virtual void PasswordFieldAppeared(const PasswordFieldEvent& event) = 0;
    virtual void ScriptRequestSent(const ScriptRequestEvent& event) = 0;
};

// One browser window. Calls on a window that has closed fail (false, empty, nullopt).
class Browser {
public:
    virtual ~Browser() = default;

    // The window's identity, stable for its life; what pending logins remember.
    virtual std::string hwnd() const = 0;
    virtual std::string LocationURL() = 0;  // address of the shown page
    virtual std::string LocationName() = 0; // title of the shown page
    virtual ReadyState readyState() = 0;
    virtual bool Busy() = 0; // a navigation or load is under way
    virtual bool Visible() = 0;
    virtual void setVisible(bool visible) = 0;

    // Both return once the navigation is sent; its progress comes as events.
    virtual bool Navigate(const std::string& url) = 0;
    // Sends a POST of exactly these bytes to url. headers: extra request headers as
    // "Name: value" lines separated by CRLF; without a Content-Type line the body is sent as
    // "application/x-www-form-urlencoded".
    virtual bool Navigate(const std::string& url, const std::string& postData,
                          const std::string& headers) = 0;

    // Returns once the change is sent; the window follows when the browser gets to it.
    virtual bool setWindowState(WindowState state) = 0;
    virtual bool print() = 0; // the shown page with the print dialog

    // A fresh snapshot of a frame's document; an empty frameId means the window's own document.
    // nullopt when it cannot be read (another origin, gone, no answer in time).
    virtual std::optional<DocumentSnapshot> Document(const std::string& frameId = {}) = 0;

    // Writes, each one call that succeeds or fails as a whole.
    virtual bool setValue(const NodeRef& element, const std::string& value) = 0; // as if typed
    virtual bool click(const NodeRef& element) = 0;
    virtual bool submit(const NodeRef& form) = 0; // the form's own submit, without its handlers
    // Replaces the frame's document with html (document.write into a fresh page).
    virtual bool write(const std::string& frameId, const std::string& html) = 0;

    // Watches a frame's document until a password field appears in it, or until the limit
    // passes or the document goes away; raises PasswordFieldAppeared once when it appears.
    virtual bool watchForPasswordField(const std::string& frameId, std::chrono::milliseconds limit) = 0;

    virtual void subscribe(BrowserEvents& sink) = 0;
    virtual void unsubscribe(BrowserEvents& sink) = 0;
};

// Told when a window joins or leaves the list.
class WindowListEvents {
public:
    virtual ~WindowListEvents() = default;
    virtual void WindowRegistered() = 0;
    virtual void WindowRevoked() = 0;
};

// The browser's open windows.
class WindowList {
public:
    virtual ~WindowList() = default;
    // Every open window, oldest first.
    virtual std::vector<std::shared_ptr<Browser>> windows() = 0;
    // Opens a new, empty window (starting the browser when it does not run);
    // nullptr when no browser could be started.
    virtual std::shared_ptr<Browser> createBrowser() = 0;
    // Opens `count` new windows at once, so that a browser that can opens them side by side
    // rather than one after another; an entry is nullptr where a window could not be opened.
    virtual std::vector<std::shared_ptr<Browser>> createBrowsers(std::size_t count)
    {
        std::vector<std::shared_ptr<Browser>> browsers;
        for (std::size_t i = 0; i < count; ++i)
            browsers.push_back(createBrowser());
        return browsers;
    }

    virtual void subscribe(WindowListEvents& sink) = 0;
    virtual void unsubscribe(WindowListEvents& sink) = 0;
};

} // namespace kv
