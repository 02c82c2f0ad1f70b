#pragma once
// Login pages that both saving and logging in are tried on.

namespace kv::test {

constexpr const char* kPlainLogin = R"HTML(<!doctype html><html><head><title>Plain login</title></head><body>
<form name="signin" action="/session" method="post">
  <input type="text" name="user"><input type="password" name="pass">
  <input type="submit" name="go" value="Sign in">
</form></body></html>)HTML";

// A token, an email field, and a plain button before the one that submits.
constexpr const char* kModernLogin = R"HTML(<!doctype html><html><head><title>Modern</title></head><body>
<form action="/session" method="post">
  <input type="hidden" name="csrf" value="t0k3n">
  <input type="email" name="email">
  <input type="password" name="password">
  <button type="button" onclick="document.title='toggled'">show</button>
  <button>Continue</button>
</form></body></html>)HTML";

} // namespace kv::test
