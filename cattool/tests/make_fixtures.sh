#!/usr/bin/env bash
# Builds the signing fixtures of the Ferrundel tests into DIR:
#   root.cer                 self-signed test root (DER), to be trusted by the test
#   unsigned.exe, signed.exe a small program, without and with an embedded signature
#   tampered.exe             signed.exe with one byte of its code changed after signing
#   listed.txt, unlisted.txt two unsigned data files; only the first is in the catalog
#   ferrundel-test.cat       catalog listing listed.txt, signed by the test signer
#
#   make_fixtures.sh DIR SUBJECT_EXE MAKE_CATALOG_PY PYTHON
set -euo pipefail
dir=$1 subject=$2 make_catalog=$3 python=$4
work=$dir/keys
rm -rf "$work"
mkdir -p "$work"

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -subj "/CN=Ferrundel Test Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/root.key" -out "$work/root.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=Ferrundel Test Signer" \
  -keyout "$work/signer.key" -out "$work/signer.csr" 2>/dev/null
printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=critical,digitalSignature" "extendedKeyUsage=codeSigning" \
  >"$work/signer.ext"
openssl x509 -req -sha256 -days 3650 -in "$work/signer.csr" -CA "$work/root.pem" -CAkey "$work/root.key" \
  -set_serial 2 -extfile "$work/signer.ext" -out "$work/signer.pem" 2>/dev/null
cat "$work/signer.pem" "$work/root.pem" >"$work/chain.pem"
openssl x509 -in "$work/root.pem" -outform DER -out "$dir/root.cer"

# sign IN OUT DIGEST
sign() {
  rm -f "$2"
  osslsigncode sign -certs "$work/chain.pem" -key "$work/signer.key" -h "$3" -n "Ferrundel test" \
    -in "$1" -out "$2" >/dev/null
}

cp "$subject" "$dir/unsigned.exe"
sign "$dir/unsigned.exe" "$dir/signed.exe" sha256
# Change one byte of the first section's contents; the signature itself stays intact, only
# the image no longer matches the digest it signs.
"$python" - "$dir/signed.exe" "$dir/tampered.exe" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
pe = struct.unpack_from("<I", data, 0x3C)[0]
optional_size = struct.unpack_from("<H", data, pe + 20)[0]
first_section = pe + 24 + optional_size
raw_offset = struct.unpack_from("<I", data, first_section + 20)[0]
data[raw_offset + 16] ^= 0xFF
open(sys.argv[2], "wb").write(data)
PY

printf 'Listed in the Ferrundel test catalog.\r\n' >"$dir/listed.txt"
printf 'Listed in no catalog.\r\n' >"$dir/unlisted.txt"
"$python" "$make_catalog" "$work/unsigned.cat" "$dir/listed.txt"
# Catalogs are signed with SHA-1, the digest every catalog database reads: Wine's opens them
# with a provider that has no SHA-256, and then fails on the catalog (it even crashes).
sign "$work/unsigned.cat" "$dir/ferrundel-test.cat" sha1
