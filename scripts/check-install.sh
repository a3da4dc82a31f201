#!/usr/bin/env bash
# Checks what an install of a built tree puts in place: an install into a DESTDIR, the menu entry
# and the AppStream description through their validators, and the Debian package CPack makes
# from it, with its control fields and contents listed and lintian reporting no errors. Usage: check-install.sh [BUILD-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

echo "=== install into a DESTDIR"
DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/root/usr
for file in bin/quillbarrow bin/quillbarrow-cli share/applications/quillbarrow.desktop \
    share/icons/hicolor/scalable/apps/quillbarrow.svg share/man/man1/quillbarrow.1.gz share/man/man1/quillbarrow-cli.1.gz \
    share/bash-completion/completions/quillbarrow-cli share/doc/quillbarrow/copyright; do
    [ -s "$root/$file" ] || { echo "missing from the install: $file" >&2; exit 1; }
done
metainfo=("$root"/share/metainfo/*.metainfo.xml)
[ -s "${metainfo[0]}" ] || { echo "missing from the install: the metainfo file" >&2; exit 1; }
(cd "$stage/root" && find . -type f | sort)

echo "=== validators"
desktop-file-validate "$root/share/applications/quillbarrow.desktop"
appstreamcli validate --no-net "${metainfo[0]}"

echo "=== Debian package"
(cd "$build" && cpack -G DEB -B "$stage/package" >/dev/null)
package=("$stage"/package/quillbarrow_*.deb)
dpkg-deb -f "${package[0]}" Package Version Depends
dpkg-deb -c "${package[0]}"
# Errors fail the check; warnings are listed.
lintian --fail-on error "${package[0]}"
