#!/usr/bin/env bash
# A throwaway 389 Directory Server for tests and benchmarks, on 127.0.0.1 and an ldapi socket only.
#
#   dirsrv-fixture.sh start DIR [LDIF...]   build the instance in DIR on first use, load LDIF files, start it
#   dirsrv-fixture.sh stop DIR              stop the server started for DIR (by its saved pid)
#
# Everything of the instance lives in DIR (see dirsrv-setup.py): nothing is registered in /etc, /run
# or /var, so removing DIR after "stop" leaves no trace. "start" on a DIR that holds an instance
# starts it again on the same data and ports. It prints shell assignments of what clients need.
#
# The sample tree under SUFFIX: ou=People holding the ordinary administrator (all rights through an
# ACI, but bound by the default size limit of 2,000 entries, unlike the Directory Manager), and
# ou=School holding "ou=Class 7b", "ou=v1.2" and ou=Alumni with 2,500 entries. On first start the
# sample and the LDIF files are imported offline in one go (ldif2db: about 1 s with 2,500 entries,
# where adds over ldapi take 4-5 s); values are stored as given, so a userPassword in such a file
# stays in clear text. On a later start LDIF files are added online, as the Directory Manager.
set -euo pipefail
FIXTURE=dirsrv-fixture
# shellcheck source=scripts/fixture-common.sh
source "$(dirname "$0")/fixture-common.sh"
# The system Python and its modules (lib389, samba), whatever the caller's environment says.
unset PYTHONPATH PYTHONHOME

NS_SLAPD=${NS_SLAPD:-/usr/sbin/ns-slapd}
PYTHON=/usr/bin/python3
SUFFIX="dc=example,dc=com"
DM_DN="cn=Directory Manager"
DM_PASSWORD="Manager-Secret-389"
ADMIN_DN="uid=admin,ou=People,$SUFFIX"
ADMIN_PASSWORD="Admin-Secret-389"
BULK_ENTRIES=2500

write_sample() {
    local file=$1 admin_hash=$2 i
    {
        cat <<EOF
dn: $SUFFIX
objectClass: top
objectClass: domain
dc: example
aci: (targetattr="*")(version 3.0; acl "School administrator"; allow (all) userdn="ldap:///$ADMIN_DN";)

dn: ou=People,$SUFFIX
objectClass: top
objectClass: organizationalUnit
ou: People

dn: $ADMIN_DN
objectClass: top
objectClass: inetOrgPerson
uid: admin
cn: School administrator
sn: Administrator
userPassword: $admin_hash

dn: ou=School,$SUFFIX
objectClass: top
objectClass: organizationalUnit
ou: School

dn: ou=Class 7b,ou=School,$SUFFIX
objectClass: top
objectClass: organizationalUnit
ou: Class 7b

dn: ou=v1.2,ou=School,$SUFFIX
objectClass: top
objectClass: organizationalUnit
ou: v1.2

dn: ou=Alumni,ou=School,$SUFFIX
objectClass: top
objectClass: organizationalUnit
ou: Alumni

EOF
        for ((i = 1; i <= BULK_ENTRIES; i++)); do
            printf 'dn: uid=alum%04d,ou=Alumni,ou=School,%s\nobjectClass: top\nobjectClass: inetOrgPerson\nuid: alum%04d\ncn: alum%04d\nsn: Alumnus\n\n' \
                "$i" "$SUFFIX" "$i" "$i"
        done
    } >"$file"
}

# The instance's configuration folder, once it is built.
config_dir() { compgen -G "$1/etc/dirsrv/slapd-*" | head -n1; }
running() { [[ -f $1/dirsrv.pid ]] && alive "$(cat "$1/dirsrv.pid")"; }
# Serving once its socket exists and its ldaps port answers.
ready() { [[ -S $1 ]] && answers 127.0.0.1 "$2"; }

