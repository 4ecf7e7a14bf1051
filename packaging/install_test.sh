#!/bin/sh
# Installs into a temporary DESTDIR and runs the installed programs from another
# folder, on fresh data folders: the programs find the seed data beside their bin
# folder, seed the data folder and calculate; no installed file names the source or
# the build tree.
# usage: install_test.sh SOURCE_DIR BUILD_DIR
set -eu
src=$(realpath "$1")
build=$(realpath "$2")
root=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
fail() {
    echo "install_test: $*" >&2
    exit 1
}

DESTDIR=$root/dest cmake --install "$build" --prefix /usr >/dev/null
bin=$root/dest/usr/bin
seed=$root/dest/usr/share/tolvane

# Every file of data/ is installed, unchanged.
(cd "$src/data" && find . -type f) | while read -r f; do
    cmp -s "$src/data/$f" "$seed/$f" || fail "data/$f is not installed as $seed/$f"
done

if grep -rlF -e "$src" -e "$build" "$root/dest"; then
    fail "the installed files above name the source or build tree"
fi

mkdir "$root/elsewhere" "$root/home"
cd "$root/elsewhere"
export HOME="$root/home"
unset TOLVANE_SEED_DIR TOLVANE_DATA_DIR XDG_DATA_HOME

[ "$("$bin/tolvane" --version)" = "tolvane $3" ] || fail "tolvane --version"
[ "$("$bin/tolvane-cli" --version)" = "tolvane-cli $3" ] || fail "tolvane-cli --version"

# The window seeds its data folder on start; it is stopped once that is done.
gui_data=$root/gui-data
TOLVANE_DATA_DIR=$gui_data QT_QPA_PLATFORM=offscreen "$bin/tolvane" >"$root/gui.log" 2>&1 &
gui=$!
tries=0
while [ ! -f "$gui_data/help.txt" ] && [ $tries -lt 150 ] && kill -0 $gui 2>/dev/null; do
    sleep 0.1
    tries=$((tries + 1))
done
kill $gui 2>/dev/null || true
wait $gui 2>/dev/null || true
cmp -s "$gui_data/help.txt" "$seed/help.txt" || {
    cat "$root/gui.log" >&2
    fail "the installed tolvane did not seed help.txt into a fresh data folder"
}

cli_data=$root/cli-data
out=$("$bin/tolvane-cli" --data-dir "$cli_data" weight --type 0 --text1 10 --text2 1000 --text3 1000)
[ "$out" = "$(printf 'unit= 78.5\ntotal= 78.5')" ] || fail "weight printed: $out"

# The grade look-ups seed the databases from the installed CSV files.
if "$bin/tolvane-cli" grade --help >/dev/null 2>&1; then
    out=$("$bin/tolvane-cli" --data-dir "$cli_data" grade query Q195) || fail "grade query: $out"
    case $out in *Q195*) ;; *) fail "grade query Q195 printed: $out" ;; esac
    ls "$cli_data"/*.db >/dev/null 2>&1 || fail "grade query seeded no database in $cli_data"

    # Without its seed data the program says where it looked for it.
    mv "$seed" "$root/seed-away"
    if "$bin/tolvane-cli" --data-dir "$root/unseeded" grade query Q195 >/dev/null 2>"$root/err"; then
        fail "grade query succeeded without seed data"
    fi
    grep -qF "查找过：$seed" "$root/err" || fail "no message names where it looked: $(cat "$root/err")"
fi
