#!/usr/bin/env bash
# The layer check must refuse each kind of break on a small tree, and pass a clean one.
set -u
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/src/{storage,support,browser,mainwindow,widgets,platform} "$tree"/app

write() { printf '%s\n' "$2" >"$tree/$1"; }
write src/storage/clean.cpp '#include "support/reg_access.h"'
write src/mainwindow/clean.cpp '#include "browser/login_engine.h"'
write src/widgets/tree_widget.cpp '#include <QTreeWidget>'
write src/platform/grab.cpp '#include <X11/Xlib.h>'
write app/main.cpp '#include "mainwindow/main_window_form.h"'
if ! "$check" "$tree" >/dev/null 2>&1; then
    echo "a clean tree was refused"
    "$check" "$tree"
    exit 1
fi

write src/browser/upward.cpp '#include "mainwindow/url_launcher.h"'
write src/support/with_qt.cpp '#include <QString>'
write src/browser/form_user.cpp '#include "widgets/sites_tree_widget.h"'
write src/storage/unknown.h '#include "nowhere/thing.h"'
write src/browser/x_here.cpp '#include <X11/Xlib.h>'
mkdir -p "$tree/src/newfolder" && write src/newfolder/a.cpp '// no layer yet'
output=$("$check" "$tree" 2>&1) && { echo "a broken tree passed"; exit 1; }
expected=(
    "src/browser/upward.cpp:1: browser (layer 2) includes mainwindow/url_launcher.h (layer 3)"
    "src/support/with_qt.cpp:1: Qt header in a Qt-free file"
    "src/browser/form_user.cpp:1: Qt-free file includes the Qt file widgets/sites_tree_widget.h"
    "src/storage/unknown.h:1: includes 'nowhere/thing.h' from a folder without a layer"
    "src/browser/x_here.cpp:1: system interface header <X11/…> outside platform/"
    "src/newfolder/a.cpp: folder 'newfolder' has no layer"
    "6 violation(s)"
)
status=0
for line in "${expected[@]}"; do
    grep -qF -- "$line" <<<"$output" || { echo "missing: $line"; status=1; }
done
((status)) && printf 'check said:\n%s\n' "$output"
exit $status
