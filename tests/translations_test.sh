#!/bin/sh
# The German translation is complete and current: lupdate, given the sources and a copy of
# ui/i18n/tarvelo_de.ts, must find no message without a translation (unfinished) and none that the
# sources no longer have (vanished). Prints lupdate's summary and every such message.
#
#   translations_test.sh LUPDATE ARGUMENTS... -ts     (TARVELO_TS names the .ts file)
set -eu
: "${TARVELO_TS:?the .ts file}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$TARVELO_TS" "$work/tarvelo_de.ts"
# -no-obsolete would drop vanished messages silently: here they must show.
for a in "$@"; do
  shift
  case $a in -no-obsolete | -silent) ;; *) set -- "$@" "$a" ;; esac
done
"$@" "$work/tarvelo_de.ts" 2>&1 | sed -n 's/^ *Found/Found/p'
messages=$(grep -c '<message' "$work/tarvelo_de.ts" || true)
unfinished=$(grep -c 'type="unfinished"' "$work/tarvelo_de.ts" || true)
vanished=$(grep -c 'type="vanished"\|type="obsolete"' "$work/tarvelo_de.ts" || true)
echo "messages $messages, translated $((messages - unfinished - vanished)), unfinished $unfinished, vanished $vanished"
if [ "$unfinished" -ne 0 ] || [ "$vanished" -ne 0 ]; then
  grep -B2 'type="unfinished"\|type="vanished"\|type="obsolete"' "$work/tarvelo_de.ts" | grep '<source>' |
    sed 's/^ */  untranslated or gone: /'
  echo "Run: cmake --build build --target tarvelo_update_translations, then translate ui/i18n/tarvelo_de.ts" >&2
  exit 1
fi
