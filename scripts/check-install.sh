#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the installed tree as a
# user meets it: the files and their sonames and RPATHs, the desktop entry and
# AppStream metadata (validated), every manual page (rendered without a
# warning), --help and --version of every command (dovetext's without a
# display), the C example built from the installed headers with pkg-config,
# and a first start of dovetext-launch with an empty registry and data folder
# against gateway-sim: the program starts, Parlink is registered and
# "DataPath" written, and SIGTERM ends it cleanly. The example then runs
# against the simulator through that registration.
#
#   scripts/check-install.sh BUILD_DIR        (ctest runs it as install_check)
#
# Everything happens in a temporary home, registry and runtime folder.
set -euo pipefail

build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
app_id=com.quorvane.Dovetext
settings_key='HKLM\SOFTWARE\Quorvane\Dvtx3'
commands=(dovetext dovetext-launch parlink parlink-regsvr dvreg gateway-sim)

work=$(mktemp -d "${TMPDIR:-/tmp}/dovetext-install.XXXXXX")
background=()
cleanup() {
  local pid
  for pid in "${background[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "check-install: $*" >&2
  exit 1
}

export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_RUNTIME_DIR=$work/run DOVETEXT_REGISTRY=$work/registry
unset DISPLAY WAYLAND_DISPLAY PARLINK_BASE_URL DOVETEXT_TEST_LOG DOVETEXT_TEST_AUTOANSWER
mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  fail "cmake --install failed"
}
bin=$prefix/bin
dvreg=$bin/dvreg

echo "== files, sonames, RPATHs"
for f in include/parlink/Parlink.h include/parlink/ISMS.h include/automation/automation.h \
  lib/pkgconfig/parlink.pc share/applications/$app_id.desktop \
  share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/$app_id.svg \
  share/icons/hicolor/48x48/apps/$app_id.png share/icons/hicolor/256x256/apps/$app_id.png \
  share/doc/dovetext/examples/parlink-balance.c; do
  [ -s "$prefix/$f" ] || fail "missing $f"
done
for library in libparlink libautomation; do
  soname=$(readelf -d "$prefix/lib/$library.so" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
  case $soname in
  "$library".so.[0-9]*) ;;
  *) fail "$library.so has no versioned soname (${soname:-none})" ;;
  esac
  [ -f "$prefix/lib/$soname" ] || fail "missing lib/$soname"
done
parlink_library=$prefix/lib/$(readelf -d "$prefix/lib/libparlink.so" |
  sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
for c in "${commands[@]}"; do
  [ -x "$bin/$c" ] || fail "missing bin/$c"
  if [ "$(head -c 4 "$bin/$c")" = $'\x7fELF' ]; then
    readelf -d "$bin/$c" | grep -Eq '\((RUNPATH|RPATH)\).*\[\$ORIGIN/\.\./lib\]' ||
      fail "bin/$c has no RPATH \$ORIGIN/../lib"
  fi
done

echo "== desktop entry, AppStream metadata"
desktop-file-validate "$prefix/share/applications/$app_id.desktop" ||
  fail "desktop-file-validate failed"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 || {
  cat "$work/appstream.log" >&2
  fail "appstreamcli validate failed"
}

echo "== --help and --version"
# dovetext answers both before the window toolkit starts: with the X11
# platform and no display it would otherwise abort.
for c in "${commands[@]}"; do
  for option in --help --version; do
    QT_QPA_PLATFORM=xcb "$bin/$c" "$option" >"$work/out" 2>"$work/err" ||
      fail "$c $option failed: $(cat "$work/err")"
    [ -s "$work/out" ] || fail "$c $option printed nothing"
  done
  grep -Eq '[0-9]+\.[0-9]+' "$work/out" || fail "$c --version shows no version"
done
[ ! -e "$DOVETEXT_REGISTRY" ] || fail "--help or --version changed the registry"
version=$("$bin/dovetext" --version | awk '{ print $2 }')
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "the AppStream metadata has no release $version"

echo "== manual pages"
for c in "${commands[@]}"; do
  page=$prefix/share/man/man1/$c.1.gz
  [ -s "$page" ] || fail "missing the manual page of $c"
  MANWIDTH=80 man --warnings -l "$page" >"$work/page" 2>"$work/warnings" ||
    fail "man -l $c.1.gz failed: $(cat "$work/warnings")"
  [ ! -s "$work/warnings" ] || fail "$c.1: $(cat "$work/warnings")"
  grep -q "$c" "$work/page" || fail "$c.1 renders empty"
done

echo "== C example, built with pkg-config"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046 # the flags are words
cc -std=c11 -Wall -Wextra -Werror -o "$work/parlink-balance" \
  "$prefix/share/doc/dovetext/examples/parlink-balance.c" \
  $(pkg-config --cflags --libs parlink) -Wl,-rpath,"$prefix/lib" ||
  fail "the C example does not build against the installed tree"

echo "== first start through dovetext-launch"
"$bin/gateway-sim" --port 0 >"$work/sim.out" 2>&1 &
background+=($!)
url=""
for _ in $(seq 1 100); do
  line=$(head -n 1 "$work/sim.out")
  case $line in
  *"listening on "*)
    url=${line##* on }
    break
    ;;
  esac
  sleep 0.1
done
[ -n "$url" ] || fail "gateway-sim did not start: $(cat "$work/sim.out")"

trace=$work/trace
PARLINK_BASE_URL=$url QT_QPA_PLATFORM=offscreen DOVETEXT_TEST_LOG=$trace \
  "$bin/dovetext-launch" >"$work/launch.out" 2>&1 &
program=$!
background+=("$program")
started=""
for _ in $(seq 1 600); do
  if grep -q $'^step\twindow-shown$' "$trace" 2>/dev/null; then
    started=yes
    break
  fi
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
[ -n "$started" ] || fail "the program did not start: $(cat "$work/launch.out" "$trace" 2>/dev/null)"

clsid=$("$dvreg" get 'HKCR\Parlink.SMS\CLSID' '') || fail "Parlink.SMS is not registered"
module=$("$dvreg" get "HKCR\\CLSID\\$clsid\\InprocServer32" '') || fail "no InprocServer32"
[ "$(readlink -f "$module")" = "$(readlink -f "$parlink_library")" ] ||
  fail "Parlink registered as $module, not the installed $parlink_library"
data=$("$dvreg" get "$settings_key" DataPath) || fail "DataPath is missing"
[ "$data" = "$XDG_DATA_HOME/Dovetext" ] || fail "DataPath is $data"
[ "$(stat -c %a "$data")" = 700 ] || fail "$data is not readable by its owner only"

kill -TERM "$program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status after SIGTERM: $(cat "$work/launch.out")"
grep -q $'^step\texit$' "$trace" || fail "the program did not shut down: $(cat "$trace")"
[ -s "$data/SMS.db" ] && [ -s "$data/SMS.dat" ] || fail "no SMS.db and SMS.dat in $data"

echo "== C example against gateway-sim"
PARLINK_BASE_URL=$url "$work/parlink-balance" DVTX demo demo123 >"$work/balance.out" 2>&1 ||
  fail "the C example failed: $(cat "$work/balance.out")"
grep -q '^QueryBalance: .*100' "$work/balance.out" ||
  fail "the C example did not show the balance: $(cat "$work/balance.out")"

echo "check-install: all checks passed"
