#!/usr/bin/env bash
# Installs the Debian packages the build needs, and with --test also those the tests need,
# only when they are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libqt6svg6 libsqlite3-dev libldap-dev libgtest-dev libgmock-dev)
if [ "${1:-}" = "--test" ]; then
    packages+=(slapd ldap-utils desktop-file-utils appstream dpkg-dev file)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# The slapd package must not start a system-wide daemon: the tests start their own on loopback.
policy_added=0
if [[ " ${missing[*]} " == *" slapd "* ]]; then
    "${sudo[@]}" mkdir -p /etc/ldap
    "${sudo[@]}" touch /etc/ldap/noslapd
    echo 'slapd slapd/no_configuration boolean true' | "${sudo[@]}" debconf-set-selections
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee /usr/sbin/policy-rc.d >/dev/null
        "${sudo[@]}" chmod 755 /usr/sbin/policy-rc.d
        policy_added=1
    fi
fi

echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

if [ "$policy_added" = 1 ]; then
    "${sudo[@]}" rm -f /usr/sbin/policy-rc.d
fi
