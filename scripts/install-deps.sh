#!/usr/bin/env bash
# Installs the Debian packages named as arguments when any of them is missing.
# Non-interactive and idempotent: a machine that has them all is left alone.
set -euo pipefail

missing=()
for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

# On a fresh machine the automatic updates may hold apt's locks for a while: wait up to ten
# minutes. apt-get update has no such wait for its lists lock, so it is tried again instead.
update_lists() {
    local deadline=$((SECONDS + 600)) output
    until output=$("${sudo_cmd[@]}" env LC_ALL=C apt-get update -qq 2>&1); do
        if ! grep -q "Could not get lock" <<<"$output" || [ "$SECONDS" -ge "$deadline" ]; then
            echo "$output" >&2
            return 1
        fi
        sleep 5
    done
    [ -z "$output" ] || echo "$output"
}
update_lists
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
