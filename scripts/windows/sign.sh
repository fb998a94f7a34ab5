#!/usr/bin/env bash
# Signs Windows programs and installers in place with Debian's osslsigncode (Authenticode):
#
#   TARVELO_SIGN_PKCS12=cert.p12 TARVELO_SIGN_PASSWORD=... scripts/windows/sign.sh FILE...
#
#   TARVELO_SIGN_PKCS12        the code-signing certificate with its private key (PKCS#12)
#   TARVELO_SIGN_PASSWORD      the PKCS#12 file's password (may be empty)
#   TARVELO_SIGN_TIMESTAMP_URL a time-stamp server (RFC 3161); without it the signatures carry no
#                              time stamp (and so stop being valid when the certificate expires)
#
# Without TARVELO_SIGN_PKCS12 nothing is signed, and one line says so. A file is replaced only by
# its signed copy: a failed signing leaves it as it was and ends the script with a non-zero status.
set -euo pipefail
# shellcheck source=../lib.sh
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../lib.sh"
TARVELO_LOG_NAME=sign

[ $# -gt 0 ] || { echo "usage: $0 FILE..." >&2; exit 2; }

if [ -z "${TARVELO_SIGN_PKCS12:-}" ]; then
  tarvelo_log "TARVELO_SIGN_PKCS12 is not set: nothing is signed"
  exit 0
fi
[ -r "$TARVELO_SIGN_PKCS12" ] || { tarvelo_log "cannot read the certificate $TARVELO_SIGN_PKCS12"; exit 1; }
command -v osslsigncode >/dev/null || { tarvelo_log "osslsigncode is not installed"; exit 1; }

# The password goes through a file, not the command line, where any user's ps would show it.
secrets=$(mktemp -d)
trap 'rm -rf "$secrets"' EXIT
printf '%s' "${TARVELO_SIGN_PASSWORD:-}" >"$secrets/password"

timestamp=()
[ -n "${TARVELO_SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$TARVELO_SIGN_TIMESTAMP_URL")

for file in "$@"; do
  [ -f "$file" ] || { tarvelo_log "no file $file"; exit 1; }
  signed=$file.signing
  rm -f "$signed"
  if ! osslsigncode sign -pkcs12 "$TARVELO_SIGN_PKCS12" -readpass "$secrets/password" -h sha256 \
      -n "Tarvelo" -i "https://tarvelo.github.io" "${timestamp[@]}" -in "$file" -out "$signed" >"$secrets/log" 2>&1; then
    cat "$secrets/log" >&2
    rm -f "$signed"
    tarvelo_log "signing $file failed"
    exit 1
  fi
  mv -f "$signed" "$file"
  tarvelo_log "signed $(basename "$file")${timestamp[*]:+ with a time stamp}"
done
