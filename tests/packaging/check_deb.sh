#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages with cpack, text-tarvex (the window), tarvex-cli
# (the command) and tarvex-common (the translations both read), unpacks them,
# and checks their control fields, that every installed file is in exactly one
# of them, that tarvex-cli needs no Qt, the hardening and reproducibility of
# the programs, lintian's verdict, and that the programs run and find their
# translations.
# Usage: check_deb.sh CPACK CMAKE SOURCE_DIR BUILD_DIR APP_ID VERSION
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cpack=$1 cmake=$2 source=$3 build=$4 app_id=$5 version=$6
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need dpkg-parsechangelog dpkg-dev
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need xmllint libxml2-utils
need ldd libc-bin
need lintian lintian
need hardening-check devscripts
need gettext gettext

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not build the packages" >&2
  exit 1
fi
mapfile -t debs < <(find "$work/out" -maxdepth 1 -name '*.deb' | sort)
echo "packages: $(for d in "${debs[@]}"; do basename "$d"; done | tr '\n' ' ')"
arch=$(dpkg --print-architecture)
window_deb=$work/out/text-tarvex_${version}_$arch.deb
cli_deb=$work/out/tarvex-cli_${version}_$arch.deb
common_deb=$work/out/tarvex-common_${version}_all.deb
if [ "${#debs[@]}" -ne 3 ] || [ ! -f "$window_deb" ] || [ ! -f "$cli_deb" ] || [ ! -f "$common_deb" ]; then
  echo "FAIL: cpack did not make exactly text-tarvex and tarvex-cli $version for $arch and tarvex-common" >&2
  exit 1
fi
# The languages of po/LINGUAS that have a catalogue.
languages=()
for language in $(grep -v '^#' "$source/po/LINGUAS"); do
  [ -f "$source/po/$language.po" ] && languages+=("$language")
done

