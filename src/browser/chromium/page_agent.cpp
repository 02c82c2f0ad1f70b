#include "browser/chromium/page_agent.h"

namespace kv {

namespace {

// Every DOM property is read through the getters saved here, never through the objects
// themselves: a form or document property can be hidden by an element of the same name.
// Everything read from the page is cut to a size limit: a page must not flood the program.
constexpr std::string_view kAgentScript = R"JS(
(function (bindingName) {
  'use strict';
  if (globalThis.__kvAgent) return;
  const getter = (proto, name) => Object.getOwnPropertyDescriptor(proto, name).get;
  const docForms = getter(Document.prototype, 'forms');
  const docUrl = getter(Document.prototype, 'URL');
  const docTitle = getter(Document.prototype, 'title');
  const docState = getter(Document.prototype, 'readyState');
  const docView = getter(Document.prototype, 'defaultView');
  const docQuery = Document.prototype.querySelectorAll;
  const formElements = getter(HTMLFormElement.prototype, 'elements');
  const formSubmit = HTMLFormElement.prototype.submit;
  const getAttr = Element.prototype.getAttribute;
  const attrList = getter(Element.prototype, 'attributes');
  const tagName = getter(Element.prototype, 'tagName');
  const connected = getter(Node.prototype, 'isConnected');
  const iframeDoc = getter(HTMLIFrameElement.prototype, 'contentDocument');
  const iframeWin = getter(HTMLIFrameElement.prototype, 'contentWindow');
  const frameDoc = getter(HTMLFrameElement.prototype, 'contentDocument');
  const frameWin = getter(HTMLFrameElement.prototype, 'contentWindow');
  const htmlClick = HTMLElement.prototype.click;
  const htmlFocus = HTMLElement.prototype.focus;
  const getRect = Element.prototype.getBoundingClientRect;
  const closest = Element.prototype.closest;
  const computedStyle = getComputedStyle;
  const shadowOf = getter(Element.prototype, 'shadowRoot');
  const fragmentQuery = DocumentFragment.prototype.querySelectorAll;
  const treeWalker = Document.prototype.createTreeWalker;
  const walkerNext = TreeWalker.prototype.nextNode;
  const valueSetters = {
    INPUT: Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, 'value').set,
    TEXTAREA: Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value').set,
    SELECT: Object.getOwnPropertyDescriptor(HTMLSelectElement.prototype, 'value').set,
  };
  const userActivation = getter(Navigator.prototype, 'userActivation');
  const activationActive = getter(UserActivation.prototype, 'isActive');
  const encoder = new TextEncoder(), decoder = new TextDecoder();
  const MAX_NODES = 5000, MAX_FORMS = 1000, MAX_DEPTH = 4, MAX_ATTRIBUTES = 64, MAX_WALK = 20000;
  const MAX_VALUE = 4096, MAX_ADDRESS = 65536; // bytes of UTF-8
  let programAction = false; // a click or submit of ours is under way
  const agentId = Math.random().toString(36).slice(2) + Date.now().toString(36);
  const ids = new WeakMap();
  const nodes = new Map();
  let nextId = 1;

  function send(kind, snapshot, user) {
    const binding = globalThis[bindingName];
    if (typeof binding !== 'function') return;
    const message = { k: kind, agent: agentId, by: user === true };
    if (snapshot) message.s = snapshot;
    binding(JSON.stringify(message));
  }
  function ref(el) {
    let id = ids.get(el);
    if (id === undefined) {
      id = nextId++;
      ids.set(el, id);
      nodes.set(id, new WeakRef(el));
    }
    return id;
  }
  function node(id) {
    const weak = nodes.get(id);
    const el = weak && weak.deref();
    return el && connected.call(el) ? el : null;
  }
  // At most max bytes of UTF-8, cut before a character rather than inside one.
  function cap(v, max) {
    if (v.length * 3 <= max) return v;
    const bytes = encoder.encode(v);
    if (bytes.length <= max) return v;
    let end = max;
    while (end > 0 && (bytes[end] & 0xC0) === 0x80) end--;
    return decoder.decode(bytes.subarray(0, end));
  }
  function text(v, max = MAX_VALUE) {
    return cap(typeof v === 'string' ? v : (v === undefined || v === null ? '' : String(v)), max);
  }
  // An event the user caused: trusted, while the page has the user's activation, and not
  // one of our own clicks or submits.
  function byUser(e) {
    try { return e.isTrusted && !programAction && activationActive.call(userActivation.call(navigator)); }
    catch (err) { return false; }
  }
  function upper(el) { return text(tagName.call(el)).toUpperCase(); }
  // The form's property as written, or "[object]" when a control of that name hides it.
  function formProperty(form, property) {
    const v = form[property];
    if (v !== null && typeof v === 'object') return '[object]';
    return text(getAttr.call(form, property));
  }
  function childDocument(frame) {
    try { return upper(frame) === 'IFRAME' ? iframeDoc.call(frame) : frameDoc.call(frame); } catch (e) { return null; }
  }
  function agentOfWindow(w) {
    try { return w && w.__kvAgent ? text(w.__kvAgent.agentId) : ''; } catch (e) { return ''; }
  }
  function childAgent(frame) {
    try { return agentOfWindow(upper(frame) === 'IFRAME' ? iframeWin.call(frame) : frameWin.call(frame)); } catch (e) { return ''; }
  }
  // The open shadow roots of custom elements in the document, nested ones included: forms
  // and fields inside them are the page's as much as any other.
  function shadowRoots(doc) {
    const roots = [];
    let walked = 0;
    const visit = (root) => {
      const walker = treeWalker.call(doc, root, NodeFilter.SHOW_ELEMENT);
      for (let el = walkerNext.call(walker); el && walked < MAX_WALK; el = walkerNext.call(walker)) {
        ++walked;
        const inner = shadowOf.call(el);
        if (inner) { roots.push(inner); visit(inner); }
      }
    };
    visit(doc);
    return roots;
  }
  // querySelectorAll over the document and its open shadow roots.
  function deepQuery(doc, selector, roots) {
    const found = Array.from(docQuery.call(doc, selector));
    for (const root of roots) for (const el of fragmentQuery.call(root, selector)) found.push(el);
    return found;
  }
  // Whether a person can see and reach the control: decoys placed off-screen, hidden from
  // assistive technology, out of the tab order or of no size are not.
  function shown(el) {
    try {
      if (closest.call(el, '[aria-hidden="true"]')) return false;
      const tabIndex = getAttr.call(el, 'tabindex');
      if (tabIndex !== null && Number(tabIndex) < 0) return false;
      const r = getRect.call(el);
      if (r.width < 2 || r.height < 2 || r.right <= 0 || r.bottom <= -window.scrollY) return false;
      const style = computedStyle(el);
      return style.visibility !== 'hidden' && style.opacity !== '0';
    } catch (e) { return true; }
  }
  function describe(el, formIndex) {
    const tag = upper(el);
    const control = tag === 'INPUT' || tag === 'BUTTON' || tag === 'SELECT' || tag === 'TEXTAREA';
    let href = '';
    if (tag === 'A' || tag === 'AREA') href = text(typeof el.href === 'string' ? el.href : getAttr.call(el, 'href'), MAX_ADDRESS);
    const f = control && el.form ? formIndex.get(el.form) : undefined;
    return {
      t: tag, ty: control ? text(el.type).toLowerCase() : '', v: control ? text(el.value) : '',
      n: text(getAttr.call(el, 'name')), i: text(getAttr.call(el, 'id')), h: href,
      f: f === undefined ? -1 : f, r: ref(el),
      vis: control ? shown(el) : true, ac: control ? text(getAttr.call(el, 'autocomplete')).toLowerCase() : '',
    };
  }
  function snapshotDocument(doc, depth, budget, agent) {
    const roots = shadowRoots(doc);
    const forms = Array.from(docForms.call(doc));
    for (const root of roots) for (const form of fragmentQuery.call(root, 'form')) forms.push(form);
    forms.splice(MAX_FORMS);
    const formIndex = new Map();
    forms.forEach((form, i) => formIndex.set(form, i));
    const list = [], seen = new Map();
    const add = (el) => {
      let k = seen.get(el);
      if (k !== undefined) return k;
      if (budget.left <= 0) { budget.truncated = true; return -1; }
      budget.left--;
      k = list.length;
      seen.set(el, k);
      list.push(describe(el, formIndex));
      return k;
    };
    const all = [];
    for (const el of deepQuery(doc, 'input,button,a,select,textarea', roots)) {
      const k = add(el);
      if (k >= 0) all.push(k);
    }
    const outForms = forms.map((form) => ({
      a: formProperty(form, 'action'), n: formProperty(form, 'name'), m: formProperty(form, 'method'),
      at: Array.from(attrList.call(form)).slice(0, MAX_ATTRIBUTES).map((a) => [text(a.name).toLowerCase(), text(a.value)]),
      r: ref(form),
      e: Array.from(formElements.call(form), add).filter((k) => k >= 0),
    }));
    const frames = [];
    if (depth < MAX_DEPTH) {
      for (const frame of docQuery.call(doc, 'iframe,frame')) {
        const child = childDocument(frame);
        if (!child) { frames.push({ ok: false }); continue; }
        frames.push({ ok: true, d: snapshotDocument(child, depth + 1, budget, childAgent(frame)) });
      }
    }
    return { agent, u: text(docUrl.call(doc), MAX_ADDRESS), ti: text(docTitle.call(doc)), nodes: list, all, f: outForms, fr: frames };
  }
  function snapshot(doc) {
    const budget = { left: MAX_NODES, truncated: false };
    const s = snapshotDocument(doc, 0, budget, doc === document ? agentId : agentOfWindow(docView.call(doc)));
    s.trunc = budget.truncated;
    return s;
  }
  // The topmost document of this window that we may read: the page a submit belongs to.
  function rootDocument() {
    let w = window, up = 0;
    for (;;) {
      let parent;
      try {
        parent = w.parent;
        if (parent === w || !parent.document) break;
        void docUrl.call(parent.document);
      } catch (e) { break; }
      w = parent;
      up++;
    }
    return { doc: w.document, up };
  }
  function report(kind, user) {
    try {
      const root = rootDocument();
      const s = snapshot(root.doc);
      s.up = root.up;
      send(kind, s, user);
    } catch (e) {
      send(kind, null, user);
    }
  }
  function asProgram(action) {
    programAction = true;
    try { return action(); } finally { programAction = false; }
  }
  // A password field a person can see, in the document, its shadow roots or its frames.
  function hasPassword(doc, depth) {
    if (deepQuery(doc, 'input[type="password" i]', shadowRoots(doc)).some(shown)) return true;
    if (depth >= MAX_DEPTH) return false;
    for (const frame of docQuery.call(doc, 'iframe,frame')) {
      const child = childDocument(frame);
      if (child && hasPassword(child, depth + 1)) return true;
    }
    return false;
  }

  const agent = {
    agentId,
    snapshot: () => JSON.stringify(snapshot(document)),
    // As typing does: focus, key, the value through the element's own setter (pages that keep
    // their state in script watch that), input, key, change.
    setValue(id, value) {
      const el = node(id);
      const set = el && valueSetters[upper(el)];
      if (!set) return false;
      asProgram(() => {
        try { htmlFocus.call(el, { preventScroll: true }); } catch (e) {}
        el.dispatchEvent(new KeyboardEvent('keydown', { bubbles: true, composed: true, key: 'Unidentified' }));
        set.call(el, value);
        el.dispatchEvent(new InputEvent('input', { bubbles: true, composed: true, inputType: 'insertText', data: value }));
        el.dispatchEvent(new KeyboardEvent('keyup', { bubbles: true, composed: true, key: 'Unidentified' }));
        el.dispatchEvent(new Event('change', { bubbles: true }));
      });
      return true;
    },
    // A control the page keeps disabled until its fields had input is pressed once the page
    // enables it (its handlers may do so only after our input events, a moment later).
    click(id) {
      const el = node(id);
      if (!el) return false;
      const press = () => asProgram(() => {
        if (typeof el.click === 'function') htmlClick.call(el);
        else el.dispatchEvent(new MouseEvent('click', { bubbles: true, cancelable: true }));
      });
      if (!el.disabled) { press(); return true; }
      const observer = new MutationObserver(() => {
        if (el.disabled) return;
        observer.disconnect();
        press();
      });
      observer.observe(el, { attributes: true, attributeFilter: ['disabled'] });
      setTimeout(() => observer.disconnect(), 5000);
      return true;
    },
    // The form's own submit runs no submit handlers; the program still hears of it.
    submit(id) {
      const form = node(id);
      if (!form || upper(form) !== 'FORM') return false;
      report('typed', false);
      report('after', false);
      asProgram(() => formSubmit.call(form));
      return true;
    },
    watch(ms) {
      if (hasPassword(document, 0)) { report('password'); return true; }
      let timer = 0;
      const observer = new MutationObserver(() => {
        if (!hasPassword(document, 0)) return;
        observer.disconnect();
        clearTimeout(timer);
        report('password');
      });
      // Revealed by script: added, retyped, or shown by a style, class or attribute change.
      const watched = { subtree: true, childList: true, attributes: true,
                        attributeFilter: ['type', 'style', 'class', 'hidden', 'aria-hidden'] };
      observer.observe(document, watched);
      for (const root of shadowRoots(document)) observer.observe(root, watched);
      timer = setTimeout(() => observer.disconnect(), ms);
      return true;
    },
  };
  Object.defineProperty(globalThis, '__kvAgent', { value: Object.freeze(agent) });

  addEventListener('submit', (e) => report('typed', byUser(e)), true);
  addEventListener('submit', (e) => report('after', byUser(e)), false);
  addEventListener('click', (e) => {
    if (!byUser(e)) return;
    try { if (hasPassword(rootDocument().doc, 0)) report('click', true); } catch (err) {}
  }, true);
  const loaded = () => send('load', snapshot(document));
  if (docState.call(document) === 'complete') loaded();
  else addEventListener('load', loaded, { once: true });
})
)JS";

} // namespace

std::string PageAgentSource(std::string_view bindingName)
{
    std::string source(kAgentScript);
    source += "(\"";
    source += bindingName; // our own name: letters and digits only
    source += "\");";
    return source;
}

} // namespace kv
