# Tolme installed like a desktop program: installed into a prefix it starts from any folder (here /, and a
# folder holding a stray data/ of its own) with its installed data, and a key plays its chime; the desktop
# entry and the AppStream metainfo pass their validators; the Debian package builds and its program runs;
# its copyright file names the licence; TOLME_DATA naming an empty folder gives the start-up box naming that
# folder.
source "$(dirname "$0")/harness.sh"

build_dir=$(dirname "$tolme_binary")
prefix="$work_dir/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
desktop-file-validate "$prefix"/share/applications/*.desktop || fail "the desktop entry does not validate"
appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml >"$work_dir/appstream.log" ||
  fail "the metainfo does not validate: $(cat "$work_dir/appstream.log")"
grep -q "Validation was successful.$" "$work_dir/appstream.log" || fail "the metainfo has remarks: $(cat "$work_dir/appstream.log")"
class=$(sed -n 's/^StartupWMClass=//p' "$prefix"/share/applications/*.desktop)

tolme_binary="$prefix/bin/tolme"
# start_from FOLDER [environment...]: the installed program started from a folder, as a launcher would.
start_from() {
  local folder=$1
  shift
  (cd "$folder" && exec env "$@" "$tolme_binary") >"$work_dir/stdout.log" 2>"$work_dir/stderr.log" &
  tolme_pid=$!
}

decoy="$work_dir/downloads"
mkdir -p "$decoy/data/images"
printf 'not an image' >"$decoy/data/missing_image.png"
for folder in / "$decoy"; do
  rm -f "$capture_file"
  start_from "$folder"
  wait_for_window "Tolme - A Musical Instrument"
  [ "$(xprop -id "$tolme_window" WM_CLASS | sed 's/.*= "\([^"]*\)".*/\1/')" = "$class" ] ||
    fail "the window's class is not $class: $(xprop -id "$tolme_window" WM_CLASS)"
  sleep 1
  key a
  sleep 1
  screenshot "installed_from_$([ "$folder" = / ] && echo root || echo downloads)"
  key Escape
  expect_exit 0
  [ ! -s "$work_dir/stderr.log" ] || fail "from $folder: $(cat "$work_dir/stderr.log")"
  # The chime is the only sound an empty grid makes.
  (cd "$repo_root" && ! "$timing_probe" "$capture_file" "$(printf '%.0s................/' 1 2 3 4 5 6 7)................" 0) >/dev/null ||
    fail "no chime from $folder"
done

# The Debian package, unpacked.
(cd "$build_dir" && cpack -G DEB -B "$work_dir/package" >/dev/null) || fail "cpack failed"
package=$(ls "$work_dir"/package/tolme_*_*.deb)
dpkg-deb -x "$package" "$work_dir/unpacked"
version=$("$work_dir/unpacked/usr/bin/tolme" --version) || fail "the packaged program does not run"
grep -q "^License: GPL-3.0-or-later" "$work_dir/unpacked/usr/share/doc/tolme/copyright" ||
  fail "the package carries no copyright file naming Tolme's licence"
echo "package $(basename "$package"): $(du -k "$package" | cut -f1) KiB, $version, depends on: $(dpkg-deb -f "$package" Depends)"
dpkg-deb -f "$package" Depends | grep -q 'libjack' || fail "the package does not depend on a libjack"

mkdir -p "$work_dir/empty"
start_from / TOLME_DATA="$work_dir/empty"
wait_for_window "Errors During Program Start"
grep -q "Tolme looked for its data in $work_dir/empty (named by TOLME_DATA)." "$work_dir/stderr.log" ||
  fail "the box does not name the folder: $(cat "$work_dir/stderr.log")"
xdotool windowfocus --sync "$tolme_window" key Return
expect_exit 1
echo "install: passed"
