# Broken-asset runs of the real demo: every kind of data file missing, truncated, random or of
# another kind. The driver describes the cases and its options.
source "$(dirname "$0")/common.bash"
/usr/bin/python3 "$ZEMBLAR_SOURCE/tests/e2e/broken_assets.py"
