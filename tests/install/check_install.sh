#!/bin/sh
# Installs the build into a temporary prefix and checks that every file a desktop needs is
# there and well formed: programs, desktop entry, icons, MIME type, README, and the version.
# Usage: check_install.sh BUILD_DIR VERSION
set -eu
export LC_ALL=C
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in veltrix veltrix-cli veltrix-sim; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
for file in share/applications/veltrix.desktop share/mime/packages/veltrix-setup.xml \
    share/doc/veltrix/README.md; do
    [ -s "$prefix/$file" ] || fail "$file is missing"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x$size/apps/veltrix.png"
    [ -s "$icon" ] || fail "the ${size}x$size icon is missing"
done

desktop="$prefix/share/applications/veltrix.desktop"
grep -qx 'Name=Veltrix' "$desktop" || fail "the desktop entry's Name is not Veltrix"
grep -qx 'Exec=veltrix %f' "$desktop" || fail "the desktop entry does not open a file"
grep -qx 'Categories=AudioVideo;Audio;Settings;' "$desktop" || fail "the desktop entry's categories"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the desktop entry"
else
    echo "desktop-file-validate is not installed: the entry's syntax was not checked"
fi

# The MIME type compiles and knows setup files by their marker FF FF FF FF, not by "*.dat".
if command -v update-mime-database >/dev/null; then
    mime=$(mktemp -d)
    mkdir "$mime/packages"
    cp "$prefix/share/mime/packages/veltrix-setup.xml" "$mime/packages/"
    update-mime-database "$mime" 2>/dev/null || fail "update-mime-database refuses the MIME type"
    grep -q 'Veltrix setup file' "$mime/application/x-veltrix-setup.xml" || fail "the MIME type's name"
    grep -aq 'application/x-veltrix-setup' "$mime/magic" || fail "no magic for setup files"
    grep -aq "$(printf '\377\377\377\377')" "$mime/magic" || fail "the magic is not the marker FF FF FF FF"
    ! grep -q 'veltrix' "$mime/globs2" || fail "setup files are claimed by their name"
    rm -rf "$mime"
fi

reported=$("$prefix/bin/veltrix-cli" --version)
[ "$reported" = "veltrix-cli $version" ] || fail "veltrix-cli --version says \"$reported\", not $version"

[ "$failed" -eq 0 ] && echo "installed and checked in $prefix"
exit "$failed"
