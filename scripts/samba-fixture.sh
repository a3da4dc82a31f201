#!/usr/bin/env bash
# A throwaway Samba Active Directory domain controller for tests, serving LDAP on loopback only.
#
#   samba-fixture.sh start DIR [LDIF...]   provision the domain in DIR on first use, load LDIF files, start samba
#   samba-fixture.sh stop DIR              stop the samba started for DIR (by its saved pid)
#
# Samba's ports are fixed (389, 636, 3268, 3269), so each instance takes an address of its own in
# 127.0.0.0/8, drawn at random from 127.64.0.0/10 and checked to be free; Linux delivers the whole
# /8 to the loopback interface, and "interfaces = ADDRESS/8" lets samba bind one that is not
# configured on lo, so nothing is added to the interface and two instances (two test executables,
# two people's test runs) never meet. The address is kept in DIR for a restart.
#
# Everything of the domain lives in DIR (smb.conf, databases, pid file, sockets, logs). Simple binds
# need TLS (ldaps, or StartTLS on LDAPURI): the server certificate comes from the test CA in DIR/tls.
# The sample tree (none with NO_SAMPLE set): OU=School holding "OU=Class 7b", "OU=v1.2" and
# OU=Alumni with 2,500 users. On first start the sample and the LDIF files are added offline with
# ldbadd through samba's own modules (10-17 s for the 2,500 users, where LDAP adds take about 90 s);
# on a later start LDIF files are added over ldaps as the Administrator. Needs root (samba binds
# port 389).
# The DC is also the domain's KDC (port 88 of its address): KRB5_CONFIG_FILE is a krb5.conf that
# points Kerberos clients at it, and the DC answers for ldap/ADDRESS, the service an ldap:// URI
# of the address asks for. With KERBEROS_SERVICE=ldap/ADDRESS the domain gets a service account
# for another server at ADDRESS, whose keys SERVICE_KEYTAB holds: that server's KRB5_KTNAME, to
# accept the realm's tickets.
set -euo pipefail
FIXTURE=samba-fixture
# shellcheck source=scripts/fixture-common.sh
source "$(dirname "$0")/fixture-common.sh"
# The system Python and its modules (lib389, samba), whatever the caller's environment says.
unset PYTHONPATH PYTHONHOME

SAMBA=${SAMBA:-/usr/sbin/samba}
REALM=AD.EXAMPLE.COM
DOMAIN=AD
HOST=dc1
DNS_DOMAIN=ad.example.com
BASE_DN="DC=ad,DC=example,DC=com"
ADMIN_DN="CN=Administrator,CN=Users,$BASE_DN"
# Meets the domain's default complexity rule (three character classes, at least 7 characters).
ADMIN_PASSWORD="Admin-Secret-4dc"
BULK_ENTRIES=2500

running() { [[ -f $1/samba.pid ]] && alive "$(cat "$1/samba.pid")"; }
# Serving once both LDAP ports of ADDRESS answer.
ready() { answers "$1" 636 && answers "$1" 389 && answers "$1" 88; }

# A loopback address no server answers on at any of samba's ports.
free_address() {
    local address port
    for _ in $(seq 1 50); do
        address=127.$((64 + RANDOM % 64)).$((RANDOM % 256)).$((1 + RANDOM % 254))
        for port in 389 636 3268 3269; do
            answers "$address" "$port" && continue 2
        done
        echo "$address"
        return
    done
    die "no free loopback address found"
}

# A user account for SERVICE with AES keys only (without msDS-SupportedEncryptionTypes the KDC would
# encrypt its tickets with RC4), its keys exported to DIR/service.keytab.
add_service() {
    local dir=$1 service=$2 account options
    options=(--configfile="$dir/etc/smb.conf")
    # sAMAccountName takes 20 characters.
    account=$(printf 'svc-%s' "${service#*/}" | tr -c 'A-Za-z0-9-' '-' | cut -c1-20)
    {
        samba-tool user add "$account" --random-password "${options[@]}" -H "$dir/private/sam.ldb" &&
            samba-tool spn add "$service" "$account" "${options[@]}" -H "$dir/private/sam.ldb" &&
            printf 'dn: CN=%s,CN=Users,%s\nchangetype: modify\nreplace: msDS-SupportedEncryptionTypes\nmsDS-SupportedEncryptionTypes: 24\n' \
                "$account" "$BASE_DN" | ldbmodify "${options[@]}" -H "$dir/private/sam.ldb" &&
            samba-tool domain exportkeytab "$dir/service.keytab" --principal="$service@$REALM" "${options[@]}"
    } >>"$dir/provision.log" 2>&1 || die "service $service failed: $(tail -n 5 "$dir/provision.log")"
}

write_sample() {
    local file=$1 i
    {
        cat <<EOF
dn: OU=School,$BASE_DN
objectClass: organizationalUnit

dn: OU=Class 7b,OU=School,$BASE_DN
objectClass: organizationalUnit

dn: OU=v1.2,OU=School,$BASE_DN
objectClass: organizationalUnit

dn: OU=Alumni,OU=School,$BASE_DN
objectClass: organizationalUnit

EOF
        for ((i = 1; i <= BULK_ENTRIES; i++)); do
            printf 'dn: CN=alum%04d,OU=Alumni,OU=School,%s\nobjectClass: user\nsAMAccountName: alum%04d\nsn: Alumnus\n\n' \
                "$i" "$BASE_DN" "$i"
        done
    } >"$file"
}

