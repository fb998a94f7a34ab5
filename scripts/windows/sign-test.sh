#!/usr/bin/env bash
# The test of scripts/windows/sign.sh, run by scripts/windows/build.sh on copies of what it built:
#
#   scripts/windows/sign-test.sh FILE...
#
# Makes a throw-away self-signed code-signing certificate with openssl, signs copies of the files
# with it through sign.sh, and checks each with `osslsigncode verify` against that certificate.
# Also checks the refusals: a wrong password signs nothing and leaves the file as it was, and an
# unsigned file does not verify. Nothing here leaves the machine (no time stamp).
set -euo pipefail
# shellcheck source=../lib.sh
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../lib.sh"
TARVELO_LOG_NAME=sign-test
repo=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
[ $# -gt 0 ] || { echo "usage: $0 FILE..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvelo throw-away test signer" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -addext "basicConstraints=critical,CA:FALSE" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>"$work/openssl.log" || { cat "$work/openssl.log" >&2; tarvelo_fail "openssl req"; }
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -name "Tarvelo test" \
  -passout pass:throw-away -out "$work/cert.p12" 2>>"$work/openssl.log" || { cat "$work/openssl.log" >&2; tarvelo_fail "openssl pkcs12"; }

copies=()
for file in "$@"; do
  [ -f "$file" ] || tarvelo_fail "no file $file"
  cp "$file" "$work/$(basename "$file")"
  copies+=("$work/$(basename "$file")")
done

# An unsigned file does not verify: the check below would notice a signing that did nothing.
if osslsigncode verify -CAfile "$work/cert.pem" -in "${copies[0]}" >"$work/verify.log" 2>&1; then
  tarvelo_fail "$(basename "${copies[0]}") verifies before it is signed"
fi

# A wrong password: sign.sh fails and the file stays byte for byte as it was.
cp "${copies[0]}" "$work/before"
if TARVELO_SIGN_PKCS12=$work/cert.p12 TARVELO_SIGN_PASSWORD=wrong "$repo/scripts/windows/sign.sh" "${copies[0]}" 2>"$work/wrong.log"; then
  tarvelo_fail "sign.sh signed with a wrong password"
fi
cmp -s "$work/before" "${copies[0]}" || tarvelo_fail "a failed signing changed $(basename "${copies[0]}")"
[ ! -e "${copies[0]}.signing" ] || tarvelo_fail "a failed signing left ${copies[0]}.signing behind"

TARVELO_SIGN_PKCS12=$work/cert.p12 TARVELO_SIGN_PASSWORD=throw-away TARVELO_SIGN_TIMESTAMP_URL="" \
  "$repo/scripts/windows/sign.sh" "${copies[@]}" || tarvelo_fail "sign.sh"

for copy in "${copies[@]}"; do
  name=$(basename "$copy")
  osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" >"$work/verify.log" 2>&1 || { cat "$work/verify.log" >&2; tarvelo_fail "$name does not verify"; }
  grep -q 'Signature verification: ok' "$work/verify.log" || { cat "$work/verify.log" >&2; tarvelo_fail "$name: no \"Signature verification: ok\""; }
  grep -q 'CN=Tarvelo throw-away test signer' "$work/verify.log" || { cat "$work/verify.log" >&2; tarvelo_fail "$name is signed by someone else"; }
  tarvelo_log "$name: signed by \"Tarvelo throw-away test signer\", osslsigncode verify: \"$(grep -m1 'Signature verification' "$work/verify.log")\""
  [ -n "${TARVELO_SIGN_TEST_LOG_DIR:-}" ] && cp "$work/verify.log" "$TARVELO_SIGN_TEST_LOG_DIR/$name.verify.txt"
done
tarvelo_log "passed: ${#copies[@]} files signed with a throw-away certificate and verified"
