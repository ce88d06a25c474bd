#!/bin/sh
# Regenerates the font tables of the PDF writer (PdfLatinWidths.cpp, PdfJpCMap.cpp,
# PdfJpWidths.cpp) from Debian packages:
#   fonts-urw-base35      AFM metrics of the standard Latin fonts
#   poppler-data          the Adobe CMaps 90ms-RKSJ-H and 90msp-RKSJ-H (installed)
#   fonts-ipafont-gothic  IPAPGothic advance widths
# The two font packages are only downloaded and unpacked in a temporary folder, never
# installed (an installed IPA font changes which face poppler picks for Japanese text).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download fonts-urw-base35 fonts-ipafont-gothic
for deb in *.deb; do dpkg-deb -x "$deb" root; done
python3 "$here/gen_latin_widths.py" root/usr/share/fonts/type1/urw-base35 \
    "$here/../PdfLatinWidths.cpp"
python3 "$here/gen_jp_tables.py" /usr/share/poppler/cMap/Adobe-Japan1 \
    root/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$here/.."
echo "regenerated; review with git diff src/pdf"
