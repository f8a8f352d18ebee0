#!/usr/bin/env bash
# Builds the Debian packages into build/packages/ (quorvel and
# quorvel-engines) and checks them: the files a learner needs are in the
# tutor's package, the engines' tables are not, the dependencies are
# declared, and the menu entry and AppStream metadata validate.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
# An existing build keeps its options; only what changed is rebuilt.
BUILD_DIR=$build bash scripts/build.sh
out=$build/packages
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null

desktop-file-validate packaging/quorvel.desktop
appstreamcli validate --no-net packaging/io.github.marrowby.quorvel.metainfo.xml

fail() { echo "package check: $*" >&2; exit 1; }
shopt -s nullglob
tutor=("$out"/quorvel_*.deb)
engines=("$out"/quorvel-engines_*.deb)
[ ${#tutor[@]} -eq 1 ] || fail "expected one quorvel_*.deb in $out"
[ ${#engines[@]} -eq 1 ] || fail "expected one quorvel-engines_*.deb in $out"

# Paths only (the sixth field of dpkg-deb -c), without the leading ".".
contents() { dpkg-deb -c "$1" | awk '{print substr($6, 2)}'; }
tutor_files=$(contents "${tutor[0]}")
for f in /usr/bin/quorvel /usr/share/quorvel/deRizizoz.dll /usr/share/quorvel/QUORVEL.HLP \
  /usr/share/quorvel/texts/01-tang-poems.txt /usr/share/applications/quorvel.desktop \
  /usr/share/metainfo/io.github.marrowby.quorvel.metainfo.xml \
  /usr/share/man/man1/quorvel.1.gz /usr/share/man/zh_CN/man1/quorvel.1.gz \
  /usr/share/icons/hicolor/256x256/apps/quorvel.png \
  /usr/share/fontconfig/conf.avail/65-quorvel-songti.conf /usr/share/doc/quorvel/copyright; do
  grep -qxF "$f" <<<"$tutor_files" || fail "${tutor[0]} lacks $f"
done
outside=$(grep -v '^/usr/' <<<"$tutor_files" | grep -vx '/' || true)
[ -z "$outside" ] || fail "${tutor[0]} installs outside /usr: $outside"
if grep -E 'fcitx5|ibus|rime' <<<"$tutor_files"; then fail "${tutor[0]} holds engine tables"; fi

engine_files=$(contents "${engines[0]}")
for f in /usr/share/fcitx5/inputmethod/lanchuan.conf /usr/share/rime-data/lanchuan.schema.yaml; do
  grep -qxF "$f" <<<"$engine_files" || fail "${engines[0]} lacks $f"
done

# Libraries found by dpkg-shlibdeps, and the files the program opens by path.
depends=$(dpkg-deb -f "${tutor[0]}" Depends)
for d in libqt6widgets6 libqt6charts6 libsqlite3-0 libzip4 libjpeg62-turbo libfluidsynth3 qt6-translations-l10n \
  timgm6mb-soundfont fonts-noto-cjk; do
  grep -qw -- "$d" <<<"$depends" || fail "${tutor[0]} does not depend on $d: $depends"
done
if dpkg-deb -f "${tutor[0]}" Depends Recommends | grep -q quorvel-engines; then
  fail "the tutor pulls in quorvel-engines"
fi
for f in /usr/share/doc/quorvel-engines/changelog.gz /usr/share/doc/quorvel-engines/copyright \
  /usr/share/doc/quorvel-engines/examples/default.custom.yaml; do
  grep -qxF "$f" <<<"$engine_files" || fail "${engines[0]} lacks $f"
done
grep -qxF /usr/share/doc/quorvel/changelog.gz <<<"$tutor_files" || fail "${tutor[0]} lacks its changelog"
# An engine that works as installed, and each engine's whole set suggested.
recommends=$(dpkg-deb -f "${engines[0]}" Recommends)
suggests=$(dpkg-deb -f "${engines[0]}" Suggests)
for d in ibus-table fcitx5-table ibus-rime fcitx5-rime; do
  grep -qw -- "$d" <<<"$recommends" || fail "${engines[0]} does not recommend $d: $recommends"
done
for d in fcitx5 fcitx5-frontend-gtk3 fcitx5-frontend-qt5 ibus ibus-gtk3; do
  grep -qw -- "$d" <<<"$suggests" || fail "${engines[0]} does not suggest $d: $suggests"
done
# Debian's own checks at every level up to pedantic, the hardening of the
# program among them (hardening-no-fortify-functions, hardening-no-bindnow).
# Informational tags left, and why:
#   package-contains-documentation-outside-usr-share-doc: the practice texts
#     in share/quorvel/texts are data the tutor opens, not documentation.
#   binary-has-unneeded-section .comment: CPack strips with plain strip.
#   arch-dep-package-has-big-usr-share (quorvel-engines): Rime's compiled
#     tables are built for the machine's architecture, as Debian's own
#     rime-data packages are, so the package is not Architecture: all.
lintian --pedantic --fail-on error,warning,pedantic "${tutor[0]}" "${engines[0]}"
echo "Packages: ${tutor[0]} ${engines[0]}"
