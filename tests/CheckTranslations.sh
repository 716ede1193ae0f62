#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a shipped language lacks a translation of a text in the code, or keeps one the code no
# longer has, naming the file, line and text; and when a text meant for people is written outside
# the translation system (CheckTranslatable.pl); and when quillo does not speak the language the
# locale asks for. Usage: CheckTranslations.sh <source folder> <lupdate> <quillo>
set -u
source_dir=$1
lupdate=$2
quillo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

for ts in "$source_dir"/translations/quillo_*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    # Into a copy, with absolute locations, so each finding can say where the text is.
    # lupdate 6.4 never finishes on some expressions as the count of a %n text; compute the count first.
    (cd "$source_dir" && timeout 60 "$lupdate" -silent -locations absolute -I src src -ts "$copy") || {
        echo "lupdate failed on $ts"
        failures=$((failures + 1))
        continue
    }
    findings=$(awk -v language="$(basename "$ts")" '
        /<location filename=/ { match($0, /filename="[^"]*"/); file = substr($0, RSTART + 10, RLENGTH - 11); sub(/.*\/src\//, "src/", file) }
        /<location / { match($0, /line="[0-9]*"/); line = substr($0, RSTART + 6, RLENGTH - 7) }
        /<source>/ { text = $0; sub(/.*<source>/, "", text); sub(/<\/source>.*/, "", text) }
        /<translation type="unfinished"/ { print language ": " file ":" line ": not translated: " text }
        /<translation type="(obsolete|vanished)"/ { print language ": no longer in the code: " text }
    ' "$copy")
    if [ -n "$findings" ]; then
        echo "$findings"
        failures=$((failures + 1))
    fi
done
if [ $failures -gt 0 ]; then
    echo "Translate the texts above: run 'make translations', fill in translations/quillo_*.ts, build."
fi

perl "$source_dir/tests/CheckTranslatable.pl" "$source_dir" || failures=$((failures + 1))

# locale variables | arguments | a phrase the output must hold
while IFS='|' read -r locale arguments expected; do
    # shellcheck disable=SC2086
    output=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG $locale "$quillo" $arguments 2>&1)
    if [[ $output != *"$expected"* ]]; then
        echo "with $locale, quillo $arguments does not say \"$expected\":"
        echo "$output" | head -5
        failures=$((failures + 1))
    fi
done <<'CASES'
LANGUAGE=de|--help|benennt neue Bildschirmfotos nach ihrem Inhalt
LANGUAGE=fr|--help|nomme les nouvelles captures d'écran
LANGUAGE=pt_BR:fr:de|undo --help|Redonne son ancien nom
LC_MESSAGES=de_AT.UTF-8|history --help|Listet die Umbenennungen
LANG=fr_FR.UTF-8|rename --jobs 0 x|--jobs attend un nombre
LC_ALL=C LANGUAGE=|--help|names new screenshots after what they show
LANGUAGE=en:de|--help|names new screenshots after what they show
LANG=ja_JP.UTF-8|undo --help|Puts a renamed file back
CASES
exit $((failures > 0))