build() {
    local dir=$1 name port secure_port
    shift
    # A name of its own per DIR keeps two instances' logs and lock files apart.
    name=qb$(printf '%s' "$dir" | cksum | cut -d' ' -f1)
    port=$(free_port)
    secure_port=$(free_port "$port")
    printf '%s %s\n' "$port" "$secure_port" >"$dir/ports"
    write_secret "$dir/dm.pw" "$DM_PASSWORD"
    write_secret "$dir/admin.pw" "$ADMIN_PASSWORD"
    "$(dirname "$0")/test-ca.sh" "$dir/tls" || die "no test certificate"
    PREFIX=$dir "$PYTHON" "$(dirname "$0")/dirsrv-setup.py" "$dir" "$name" "$port" "$secure_port" "$SUFFIX" \
        "$dir/dm.pw" >"$dir/setup.log" 2>&1 || die "set-up failed: $(tail -n 20 "$dir/setup.log")"
    local config hash
    config=$(config_dir "$dir")
    hash=$(/usr/bin/pwdhash -D "$config" "$ADMIN_PASSWORD") || die "pwdhash failed"
    write_sample "$dir/sample.ldif" "$hash"
    local inputs=(-i "$dir/sample.ldif") ldif
    for ldif in "$@"; do
        inputs+=(-i "$(realpath "$ldif")")
    done
    "$NS_SLAPD" ldif2db -D "$config" -n userRoot "${inputs[@]}" >"$dir/import.log" 2>&1 ||
        die "import failed: $(tail -n 20 "$dir/import.log")"
}

start() {
    local dir=$1
    shift
    [[ -x $NS_SLAPD ]] || die "389 Directory Server is not installed (package 389-ds-base)"
    "$PYTHON" -c 'import lib389' 2>/dev/null || die "lib389 is not installed (package python3-lib389)"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    running "$dir" && die "389 Directory Server already running for $dir"
    local fresh=0
    if [[ -z $(config_dir "$dir") ]]; then
        build "$dir" "$@"
        fresh=1
    fi
    local config port secure_port
    config=$(config_dir "$dir")
    read -r port secure_port <"$dir/ports"

    local socket=$dir/ldapi
    local ldapi
    ldapi="ldapi://$(percent_encode "$socket")/"
    rm -f "$socket"
    # A server killed a moment ago may still hold its lock file; ns-slapd would take it for running.
    local lock
    for lock in "$dir"/lock/*/{server,imports,exports}/*; do
        [[ -e $lock ]] && ! alive "${lock##*/}" && rm -f "$lock"
    done
    # -d 0 keeps ns-slapd in the foreground (no detaching), so its pid is known at once.
    env -i "$NS_SLAPD" -D "$config" -i "$dir/run/ns-slapd.pid" -d 0 >"$dir/log/console" 2>&1 </dev/null &
    local pid=$!
    echo "$pid" >"$dir/dirsrv.pid"
    if ! await_server "$pid" 30 ready "$socket" "$secure_port"; then
        [[ $WAIT_FAILURE == exited ]] && die "ns-slapd exited: $(tail -n 20 "$dir/log/errors")"
        die "389 Directory Server did not come up: $(tail -n 20 "$dir/log/errors")"
    fi

    if [[ $fresh == 0 ]]; then
        local ldif
        for ldif in "$@"; do
            if ! ldapadd -H "$ldapi" -Y EXTERNAL -Q -f "$ldif" >>"$dir/ldapadd.log" 2>&1; then
                end_process "$pid" 30
                die "ldapadd of $ldif failed: $(tail -n 5 "$dir/ldapadd.log")"
            fi
        done
    fi
    cat <<EOF
LDAPURI='ldap://127.0.0.1:$port/'
LDAPS_URI='ldaps://127.0.0.1:$secure_port/'
LDAPI_URI='$ldapi'
DIRSRV_PID=$pid
DIRSRV_PORT=$port
DIRSRV_LDAPS_PORT=$secure_port
SUFFIX='$SUFFIX'
DM_DN='$DM_DN'
DM_PASSWORD_FILE='$dir/dm.pw'
ADMIN_DN='$ADMIN_DN'
ADMIN_PASSWORD_FILE='$dir/admin.pw'
CA_FILE='$dir/tls/ca.pem'
EOF
}

# ns-slapd writes its database out on TERM; that takes a moment with a large cache.
stop() { stop_server "$1/dirsrv.pid" 30; }

fixture_main "start DIR [LDIF...]" "$@"
