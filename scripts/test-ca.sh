#!/usr/bin/env bash
# A throwaway certificate authority for the test servers, and a server certificate it signed.
#
#   test-ca.sh DIR [NAME...]
#
# Writes into DIR: ca.pem (what clients verify with, e.g. LDAPTLS_CACERT), server.pem and
# server.key (mode 0600), for "localhost", 127.0.0.1, ::1 and every extra NAME (an IP address or a
# DNS name) as subject alternative names. Existing files are kept, so a restart keeps its trust.
set -euo pipefail

die() {
    echo "test-ca: $*" >&2
    exit 1
}

[[ $# -ge 1 ]] || die "usage: $0 DIR [NAME...]"
dir=$1
shift
command -v openssl >/dev/null || die "openssl is not installed"
mkdir -p "$dir"
[[ -s $dir/ca.pem && -s $dir/server.pem && -s $dir/server.key ]] && exit 0

san="DNS:localhost,IP:127.0.0.1,IP:::1"
for name in "$@"; do
    if [[ $name =~ ^[0-9.]+$ || $name == *:* ]]; then
        san+=",IP:$name"
    else
        san+=",DNS:$name"
    fi
done

umask 077
# P-256 keys: made in milliseconds (RSA keys take about a second), and every TLS stack here takes them.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 30 -subj "/O=Quillbarrow tests/CN=Quillbarrow test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$dir/ca.key" -out "$dir/ca.pem" 2>"$dir/openssl.log" || die "CA: $(cat "$dir/openssl.log")"
openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj "/O=Quillbarrow tests/CN=localhost" \
    -keyout "$dir/server.key" -out "$dir/server.csr" 2>>"$dir/openssl.log" || die "request: $(cat "$dir/openssl.log")"
cat >"$dir/server.ext" <<EXT
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=serverAuth
subjectAltName=$san
EXT
openssl x509 -req -in "$dir/server.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" -CAcreateserial -days 30 \
    -extfile "$dir/server.ext" -out "$dir/server.pem" 2>>"$dir/openssl.log" ||
    die "signing: $(cat "$dir/openssl.log")"
chmod 644 "$dir/ca.pem" "$dir/server.pem"
rm -f "$dir/server.csr" "$dir/server.ext" "$dir/ca.srl" "$dir/openssl.log"
