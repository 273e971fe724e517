#!/bin/sh
# The install step of Parlink: registers BUILD_DIR/lib/libparlink.so (its
# class, programmatic identifiers and type library) in the registry, the
# folder named by DOVETEXT_REGISTRY or, when unset, the default
# $XDG_CONFIG_HOME/dovetext/registry (~/.config/dovetext/registry).
#
#   scripts/register-parlink.sh [BUILD_DIR]     (default: build/ beside scripts/)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../build"}

if [ ! -d "$build" ]; then
  echo "register-parlink: no build folder at $build" >&2
  exit 1
fi
build=$(cd "$build" && pwd)
library="$build/lib/libparlink.so"
regsvr="$build/bin/parlink-regsvr"

if [ ! -f "$library" ]; then
  echo "register-parlink: $library not found (build the parlink target first)" >&2
  exit 1
fi
if [ ! -x "$regsvr" ]; then
  echo "register-parlink: $regsvr not found (build the parlink-regsvr target first)" >&2
  exit 1
fi

exec "$regsvr" "$library"
