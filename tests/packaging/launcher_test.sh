#!/bin/sh
# dovetext-launch against registries that are not empty, with a stand-in
# for dovetext that records its arguments:
#   - a registration naming a library that is gone is replaced by the one
#     beside the launcher; a working one elsewhere is kept;
#   - an existing "DataPath" is kept, and its folder made when missing;
#   - the arguments reach dovetext, and its exit status is the launcher's.
#
#   sh tests/packaging/launcher_test.sh BUILD_DIR
set -eu

build=$(cd "${1:?usage: launcher_test.sh BUILD_DIR}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/dovetext-launcher.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "launcher_test: $*" >&2
  exit 1
}

export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
settings_key='HKLM\SOFTWARE\Quorvane\Dvtx3'

# A tree like the installed one: the launcher, the tools and a stand-in
# program in bin/, the build's libraries in lib/.
mkdir -p "$work/tree/bin" "$HOME"
cp "$build/bin/dovetext-launch" "$work/tree/bin/"
ln -s "$build/bin/dvreg" "$build/bin/parlink-regsvr" "$work/tree/bin/"
ln -s "$build/lib" "$work/tree/lib"
cat >"$work/tree/bin/dovetext" <<'STANDIN'
#!/bin/sh
printf '%s\n' "$@" >"$HOME/arguments"
exit 7
STANDIN
chmod +x "$work/tree/bin/dovetext"
launch() {
  status=0
  "$work/tree/bin/dovetext-launch" "$@" 2>"$work/launch.err" || status=$?
}
dvreg() {
  "$build/bin/dvreg" "$@"
}
registered_module() {
  clsid=$(dvreg get 'HKCR\Parlink.SMS\CLSID' '')
  dvreg get "HKCR\\CLSID\\$clsid\\InprocServer32" ''
}
library=$(readlink -f "$build/lib/libparlink.so")

# A registration whose library is gone; a data folder that is gone.
export DOVETEXT_REGISTRY="$work/registry-stale"
cp "$library" "$work/libparlink-old.so"
"$build/bin/parlink-regsvr" "$work/libparlink-old.so" >/dev/null
rm "$work/libparlink-old.so"
dvreg set "$settings_key" DataPath "$work/elsewhere/Data"
launch -platform offscreen "two words"
[ "$status" -eq 7 ] || fail "exit status $status, not dovetext's 7"
[ "$(cat "$HOME/arguments")" = "$(printf '%s\n' -platform offscreen 'two words')" ] ||
  fail "dovetext got: $(cat "$HOME/arguments")"
[ "$(readlink -f "$(registered_module)")" = "$library" ] ||
  fail "stale registration kept: $(registered_module)"
[ "$(dvreg get "$settings_key" DataPath)" = "$work/elsewhere/Data" ] || fail "DataPath changed"
[ -d "$work/elsewhere/Data" ] || fail "the data folder named by DataPath was not made"
[ ! -e "$XDG_DATA_HOME/Dovetext" ] || fail "the default data folder was made"

# A working registration of another copy of the library is the user's choice.
export DOVETEXT_REGISTRY="$work/registry-other"
cp "$library" "$work/libparlink-other.so"
"$build/bin/parlink-regsvr" "$work/libparlink-other.so" >/dev/null
launch
[ "$(registered_module)" = "$work/libparlink-other.so" ] ||
  fail "a working registration was replaced: $(registered_module)"

echo "launcher_test: all checks passed"
