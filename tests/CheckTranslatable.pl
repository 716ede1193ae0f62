#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists every text in the user-facing code that reads like words for people but does not go through
# the translation system. Whatever wraps it (QStringLiteral, u""_s, QLatin1String, fromUtf8, pieces
# joined with +) makes no difference: each literal counts unless it is the text of tr(), translate()
# or a QT_TR*_NOOP, a journal log line (qC*/q* streams), or technical and marked so on its line with
# "// not for people: <why>" (or on the line before). Usage: CheckTranslatable.pl <source folder>
use strict;
use warnings;

my $root = shift // '.';
# The folders whose texts reach people; the lower libraries report to them in words that are
# translated where they are shown.
my @folders = qw(src/cli src/app src/ui src/update src/desktopsearch);

my $translating = qr/(?:\btr|\btranslate|QT_TR_NOOP|QT_TR_N_NOOP|QT_TRANSLATE_NOOP|QT_TRANSLATE_N_NOOP)\s*\(\s*(?:"(?:[^"\\]|\\.)*"\s*,\s*)?$/;
my $logging = qr/\bqC?(?:Debug|Info|Warning|Critical)\s*\([^;]*<</s;
my $marker = qr{//\s*not for people:};

# Words for people: two letters in a row, and a space between words, a capital then small letters,
# or a sentence's end.
sub prose {
    my ($text) = @_;
    return 0 unless $text =~ /[[:alpha:]]{2}/;
    return 0 if $text =~ /^(?:[[:upper:]][[:lower:]]+){2,}$/; # a name in code: RuleCheckBox
    return 1 if $text =~ /[[:alpha:]][,.;:!?]?\s+\S*[[:alpha:]]/;
    return 1 if $text =~ /^\s*[[:upper:]][[:lower:]]{2,}/ && $text !~ /^[[:upper:]][[:alnum:]]*(?:[._:\/-][[:alnum:]]*)+$/;
    return 1 if $text =~ /[[:alpha:]][.!?\x{2026}]$/;
    return 1 if $text =~ /%(?:\d|n)\s+[[:alpha:]]{2}|[[:alpha:]]{2}\s+%(?:\d|n)/;
    # A piece of a sentence, to be joined to others.
    return 1 if $text =~ /[[:alpha:]]{2}\s+$/ || $text =~ /^\s+[[:alpha:]]{2}/;
    return 0;
}

my @findings;
for my $folder (@folders) {
    for my $file (sort glob("$root/$folder/*.cpp $root/$folder/*.h")) {
        open my $in, '<:encoding(UTF-8)', $file or die "$file: $!";
        my $code = do { local $/; <$in> };
        close $in;
        my @lines = split /\n/, $code, -1;
        # Comments become blanks, so nothing in them counts and offsets stay put.
        my $plain = $code;
        $plain =~ s{(R"([^(]*)\(.*?\)\2"|"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*')|//[^\n]*|/\*.*?\*/}
                   {defined $1 ? $1 : ($& =~ s/[^\n]/ /gr)}gse;
        my @literals;
        while ($plain =~ /(?:\b(?:u8|u|U|L))?(R"([^(]*)\((.*?)\)\2"|"((?:[^"\\\n]|\\.)*)")/gs) {
            push @literals, {start => $-[0], end => $+[0], text => defined $3 ? $3 : $4};
        }
        # Literals side by side are one text.
        my @texts;
        for my $literal (@literals) {
            my $last = $texts[-1];
            if ($last && substr($plain, $last->{end}, $literal->{start} - $last->{end}) =~ /^\s*$/) {
                $last->{text} .= $literal->{text};
                $last->{end} = $literal->{end};
            } else {
                push @texts, {%$literal};
            }
        }
        for my $text (@texts) {
            next unless prose($text->{text});
            my $before = substr($plain, 0, $text->{start});
            next if $before =~ $translating;
            # Names for code and looks: never read as words.
            next if $before =~ /(?:Q_CLASSINFO|setObjectName|setStyleSheet|setProperty|findChild(?:ren)?<[^>]*>)\(\s*$/;
            # The statement the text is in, back to the last ; { or } outside the brackets it is in.
            my ($depth, $i) = (0, length $before);
            while (--$i >= 0) {
                my $c = substr($before, $i, 1);
                if ($c eq ')' || $c eq ']') { $depth++ }
                elsif ($c eq '(' || $c eq '[') { $depth-- }
                elsif ($depth <= 0 && ($c eq ';' || $c eq '{' || $c eq '}')) { last }
            }
            next if substr($before, $i + 1) =~ $logging;
            my $line = 1 + ($before =~ tr/\n//);
            my $lastLine = $line + (substr($plain, $text->{start}, $text->{end} - $text->{start}) =~ tr/\n//);
            next if grep { $_ > 0 && $lines[$_ - 1] =~ $marker } ($line - 1) .. $lastLine;
            (my $relative = $file) =~ s{^\Q$root\E/}{};
            push @findings, "$relative:$line: not translatable: \"$text->{text}\"";
        }
    }
}
if (@findings) {
    binmode STDOUT, ':encoding(UTF-8)';
    print "$_\n" for @findings;
    print "Pass each text above through tr() or QCoreApplication::translate() (QT_TRANSLATE_NOOP in tables),\n"
        . "or, if people never read it, say why on its line with // not for people: ...\n";
    exit 1;
}
exit 0;
