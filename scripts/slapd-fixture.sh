#!/usr/bin/env bash
# A throwaway slapd for tests and benchmarks, listening on loopback and an ldapi socket only.
#
#   slapd-fixture.sh start DIR [PORT] [LDIF...]   build DIR on first use, load LDIF files, start slapd
#   slapd-fixture.sh stop DIR                     stop the slapd started for DIR (by its saved pid)
#
# "start" on a DIR that already holds a configuration restarts slapd on the same data and port.
# It prints shell assignments of what clients need (LDAPURI, LDAPI_URI, ...). Extra LDIF files are
# loaded offline with slapadd into the database whose suffix their first entry ends with.
# LDAPS_URI serves ldaps on a second free port with a certificate of the test CA (CA_FILE).
# cn=Monitor counts the server's operations; the administrator may read it.
# With KERBEROS_REALM set, KRB5_KTNAME naming a keytab with ldap/127.0.0.1 of that realm and
# KRB5_CONFIG its krb5.conf, slapd accepts the realm's tickets (SASL GSSAPI) and maps the realm's
# Administrator to the administrator.
# slapd-pair-fixture.sh builds a replicating pair from the same pieces (it sources this file).
set -euo pipefail

SLAPD=${SLAPD:-/usr/sbin/slapd}
SLAPADD=${SLAPADD:-/usr/sbin/slapadd}
MODULE_DIR=${SLAPD_MODULE_DIR:-/usr/lib/ldap}
SCHEMA_DIR=${SLAPD_SCHEMA_DIR:-/etc/ldap/schema}
ACME_SUFFIX="o=Acme"
EXAMPLE_SUFFIX="dc=example,dc=com"
ADMIN_DN="cn=Admin,o=Acme"
READER_DN="cn=reader,dc=example,dc=com"
READER_PASSWORD="reader-secret"

FIXTURE=slapd-fixture
# shellcheck source=scripts/fixture-common.sh
source "$(dirname "$0")/fixture-common.sh"

# The configuration of the server in DIR. With SERVER_ID and PEER (the ldapi URI of the other
# server) it is one of a pair in mirror mode: syncprov on both databases, each a syncrepl consumer
# of the peer bound as the administrator (SASL EXTERNAL over the peer's socket). Each write's
# contextCSN is checkpointed at once: the tests kill servers, and a server that comes back with an
# older contextCSN than its entries would never send its peer what the peer missed.
write_config() {
    local dir=$1 server_id=${2:-} peer=${3:-} uid
    uid=$(id -u)
    # Lines only a server of a pair has (an empty line would end the LDIF entry).
    local server_line="" syncprov_line="" kerberos_lines=""
    if [[ -n ${KERBEROS_REALM:-} ]]; then
        # The authz-regexp names the realm: a principal of the same name in another realm maps to nothing.
        kerberos_lines="olcSaslHost: 127.0.0.1
olcSaslRealm: $KERBEROS_REALM
olcAuthzRegexp: {1}\"uid=administrator,cn=$KERBEROS_REALM,cn=gssapi,cn=auth\" \"$ADMIN_DN\"
"
    fi
    if [[ -n $server_id ]]; then
        server_line="olcServerID: $server_id"$'\n'
        syncprov_line="olcModuleLoad: {2}syncprov"$'\n'
    fi
    cat >"$dir/config.ldif" <<EOF
dn: cn=config
objectClass: olcGlobal
cn: config
${server_line}olcPidFile: $dir/slapd.pid.slapd
olcAuthzRegexp: {0}"gidNumber=[0-9]+\\+uidNumber=$uid,cn=peercred,cn=external,cn=auth" "$ADMIN_DN"
${kerberos_lines}olcSizeLimit: 500
olcTLSCACertificateFile: $dir/tls/ca.pem
olcTLSCertificateFile: $dir/tls/server.pem
olcTLSCertificateKeyFile: $dir/tls/server.key

dn: cn=module{0},cn=config
objectClass: olcModuleList
cn: module{0}
olcModulePath: $MODULE_DIR
olcModuleLoad: {0}back_mdb
olcModuleLoad: {1}back_monitor
${syncprov_line}
dn: cn=schema,cn=config
objectClass: olcSchemaConfig
cn: schema

EOF
    local schema
    for schema in core cosine inetorgperson nis; do
        cat "$SCHEMA_DIR/$schema.ldif" >>"$dir/config.ldif"
        echo >>"$dir/config.ldif"
    done
    cat >>"$dir/config.ldif" <<EOF
dn: olcDatabase={-1}frontend,cn=config
objectClass: olcDatabaseConfig
objectClass: olcFrontendConfig
olcDatabase: {-1}frontend
olcAccess: {0}to dn.base="" by * read
olcAccess: {1}to dn.base="cn=Subschema" by * read

dn: olcDatabase={0}config,cn=config
objectClass: olcDatabaseConfig
olcDatabase: {0}config
olcAccess: {0}to * by dn.exact="$ADMIN_DN" manage by * none

EOF
    local index=1 suffix name
    for suffix in "$ACME_SUFFIX" "$EXAMPLE_SUFFIX"; do
        name=db$index
        mkdir -p "$dir/$name"
        cat >>"$dir/config.ldif" <<EOF
dn: olcDatabase={$index}mdb,cn=config
objectClass: olcDatabaseConfig
objectClass: olcMdbConfig
olcDatabase: {$index}mdb
olcSuffix: $suffix
olcDbDirectory: $dir/$name
olcDbMaxSize: 4294967296
olcDbIndex: objectClass eq
olcDbIndex: cn eq
olcDbIndex: uid eq
olcLimits: {0}dn.exact="$ADMIN_DN" size=unlimited time=unlimited
olcLimits: {1}* size.soft=500 size.hard=500 size.prtotal=unlimited
olcAccess: {0}to attrs=userPassword by dn.exact="$ADMIN_DN" write by self read by anonymous auth by * none
olcAccess: {1}to * by dn.exact="$ADMIN_DN" write by * read
EOF
        if [[ -n $server_id ]]; then
            cat >>"$dir/config.ldif" <<EOF
olcRootDN: $ADMIN_DN
olcDbIndex: entryCSN eq
olcDbIndex: entryUUID eq
olcSyncrepl: {0}rid=00$index provider=$peer bindmethod=sasl saslmech=EXTERNAL searchbase="$suffix"
  type=refreshAndPersist retry="1 +" network-timeout=2 timeout=2
olcMirrorMode: TRUE

dn: olcOverlay={0}syncprov,olcDatabase={$index}mdb,cn=config
objectClass: olcOverlayConfig
objectClass: olcSyncProvConfig
olcOverlay: {0}syncprov
olcSpCheckpoint: 1 1
EOF
        fi
        echo >>"$dir/config.ldif"
        index=$((index + 1))
    done
    # The server's own counts of its operations (cn=Monitor, not a naming context), for the administrator.
    cat >>"$dir/config.ldif" <<EOF
dn: olcDatabase={$index}monitor,cn=config
objectClass: olcDatabaseConfig
olcDatabase: {$index}monitor
olcAccess: {0}to * by dn.exact="$ADMIN_DN" read by * none

EOF
}