# Control fields.
field() { dpkg-deb -f "$1" "$2"; }
for deb in "$window_deb" "$cli_deb" "$common_deb"; do
  package=$(field "$deb" Package)
  [ "$(field "$deb" Section)" = utils ] || fail "$package: Section is '$(field "$deb" Section)'"
  # A native package: the Debian packaging is part of these sources.
  [ "$(field "$deb" Version)" = "$version" ] || fail "$package: Version '$(field "$deb" Version)' is not $version"
  expected_arch=$arch
  [ "$deb" != "$common_deb" ] || expected_arch=all
  [ "$(field "$deb" Architecture)" = "$expected_arch" ] || fail "$package: Architecture is '$(field "$deb" Architecture)'"
  [[ "$(field "$deb" Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] \
    || fail "$package: Maintainer '$(field "$deb" Maintainer)' is not 'Name <address>'"
  description=$(field "$deb" Description)
  [ "$(wc -l <<<"$description")" -ge 3 ] || fail "$package: the Description has no extended description"
done
# These can only come from dpkg-shlibdeps reading each package's own programs.
depends=$(field "$window_deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends" == *", $library ("* ]] || fail "text-tarvex: Depends lacks a versioned $library: $depends"
done
depends=$(field "$cli_deb" Depends)
for library in libc6 libstdc++6; do
  [[ ", $depends" == *", $library ("* ]] || fail "tarvex-cli: Depends lacks a versioned $library: $depends"
done
[[ "$depends" != *libqt* ]] || fail "tarvex-cli depends on Qt: $depends"
for deb in "$window_deb" "$cli_deb"; do
  [[ ", $(field "$deb" Depends)," == *", tarvex-common (= $version),"* ]] \
    || fail "$(field "$deb" Package) does not depend on tarvex-common (= $version): $(field "$deb" Depends)"
done

# Contents: both packages unpacked into one tree, as when both are installed.
root=$work/root
for deb in "$window_deb" "$cli_deb" "$common_deb"; do
  dpkg-deb -x "$deb" "$root"
  dpkg-deb -c "$deb" | awk '{print $1, $2, $NF}' >>"$work/listing"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sed 's|^\./||' >"$work/files.$(field "$deb" Package)"
done
echo "files:"
(cd "$root" && find . -type f | sort | sed 's/^\./  /')

# Every file that `cmake --install` puts in place is in one package, and no
# file is in both: an install rule outside the two components would be lost.
DESTDIR=$work/installed "$cmake" --install "$build" --prefix /usr >"$work/install.log" 2>&1 \
  || fail "cmake --install fails: $(cat "$work/install.log")"
(cd "$work/installed" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/installed.list"
sort "$work/files.text-tarvex" "$work/files.tarvex-cli" "$work/files.tarvex-common" >"$work/packaged.list"
twice=$(uniq -d "$work/packaged.list")
[ -z "$twice" ] || fail "in both packages: $twice"
missing=$(comm -23 "$work/installed.list" <(sort -u "$work/packaged.list"))
[ -z "$missing" ] || fail "installed but in no package: $missing"

hicolor=usr/share/icons/hicolor
key_icon=application-x-tarvex-key
window_files=(
  usr/bin/tarvex
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  usr/share/mime/packages/text-tarvex.xml
  usr/share/man/man1/tarvex.1.gz
  usr/share/doc/text-tarvex/copyright
  usr/share/doc/text-tarvex/changelog.gz
  "$hicolor/scalable/apps/$app_id.svg"
  "$hicolor/scalable/mimetypes/$key_icon.svg"
)
for size in 32 48 128 256; do
  window_files+=("$hicolor/${size}x$size/apps/$app_id.png" "$hicolor/${size}x$size/mimetypes/$key_icon.png")
done
cli_files=(
  usr/bin/tarvex-cli
  usr/share/man/man1/tarvex-cli.1.gz
  usr/share/bash-completion/completions/tarvex-cli
  usr/share/doc/tarvex-cli/copyright
  usr/share/doc/tarvex-cli/changelog.gz
)
common_files=(usr/share/doc/tarvex-common/copyright usr/share/doc/tarvex-common/changelog.gz)
for language in "${languages[@]}"; do
  common_files+=("usr/share/locale/$language/LC_MESSAGES/tarvex.mo")
done
for file in "${common_files[@]}"; do
  grep -qxF "$file" "$work/files.tarvex-common" || fail "$file is not in tarvex-common"
done
for file in "${window_files[@]}"; do
  grep -qxF "$file" "$work/files.text-tarvex" || fail "$file is not in text-tarvex"
done
for file in "${cli_files[@]}"; do
  grep -qxF "$file" "$work/files.tarvex-cli" || fail "$file is not in tarvex-cli"
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
  fail "the help contents page $help/tarvex.html is not in text-tarvex"
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
for page in tarvex tarvex-cli; do
  gz=$root/usr/share/man/man1/$page.1.gz
  [ -f "$gz" ] || continue
  title=$(gzip -dc "$gz" 2>/dev/null | grep -m1 '^\.TH' || true)
  [[ "$title" == ".TH ${page^^} 1 "* ]] || fail "$page.1.gz is not a gzipped ${page^^}(1) page"
done
completion=$root/usr/share/bash-completion/completions/tarvex-cli
if [ -f "$completion" ]; then
  # bash-completion loads the file named after the command and expects it to
  # register that command.
  bash -c 'source "$1" && complete -p tarvex-cli' _ "$completion" >/dev/null 2>&1 \
    || fail "the packaged bash completion does not register tarvex-cli"
fi

# Copyright and changelog of each package, as Debian reads them.
for package in text-tarvex tarvex-cli tarvex-common; do
  doc=$root/usr/share/doc/$package
  if [ -f "$doc/copyright" ]; then
    head -n1 "$doc/copyright" | grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
      || fail "$package: the copyright file is not in the machine-readable format"
    grep -qxF 'License: GPL-3.0-or-later' "$doc/copyright" || fail "$package: the copyright file names no GPL-3.0-or-later"
    grep -qF /usr/share/common-licenses/GPL-3 "$doc/copyright" || fail "$package: the copyright file does not point to GPL-3"
  fi
  if [ -f "$doc/changelog.gz" ]; then
    entry=$(gzip -dc "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version 2>&1 || true)
    [ "$entry" = "$version" ] || fail "$package: the changelog's latest entry is '$entry', not $version"
  fi
done

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

# The packaged window finds the packaged catalogues beside it: its --help,
# which needs no display, in each language as gettext itself reads the catalogue.
window=$root/usr/bin/tarvex
description="Encrypts and decrypts messages with a key file that two people share."
for language in "${languages[@]}"; do
  [ -x "$window" ] || break
  translated=$(TEXTDOMAINDIR=$root/usr/share/locale LC_ALL=C.UTF-8 LANGUAGE=$language gettext tarvex "$description")
  [ "$translated" != "$description" ] || fail "the $language catalogue does not translate '$description'"
  help=$(LC_ALL=C.UTF-8 LANGUAGE=$language "$window" --help 2>&1) || fail "the packaged tarvex --help fails: $help"
  grep -qF -- "$translated" <<<"$help" || fail "the packaged tarvex does not speak $language: $help"
done

# Hardened as Debian builds: PIE, stack protector, fortified functions, RELRO
# and immediate binding. Control-flow protection is not among Debian's defaults.
for program in tarvex tarvex-cli; do
  [ -f "$root/usr/bin/$program" ] || continue
  report=$(hardening-check --nocfprotection "$root/usr/bin/$program" 2>&1) \
    || fail "/usr/bin/$program is not hardened: $report"
done

# Reproducible: no path of the machine that built the packages in any file.
for path in "$source" "$build"; do
  leaks=$(grep -rlaF -- "$path" "$root" | sed "s|^$root/||" || true)
  [ -z "$leaks" ] || fail "these packaged files hold the path $path: $leaks"
done

# Lintian, as Debian's archive would judge the packages: no error, no warning.
for deb in "$window_deb" "$cli_deb" "$common_deb"; do
  status=0
  report=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) || status=$?
  if [ "$status" -ne 0 ] || grep -Eq '^[EW]: ' <<<"$report"; then
    fail "lintian rejects $(basename "$deb"): $report"
  fi
done
finish
