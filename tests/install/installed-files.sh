# SPDX-License-Identifier: GPL-3.0-or-later
# Checks shared by the install check and the package check; sourced, not run.
# Callers define fail() and work (a temporary folder of their own).

# The files of an installation under prefix (root: the folder the installation's absolute
# paths are relative to, empty for a real one): program, icons, menu entry, metadata, team
# builder, documentation. Both the menu entry and the metadata must validate, and the
# entry's launcher and icon must be in the installation.
check_installed_files() {  # prefix root src id
  local prefix=$1 root=$2 src=$3 id=$4
  local share="$prefix/share"
  expect_same() {  # installed file, source file
    [ -f "$1" ] || fail "missing ${1#"$prefix"/}"
    cmp -s "$1" "$2" || fail "${1#"$prefix"/} is not $2"
  }
  [ -x "$prefix/bin/rostrix" ] || fail "missing bin/rostrix"
  for size in 16 32 48 128 256; do
    expect_same "$share/icons/hicolor/${size}x$size/apps/$id.png" "$src/data/icons/rostrix-$size.png"
  done
  expect_same "$share/icons/hicolor/scalable/apps/$id.svg" "$src/data/icons/rostrix.svg"
  entry="$share/applications/$id.desktop"
  metainfo="$share/metainfo/$id.metainfo.xml"
  [ -f "$entry" ] || fail "missing share/applications/$id.desktop"
  [ -f "$metainfo" ] || fail "missing share/metainfo/$id.metainfo.xml"
  if [ -d "$src/teambuilder" ]; then
    [ -n "$(find "$share/rostrix" -name kalbrix8.pl 2>/dev/null)" ] ||
      fail "the team builder is not under share/rostrix"
  fi
  expect_same "$share/doc/rostrix/copyright" "$src/data/copyright"
  expect_same "$share/doc/rostrix/handbook.html" "$src/data/handbook.html"
  gzip -dc "$share/doc/rostrix/changelog.gz" | cmp -s - "$src/CHANGELOG" ||
    fail "share/doc/rostrix/changelog.gz is not CHANGELOG"
  gzip -dc "$share/man/man1/rostrix.1.gz" | cmp -s - "$src/data/rostrix.1" ||
    fail "share/man/man1/rostrix.1.gz is not data/rostrix.1"

  desktop-file-validate "$entry" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
  grep -q "<release version=\"1.4.0\"" "$metainfo" || fail "metadata without release 1.4.0"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "metadata without the project licence"
  grep -qx "Icon=$id" "$entry" || fail "desktop entry names another icon"
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  launcher=${exec_line#\"}
  launcher="$root${launcher%\"}"
  [ -x "$launcher" ] || fail "the desktop entry starts $exec_line"
}

# Starts a command in a folder, waits for the main window's settings file in home, closes
# the program with SIGTERM and checks it ended cleanly after its close handler ran.
# Without a screen there is no close box to press, so it closes the program the way a
# session does at log-out: SIGTERM, which the program answers by closing its main window.
# The settings file shows both ends: the main window writes "Home" when it is created and
# "Auto File Name" only in its close handler.
program_pid=""
start_and_close() {  # folder, home, command...
  local folder=$1 home=$2; shift 2
  local ini="$home/qrdTeams.ini"
  (cd "$folder" && QT_QPA_PLATFORM=offscreen exec "$@") >"$work/program.log" 2>&1 &
  program_pid=$!
  for _ in $(seq 300); do
    grep -q '^Home=' "$ini" 2>/dev/null && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -qx "Home=$home"$'\r''\?' "$ini" 2>/dev/null || {
    cat "$work/program.log"; fail "no main window with home $home"; }
  kill -TERM "$program_pid"
  local status=0
  for _ in $(seq 300); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program_pid" 2>/dev/null && { cat "$work/program.log"; fail "still running"; }
  wait "$program_pid" || status=$?
  program_pid=""
  [ "$status" -eq 0 ] || { cat "$work/program.log"; fail "exit status $status"; }
  grep -q '^Auto File Name=' "$ini" || fail "the main window's close handler did not run"
}
