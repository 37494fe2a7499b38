#!/usr/bin/env bash
# Builds the Debian package from this build tree with CPack and checks it as a user gets it:
# its files and dependencies, the menu entry, the AppStream metadata, the manual pages and
# the shell completion against the program's own options, lintian, and both programs run
# from a copy unpacked elsewhere, which must find their default data by themselves.
#   test_package.sh CPACK CPACK_CONFIG
set -euo pipefail
cpack=$1
config=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# scripts/setup.sh installs these; without one the package is not checked, so that fails.
for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian man; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== cpack"
"$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack failed"
}
shopt -s nullglob
debs=("$work"/out/moque_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one moque_*.deb, got: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "$(basename "$deb"), version $version"

echo "== contents"
dpkg-deb -c "$deb" | tee "$work/listing"
awk '{ print $2 }' "$work/listing" | grep -vqx 'root/root' && fail "a file is not owned by root"
awk '{ print $6 }' "$work/listing" >"$work/paths"
grep -vq '^\./usr/' "$work/paths" && fail "a file lies outside /usr"
for path in usr/bin/moque usr/bin/moque-cli usr/share/applications/moque.desktop \
    usr/share/icons/hicolor/scalable/apps/moque.svg usr/share/metainfo/example.moque.Moque.metainfo.xml \
    usr/share/man/man1/moque.1.gz usr/share/man/man1/moque-cli.1.gz \
    usr/share/bash-completion/completions/moque-cli usr/share/doc/moque/copyright \
    usr/share/doc/moque/changelog.gz; do
    grep -Fqx "./$path" "$work/paths" || fail "$path is not in the package"
done

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends"
# libqt6core6 and libc6 come from dpkg-shlibdeps; the others are loaded at run time.
for package in libc6 libqt6core6 libqt6widgets6 libqt6sql6-sqlite fonts-noto-cjk; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package"
done

# A folder name with a space and far from any build tree: the programs find nothing but themselves.
root="$work/unpacked here"
dpkg-deb -x "$deb" "$root"

echo "== desktop entry"
desktop=$root/usr/share/applications/moque.desktop
desktop-file-validate "$desktop"
grep -Fqx 'Exec=moque %F' "$desktop" || fail "the desktop entry does not start moque"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon $icon is not installed"

echo "== AppStream metadata"
metainfo=$root/usr/share/metainfo/example.moque.Moque.metainfo.xml
appstreamcli validate --no-net "$metainfo"
grep -Fq "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not $version"
grep -Fq '<launchable type="desktop-id">moque.desktop</launchable>' "$metainfo" ||
    fail "the metadata does not launch moque.desktop"

echo "== programs"
home=$work/home
mkdir "$home"
run() { HOME=$home QT_QPA_PLATFORM=offscreen "$@"; }
cli=$root/usr/bin/moque-cli
[ "$(run "$cli" --version)" = "moque-cli $version" ] || fail "moque-cli --version is not $version"
[ "$(run "$root/usr/bin/moque" --version 2>/dev/null)" = "moque $version" ] || fail "moque --version is not $version"
data=$(run "$cli" init)
[ "$data" = "$home/.local/share/moque/" ] || fail "moque-cli init chose $data, not the user's data directory"
[ -s "$home/.local/share/moque/Data/EPData.ini" ] || fail "moque-cli init made no data file"
run "$cli" templates | tee "$work/templates"
grep -Fq '快递单（通用快递单）' "$work/templates" || fail "the new data directory lacks the default templates"
[ -e "$root/usr/bin/Data" ] && fail "the programs wrote beside themselves"

echo "== manual pages and completion against moque-cli --help"
run "$cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u >"$work/options"
[ -s "$work/options" ] || fail "moque-cli --help lists no options"
for page in moque moque-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/moque-cli.1.gz" 2>/dev/null | col -b >"$work/manual"
while read -r option; do
    grep -Eq -- "$option([^a-z-]|\$)" "$work/manual" || fail "the manual page lacks $option"
done <"$work/options"
for command in init templates print amount sheet; do
    grep -Eq "^ +$command( |$)" "$work/manual" || fail "the manual page lacks the command $command"
done
completion=$root/usr/share/bash-completion/completions/moque-cli
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _moque_cli; echo "${COMPREPLY[*]}"' \
        _ "$completion" "$@"
}
complete_words moque-cli -- | tr ' ' '\n' | sort -u >"$work/completed"
diff "$work/options" "$work/completed" || fail "the completion does not offer the options of moque-cli --help"
[ "$(complete_words moque-cli te)" = templates ] || fail "completion of a command"
[ "$(complete_words moque-cli --data-dir /tmp am)" = amount ] || fail "completion of a command after an option"
[ "$(complete_words moque-cli amount c)" = "capital clean" ] || fail "completion of an amount conversion"

echo "== lintian"
lintian --fail-on error "$deb"
echo "test_package: passed"
