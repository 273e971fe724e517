#!/usr/bin/env bash
# Builds Dovetext and runs it against the bundled gateway simulator: the
# README's run command. From a fresh Debian 12 machine it installs what is
# missing, builds in build/, registers the build's Parlink (so that it wins
# over any other registration), starts gateway-sim with its demo account on a
# free port, names it in the registry as "GatewayURL", and starts dovetext
# through build/bin/dovetext-launch, which also prepares the data folder
# when "DataPath" is missing (~/.local/share/Dovetext). The simulator stops
# when the program ends.
#
# DOVETEXT_BUILD_DIR chooses another build folder; DOVETEXT_REGISTRY another
# registry; DOVETEXT_DATA a data folder, written as "DataPath" whatever it was.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${DOVETEXT_BUILD_DIR:-build}

scripts/install-deps.sh

echo "Building ($build/) ..."
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target dovetext parlink parlink-regsvr dvreg gateway-sim

scripts/register-parlink.sh "$build" >/dev/null
echo "Parlink registered."

sim_out=$(mktemp)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -f "$sim_out"
}
trap cleanup EXIT

"$build"/bin/gateway-sim --port 0 >"$sim_out" 2>&1 &
sim_pid=$!
url=""
for _ in $(seq 1 100); do
  line=$(head -n 1 "$sim_out" 2>/dev/null || true)
  case "$line" in
    *"listening on "*) url=${line##* on }; break ;;
  esac
  if ! kill -0 "$sim_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$url" ]; then
  echo "run: gateway-sim did not start:" >&2
  cat "$sim_out" >&2
  exit 1
fi

dvreg=$build/bin/dvreg
key='HKLM\SOFTWARE\Quorvane\Dvtx3'
"$dvreg" set "$key" GatewayURL "$url"
if [ -n "${DOVETEXT_DATA:-}" ]; then
  mkdir -p "$DOVETEXT_DATA"
  chmod 700 "$DOVETEXT_DATA"
  "$dvreg" set "$key" DataPath "$DOVETEXT_DATA"
fi
echo "Gateway simulator: $url"
echo
echo "Log in with user name \"demo\" and password \"demo123\"."
echo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): Dovetext runs on Qt's"
  echo "offscreen platform, so no window can be seen. Stop it with Ctrl+C."
  export QT_QPA_PLATFORM=offscreen
fi

status=0
"$build"/bin/dovetext-launch || status=$?
exit "$status"
