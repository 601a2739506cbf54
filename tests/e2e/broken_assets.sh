# Broken-asset runs of the real demo: every kind of data file missing, truncated, random or of
# another kind, each case on its own Xvfb display. The driver describes the matrices and options.
set -euo pipefail
: "${ZEMBLAR_BIN:?set ZEMBLAR_BIN to the zemblar executable}"
: "${ZEMBLAR_SOURCE:?set ZEMBLAR_SOURCE to the repository root}"
exec /usr/bin/python3 "$(dirname "$0")/broken_assets.py"
