#!/usr/bin/env bash
# The install step of Dovetext's data: creates the data folder (readable by
# its owner only) and names it in the registry as
# HKLM\SOFTWARE\Quorvane\Dvtx3 "DataPath"; with a second argument also sets
# "GatewayURL", the gateway address the program moves Parlink to at start.
#
#   packaging/setup-data-folder.sh BUILD_DIR [GATEWAY_URL]
#
# The folder is $DOVETEXT_DATA when set, else $XDG_DATA_HOME/Dovetext
# (~/.local/share/Dovetext). The registry is the folder named by
# DOVETEXT_REGISTRY, else ~/.config/dovetext/registry.
set -euo pipefail

build=${1:?usage: setup-data-folder.sh BUILD_DIR [GATEWAY_URL]}
url=${2:-}
dvreg="$build/bin/dvreg"
key='HKLM\SOFTWARE\Quorvane\Dvtx3'

if [ ! -x "$dvreg" ]; then
  echo "setup-data-folder: $dvreg not found (build the dvreg target first)" >&2
  exit 1
fi

data=${DOVETEXT_DATA:-${XDG_DATA_HOME:-$HOME/.local/share}/Dovetext}
mkdir -p "$data"
chmod 700 "$data"
"$dvreg" set "$key" DataPath "$data"
if [ -n "$url" ]; then
  "$dvreg" set "$key" GatewayURL "$url"
fi
echo "$data"
