#!/usr/bin/env bash
# install_check.sh BUILD_DIR: installs the build into a temporary DESTDIR as a user's `cmake --install`
# would, checks what the desktop needs (entries, metainfo, icons, manual pages, completion), and starts
# the installed programs from / so that nothing of the build folder is within reach.
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
pid=
xpid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    # Waited for, so that the next server never meets this one's display half-freed.
    [ -z "$xpid" ] || { kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null; } || true
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr/local >"$tmp/install.log"
p="$tmp/root/usr/local"

for f in bin/orvanex bin/pelusa bin/orvx share/orvanex/readme.txt share/orvanex/help/orvanex.html \
         share/applications/org.orvanex.Orvanex.desktop share/applications/org.orvanex.Pelusa.desktop \
         share/metainfo/org.orvanex.Orvanex.metainfo.xml share/metainfo/org.orvanex.Pelusa.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.orvanex.Orvanex.svg \
         share/icons/hicolor/scalable/apps/org.orvanex.Pelusa.svg \
         share/man/man1/orvanex.1 share/man/man1/pelusa.1 share/man/man1/orvx.1 \
         share/bash-completion/completions/orvx; do
    [ -e "$p/$f" ] || fail "not installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
    for app in Orvanex Pelusa; do
        icon="$p/share/icons/hicolor/${size}x${size}/apps/org.orvanex.$app.png"
        if [ ! -f "$icon" ]; then
            fail "no ${size}px icon for $app"
        elif ! file "$icon" | grep -q "PNG image data, $size x $size,"; then
            fail "the ${size}px icon of $app is not $size x $size: $(file -b "$icon")"
        fi
    done
done

desktop-file-validate "$p"/share/applications/*.desktop || fail "desktop entries do not validate"
grep -qx 'MimeType=text/plain;application/octet-stream;' "$p/share/applications/org.orvanex.Pelusa.desktop" \
    || fail "PELUSA does not declare text/plain and application/octet-stream"
grep -q '^Exec=pelusa %f$' "$p/share/applications/org.orvanex.Pelusa.desktop" \
    || fail "PELUSA's entry does not take a file"
grep -q '^Exec=orvanex --user-app-folder$' "$p/share/applications/org.orvanex.Orvanex.desktop" \
    || fail "ORVANEX's entry does not keep the App folder in the data folder"
appstreamcli validate --no-net "$p"/share/metainfo/*.metainfo.xml >"$tmp/appstream.log" 2>&1 \
    || { cat "$tmp/appstream.log"; fail "metainfo does not validate"; }

for page in "$p"/share/man/man1/*.1; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot show $page"
    [ -z "$warnings" ] || fail "man warns on $(basename "$page"): $warnings"
done

# Every command that orvx offers is documented and completed.
commands=$("$p/bin/orvx" --help | awk '/^Commands:/ {on = 1; next} on && /^  [a-z]/ {print $1} on && /^$/ {exit}')
[ -n "$commands" ] || fail "orvx --help lists no commands"
for c in $commands; do
    pattern=${c//-/\\\\-} # the page writes add\-type
    grep -qE "^\.B $pattern( |\$)" "$p/share/man/man1/orvx.1" || fail "orvx.1 does not document $c"
done
completed=$(bash -c 'source /usr/share/bash-completion/bash_completion 2>/dev/null || true
    source "$1"; PATH="$2:$PATH" _orvx_commands' _ "$p/share/bash-completion/completions/orvx" "$p/bin")
[ "$completed" = "$commands" ] || fail "completion offers '$completed', orvx has '$commands'"

cd /
"$p/bin/orvx" --version | grep -qx "orvx [0-9.]*" || fail "installed orvx --version"
"$p/bin/pelusa" --version | grep -qx "pelusa [0-9.]*" || fail "installed pelusa --version"
help=$("$p/bin/orvanex" --help)
grep -qxF "Help: $p/share/orvanex/help/orvanex.html" <<<"$help" \
    || fail "installed orvanex does not find its help: $help"

# The installed ORVANEX under an X server, started from / as the menu entry starts it.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/data" XDG_CONFIG_HOME="$tmp/home/config"
    unset ORVANEX_HIVE
    mkdir -p "$HOME"
    # -displayfd: the server picks a free display and writes its number when it is ready. A server that
    # then refuses connections (a display left half-freed by an earlier server) is replaced by a new one.
    # -noreset: otherwise the server resets when the readiness check leaves, and refuses ORVANEX if it
    # connects meanwhile.
    start_x() {
        [ -z "$xpid" ] || { kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; }
        : >"$tmp/display"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" 2>>"$tmp/xvfb.log" &
        xpid=$!
        local number=
        for _ in $(seq 1 200); do
            number=$(head -n 1 "$tmp/display" 2>/dev/null) || true
            [ -n "$number" ] && break
            kill -0 "$xpid" 2>/dev/null || return 1
            sleep 0.1
        done
        [ -n "$number" ] || return 1
        export DISPLAY=":$number"
        for _ in $(seq 1 100); do
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
            kill -0 "$xpid" 2>/dev/null || return 1
            sleep 0.1
        done
        return 1
    }
    window=
    for attempt in 1 2 3; do
        if ! start_x; then
            echo "attempt $attempt: the X server on ${DISPLAY:-no display} takes no connections"
            continue
        fi
        # The X keyboard library reads past its strings: outside the strict string check (a sanitizer build).
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:strict_string_checks=0" \
            "$p/bin/orvanex" --user-app-folder >"$tmp/orvanex.log" 2>&1 &
        pid=$!
        for _ in $(seq 1 300); do
            window=$(xdotool search --name 'ORVANEX - Manage File Types' 2>/dev/null | head -n 1) || true
            [ -n "$window" ] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        [ -z "$window" ] || break
        wait "$pid" 2>/dev/null || true
        pid=
        # Only a lost display is worth another try; anything else is the program's own failure.
        grep -q "could not connect to display" "$tmp/orvanex.log" || break
        echo "attempt $attempt: ORVANEX could not connect to $DISPLAY"
    done
    if [ -z "$window" ]; then
        cat "$tmp/orvanex.log" 2>/dev/null || true
        echo "X server log:" && cat "$tmp/xvfb.log" 2>/dev/null || true
        fail "the installed ORVANEX showed no window"
    fi
    [ -d "$XDG_DATA_HOME/orvanex/Backup" ] || fail "no Backup folder in the user's data folder"
    [ ! -e /Backup ] || fail "a Backup folder was made in /"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
fi

if [ "$failures" -eq 0 ]; then
    echo "install check: all passed"
else
    echo "install check: $failures failed"
    exit 1
fi
