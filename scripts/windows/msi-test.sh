#!/usr/bin/env bash
# The test of the Windows installer under Wine, run by scripts/windows/build.sh inside a private
# network namespace (scripts/windows/private-network.sh):
#
#   TARVELO_MSI         the installer to test
#   TARVELO_MSI_NEWER   the same folder as a newer version (it must replace the first)
#   TARVELO_MSI_SOURCE  the folder both were made from (what must be installed)
#   TARVELO_MSI_ICON    the icon both were made with
#   TARVELO_MSI_WORK    a scratch folder (it gets a Wine prefix of its own)
#   TARVELO_MSI_SHOTS   optional: a folder for the screenshot and the registry listing
#
# 1. msiexec /i ... /qn installs: every file of the folder under "C:\Program Files\Tarvelo",
#    the Start-menu shortcut, the *.kelta file type and the "Apps & features" entry.
# 2. A history file started through its file type (as a double-click in the Explorer starts it)
#    runs the installed tarvelo.exe with the file, in an Xvfb display, and its main window shows
#    the file.
# 3. The newer installer replaces the older one: one entry in "Apps & features", the newer's.
# 4. msiexec /x ... /qn removes all of it: no file, no shortcut, no key.
# The installs go into a copy of the Wine prefix, which the test deletes: the cached prefix that
# the other tests use never sees an installed Tarvelo.
set -euo pipefail
# shellcheck source=../lib.sh
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../lib.sh"
TARVELO_LOG_NAME=msi-test
# (Whole paths: the test changes folders.)
msi=$(readlink -f "${TARVELO_MSI:?}")
newer=$(readlink -f "${TARVELO_MSI_NEWER:?}")
source_dir=$(readlink -f "${TARVELO_MSI_SOURCE:?}")
source_icon=$(readlink -f "${TARVELO_MSI_ICON:?}")
work=$(readlink -f "${TARVELO_MSI_WORK:?}")
shots=${TARVELO_MSI_SHOTS:+$(readlink -f "$TARVELO_MSI_SHOTS")}

[ "${TARVELO_PRIVATE_NETWORK:-}" = 1 ] || { tarvelo_log "run me through scripts/windows/private-network.sh"; exit 2; }
# The namespace's own folder for the wineserver's socket (see private-network.sh).
export TMPDIR="${TARVELO_WINE_TMPDIR:?}"

cache=$(tarvelo_cache_dir)
[ -f "$cache/wineprefix/system.reg" ] || tarvelo_fail "no Wine prefix in $cache/wineprefix (scripts/windows/build.sh makes it)"
export WINEPREFIX=$work/wineprefix
rm -rf "$WINEPREFIX"
cp -a --reflink=auto "$cache/wineprefix" "$WINEPREFIX"
export WINEDEBUG=-all
# No Mono or Gecko offers, and no menu entries or file types of the Linux desktop (winemenubuilder
# would copy the shortcut and the file type into this machine's own menus).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH WINEQT_PLUGIN_PATH WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR DISPLAY

pids=()
end_programs_and_prefix_copy() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap end_programs_and_prefix_copy EXIT

msi_property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }
# `wine reg query ARGS`: its output, status 1 when the key or value is missing. A query that
# fails otherwise (a Wine program can fail to start while the prefix's services come up) is
# tried again, then fails the test: a missing key is never guessed from a failed query.
reg_query() {
  local out=""
  for _ in 1 2 3 4 5; do
    if out=$(wine reg query "$@" 2>&1); then tr -d '\r' <<<"$out"; return 0; fi
    grep -q 'Unable to find the specified registry key' <<<"$out" && return 1
    sleep 1
  done
  tarvelo_fail "wine reg query $* failed: $out"
}
# The value of a registry entry as `reg query` prints it; empty when the key or the value is missing.
reg_value() {
  local key=$1 name=$2 out
  if [ -z "$name" ]; then out=$(reg_query "$key" /ve) || return 0
  else out=$(reg_query "$key" /v "$name") || return 0; fi
  sed -n 's/^ *[^ ].*  *REG_[A-Z_]*  *//p' <<<"$out" | head -n 1
}
reg_exists() { reg_query "$1" >/dev/null; }
expect_value() {
  local key=$1 name=$2 want=$3 got
  got=$(reg_value "$key" "$name")
  [ "$got" = "$want" ] || tarvelo_fail "$key ${name:-(default)} is \"$got\", expected \"$want\""
  record "$key  ${name:-(default)} = $got"
}
record() { [ -z "$shots" ] || echo "$*" >>"$shots/msi-registry.txt"; }

