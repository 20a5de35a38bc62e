#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it, and checks its control
# fields, that every installed file is in it, and that its programs run.
# Usage: check_deb.sh CPACK BUILD_DIR APP_ID VERSION
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cpack=$1 build=$2 app_id=$3 version=$4
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need xmllint libxml2-utils
need ldd libc-bin

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not build the package" >&2
  exit 1
fi
mapfile -t debs < <(find "$work/out" -maxdepth 1 -name '*.deb')
if [ "${#debs[@]}" -ne 1 ]; then
  echo "FAIL: cpack made ${#debs[@]} packages, not one" >&2
  exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = text-tarvex ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[[ "$(field Version)" == "$version"-* ]] || fail "Version '$(field Version)' is not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[ -n "$(field Description)" ] || fail "Description is empty"
# These can only come from dpkg-shlibdeps reading the programs' libraries.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends" == *", $library ("* ]] || fail "Depends lacks a versioned $library: $depends"
done

# Contents.
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -c "$deb" | awk '{print $1, $2, $NF}' >"$work/listing"
echo "files:"
(cd "$root" && find . -type f | sort | sed 's/^\./  /')

hicolor=usr/share/icons/hicolor
key_icon=application-x-tarvex-key
expected=(
  usr/bin/tarvex
  usr/bin/tarvex-cli
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  usr/share/mime/packages/text-tarvex.xml
  usr/share/man/man1/tarvex-cli.1.gz
  "$hicolor/scalable/apps/$app_id.svg"
  "$hicolor/scalable/mimetypes/$key_icon.svg"
)
for size in 32 48 128 256; do
  expected+=("$hicolor/${size}x$size/apps/$app_id.png" "$hicolor/${size}x$size/mimetypes/$key_icon.png")
done
for file in "${expected[@]}"; do
  [ -s "$root/$file" ] || fail "$file is not in the package"
done

# The help pages of the Help menu: the contents page that the program looks
# for (the base name of its help file), and every page that a link leads to.
help=usr/share/tarvex/help
if [ -f "$root/$help/tarvex.html" ] || [ -f "$root/$help/tarvex.htm" ]; then
  while IFS= read -r page; do
    while IFS= read -r target; do
      target=${target%%#*}
      case "$target" in '' | *:*) continue ;; esac
      [ -e "$(dirname "$page")/$target" ] || fail "${page#"$root"/} links to $target, which is not in the package"
    done < <(grep -oiE 'href="[^"]*"' "$page" | sed -E 's/^href="(.*)"$/\1/I')
  done < <(find "$root/$help" -type f -iname '*.htm*')
else
  fail "the help contents page $help/tarvex.html is not in the package"
fi

# Nothing may land outside /usr, nor be owned by the builder.
while read -r mode owner path; do
  case "$path" in
    ./usr/*|./usr/|./) ;;
    *) fail "$path is outside /usr" ;;
  esac
  [ "$owner" = root/root ] || fail "$path belongs to $owner"
  case "$path" in
    */) [[ "$mode" == drwxr-xr-x ]] || fail "$path has mode $mode" ;;
    ./usr/bin/*) [[ "$mode" == -rwxr-xr-x ]] || fail "$path has mode $mode" ;;
    *) [[ "$mode" == -rw-r--r-- ]] || fail "$path has mode $mode" ;;
  esac
done <"$work/listing"

for size in 32 48 128 256; do
  for png in "$root/$hicolor/${size}x$size/apps/$app_id.png" "$root/$hicolor/${size}x$size/mimetypes/$key_icon.png"; do
    [ -f "$png" ] || continue
    if ! is_png "$png"; then
      fail "${png#"$root"/} is not a PNG image"
    elif [ "$(png_size "$png")" != "${size}x$size" ]; then
      fail "${png#"$root"/} is $(png_size "$png"), not ${size}x$size"
    fi
  done
done
for svg in "$root/$hicolor/scalable/apps/$app_id.svg" "$root/$hicolor/scalable/mimetypes/$key_icon.svg"; do
  [ -f "$svg" ] || continue
  [ "$(xmllint --xpath 'local-name(/*)' "$svg" 2>/dev/null)" = svg ] || fail "${svg#"$root"/} is not an SVG image"
done
if [ -f "$root/usr/share/man/man1/tarvex-cli.1.gz" ]; then
  title=$(gzip -dc "$root/usr/share/man/man1/tarvex-cli.1.gz" 2>/dev/null | sed -n 1p || true)
  [[ "$title" == ".TH TARVEX-CLI 1 "* ]] || fail "the man page is not a gzipped TARVEX-CLI(1) page"
fi

# The packaged files name each other: the entry its program and icon, the
# metainfo its entry, the MIME type its icon.
desktop=$root/usr/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
  if ! report=$(desktop-file-validate "$desktop" 2>&1) || grep -Eiq 'error|warning' <<<"$report"; then
    fail "the packaged desktop entry does not validate: $report"
  fi
  exec_program=$(desktop_value "$desktop" Exec | awk '{print $1}')
  [ -x "$root/usr/bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which is not in /usr/bin"
  icon=$(desktop_value "$desktop" Icon)
  [ -f "$root/$hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon '$icon' is not in the package"
fi
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
  report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "the packaged metainfo does not validate: $report"
  launchable=$(xmllint --xpath 'string(/component/launchable)' "$metainfo" 2>/dev/null || true)
  [ -f "$root/usr/share/applications/$launchable" ] || fail "the metainfo launches '$launchable', which is not in the package"
fi
mime=$root/usr/share/mime/packages/text-tarvex.xml
if [ -f "$mime" ]; then
  mime_icon=$(xmllint --xpath 'string(//*[local-name()="icon"]/@name)' "$mime" 2>/dev/null || true)
  [ -f "$root/$hicolor/scalable/mimetypes/$mime_icon.svg" ] || fail "the key files' icon '$mime_icon' is not in the package"
fi

# The packaged programs find all their libraries and run.
for program in tarvex tarvex-cli; do
  [ -x "$root/usr/bin/$program" ] || continue
  if ! libraries=$(ldd "$root/usr/bin/$program" 2>&1); then
    fail "ldd cannot read /usr/bin/$program: $libraries"
  elif grep -q 'not found' <<<"$libraries"; then
    fail "/usr/bin/$program misses libraries: $(grep 'not found' <<<"$libraries")"
  fi
done
cli=$root/usr/bin/tarvex-cli
if [ -x "$cli" ]; then
  if ! out=$("$cli" --version 2>&1); then
    fail "the packaged tarvex-cli --version fails: $out"
  elif [ "$out" != "tarvex-cli $version" ]; then
    fail "the packaged tarvex-cli --version prints '$out', not 'tarvex-cli $version'"
  fi
  message=$'a message\nin two lines'
  if "$cli" create-key "$work/k.tvk" \
    && sealed=$(printf '%s\n' "$message" | "$cli" encrypt -k "$work/k.tvk") \
    && opened=$(printf '%s\n' "$sealed" | "$cli" decrypt -k "$work/k.tvk"); then
    [ "$opened" = "$message" ] || fail "the packaged tarvex-cli gives back '$opened' for '$message'"
    [ "$sealed" != "$message" ] || fail "the packaged tarvex-cli does not change the message"
  else
    fail "the packaged tarvex-cli cannot make a round trip"
  fi
fi
finish