provision() {
    local dir=$1 address
    shift
    address=$(free_address)
    echo "$address" >"$dir/address"
    write_secret "$dir/admin.pw" "$ADMIN_PASSWORD"
    "$(dirname "$0")/test-ca.sh" "$dir/tls" "$address" "$HOST.$DNS_DOMAIN" || die "no test certificate"
    mkdir -p "$dir/run" "$dir/log"
    # Every path samba writes to is set into DIR; services: the LDAP server and the KDC.
    local options=(
        "interfaces=$address/8"
        "bind interfaces only=yes"
        "server services=ldap kdc"
        "pid directory=$dir/run"
        "ncalrpc dir=$dir/run/ncalrpc"
        "winbindd socket directory=$dir/run/winbindd"
        "ntp signd socket directory=$dir/run/ntp_signd"
        "log file=$dir/log/samba.log"
        "panic action="
        "tls enabled=yes"
        "tls keyfile=$dir/tls/server.key"
        "tls certfile=$dir/tls/server.pem"
        "tls cafile=$dir/tls/ca.pem"
    )
    local arguments=(--use-rfc2307 --targetdir="$dir" --realm="$REALM" --domain="$DOMAIN" --host-name="$HOST"
        --server-role=dc --dns-backend=NONE --adminpass="$ADMIN_PASSWORD") option
    for option in "${options[@]}"; do
        arguments+=(--option="$option")
    done
    samba-tool domain provision "${arguments[@]}" >"$dir/provision.log" 2>&1 ||
        die "provision failed: $(tail -n 20 "$dir/provision.log")"
    # The service name a Kerberos client asks for with an ldap:// URI of the address (no reverse name
    # resolves for it), and a krb5.conf of the domain's own for clients (KRB5_CONFIG).
    samba-tool spn add "ldap/$address" "${HOST^^}\$" --configfile="$dir/etc/smb.conf" -H "$dir/private/sam.ldb" \
        >>"$dir/provision.log" 2>&1 || die "spn add failed: $(tail -n 5 "$dir/provision.log")"
    cat >"$dir/krb5.conf" <<KRB5
[libdefaults]
    default_realm = $REALM
    dns_lookup_kdc = false
    dns_lookup_realm = false
    rdns = false
    dns_canonicalize_hostname = false
[realms]
    $REALM = {
        kdc = $address
    }
KRB5
    [[ -z ${KERBEROS_SERVICE:-} ]] || add_service "$dir" "$KERBEROS_SERVICE"
    local ldif ldifs=("$@")
    if [[ -z ${NO_SAMPLE:-} ]]; then
        write_sample "$dir/sample.ldif"
        ldifs=("$dir/sample.ldif" "$@")
    fi
    for ldif in "${ldifs[@]}"; do
        ldbadd --configfile="$dir/etc/smb.conf" -H "$dir/private/sam.ldb" "$ldif" >>"$dir/ldbadd.log" 2>&1 ||
            die "ldbadd of $ldif failed: $(tail -n 5 "$dir/ldbadd.log")"
    done
}

start() {
    local dir=$1
    shift
    [[ -x $SAMBA ]] || die "samba is not installed (packages samba, samba-ad-dc, samba-ad-provision)"
    command -v ldbadd >/dev/null || die "ldbadd is not installed (package ldb-tools)"
    [[ $(id -u) == 0 ]] || die "samba needs root (it binds port 389)"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    running "$dir" && die "samba already running for $dir"
    local fresh=0
    if [[ ! -f $dir/etc/smb.conf ]]; then
        provision "$dir" "$@"
        fresh=1
    fi
    local address
    address=$(cat "$dir/address")

    # -F: no detaching, so its pid is known at once; -M single: one process serves everything; one
    # orphaned by a test that was killed ends by itself after four hours.
    "$SAMBA" -F --no-process-group -M single --maximum-runtime=14400 -s "$dir/etc/smb.conf" >"$dir/log/console" 2>&1 </dev/null &
    local pid=$!
    echo "$pid" >"$dir/samba.pid"
    if ! await_server "$pid" 30 ready "$address"; then
        [[ $WAIT_FAILURE == exited ]] &&
            die "samba exited: $(tail -n 20 "$dir/log/samba.log" "$dir/log/console" 2>/dev/null)"
        die "samba did not come up: $(tail -n 20 "$dir/log/samba.log" 2>/dev/null)"
    fi

    local ldaps="ldaps://$address/"
    if [[ $fresh == 0 ]]; then
        local ldif
        for ldif in "$@"; do
            if ! LDAPTLS_CACERT=$dir/tls/ca.pem ldapadd -H "$ldaps" -x -D "$ADMIN_DN" -y "$dir/admin.pw" -f "$ldif" \
                >>"$dir/ldapadd.log" 2>&1; then
                end_process "$pid"
                die "ldapadd of $ldif failed: $(tail -n 5 "$dir/ldapadd.log")"
            fi
        done
    fi
    cat <<EOF
LDAPURI='ldap://$address/'
LDAPS_URI='$ldaps'
SAMBA_ADDRESS=$address
SAMBA_PID=$pid
REALM='$REALM'
DNS_DOMAIN='$DNS_DOMAIN'
BASE_DN='$BASE_DN'
ADMIN_DN='$ADMIN_DN'
ADMIN_PASSWORD_FILE='$dir/admin.pw'
CA_FILE='$dir/tls/ca.pem'
KRB5_CONFIG_FILE='$dir/krb5.conf'
EOF
    [[ ! -f $dir/service.keytab ]] || echo "SERVICE_KEYTAB='$dir/service.keytab'"
}

stop() { stop_server "$1/samba.pid" 10; }

fixture_main "start DIR [LDIF...]" "$@"