write_sample() {
    local dir=$1
    cat >"$dir/acme.ldif" <<EOF
dn: o=Acme
objectClass: organization
o: Acme

dn: ou=Sales,o=Acme
objectClass: organizationalUnit
ou: Sales

dn: ou=East,ou=Sales,o=Acme
objectClass: organizationalUnit
ou: East

dn: cn=JSmith,ou=Sales,o=Acme
objectClass: inetOrgPerson
cn: JSmith
sn: Smith

dn: cn=Laser1,ou=Sales,o=Acme
objectClass: device
cn: Laser1
EOF
    cat >"$dir/example.ldif" <<EOF
dn: dc=example,dc=com
objectClass: dcObject
objectClass: organization
dc: example
o: Example

dn: ou=People,dc=example,dc=com
objectClass: organizationalUnit
ou: People

dn: $READER_DN
objectClass: inetOrgPerson
cn: reader
sn: Reader
userPassword: $READER_PASSWORD
EOF
}

# Suffix of the database an LDIF file belongs to, from the DN of its first entry.
suffix_of() {
    local dn
    dn=$(grep -m1 -i '^dn:' "$1" | sed 's/^[dD][nN]:[[:space:]]*//' | tr '[:upper:]' '[:lower:]')
    case $dn in
    *"$(tr '[:upper:]' '[:lower:]' <<<"$EXAMPLE_SUFFIX")") echo "$EXAMPLE_SUFFIX" ;;
    *"$(tr '[:upper:]' '[:lower:]' <<<"$ACME_SUFFIX")") echo "$ACME_SUFFIX" ;;
    *) die "no database for $1" ;;
    esac
}

running() { [[ -f $1/slapd.pid ]] && alive "$(cat "$1/slapd.pid")"; }

# Free ports for ldap (PORT, when given) and ldaps, saved in DIR for later starts.
choose_ports() {
    local dir=$1 port=${2:-}
    [[ -n $port ]] || port=$(free_port)
    echo "$port" >"$dir/port"
    free_port "$port" >"$dir/ldaps-port"
}

