#!/usr/bin/env bash
# The desktop entry and the AppStream data pass their validators.
set -euo pipefail
cd "$(dirname "$0")/.."
desktop-file-validate packaging/io.github.wobblewick.Wobblewick.desktop
appstreamcli validate --no-net packaging/io.github.wobblewick.Wobblewick.metainfo.xml
