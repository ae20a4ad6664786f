#!/usr/bin/env bash
# The English translation is current and complete: lupdate over today's sources changes nothing
# in it, no message is left unfinished, and no Japanese text of the program escapes it.
set -euo pipefail
root=$1
lupdate=$2
committed=$root/translations/orvana_en.ts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$committed" "$work/orvana_en.ts"
LUPDATE=$lupdate bash "$root/scripts/update-translations.sh" "$work/orvana_en.ts"
status=0
if ! diff -u "$committed" "$work/orvana_en.ts" >"$work/diff"; then
    echo "translations/orvana_en.ts is not current; run scripts/update-translations.sh:"
    head -60 "$work/diff"
    status=1
fi
unfinished=$(grep -c 'type="unfinished"' "$work/orvana_en.ts" || true)
if [ "$unfinished" -ne 0 ]; then
    echo "$unfinished messages have no finished English translation:"
    grep -A1 '<source>' "$work/orvana_en.ts" | grep -B1 'type="unfinished"' | grep '<source>' |
        head -40
    status=1
fi

# Every string literal in Japanese outside comments is the source of a message (a text not
# marked for translation is in none), or is one of the few that are data, not texts.
cd "$root"
perl -CSD -Mutf8 -e '
    my ($ts, @files) = @ARGV;
    my %data = map { $_ => 1 } ();
    open my $in, "<:encoding(UTF-8)", $ts or die "$ts: $!";
    my $sources = join "", <$in>;
    $sources =~ s/&#x([0-9a-fA-F]+);/chr(hex($1))/ge;
    $sources =~ s/&lt;/</g; $sources =~ s/&gt;/>/g; $sources =~ s/&quot;/"/g;
    $sources =~ s/&apos;/\x27/g; $sources =~ s/&amp;/&/g;
    my $missing = 0;
    for my $file (@files) {
        open my $f, "<:encoding(UTF-8)", $file or die "$file: $!";
        my $code = join "", <$f>;
        $code =~ s{/\*.*?\*/}{}gs;
        $code =~ s{"(?:[^"\\\n]|\\.)*"|//[^\n]*}{ substr($&, 0, 1) eq "\"" ? $& : "" }ge;
        while ($code =~ /"((?:[^"\\\n]|\\.)*)"/g) {
            my $text = $1;
            next unless $text =~ /[\x{3000}-\x{30ff}\x{4e00}-\x{9fff}\x{ff00}-\x{ffef}]/;
            next if $data{$text};
            my ($piece) = split /\\/, $text;
            next if index($sources, $piece) >= 0;
            print "$file: \"$text\" is not marked for translation\n";
            $missing++;
        }
    }
    exit($missing ? 1 : 0);
' "$work/orvana_en.ts" $(find app core browse acquire files adjust print pmxacq twaindsm -name '*.cpp' -o -name '*.h' | sort) ||
    status=1

messages=$(grep -c '<message' "$work/orvana_en.ts" || true)
echo "$messages messages, $unfinished unfinished"
exit $status