# Serving once slapd (PID) runs, its socket exists and both ports answer.
ready() { alive "$1" && [[ -S $2 ]] && answers 127.0.0.1 "$3" && answers 127.0.0.1 "$4"; }

# The assignments clients need for the slapd of DIR running as PID.
print_values() {
    local dir=$1 pid=$2
    cat <<EOF
LDAPURI='ldap://127.0.0.1:$(cat "$dir/port")/'
LDAPI_URI='ldapi://$(percent_encode "$dir/ldapi")/'
SLAPD_PID=$pid
SLAPD_PORT=$(cat "$dir/port")
ADMIN_DN='$ADMIN_DN'
READER_DN='$READER_DN'
READER_PASSWORD='$READER_PASSWORD'
LDAPS_URI='ldaps://127.0.0.1:$(cat "$dir/ldaps-port")/'
CA_FILE='$dir/tls/ca.pem'
EOF
}

# Starts slapd for DIR on its saved ports and waits for it (slapd needs about 0.15 s); prints
# what clients need. Fails with the reason in WAIT_FAILURE.
launch() {
    local dir=$1 port ldaps_port
    port=$(cat "$dir/port")
    ldaps_port=$(cat "$dir/ldaps-port")
    local socket=$dir/ldapi
    rm -f "$socket"
    "$SLAPD" -F "$dir/slapd.d" -h "ldap://127.0.0.1:$port/ ldaps://127.0.0.1:$ldaps_port/ ldapi://$(percent_encode "$socket")/" \
        -d none >"$dir/slapd.log" 2>&1 </dev/null &
    local pid=$!
    echo "$pid" >"$dir/slapd.pid"
    await_server "$pid" 5 ready "$pid" "$socket" "$port" "$ldaps_port" || return 1
    print_values "$dir" "$pid"
}

# Starts slapd for DIR; when CHOSEN (this start picked the ports) and one of them was taken by
# another program before slapd bound it, again on new ones.
start_server() {
    local dir=$1 chosen=$2 attempt
    for attempt in 1 2 3; do
        launch "$dir" && return 0
        [[ $WAIT_FAILURE == exited ]] || die "slapd did not come up"
        if [[ $chosen == 1 && $attempt -lt 3 ]] && grep -q "Address already in use" "$dir/slapd.log"; then
            choose_ports "$dir"
            continue
        fi
        die "slapd exited: $(cat "$dir/slapd.log")"
    done
}

# Builds the server in DIR: ports (PORT when given), certificate, configuration (see
# write_config for SERVER_ID and PEER), and the sample unless NO_SAMPLE is set.
build() {
    local dir=$1 port=$2 server_id=${3:-} peer=${4:-}
    mkdir -p "$dir"
    choose_ports "$dir" "$port"
    "$(dirname "$0")/test-ca.sh" "$dir/tls" || die "no test certificate"
    write_config "$dir" "$server_id" "$peer"
    mkdir -p "$dir/slapd.d"
    "$SLAPADD" -n0 -F "$dir/slapd.d" -l "$dir/config.ldif" -q >"$dir/slapadd.log" 2>&1 ||
        die "slapadd of the configuration failed: $(cat "$dir/slapadd.log")"
    [[ -n ${NO_SAMPLE:-} ]] && return 0
    write_sample "$dir"
    load_ldifs "$dir" "$dir/acme.ldif" "$dir/example.ldif"
}

# Loads LDIF files offline, each into the database its first entry belongs to; the suffix entries
# get their contextCSN, as replication needs.
load_ldifs() {
    local dir=$1 ldif
    shift
    for ldif in "$@"; do
        "$SLAPADD" -F "$dir/slapd.d" -b "$(suffix_of "$ldif")" -l "$ldif" -q -w >>"$dir/slapadd.log" 2>&1 ||
            die "slapadd of $ldif failed: $(tail -n 5 "$dir/slapadd.log")"
    done
}

# A folder of its own for a server, as an absolute path; dies when its slapd runs already.
server_folder() {
    [[ -x $SLAPD && -x $SLAPADD ]] || die "slapd is not installed (package slapd)"
    mkdir -p "$1"
    local dir
    dir=$(cd "$1" && pwd)
    running "$dir" && die "slapd already running for $dir"
    echo "$dir"
}

start() {
    local dir port=${2:-}
    dir=$(server_folder "$1")
    shift $(($# < 2 ? $# : 2))
    local chosen=0
    if [[ ! -d $dir/slapd.d ]]; then
        [[ -n $port ]] || chosen=1
        build "$dir" "$port"
    fi
    load_ldifs "$dir" "$@"
    start_server "$dir" "$chosen"
}

stop() { stop_server "$1/slapd.pid" 5; }

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    fixture_main "start DIR [PORT] [LDIF...]" "$@"
fi
