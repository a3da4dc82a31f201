#!/usr/bin/env bash
# Installs the Debian packages the build needs, with --test also those the tests need, and with
# --bench those and what the benchmarks need besides, only when they are missing. Uses sudo when
# not run as root.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libqt6svg6 libsqlite3-dev libldap-dev libsasl2-dev libcrypt-dev)
if [ "${1:-}" = "--bench" ]; then
    # Runs with the accessibility bridge: a virtual X server, a session bus, the AT-SPI bus, pyatspi for
    # the stand-in screen reader.
    packages+=(xvfb xauth dbus-daemon at-spi2-core python3-pyatspi)
fi
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--bench" ]; then
    # GoogleTest, throwaway servers for the integration tests (slapd, 389 Directory Server, Samba AD DC),
    # openssl for their test certificate authority, the checks of the install and the Debian package,
    # lintian for the package, clang-format for the formatting check, pdftotext to read back the printed account
    # slips, clang with its libFuzzer runtime for the fuzz targets, kinit and the SASL GSSAPI module for the
    # Kerberos sign-in against the Samba DC's KDC, ccache so that the sanitized builds with and without the
    # window compile the layers below it once.
    packages+=(ccache libgtest-dev libgmock-dev slapd ldap-utils openssl 389-ds-base python3-lib389 samba samba-ad-dc
        samba-ad-provision ldb-tools desktop-file-utils appstream dpkg-dev file lintian clang-format poppler-utils clang-14
        libclang-rt-14-dev krb5-user libsasl2-modules-gssapi-mit)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# No package may start a system-wide daemon: the tests start their own on loopback. A refusing
# policy-rc.d stands in for whatever is there during the install; the original comes back after.
if [[ " ${missing[*]} " == *" slapd "* ]]; then
    "${sudo[@]}" mkdir -p /etc/ldap
    "${sudo[@]}" touch /etc/ldap/noslapd
    echo 'slapd slapd/no_configuration boolean true' | "${sudo[@]}" debconf-set-selections
fi
# Kerberos' client tools write no krb5.conf: the tests bring their own (KRB5_CONFIG).
if [[ " ${missing[*]} " == *" krb5-user "* ]]; then
    printf '%s\n' 'krb5-config krb5-config/default_realm string' 'krb5-config krb5-config/add_servers boolean false' \
        'krb5-config krb5-config/read_conf boolean false' | "${sudo[@]}" debconf-set-selections
fi
policy=/usr/sbin/policy-rc.d
saved_policy=""
if [ -e "$policy" ]; then
    saved_policy=$(mktemp)
    "${sudo[@]}" cp -p "$policy" "$saved_policy"
fi
restore_policy() {
    if [ -n "$saved_policy" ]; then
        "${sudo[@]}" cp -p "$saved_policy" "$policy"
        "${sudo[@]}" rm -f "$saved_policy"
    else
        "${sudo[@]}" rm -f "$policy"
    fi
}
trap restore_policy EXIT
printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
"${sudo[@]}" chmod 755 "$policy"

echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

# Units the server packages enable for boot are switched off: only the tests' own instances run.
for unit in samba-ad-dc smbd nmbd winbind dirsrv.target; do
    if [ -e "/lib/systemd/system/$unit" ] || [ -e "/lib/systemd/system/$unit.service" ]; then
        "${sudo[@]}" systemctl disable --no-reload "$unit" >/dev/null 2>&1 || true
    fi
    if [ -x "/etc/init.d/$unit" ]; then
        "${sudo[@]}" update-rc.d "$unit" disable >/dev/null 2>&1 || true
    fi
done
