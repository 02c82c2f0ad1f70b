#!/usr/bin/env bash
# Checks a built .deb: control fields, every file the installed program needs, owner-only
# nothing and root-owned everything, and no lintian errors (when lintian is installed).
set -euo pipefail
deb=$1
failures=0
fail() { echo "check_deb: $*" >&2; failures=$((failures + 1)); }

info=$(dpkg-deb --info "$deb")
for field in "Package: kestrelyn-vormaplex" "Section: utils" "Architecture: $(dpkg --print-architecture)"; do
    grep -qx " $field" <<<"$info" || fail "control lacks '$field'"
done
depends=$(grep '^ Depends:' <<<"$info" || true)
for library in chromium libc6 libqt6widgets6 libqt6dbus6 libpam0g libsqlite3-0; do
    grep -q "$library" <<<"$depends" || fail "Depends does not name $library: $depends"
done
grep -q '^ Recommends: xdg-utils' <<<"$info" || fail "xdg-utils is not recommended"

contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/kestrelyn-vormaplex ./usr/bin/kestrelyn-cli \
    ./usr/share/applications/kestrelyn-vormaplex.desktop \
    ./usr/share/icons/hicolor/scalable/apps/kestrelyn-vormaplex.svg \
    ./usr/share/kestrelyn-vormaplex/icons/site.svg ./usr/share/kestrelyn-vormaplex/skins/royal.qss \
    ./usr/share/kestrelyn-vormaplex/extensions/cleanup/manifest.json \
    ./etc/pam.d/kestrelyn-vormaplex \
    ./usr/share/man/man1/kestrelyn-vormaplex.1.gz ./usr/share/man/man1/kestrelyn-cli.1.gz \
    ./usr/share/doc/kestrelyn-vormaplex/copyright ./usr/share/doc/kestrelyn-vormaplex/changelog.gz; do
    grep -q " ${file}\$" <<<"$contents" || fail "the package lacks $file"
done
if grep -v ' root/root ' <<<"$contents" | grep -q .; then
    fail "files not owned by root: $(grep -v ' root/root ' <<<"$contents" | head -n 3)"
fi
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/pam.d/kestrelyn-vormaplex ||
    fail "the PAM service file is not a conffile"

# The installed tool finds nothing of the build tree and still runs.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
"$unpacked/usr/bin/kestrelyn-cli" --version | grep -q '^kestrelyn-cli ' || fail "the packaged tool does not run"

if command -v lintian >/dev/null; then
    # Run as root on a build machine; lintian would refuse to run otherwise.
    if ! lintian --fail-on error --allow-root --suppress-tags no-manual-page "$deb"; then
        fail "lintian reports errors"
    fi
else
    echo "check_deb: lintian is not installed; the lintian check was skipped"
fi

((failures == 0)) || { echo "check_deb: $failures problem(s) in $deb" >&2; exit 1; }
echo "check_deb: $deb holds everything and passes its checks"
