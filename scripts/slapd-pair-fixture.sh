#!/usr/bin/env bash
# Two throwaway slapd servers that replicate each other, for tests: syncrepl in mirror mode with
# syncprov on both, each consuming the other's databases bound as the administrator (SASL EXTERNAL
# over the other's ldapi socket). Each listens on 127.0.0.1 and a socket of its own.
#
#   slapd-pair-fixture.sh start DIR [LDIF...]   build both in DIR/a and DIR/b on first use (LDIF files
#                                               loaded then), start those not running
#   slapd-pair-fixture.sh stop DIR              stop both
#
# It prints what slapd-fixture.sh prints for one server, once per server with A_ and B_ in front
# (A_LDAPI_URI, B_SLAPD_PID, ...), and PAIR_LDAPI_URI: both sockets in one URI list, as libldap
# takes it. B starts with a copy of A's data (entryUUIDs and context CSNs included), so the two
# agree from the start.
set -euo pipefail
# shellcheck source=scripts/slapd-fixture.sh
source "$(dirname "$0")/slapd-fixture.sh"
FIXTURE=slapd-pair-fixture
SLAPCAT=${SLAPCAT:-/usr/sbin/slapcat}

socket_uri() { echo "ldapi://$(percent_encode "$1/ldapi")/"; }

build_pair() {
    local dir=$1 suffix
    shift
    build "$dir/a" "" 1 "$(socket_uri "$dir/b")"
    load_ldifs "$dir/a" "$@"
    NO_SAMPLE=1 build "$dir/b" "" 2 "$(socket_uri "$dir/a")"
    for suffix in "$ACME_SUFFIX" "$EXAMPLE_SUFFIX"; do
        "$SLAPCAT" -F "$dir/a/slapd.d" -b "$suffix" -l "$dir/copy.ldif" 2>>"$dir/a/slapadd.log" ||
            die "slapcat of $suffix failed"
        "$SLAPADD" -F "$dir/b/slapd.d" -b "$suffix" -l "$dir/copy.ldif" -q >>"$dir/b/slapadd.log" 2>&1 ||
            die "slapadd of the copy of $suffix failed: $(tail -n 5 "$dir/b/slapadd.log")"
    done
    rm -f "$dir/copy.ldif"
}

start() {
    local dir side pid
    mkdir -p "$1"
    dir=$(cd "$1" && pwd)
    shift
    [[ -d $dir/b/slapd.d ]] || build_pair "$dir" "$@"
    for side in a b; do
        if running "$dir/$side"; then
            pid=$(cat "$dir/$side/slapd.pid")
            print_values "$dir/$side" "$pid" | sed "s/^/${side^^}_/"
        else
            # The ports were chosen by this script, so taken ones may be replaced while nothing
            # of them is configured anywhere else.
            start_server "$dir/$side" 1 | sed "s/^/${side^^}_/"
        fi
    done
    echo "PAIR_LDAPI_URI='$(socket_uri "$dir/a") $(socket_uri "$dir/b")'"
}

stop() {
    stop_server "$1/a/slapd.pid" 5
    stop_server "$1/b/slapd.pid" 5
}

fixture_main "start DIR [LDIF...]" "$@"
