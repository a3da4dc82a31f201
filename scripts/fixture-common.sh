# shellcheck shell=bash
# Shell helpers the throwaway-server fixtures share; sourced, never run. FIXTURE names the caller
# in messages.

die() {
    echo "${FIXTURE:-fixture}: $*" >&2
    exit 1
}

percent_encode() {
    local text=$1 out="" c i
    for ((i = 0; i < ${#text}; i++)); do
        c=${text:i:1}
        case $c in
        [A-Za-z0-9._~-]) out+=$c ;;
        *) out+=$(printf '%%%02X' "'$c") ;;
        esac
    done
    printf '%s' "$out"
}

# A TCP port nothing answers on at 127.0.0.1, other than those given.
free_port() {
    local port taken
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 20000))
        for taken in "$@"; do
            [[ $port == "$taken" ]] && continue 2
        done
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
    die "no free port found"
}

# Whether something accepts connections on HOST PORT.
answers() { (exec 3<>"/dev/tcp/$1/$2") 2>/dev/null; }

# A killed server may linger as a zombie until its new parent reaps it; that one is not running.
alive() { [[ -r /proc/$1/stat ]] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat"; }

# Ends process PID: TERM, then KILL when it is still there after about TIMEOUT seconds (default 5).
end_process() {
    local pid=$1 rounds=$((${2:-5} * 20))
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 1 "$rounds"); do
        alive "$pid" || return 0
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# A secret file readable by its owner only, without a trailing newline (as ldapsearch -y reads it).
write_secret() {
    (umask 077 && printf '%s' "$2" >"$1")
}

# Waits for a server just started as process PID: runs READY (a command and its arguments) every
# 0.05 s until it succeeds, for at most about SECONDS. Fails when the process exits first
# (WAIT_FAILURE=exited) or when time is up (WAIT_FAILURE=timeout; the process is ended then).
# shellcheck disable=SC2034 # WAIT_FAILURE is the caller's to read
await_server() {
    local pid=$1 seconds=$2
    shift 2
    WAIT_FAILURE=
    for _ in $(seq 1 $((seconds * 20))); do
        "$@" && return 0
        if ! alive "$pid"; then
            WAIT_FAILURE=exited
            return 1
        fi
        sleep 0.05
    done
    end_process "$pid"
    WAIT_FAILURE=timeout
    return 1
}

# Stops the server whose pid PIDFILE holds, waiting up to about SECONDS, and forgets the pid.
stop_server() {
    [[ -f $1 ]] || return 0
    end_process "$(cat "$1")" "$2"
    rm -f "$1"
}

# The command line every fixture takes: "start DIR ARGS..." calls the script's start with DIR and
# the ARGS, "stop DIR" its stop; START_USAGE describes start's arguments.
fixture_main() {
    local start_usage=$1
    shift
    case ${1:-} in
    start)
        [[ $# -ge 2 ]] || die "usage: $0 $start_usage"
        shift
        start "$@"
        ;;
    stop)
        [[ $# -eq 2 ]] || die "usage: $0 stop DIR"
        stop "$2"
        ;;
    *) die "usage: $0 $start_usage | stop DIR" ;;
    esac
}