product=$(msi_property "$msi" ProductCode)
newer_product=$(msi_property "$newer" ProductCode)
version=$(msi_property "$msi" ProductVersion)
newer_version=$(msi_property "$newer" ProductVersion)
[ -n "$product" ] && [ -n "$newer_product" ] || tarvelo_fail "the installers have no ProductCode"
[ "$product" != "$newer_product" ] || tarvelo_fail "both installers have the product code $product"
[ "$(msi_property "$msi" UpgradeCode)" = "$(msi_property "$newer" UpgradeCode)" ] || tarvelo_fail "the installers' upgrade codes differ"

drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Tarvelo"
# Windows puts a per-machine install's shortcut into the Start menu of all users; Wine's installer
# service into that of the user who installs. Either is the Start menu the user sees.
shortcuts=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarvelo.lnk"
           "$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tarvelo.lnk")
shortcut_count() { local n=0 f; for f in "${shortcuts[@]}"; do [ -f "$f" ] && n=$((n + 1)); done; echo "$n"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
[ -z "$shots" ] || : >"$shots/msi-registry.txt"

install() {
  local status=0
  # (Wine passes on only the low byte of msiexec's status: 1603, the fatal error, ends as 67.)
  wine msiexec /i "$(winepath -w "$1")" /qn /l*v "$(winepath -w "$work/msiexec.log")" >/dev/null 2>&1 || status=$?
  wineserver -w
  [ "$status" -eq 0 ] || { tail -n 40 "$work/msiexec.log" >&2; tarvelo_fail "msiexec /i $(basename "$1") /qn ended with $status"; }
}

# The installed folder holds exactly the files of the source folder, byte for byte.
check_files() {
  [ -d "$installed" ] || tarvelo_fail "no folder C:\\Program Files\\Tarvelo"
  diff -r "$source_dir" "$installed" >"$work/files.diff" 2>&1 || { head -n 20 "$work/files.diff" >&2; tarvelo_fail "the installed folder differs from $source_dir"; }
  [ "$(shortcut_count)" -eq 1 ] || tarvelo_fail "no Start-menu shortcut Programs\\Tarvelo.lnk"
}

# The file type, the program's registration and the "Apps & features" entry of product code $1.
check_keys() {
  local code=$1 display_version=$2
  expect_value 'HKCR\.kelta' '' 'Tarvelo.History'
  expect_value 'HKCR\.kelta' 'Content Type' 'application/x-tarvelo-history'
  expect_value 'HKCR\Tarvelo.History' '' 'BMW service history'
  expect_value 'HKCR\Tarvelo.History\DefaultIcon' '' '"C:\Program Files\Tarvelo\tarvelo.exe",0'
  expect_value 'HKCR\Tarvelo.History\shell\open\command' '' '"C:\Program Files\Tarvelo\tarvelo.exe" "%1"'
  expect_value "$uninstall_key\\$code" DisplayName Tarvelo
  expect_value "$uninstall_key\\$code" DisplayVersion "$display_version"
  expect_value "$uninstall_key\\$code" Publisher 'The Tarvelo developers'
  expect_value "$uninstall_key\\$code" UninstallString "MsiExec.exe /X$code"
  # The entry's icon: Windows writes DisplayIcon from ARPPRODUCTICON; Wine's installer service
  # publishes the icon but writes no DisplayIcon, so the test checks the published icon itself.
  [ "$(msi_property "$msi" ARPPRODUCTICON)" = tarvelo.ico ] || tarvelo_fail "the installer names no ARPPRODUCTICON"
  local icon="$drive_c/windows/Installer/$code/tarvelo.ico"
  [ -f "$icon" ] || tarvelo_fail "no published icon C:\\windows\\Installer\\$code\\tarvelo.ico"
  cmp -s "$icon" "$source_icon" || tarvelo_fail "the published icon is not tarvelo.ico"
  record "C:\\windows\\Installer\\$code\\tarvelo.ico ($(stat -c %s "$icon") bytes): the entry's icon (ARPPRODUCTICON)"
}

# 0. The prefix says "Windows 7", as Wine's do by default: the installer refuses it (Qt 6 needs
# Windows 10), and nothing is installed.
status=0
wine msiexec /i "$(winepath -w "$msi")" /qn /l*v "$(winepath -w "$work/msiexec.log")" >/dev/null 2>&1 || status=$?
wineserver -w
[ "$status" -ne 0 ] || tarvelo_fail "the installer installed on Windows 7"
# (Wine's log of a quiet install names the failed launch condition's action, not its message.)
grep -q 'LaunchConditions' "$work/msiexec.log" && ! grep -q 'InstallFiles' "$work/msiexec.log" ||
  { tail -n 20 "$work/msiexec.log" >&2; tarvelo_fail "the installer failed on Windows 7, but not by its launch condition"; }
[ ! -e "$installed" ] || tarvelo_fail "the refused install left C:\\Program Files\\Tarvelo"
tarvelo_log "on Windows 7 (the prefix as Wine makes it) the installer refuses by its launch condition (status $status)"
wine winecfg -v win10 >/dev/null 2>&1
wineserver -w

# 1. The install.
install "$msi"
check_files
check_keys "$product" "$version"
tarvelo_log "msiexec /i $(basename "$msi") /qn: $(find "$installed" -type f | wc -l) files in C:\\Program Files\\Tarvelo, the shortcut, the .kelta type and the entry $product"

# 2. A history file started through its file type. The name has a space and is in no folder of
# Tarvelo's: the file type's command must quote it, and the program must not depend on its folder.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || tarvelo_fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
mkdir -p "$work/documents"
history_file="$work/documents/Car history.kelta"
cp "$source_dir/sample.kelta" "$history_file"
windows_path=$(winepath -w "$history_file")

# The main window of a tarvelo.exe just started: its X window id (empty: none within a minute).
main_window() {
  local window=""
  for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name "Quenmark" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  echo "$window"
}
# The status bar of a window as an image (its bottom 19 pixels), once it has stayed the same for
# a second (the file is read after the window shows).
status_bar() {
  local window=$1 out=$2 previous=$work/previous-status.png
  rm -f "$previous"
  for _ in $(seq 60); do
    import -window "$window" -gravity South -crop 0x19+0+0 +repage "$out" 2>/dev/null || true
    if [ -s "$out" ] && [ -s "$previous" ] && [ "$(compare -metric AE "$out" "$previous" null: 2>&1)" = 0 ]; then return 0; fi
    [ -s "$out" ] && cp "$out" "$previous"
    sleep 1
  done
  return 1
}
end_program() {
  local pid=$1
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
}
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; }

