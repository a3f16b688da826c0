#!/usr/bin/env bash
# Makes sure a locale (e.g. it_IT.UTF-8) is installed, generating it when missing (Debian, as root:
# the `locales` package, the locale's line in /etc/locale.gen, locale-gen).
# Usage: scripts/locale.sh LOCALE
set -euo pipefail
wanted=${1:?usage: scripts/locale.sh LOCALE}

# locale -a writes "it_IT.utf8" for "it_IT.UTF-8".
installed() {
  local normal
  normal=$(printf '%s' "$wanted" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8$/utf8/')
  locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qx "$normal"
}

installed && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "The locale $wanted is missing; as root: install the locales package, uncomment" \
       "\"$wanted\" in /etc/locale.gen and run locale-gen." >&2
  exit 1
fi
echo "Generating the locale $wanted"
if ! command -v locale-gen >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends locales </dev/null
fi
charset=${wanted##*.}
line="$wanted $charset"
if grep -Eq "^#? *$line\$" /etc/locale.gen 2>/dev/null; then
  sed -i -E "s/^# *($line)\$/\\1/" /etc/locale.gen
else
  echo "$line" >> /etc/locale.gen
fi
locale-gen
installed || { echo "The locale $wanted could not be generated." >&2; exit 1; }
