#!/bin/sh
# Builds the Debian package as `make package` does, unpacks it and checks its files
# and its declared dependencies: every shared library the programs load comes from a
# package the .deb depends on, and apt can install it here. lintian must report no
# error; its warnings are printed.
# usage: package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -eu
src=$(realpath "$1")
build=$(realpath "$2")
version=$3
root=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-deb.XXXXXX")
trap 'rm -rf "$root"' EXIT
fail() {
    echo "package_test: $*" >&2
    exit 1
}

cpack -G DEB -B "$root" --config "$build/CPackConfig.cmake" >"$root/cpack.log" 2>&1 || {
    cat "$root/cpack.log" >&2
    fail "cpack failed"
}
deb=$root/tolvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -x "$deb" "$root/tree"
cd "$root/tree"

[ "$(ls -A)" = usr ] || fail "files outside /usr: $(ls -A)"
for f in bin/tolvane bin/tolvane-cli share/applications/tolvane.desktop \
    share/metainfo/tolvane.metainfo.xml share/icons/hicolor/scalable/apps/tolvane.svg \
    share/man/man1/tolvane.1.gz share/man/man1/tolvane-cli.1.gz \
    share/doc/tolvane/copyright share/doc/tolvane/changelog.gz; do
    [ -f "usr/$f" ] || fail "usr/$f is missing"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "usr/share/icons/hicolor/${size}x$size/apps/tolvane.png" ] || fail "no ${size}px icon"
done
[ "$(cd "$src/data" && find . -type f | sort)" = "$(cd usr/share/tolvane && find . -type f | sort)" ] ||
    fail "usr/share/tolvane does not hold exactly the files of data/"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for program in usr/bin/tolvane usr/bin/tolvane-cli; do
    for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        found=
        owners=$(dpkg -S "*/$soname" 2>/dev/null | sed 's/: \/.*//' | tr ',' '\n')
        for pkg in $(echo "$owners" | sed 's/^ *//; s/:.*//' | sort -u); do
            case " $depends," in *" $pkg "* | *" $pkg,"*) found=$pkg ;; esac
        done
        [ -n "$found" ] || fail "$program needs $soname, whose package is not in Depends"
    done
done

apt-get install --simulate "$deb" >"$root/apt.log" 2>&1 || {
    cat "$root/apt.log" >&2
    fail "apt cannot install the package"
}

lint=0
lintian --fail-on error "$deb" >"$root/lintian.log" 2>&1 || lint=$?
grep -v "running with root privileges" "$root/lintian.log" || true
[ $lint -eq 0 ] || fail "lintian reports errors (exit $lint)"
