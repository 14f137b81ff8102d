#!/usr/bin/env bash
# Makes the certificates the download suite serves HTTPS with (committed; run again only to
# change them): a test CA, and for 127.0.0.1 one certificate it signed valid until 2124, one it
# signed that expired in 2021, and one signed by its own key. One server key for all three.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/ca.cnf" <<CNF
[ca]
default_ca = testca
[testca]
dir = $work
database = $work/index.txt
new_certs_dir = $work
serial = $work/serial
default_md = sha256
policy = anything
copy_extensions = copy
unique_subject = no
[anything]
commonName = supplied
CNF
touch "$work/index.txt"
echo 01 > "$work/serial"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/ca.key" -out ca.pem -days 36500 \
  -subj "/CN=Vantor test CA" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign"
openssl req -newkey rsa:2048 -nodes -keyout server.key -out "$work/server.csr" \
  -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1"
sign() {
  openssl ca -config "$work/ca.cnf" -batch -notext -in "$work/server.csr" -out "$1" \
    -startdate "$2" -enddate "$3" "${@:4}"
}
sign valid.pem 20240101000000Z 21240101000000Z -cert ca.pem -keyfile "$work/ca.key"
sign expired.pem 20200101000000Z 20210101000000Z -cert ca.pem -keyfile "$work/ca.key"
sign selfsigned.pem 20240101000000Z 21240101000000Z -selfsign -keyfile server.key