# For comparison: the status bar without a file, and with the file given on the command line (as
# "Open" opens it: the window tests show that under Wine).
cd "$installed"
wine tarvelo.exe >"$work/empty.log" 2>&1 &
window=$(main_window)
[ -n "$window" ] || tarvelo_fail "tarvelo.exe showed no main window within a minute"
status_bar "$window" "$work/status-empty.png" || tarvelo_fail "the status bar of tarvelo.exe did not settle"
end_program "$(xdotool getwindowpid "$window")"
wine tarvelo.exe "$windows_path" >"$work/direct.log" 2>&1 &
window=$(main_window)
[ -n "$window" ] || tarvelo_fail "tarvelo.exe \"$windows_path\" showed no main window within a minute"
status_bar "$window" "$work/status-direct.png" || tarvelo_fail "the status bar of tarvelo.exe \"$windows_path\" did not settle"
[ -z "$shots" ] || import -window root "$shots/windows-tarvelo-FILE.png"
end_program "$(xdotool getwindowpid "$window")"
cd "$work"
differs "$work/status-direct.png" "$work/status-empty.png" || tarvelo_fail "tarvelo.exe FILE shows the status bar of an empty start"

# Now as a double-click does it: Windows' shell looks up the file type and runs its command.
wine start /unix "$history_file" >"$work/start.log" 2>&1 || { cat "$work/start.log" >&2; tarvelo_fail "wine start \"$history_file\""; }
window=$(main_window)
[ -n "$window" ] || tarvelo_fail "no main window within a minute of starting \"$history_file\""
# The program that shows it is the installed one, given the whole file name as one argument.
pid=$(xdotool getwindowpid "$window")
# (Wine copies a Windows process's arguments over its Unix ones, and blanks what is left over.)
arguments=()
while IFS= read -r -d '' argument; do
  [[ "$argument" =~ ^\ *$ ]] || arguments+=("$argument")
