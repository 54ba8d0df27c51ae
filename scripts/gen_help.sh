#!/bin/sh
# Turns the help sources docs/help/help_nl.html and help_en.html into the two Word 97 documents
# that ship beside the program: data/ZEL Nevora Help (Nederlands).doc and (English).doc.
#
# Installs LibreOffice Writer and poppler (the "help" group of scripts/packages.txt) when they are
# missing. Only this script needs them; the build uses the committed documents.
#
#   scripts/gen_help.sh           write both documents
#   scripts/gen_help.sh --check   also render page 1 of each to build/help-check/*.png to look at
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$root/scripts/install-packages.sh" help

# A private profile, so a running office suite or the user's settings cannot change the output.
profile="file://$work/profile"

office() {  # soffice arguments...; its chatter goes to a log shown only when it fails
    soffice -env:UserInstallation="$profile" --headless "$@" >"$work/office.log" 2>&1 || {
        cat "$work/office.log" >&2
        exit 1
    }
}

convert() {  # source.html "Document name.doc"
    # The documents stay text only: on Windows no picture folder ships beside them, so the pages'
    # pictures (one per line) are left out.
    grep -v '<img ' "$root/docs/help/$1" >"$work/$1"
    # The Writer HTML filter makes a text document (not a web page), which saves as Word 97.
    office --infilter="HTML (StarWriter)" --convert-to 'doc:MS Word 97' --outdir "$work" \
        "$work/$1"
    mv "$work/${1%.html}.doc" "$root/data/$2"
    echo "data/$2"
}

convert help_nl.html "ZEL Nevora Help (Nederlands).doc"
convert help_en.html "ZEL Nevora Help (English).doc"

if [ "${1:-}" = "--check" ]; then
    out="$root/build/help-check"
    mkdir -p "$out"
    for lang in Nederlands English; do
        rm -f "$out/$lang"-*.png
        cp "$root/data/ZEL Nevora Help ($lang).doc" "$work/$lang.doc"
        office --convert-to pdf --outdir "$work" "$work/$lang.doc"
        pdftoppm -png -r 60 "$work/$lang.pdf" "$out/$lang"
        echo "$out/$lang-*.png ($(pdfinfo "$work/$lang.pdf" 2>/dev/null | sed -n 's/^Pages: *//p') pages)"
    done
fi