done <"/proc/$pid/cmdline"
tarvelo_log "started through the file type: ${arguments[*]}"
[ "${arguments[0]}" = 'C:\Program Files\Tarvelo\tarvelo.exe' ] || tarvelo_fail "the file type started \"${arguments[0]}\", not the installed tarvelo.exe"
[ "${#arguments[@]}" -eq 2 ] && [ "${arguments[1]}" = "$windows_path" ] ||
  tarvelo_fail "the file type gave tarvelo.exe the arguments \"${arguments[*]:1}\", not \"$windows_path\""
status_bar "$window" "$work/status-association.png" || tarvelo_fail "the status bar of the program started through the file type did not settle"
if [ -n "$shots" ]; then
  import -window root "$shots/windows-association.png"
  cp "$work/status-association.png" "$shots/windows-association-status.png"
fi
differs "$work/status-association.png" "$work/status-direct.png" &&
  tarvelo_fail "the program started through the file type shows another status than tarvelo.exe \"$windows_path\""
record "started through the file type: ${arguments[*]} (status bar as with the file on the command line)"
tarvelo_log "the main window started through the file type shows the file, as tarvelo.exe \"$windows_path\" does"
end_program "$pid"

# 3. The newer version replaces the older: the older's entry and files go, the newer's come.
install "$newer"
check_files
check_keys "$newer_product" "$newer_version"
! reg_exists "$uninstall_key\\$product" || tarvelo_fail "after the newer install, $version is still listed in Apps & features"
[ ! -e "$drive_c/windows/Installer/$product" ] || tarvelo_fail "after the newer install, $version's published icon is still there"
tarvelo_log "msiexec /i $(basename "$newer") /qn replaced $version ($product) by $newer_version ($newer_product)"

# 4. The uninstall leaves nothing of Tarvelo behind.
status=0
wine msiexec /x "$(winepath -w "$newer")" /qn /l*v "$(winepath -w "$work/msiexec.log")" >/dev/null 2>&1 || status=$?
wineserver -w
[ "$status" -eq 0 ] || { tail -n 40 "$work/msiexec.log" >&2; tarvelo_fail "msiexec /x $(basename "$newer") /qn ended with $status"; }
[ ! -e "$installed" ] || tarvelo_fail "the uninstall left C:\\Program Files\\Tarvelo: $(find "$installed" | head -n 5 | tr '\n' ' ')"
[ "$(shortcut_count)" -eq 0 ] || tarvelo_fail "the uninstall left the Start-menu shortcut"
for key in 'HKCR\.kelta' 'HKCR\Tarvelo.History' "$uninstall_key\\$newer_product" "$uninstall_key\\$product" 'HKLM\Software\Tarvelo'; do
  ! reg_exists "$key" || tarvelo_fail "the uninstall left the key $key"
  record "after msiexec /x: no key $key"
done
[ ! -e "$drive_c/windows/Installer/$newer_product" ] || tarvelo_fail "the uninstall left the published icon"
# Nor a value anywhere that names the program's folder or the file type (the program's own
# settings of the user, its window's place, stay, as on Windows).
left=$(grep -F -i -e 'Program Files\\Tarvelo' -e '.kelta' -e 'Tarvelo.History' "$WINEPREFIX"/system.reg "$WINEPREFIX"/user.reg || true)
[ -z "$left" ] || { echo "$left" | head -n 10 >&2; tarvelo_fail "the uninstall left registry values of Tarvelo"; }
tarvelo_log "msiexec /x $(basename "$newer") /qn: no file, no shortcut, no key of Tarvelo left"
