#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# kalbrix8.pl: builds one QRD team file from a baseball statistics database.
#
#   perl kalbrix8.pl <year> <TEAM> <league> <file>.dat <type>
#   perl kalbrix8.pl --season <year> <league|ALL> [<type>] [--only CLUB,...] [--list]
#
# The second form builds every club of a season (of one league, or of ALL leagues),
# reading the database once: each club's file is named as Auto File Name names one, the
# year's last two digits, league, club ("01ALnya.dat"), and written in the current folder
# exactly as a run for that club alone writes it. --only builds the clubs named; --list
# only prints the clubs ("club <file> <code> <league> <name>", one a line) and writes
# nothing. Standard output says "kalbrix8.pl: season <year>: <n> clubs", then for each
# club "building <file> (i of n)" and "wrote <file>: ..." or "refused <file>: <why>" when
# that club alone cannot be built (too few batters, a player missing from People.csv), the
# others still built.
# A database that lacks the season of a club listed in Teams.csv stops the run before
# any file is written (exit 2). A file that cannot be written (a full disk) stops the run
# at that club (exit 3), every file before it whole. SIGUSR1 asks for a stop once the
# club being built is written (exit 5).
#
# Writes <file>.dat in the current folder: the team title line, nine starters in batting
# order, the pitchers and the bench, every value in its fixed columns, lines ending in
# CR LF. The file is written whole (a temporary file in the same folder, renamed over it)
# or not at all; an existing file of that name is left untouched by any failure.
#
# The database is a folder of CSV files with header rows in the layout of the public
# baseball history database as published today: People.csv (older editions: Master.csv),
# Teams.csv, Batting.csv, Pitching.csv, Fielding.csv and Appearances.csv, with
# FieldingOFsplit.csv used when present; the folder itself or its "core" folder. It is the
# "Database" folder named in section [Directories] of qrdTeams.ini in the current folder;
# without that key, sample-db/ beside this script. A Database folder that lacks a file is
# an error, never a reason to use the sample.
#
# Reading the files:
#   - Columns are found by their header names, whatever their order, without regard to
#     case ("IPouts" or "IPOuts"; "X2B" as R writes it is "2B"). Leading columns such as
#     People's "ID" do no harm. Fields may be quoted, of any length, even across lines.
#     Lines may end in LF, CR LF or CR alone (older Mac programs).
#   - A count below 0 or not a whole number is an error naming file, line and column.
#     "NA" and empty fields are unknown. A count that is unknown is written as 0 (in the
#     early seasons the sacrifice flies and hit-by-pitches that count in plate
#     appearances, and fielders' errors), except three counts of a batter whose rows all
#     lack them, which are estimated: stolen bases in proportion to his times on base
#     short of a home run (H+BB-HR), caught stealing to his stolen bases, strike-outs to
#     his outs at bat (AB-H). The share comes from the first source that knows it: the
#     club's own total in Teams.csv less what its other batters have; the league's
#     batters who have the count that season; for strike-outs, the strike-outs of the
#     league's pitchers that season; the Teams.csv totals of the league's nearest seasons
#     that have the count (of all leagues when the league never has it). A count the
#     database has is never changed. An unknown hand is written as R; a switch hitter
#     bats L.
#   - A season the database lacks is an error, never an empty team: no batting or no
#     pitching rows for the club, or fewer than nine batters (exit 2).
#   - Only the rows of the club and season count; a player traded away and back has his
#     stints with the club added up. A player of the team missing from People.csv is an
#     error: the file would have no name for him.
#
# How the team is chosen (the same database and arguments always give the same file):
#   - Seasons with the designated hitter: the American League from 1973, the National
#     League in 2020 and from 2022, no league before 1973. <type> 1 asks for a line-up with
#     a designated hitter (position code 10), <type> 0 for one without; without a type the
#     season decides. Outside those seasons no player gets "D" games, even when the
#     database counts a few (interleague games in the other club's park).
#   - Games at each position, left, centre and right field among them, come from
#     Appearances.csv. A player without an Appearances row, or a database without that
#     file, has them from Fielding.csv: FieldingOFsplit.csv splits the outfield, else the
#     club's "OF"-only outfielders take centre, right and left in turn, most games first;
#     in a season with the designated hitter his batting games beyond his fielding games
#     count as "D" when he had two plate appearances a game he played (a pinch hitter's
#     games stay games nowhere). Errors always come from Fielding.csv. Without
#     Appearances.csv, or when it has no rows for the club's season, one line on standard
#     error says the positions are estimated.
#   - A regular is a player with at least two plate appearances (AB+BB+HBP+SH+SF) per game
#     the club played. A regular is always among the batters. One with no games in the
#     field counts his games as "D" in a season with the designated hitter. A batter whose
#     most games were on the mound is a pitcher: his pitching games are his first group
#     ("-1"), on the bench his code is 01, he is never the designated hitter and starts in
#     the field only at a position nobody else played (one who only pitched, never).
#     Among the batters too are those who only pinch-hit, and a
#     player with games at a position (or as designated hitter in such a season) unless
#     he is a pitcher with fewer than 10 such games. A player who played more games at
#     other positions than on the mound is on the pitching staff only when he pitched 20
#     innings or more, so a fielder's mop-up inning leaves no pitcher line.
#   - Starters. A player's main position is the one of his most games, counting his games
#     as designated hitter and on the mound too. In a line-up with a designated hitter
#     the player whose main position that is (a regular first, then the most "D" games)
#     is kept for it. Every position goes to the regular whose main position it is, the
#     most games first; then every other regular, most plate appearances first, takes an
#     open position: one he played (the most games there), else the one the fewest games
#     were played at; the games his fielding rows lack (all of them when he has none)
#     count there. Then the other players by main position, the most games first;
#     positions still open go to the most games played there by anyone not yet placed,
#     pitchers last; a position nobody played goes to the batter left with the most
#     plate appearances. So every regular starts while a position is open. The
#     designated hitter is the batter left over who is a regular, then is the one kept,
#     then has the most "D" games, then the most plate appearances; never a pitcher.
#     Nobody starts twice. When too few batters remain, the empty places are the line
#     "00    01", as is the pitcher's turn in a line-up without a designated hitter.
#   - Batting order. The best hitters are those with the best on-base plus slugging
#     average (from the hits, extra-base hits, walks and at bats the file shows). The
#     first five places go to regulars; the catcher is one of them only when he is among
#     the three best hitters of the line-up. Of these, the most home runs among the three
#     best slugging averages bats fourth. First bats the best on-base average (to three
#     decimals, more stolen bases breaking a tie) among the faster half of the line-up by
#     stolen bases, second the best on-base average left; a catcher bats first or second
#     only with the line-up's best on-base average and one of its three best stolen-base
#     counts. The two best slugging averages left bat third and fifth, the better hitter
#     third. When fewer than five regulars can bat there, two of them lead off (other
#     starters when fewer than two may), the others bat from third on, and the best
#     hitters among the other starters fill the places up to fifth. Everybody else
#     follows as the best hitter first. The empty places come last, so in a line-up
#     without a designated hitter the pitcher bats ninth.
#   - Pitchers: starters (at least half their games started) by games started, then
#     innings; then relievers: the closer (most saves) first, then by games, then innings.
#   - Bench: the other batters, those who only pinch-hit among them, by plate
#     appearances, then games; 25 at most, so a batter with fewer plate appearances gives
#     way. The position code is the position of most games ("D" is 10). A batter with
#     games nowhere (a pinch hitter) is a designated hitter with no games ("000-D") in a
#     season with the designated hitter, a first baseman with none ("000-3") otherwise.
#   - Games-at-position groups never show more games than the games column, which is
#     the larger of the batting games and the Appearances games.
#   - Names: "Surname, Given" cut to 18 characters, in Latin-1: a letter beyond it takes
#     its plain Latin-1 form ("Ł" is "L", "ř" is "r", "ő" is "ö"); a given name without a
#     Latin letter is the romanised one (nameGiven), a surname without one the player's
#     ID. Teammates whose fields would be the same get a tag after the given name, which
#     shrinks to its initial when the tag needs the room: a suffix (People's nameSuffix,
#     or "Jr." and the like at the end of nameGiven) when that tells them apart, else the
#     initial of the second given name in nameGiven, else the year of birth ('84); else a
#     number.
#   - The 12-character team name: the city alone ("Oakland") when no other club of that
#     city plays that season and it fits. Otherwise the first of these that fits in 12
#     characters and that no other club of the season wants as well: city and nickname
#     ("Chicago Cubs"), the city's initials or first three letters and the nickname ("NY
#     Yankees", "LA Dodgers", "StL Browns", "SF Giants"), the nickname alone ("White
#     Sox"), the nickname and the league ("Nationals UA"); the same with the last word of
#     a nickname of two ("Stockings AA"); for a club alone in its city, the short form
#     of the city ("Chi/Pit" for "Chicago/Pittsburgh"); else the whole words of the
#     short form that fit before the club's code ("Cin Red CN1"). Words are never cut
#     and never stand two blanks apart. The nickname is the last word of the club's
#     name, or the last two after a colour and the like ("Red Sox", "Blue Jays");
#     " of Anaheim" and a part in brackets are left off.
#   - Ties are broken by player ID. Values too large for their field are capped (99 for
#     stolen bases). Doubles and triples allowed, when the pitching file has no such
#     columns, are estimated from the league's share of doubles and triples among hits.
#
# Exits 0 after writing the file and one line on standard output. Any failure is one line
# on standard error, nothing written: bad arguments or an unknown year/team/league (1), a
# missing, incomplete or malformed database (2), a file it cannot write, a full disk
# among them (3), anything unforeseen, Perl's own warnings included (4), a season run
# stopped on request (5).
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Temp qw(tempfile);
use Fcntl qw(:flock);
use Cwd qw(getcwd abs_path);
use Encode qw(decode encode);
use Unicode::Normalize qw(NFC NFD);

my $temporary;    # the team file being written; any failure removes it

# A line break inside a quoted field must not split the one line of a message.
sub oneLine {
    my ($s) = @_;
    $s =~ s/[\x00-\x1f\x7f]+/ /g;
    $s =~ s/\s+\z//;
    return $s;
}

sub fail {
    my ($code, $message) = @_;
    unlink $temporary if defined $temporary;
    print STDERR 'kalbrix8.pl: ', oneLine($message), "\n";
    exit $code;
}

# A failure that concerns one club only (its rows, its players). A season run lists the
# club as refused and goes on with the others; a run for one club ends as fail does.
my $refusing = 0;
sub refuse {
    my ($code, $message) = @_;
    die {refused => oneLine($message)} if $refusing;
    fail($code, $message);
}

# A value from a file or the command line as a message shows it: quoted, 60 characters at most.
sub shown {
    my ($v) = @_;
    $v = substr($v, 0, 60) . '...' if length $v > 60;
    return '"' . $v . '"';
}

# Perl's own warnings and errors mean the team could be wrong: they end the run as one line.
$SIG{__WARN__} = sub { fail(4, 'internal error: ' . substr($_[0], 0, 200)) };
$SIG{__DIE__} = sub { return if !defined $^S || $^S; fail(4, 'internal error: ' . substr($_[0], 0, 200)) };
$SIG{$_} = sub { fail(4, "stopped by signal $_[0]") } for qw(INT TERM HUP);
# A file size limit turns into a failed write rather than a killed process.
$SIG{XFSZ} = 'IGNORE';

# ---------------------------------------------------------------------------------------
# Arguments

sub parseArguments {
    my @args = @_;
    my $usage = 'usage: kalbrix8.pl <year> <TEAM> <league> <file>.dat <type>';
    fail(1, $usage) if @args < 3;
    my ($year, $team) = splice @args, 0, 2;
    fail(1, 'the year must be a number of four digits, not ' . shown($year)) unless $year =~ /^\d{4}\z/;
    # Empty arguments vanish on the command line, so the file name is found by its
    # extension: a league may stand before it, a type after it.
    my ($at) = grep { $args[$_] =~ /\.dat\z/i } 0 .. $#args;
    fail(1, "no team file name ending in .dat; $usage") unless defined $at;
    fail(1, $usage) if $at > 1 || @args - $at > 2;
    my $league = $at == 1 ? $args[0] : '';
    my $file = $args[$at];
    my $type = $args[$at + 1] // '';
    fail(1, 'no team file name given') if $file =~ /^\.dat\z/i;
    fail(1, 'the team file name ' . shown($file) . ' must not name a folder') if $file =~ m{/};
    fail(1, 'the type must be 0 or 1, not ' . shown($type)) unless $type =~ /^[01]?\z/;
    return (year => $year + 0, team => uc $team, league => uc $league, file => $file, type => $type);
}

# ---------------------------------------------------------------------------------------
# The database folder

# The first "Database" entry of the first [Directories] section, read the way the
# program writes and reads its settings file.
sub databaseSetting {
    open my $fh, '<:raw', 'qrdTeams.ini' or return '';
    local $/;
    my $text = <$fh> // '';
    close $fh;
    $text =~ s/^\xEF\xBB\xBF//;
    my ($inside, $seen) = (0, 0);
    for my $line (split /\r\n|\n|\r/, $text) {
        (my $t = $line) =~ s/^[ \t\x0B\x0C\r]+|[ \t\x0B\x0C\r]+$//g;
        next if $t eq '' || $t =~ /^;/;
        if ($t =~ /^\[/) {
            my $name = $t =~ /^\[(.*)\]/s ? $1 : substr($t, 1);
            $name =~ s/^\s+|\s+$//g;
            $inside = lc $name eq 'directories' && !$seen;
            $seen ||= $inside;
            next;
        }
        next unless $inside && $t =~ /^database[ \t]*=(.*)$/is;
        my $value = $1;
        $value =~ s/^[ \t]+|[ \t]+$//g;
        $value = $2 if length $value >= 2 && $value =~ /^(['"])(.*)\1\z/s;
        return $value;
    }
    return '';
}

# The files of a folder by their lower-case names: databases unpacked on other systems
# spell them in other cases.
sub filesIn {
    my ($dir) = @_;
    opendir my $dh, $dir or return;
    my %files;
    for my $name (sort readdir $dh) {
        $files{lc $name} //= $name if -f "$dir/$name";
    }
    closedir $dh;
    return %files;
}

sub databaseIn {
    my ($dir, $what) = @_;
    fail(2, "$what $dir does not exist or cannot be read") unless -d $dir;
    my %files = filesIn($dir);
    if (!$files{'teams.csv'} && -d "$dir/core") {
        $dir = "$dir/core";
        %files = filesIn($dir);
    }
    my %db = (folder => $dir);
    my @missing;
    my $people = $files{'people.csv'} // $files{'master.csv'};
    $people ? ($db{People} = "$dir/$people") : push @missing, 'People.csv (or Master.csv)';
    for my $name (qw(Teams Batting Pitching Fielding)) {
        my $found = $files{lc "$name.csv"};
        $found ? ($db{$name} = "$dir/$found") : push @missing, "$name.csv";
    }
    fail(2, "$what $dir lacks " . join(', ', @missing)) if @missing;
    $db{Appearances} = "$dir/$files{'appearances.csv'}" if $files{'appearances.csv'};
    $db{OFsplit} = "$dir/$files{'fieldingofsplit.csv'}" if $files{'fieldingofsplit.csv'};
    return \%db;
}

sub chooseDatabase {
    my $setting = databaseSetting();
    return databaseIn($setting, 'the Database folder') if $setting ne '';
    return databaseIn(abs_path(dirname(__FILE__)) . '/sample-db', 'the sample database');
}

# ---------------------------------------------------------------------------------------
# CSV files

# A season run reads each file once: the records a scan returns are kept, by file and
# needle, and later scans of the same file for the same needle replay them.
my $caching = 0;
my %recordCache;

sub openCsv {
    my ($path, @needed) = @_;
    open my $fh, '<:raw', $path or fail(2, "cannot read $path: $!");
    my $csv = {fh => $fh, path => $path, start => 1};
    my $header = readRecord($csv);
    fail(2, "$path line 1: the file is empty") unless defined $header;
    if (index($header, "\r") >= 0) {
        # Lines ended by CR alone (older Mac programs) came in as one line: the whole file,
        # read again from memory with LF line ends.
        my $text = $header . do { local $/; <$fh> // '' };
        $text =~ tr/\r/\n/;
        open my $lines, '<', \$text or fail(2, "cannot read $path: $!");
        $csv->{fh} = $lines;
        $header = readRecord($csv);
    }
    $header =~ s/^\xEF\xBB\xBF//;
    my $names = splitCsv($csv, $header);
    my (%col, %spelled);
    for my $i (0 .. $#$names) {
        (my $name = lc $names->[$i]) =~ s/^\s+|\s+\z//g;
        $name =~ s/^x(?=\d)//;    # R writes 2B as X2B
        next if exists $col{$name};
        $col{$name} = $i;
        $spelled{$name} = $names->[$i];
    }
    $csv->{col} = \%col;
    $csv->{spelled} = \%spelled;
    $csv->{fields} = scalar @$names;
    for my $name (@needed) {
        fail(2, "$path line 1: no column \"$name\"") unless exists $col{lc $name};
    }
    @$csv{qw(cached at)} = ($path, 0) if $caching;
    return $csv;
}

# The rest of a record that holds a quote: a quoted field may hold line breaks, so lines
# are joined until the quotes pair up. The line end is taken off. Line numbers are those
# Perl counts for the file handle ($.), every physical line included.
sub completeRecord {
    my ($csv, $line) = @_;
    my $fh = $csv->{fh};
    my $quotes = ($line =~ tr/"//);
    while ($quotes % 2) {
        my $more = <$fh>;
        fail(2, "$csv->{path} line $csv->{start}: a quoted field is not closed properly")
            unless defined $more;
        $quotes += ($more =~ tr/"//);
        $line .= $more;
    }
    $line =~ s/[\r\n]+\z//;
    return $line;
}

sub readRecord {
    my ($csv) = @_;
    my $fh = $csv->{fh};
    my $line = <$fh>;
    return undef unless defined $line;
    $csv->{start} = $.;
    return completeRecord($csv, $line);
}

# One record's fields. A quoted field may hold commas, line breaks and doubled quotes
# standing for one; it is taken apart by searching, so its length does not matter.
sub splitCsv {
    my ($csv, $text) = @_;
    return [split /,/, $text, -1] if index($text, '"') < 0;
    my @fields;
    my ($at, $length) = (0, length $text);
    while (1) {
        if (substr($text, $at, 1) eq '"') {
            my $value = '';
            my $from = $at + 1;
            while (1) {
                my $quote = index($text, '"', $from);
                fail(2, "$csv->{path} line $csv->{start}: a quoted field is not closed properly")
                    if $quote < 0;
                $value .= substr($text, $from, $quote - $from);
                if (substr($text, $quote + 1, 1) eq '"') {
                    $value .= '"';
                    $from = $quote + 2;
                    next;
                }
                $at = $quote + 1;
                last;
            }
            push @fields, $value;
            last if $at >= $length;
            fail(2, "$csv->{path} line $csv->{start}: a quoted field is not closed properly")
                unless substr($text, $at, 1) eq ',';
            $at++;
        } else {
            my $comma = index($text, ',', $at);
            my $end = $comma < 0 ? $length : $comma;
            push @fields, substr($text, $at, $end - $at);
            last if $comma < 0;
            $at = $comma + 1;
        }
    }
    return \@fields;
}

# The next record, checked for its number of fields so a damaged file is named with its
# line wherever it is damaged; undef at the end. With a needle (a text or a pattern), only
# records holding it come back. This loop sees every line of the database: kept lean.
sub nextRecord {
    my ($csv, $needle) = @_;
    if ($csv->{cached}) {
        $csv->{replay} //= $recordCache{$csv->{cached}}{$needle // ''} // 0;
        if (my $rows = $csv->{replay}) {
            my $row = $rows->[$csv->{at}++] or return undef;
            $csv->{start} = $row->[1];
            return $row->[0];
        }
        $csv->{recorded} //= [];
    }
    my $fh = $csv->{fh};
    my $commas = $csv->{fields} - 1;
    my $pattern = ref $needle;
    while (defined(my $line = <$fh>)) {
        my $n = $.;    # the file's own count of the lines read from it
        if (index($line, '"') >= 0) {
            $csv->{start} = $n;
            $line = completeRecord($csv, $line);
            next if $line eq '';
            my $fields = scalar @{splitCsv($csv, $line)};
            fail(2, "$csv->{path} line $n: $fields fields where the header has $csv->{fields}")
                if $fields != $csv->{fields};
            next if defined $needle && ($pattern ? $line !~ $needle : index($line, $needle) < 0);
        } elsif (($line =~ tr/,//) != $commas) {
            $line =~ s/[\r\n]+\z//;
            next if $line eq '';
            fail(2, "$csv->{path} line $n: " . (($line =~ tr/,//) + 1) . " fields where the header has $csv->{fields}");
        } else {
            next if defined $needle && ($pattern ? $line !~ $needle : index($line, $needle) < 0);
            $csv->{start} = $n;
            $line =~ s/[\r\n]+\z//;
        }
        push @{$csv->{recorded}}, [$line, $csv->{start}] if $csv->{recorded};
        return $line;
    }
    close $fh;
    $recordCache{$csv->{cached}}{$needle // ''} = $csv->{recorded} if $csv->{recorded};
    return undef;
}

sub unknown { return !defined $_[0] || $_[0] eq '' || $_[0] eq 'NA' }

# A count from a record; unknown counts as 0.
sub number {
    my ($csv, $fields, $name) = @_;
    my $i = $csv->{col}{$name};
    return 0 unless defined $i;
    my $v = $fields->[$i];
    return 0 if unknown($v);
    # Nine digits at most: a count that long is damage, not a number; nor is one below 0.
    return $v + 0 if $v =~ /^\s*\d{1,9}(?:\.0*)?\s*\z/;
    fail(2, "$csv->{path} line $csv->{start}: " . substr($csv->{spelled}{$name}, 0, 60)
        . ($v =~ /^\s*-\s*\d/ ? ' is negative: ' : ' is not a whole number: ') . shown($v));
}

# The league of a record: "NA" here is the National Association of the 1870s, not unknown.
sub leagueOf {
    my ($csv, $fields) = @_;
    my $i = $csv->{col}{lgid};
    return defined $i && defined $fields->[$i] ? uc $fields->[$i] : '';
}

sub text {
    my ($csv, $fields, $name) = @_;
    my $i = $csv->{col}{$name};
    my $v = defined $i ? $fields->[$i] : undef;
    return unknown($v) ? '' : $v;
}

# ---------------------------------------------------------------------------------------
# Reading the season

# Every club of the season in Teams.csv, each with its title letter and 12-character name.
sub seasonTeams {
    my ($db, $year) = @_;
    my $csv = openCsv($db->{Teams}, qw(yearID lgID teamID name));
    my @clubs;
    while (defined(my $line = nextRecord($csv, $year))) {
        my $f = splitCsv($csv, $line);
        next unless number($csv, $f, 'yearid') == $year;
        my $club = {id => uc text($csv, $f, 'teamid'), league => leagueOf($csv, $f),
                    name => text($csv, $f, 'name'), games => number($csv, $f, 'g'),
                    totals => clubTotals($csv, $f)};
        my $div = text($csv, $f, 'divid');
        $club->{letter} = $div =~ /^[A-Za-z]\z/ ? uc $div : $club->{league} =~ /^([A-Z])/ ? $1 : 'X';
        push @clubs, $club;
    }
    fail(1, "no season $year in $db->{Teams}") unless @clubs;
    my $fields = teamFields(@clubs);
    $_->{field} = $fields->{$_->{id}} for @clubs;
    return @clubs;
}

sub readTeam {
    my ($db, $arg) = @_;
    my ($found, $inOtherLeague);
    my @clubs = seasonTeams($db, $arg->{year});
    for my $club (@clubs) {
        next unless $club->{id} eq $arg->{team};
        if ($arg->{league} ne '' && $club->{league} ne $arg->{league}) {
            $inOtherLeague = $club->{league};
            next;
        }
        $found = $club;
    }
    return $found if $found;
    fail(1, "no team " . shown($arg->{team}) =~ s/"//gr . " in league $arg->{league} in $arg->{year}; "
        . "$arg->{team} played in $inOtherLeague") if $inOtherLeague;
    fail(1, "no team " . shown($arg->{team}) =~ s/"//gr . " in $arg->{year}; the clubs are "
        . join(' ', sort map { $_->{id} } @clubs));
}

# A club season's batting totals from Teams.csv: at bats, hits, walks and home runs, and
# the counts that may be missing, undef where the file does not know them.
sub clubTotals {
    my ($csv, $f) = @_;
    my %totals;
    for my $name (qw(ab h bb hr so sb cs)) {
        my $i = $csv->{col}{$name};
        $totals{$name} = number($csv, $f, $name) if defined $i && !unknown($f->[$i]);
    }
    return \%totals;
}

# Every club season of Teams.csv as {year, league, totals}; read once, when a count is
# missing from a whole season and the nearest seasons that have it are wanted. readTeam
# has checked the file's records; here a value that is not a count is just unknown, and
# a quoted field (a name, a park) only loses its commas and quotes.
my $teamHistory;
sub teamHistory {
    my ($db) = @_;
    return $teamHistory if $teamHistory;
    my $csv = openCsv($db->{Teams}, qw(yearID lgID teamID name));
    my @names = qw(ab h bb hr so sb cs);
    my @at = map { $csv->{col}{$_} // $csv->{fields} } 'yearid', 'lgid', @names;
    my $fields = (sort { $b <=> $a } @at)[0] + 2;    # the columns after those stay one
    my $fh = $csv->{fh};
    $teamHistory = [];
    while (defined(my $line = <$fh>)) {
        if (index($line, '"') >= 0) {
            $line = completeRecord($csv, $line);
            $line =~ s/"([^"]*)"/$1 =~ tr{,}{}dr/ge;
        } else {
            $line =~ s/[\r\n]+\z//;
        }
        my ($year, $league, @v) = (split /,/, $line, $fields)[@at];
        my %totals;
        for my $i (0 .. $#names) {
            $totals{$names[$i]} = $1 + 0 if defined $v[$i] && $v[$i] =~ /^\s*(\d{1,9})(?:\.0*)?\s*\z/;
        }
        push @$teamHistory, {year => ($year // 0) =~ /^(\d+)/ ? $1 : 0, league => uc($league // ''),
                             totals => \%totals};
    }
    return $teamHistory;
}

# Rows of a file for the club and season, handed to $take; $each sees every row of the
# season (for league totals). A row of an unknown league counts for the club's league.
sub scanSeason {
    my ($csv, $team, $year, $take, $each) = @_;
    while (defined(my $line = nextRecord($csv, $year))) {
        my $f = splitCsv($csv, $line);
        next unless number($csv, $f, 'yearid') == $year;
        my $league = leagueOf($csv, $f);
        my $ours = $league eq '' || $league eq $team->{league};
        $each->($f) if $each && $ours;
        $take->($f, text($csv, $f, 'playerid')) if $ours && uc text($csv, $f, 'teamid') eq $team->{id};
    }
}

my @battingCols = qw(g ab h 2b 3b hr bb so rbi sb cs hbp sh sf);
# Counts some seasons lack; what a batter lacks is estimated (see estimateCounts).
my @estimatedCols = qw(sb cs so);

# The club's batting rows by player, with the counts each player has in at least one row
# in {known}; the league's totals of the season beside them: hits, doubles, triples, at
# bats, and for each count that may be missing its sum over the rows that have it and
# the same rows' sum of what the count is estimated from.
sub readBatting {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Batting}, qw(playerID yearID teamID lgID G AB H 2B 3B HR BB SO RBI SB CS));
    my (%bat, %league);
    my %at = map { $_ => $csv->{col}{$_} } @estimatedCols;
    scanSeason($csv, $team, $year,
        sub {
            my ($f, $id) = @_;
            my $b = $bat{$id} //= {};
            $b->{$_} += number($csv, $f, $_) for @battingCols;
            unknown($f->[$at{$_}]) or $b->{known}{$_} = 1 for @estimatedCols;
        },
        sub {
            my ($f) = @_;
            my %row = map { $_ => number($csv, $f, $_) } qw(ab h 2b 3b hr bb sb cs so);
            $league{$_} += $row{$_} for qw(ab h 2b 3b);
            for my $count (@estimatedCols) {
                next if unknown($f->[$at{$count}]);
                $league{known}{$count} += $row{$count};
                $league{basis}{$count} += estimateBasis($count, \%row);
            }
        });
    refuse(2, "$db->{Batting} has no rows for $year $team->{id}: the database may be older than the season")
        unless %bat;
    my $batters = keys %bat;
    refuse(2, "$db->{Batting} has fewer than nine batters for $year $team->{id} ($batters): "
        . 'the database may be incomplete') if $batters < 9;
    return (\%bat, \%league);
}

my @pitchingCols = qw(ipouts h hr bb so er w l sv g gs);

# The club's pitching rows by player, whether the file counts doubles and triples, and
# the strike-outs of the league's pitchers (what its batters struck out).
sub readPitching {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Pitching}, qw(playerID yearID teamID lgID W L G GS SV IPouts H ER HR BB SO));
    my $hasExtraBaseHits = exists $csv->{col}{'2b'} && exists $csv->{col}{'3b'};
    my %pit;
    my $leagueSo = 0;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        $pit{$id}{$_} += number($csv, $f, $_) for @pitchingCols, ($hasExtraBaseHits ? ('2b', '3b') : ());
    }, sub { $leagueSo += number($csv, $_[0], 'so') });
    refuse(2, "$db->{Pitching} has no rows for $year $team->{id}: the database may be older than the season")
        unless %pit;
    return (\%pit, $hasExtraBaseHits, $leagueSo);
}

my %positionOf = (C => 2, '1B' => 3, '2B' => 4, '3B' => 5, SS => 6, LF => 7, CF => 8, RF => 9,
                  DH => 'D', OF => 'OF', P => 'P');

# Games and errors by position from a fielding file: {player}{position}{g, e}.
sub readFielding {
    my ($path, $team, $year) = @_;
    my $csv = openCsv($path, qw(playerID yearID teamID lgID POS G E));
    my %fld;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        my $pos = $positionOf{uc text($csv, $f, 'pos')} // return;
        $fld{$id}{$pos}{g} += number($csv, $f, 'g');
        $fld{$id}{$pos}{e} += number($csv, $f, 'e');
    });
    return \%fld;
}

my %appearanceCols = (p => 'g_p', 2 => 'g_c', 3 => 'g_1b', 4 => 'g_2b', 5 => 'g_3b', 6 => 'g_ss',
                      7 => 'g_lf', 8 => 'g_cf', 9 => 'g_rf', OF => 'g_of', D => 'g_dh', all => 'g_all');

# The club's rows by player, and how many rows the league has that season.
sub readAppearances {
    my ($path, $team, $year) = @_;
    my $csv = openCsv($path, qw(yearID teamID playerID G_p G_c G_1b G_2b G_3b G_ss G_lf G_cf G_rf));
    my %app;
    my $seasonRows = 0;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        $app{$id}{$_} += number($csv, $f, $appearanceCols{$_}) for keys %appearanceCols;
    }, sub { $seasonRows++ });
    return (\%app, $seasonRows);
}

# Names, handedness and what tells same-named players apart, for the players wanted; a
# player missing from the file is an error.
my @peopleCols = qw(namefirst namelast bats throws namegiven namesuffix birthyear);

my %peopleIndex;
sub peopleById {
    my ($csv, $at) = @_;
    my %rows;
    while (defined(my $line = nextRecord($csv))) {
        my $id = index($line, '"') < 0 ? (split /,/, $line, $at + 2)[$at] : text($csv, splitCsv($csv, $line), 'playerid');
        $rows{$id} = [$line, $csv->{start}] if defined $id;
    }
    return \%rows;
}

sub readPeople {
    my ($db, $wanted) = @_;
    my $csv = openCsv($db->{People}, qw(playerID nameFirst nameLast bats throws));
    my $at = $csv->{col}{playerid};
    my %people;
    # Only the lines that hold a wanted ID are taken apart.
    my $ids = join '|', map { quotemeta } sort keys %$wanted;
    my $holdsOne = qr/$ids/;
    my $next = sub { nextRecord($csv, $holdsOne) };
    if ($caching) {
        # A season run looks its players up by ID instead of reading every row per club.
        my $rows = $peopleIndex{$db->{People}} //= peopleById($csv, $at);
        my @ids = grep { $rows->{$_} } sort keys %$wanted;
        $next = sub {
            my $row = $rows->{shift(@ids) // return undef};
            $csv->{start} = $row->[1];
            return $row->[0];
        };
    }
    while (defined(my $line = $next->())) {
        if (index($line, '"') < 0) {
            my @start = split /,/, $line, $at + 2;
            next unless $wanted->{$start[$at]};
        }
        my $f = splitCsv($csv, $line);
        my $id = text($csv, $f, 'playerid');
        next unless $wanted->{$id};
        $people{$id} = {id => $id, map { $_ => text($csv, $f, $_) } @peopleCols};
    }
    my @missing = sort grep { !$people{$_} } keys %$wanted;
    refuse(2, "$db->{People} has no row for player " . shown($missing[0])
        . (@missing > 1 ? ' and ' . (@missing - 1) . ' more' : '')) if @missing;
    return \%people;
}

# ---------------------------------------------------------------------------------------
# The club's name in twelve characters

my %nicknameLead = map { $_ => 1 }
    qw(Red White Blue Brown Black Gray Grey Green Dark Ruby Devil Forest Elm Mountain Outlaw Ward's Colt Golden);

sub cityAndNickname {
    my ($name) = @_;
    (my $n = $name) =~ s/\([^)]*\)/ /g;
    $n =~ s/\s+of\s+.*\z//;
    $n =~ s/\s+/ /g;
    $n =~ s/^ | \z//g;
    my @w = split / /, $n;
    return ($n, '') if @w < 2;
    my $k = @w > 2 && $nicknameLead{$w[-2]} ? 2 : 1;
    return (join(' ', @w[0 .. $#w - $k]), join(' ', @w[$#w - $k + 1 .. $#w]));
}

sub cityShort {
    my ($city) = @_;
    return join '/', map { cityShort($_) } split m{/}, $city if $city =~ m{./.};
    my @w = split / /, $city;
    return substr($city, 0, 3) if @w < 2;
    return join '', map { /^St\.?\z/ ? 'St' : substr($_, 0, 1) } @w;
}

# The team field of every club of the season, by club code. Each club takes its first
# choice that no other club still looking wants at the same time; clubs that want the
# same text both move on to their next choice.
sub teamFields {
    my (@clubs) = @_;
    my %perCity;
    for my $c (@clubs) {
        @$c{qw(city nick)} = cityAndNickname(latin1($c->{name}));
        $c->{city} = $c->{id} if $c->{city} eq '';
        $perCity{lc $c->{city}}++;
    }
    my %choices;
    for my $c (@clubs) {
        my ($city, $nick) = @$c{qw(city nick)};
        my $short = cityShort($city);
        my @tries = $perCity{lc $city} == 1 ? ($city) : ();
        for my $n ($nick, $nick =~ / (\S+)\z/ ? $1 : ()) {
            push @tries, "$city $n", "$short $n", $n, "$n $c->{league}" if $n ne '';
        }
        push @tries, $short if $perCity{lc $city} == 1;
        my %seen;
        $choices{$c->{id}} = [grep { length $_ <= 12 && !$seen{lc $_}++ } @tries];
    }
    my (%field, %taken);
    my @open = sort { $a->{id} cmp $b->{id} } @clubs;
    while (@open) {
        my %wanted;
        for my $c (@open) {
            my $list = $choices{$c->{id}};
            shift @$list while @$list && $taken{lc $list->[0]};
            $wanted{lc $list->[0]}++ if @$list;
        }
        my @still;
        for my $c (@open) {
            my $list = $choices{$c->{id}};
            if (!@$list) {
                # The short form's whole words that fit before the club's code.
                my @words = split / /, cityShort($c->{city}) . " $c->{nick}";
                pop @words while @words > 1 && length(join(' ', @words, $c->{id})) > 12;
                my $field = join ' ', @words, $c->{id};
                $field{$c->{id}} = length $field <= 12 ? $field : $c->{id};
            } elsif ($wanted{lc $list->[0]} == 1) {
                $field{$c->{id}} = $list->[0];
                $taken{lc $list->[0]} = 1;
            } else {
                shift @$list;
                push @still, $c;
            }
        }
        @open = @still;
    }
    return \%field;
}

# ---------------------------------------------------------------------------------------
# Counts the database lacks

# What an estimated count goes with, and the counts that make it up: stolen bases with
# the times a batter reached base short of a home run, caught stealing with stolen
# bases, strike-outs with the outs made at bat.
my %basisOf = (sb => [qw(h bb hr)], cs => ['sb'], so => [qw(ab h)]);

sub estimateBasis {
    my ($count, $r) = @_;
    my $v = $count eq 'sb' ? $r->{h} + $r->{bb} - $r->{hr} : $count eq 'cs' ? $r->{sb} : $r->{ab} - $r->{h};
    return $v > 0 ? $v : 0;
}

# The count per unit of its basis, from the first source that knows it: the club's own
# total in Teams.csv less what its batters have, the league's batters who have it that
# season, for strike-outs the league's pitchers, then the Teams.csv totals of the league's
# nearest seasons that have it (of any league's when the league never has it); else 0.
sub estimateRate {
    my ($count, $s, $team, $db, $year) = @_;
    my $club = $team->{totals}{$count};
    if (defined $club) {
        my ($have, $basis) = (0, 0);
        for my $b (values %{$s->{bat}}) {
            $b->{known}{$count} ? ($have += $b->{$count}) : ($basis += estimateBasis($count, $b));
        }
        return ($club - $have) / $basis if $club > $have && $basis > 0;
    }
    my $league = $s->{league};
    return $league->{known}{$count} / $league->{basis}{$count} if $league->{basis}{$count};
    my $outs = $league->{ab} - $league->{h};
    return $s->{leagueSo} / $outs if $count eq 'so' && $s->{leagueSo} && $outs > 0;
    for my $sameLeague (1, 0) {
        my (%sum, %basis);
        for my $c (@{teamHistory($db)}) {
            my $t = $c->{totals};
            next if ($sameLeague && $c->{league} ne $team->{league}) || !defined $t->{$count}
                || grep { !defined $t->{$_} } @{$basisOf{$count}};
            my $distance = abs($c->{year} - $year);
            $sum{$distance} += $t->{$count};
            $basis{$distance} += estimateBasis($count, $t);
        }
        my ($nearest) = sort { $a <=> $b } grep { $basis{$_} > 0 } keys %basis;
        return $sum{$nearest} / $basis{$nearest} if defined $nearest;
    }
    return 0;
}

# Stolen bases, caught stealing and strike-outs of the batters whose rows all lack them,
# in that order (caught stealing goes with the stolen bases just estimated). A count
# the database has is never changed.
sub estimateCounts {
    my ($s, $team, $db, $year) = @_;
    for my $count (@estimatedCols) {
        my @wanting = grep { !$_->{known}{$count} } values %{$s->{bat}};
        next unless @wanting;
        my $rate = estimateRate($count, $s, $team, $db, $year);
        for my $b (@wanting) {
            my $basis = estimateBasis($count, $b);
            my $v = int($rate * $basis + 0.5);
            $b->{$count} = $v < $basis ? $v : $basis;
        }
    }
}

# ---------------------------------------------------------------------------------------
# Choosing the team

my @fieldPositions = (2 .. 9);
my @groupOrder = (2 .. 9, 'D', 1);
my %groupRank = map { $groupOrder[$_] => $_ } 0 .. $#groupOrder;
my $benchRoom = 25;    # batters on the bench at most

sub plateAppearances {
    my ($b) = @_;
    return $b->{ab} + $b->{bb} + $b->{hbp} + $b->{sh} + $b->{sf};
}

# Left, centre and right field games of a player whose rows count only outfield games:
# from FieldingOFsplit.csv, read the first time a player needs it; else his outfield
# games come back in {of} for the club's turn-by-turn estimate.
sub splitOutfield {
    my ($s, $id, $games, $outfield) = @_;
    return if !$outfield || grep { $games->{$_} } 7, 8, 9;
    $s->{split} //= $s->{readSplit} ? $s->{readSplit}->() : {};
    my $split = $s->{split}{$id};
    if ($split) { $games->{$_} = $split->{$_}{g} // 0 for 7, 8, 9 }
    else { $games->{of} = $outfield }
}

# Games at 2..9 and "D" for one player, from Appearances when it has his row.
sub positionGames {
    my ($id, $s) = @_;
    my %games;
    my $a = $s->{app}{$id};
    my $f = $s->{fld}{$id} // {};
    my ($pitched, $guessed);
    if ($a) {
        $games{$_} = $a->{$_} for @fieldPositions;
        $games{D} = $a->{D} if $s->{dh};
        $pitched = $a->{p};
        splitOutfield($s, $id, \%games, $a->{OF});
    } else {
        $games{$_} = $f->{$_} ? $f->{$_}{g} : 0 for @fieldPositions;
        $pitched = $f->{P} ? $f->{P}{g} : $s->{pit}{$id} ? $s->{pit}{$id}{g} : 0;
        splitOutfield($s, $id, \%games, $f->{OF} && $f->{OF}{g});
        if ($s->{dh}) {
            if ($s->{dhRows}) {
                $games{D} = $f->{D}{g} if $f->{D};
            } elsif (my $b = $s->{bat}{$id}) {
                # Games beyond his fielding games were at DH only for a man who batted like
                # an everyday player in them; a pinch hitter's stay games nowhere.
                my $fielded = $pitched + ($games{of} // 0);
                $fielded += $games{$_} for @fieldPositions;
                $games{D} = $b->{g} - $fielded if $b->{g} > $fielded && plateAppearances($b) >= 2 * $b->{g};
                $guessed = 1;
            }
        }
    }
    $games{$_} //= 0 for @fieldPositions;
    delete $games{D} unless $games{D};
    return (\%games, $pitched, $guessed);
}

sub fieldingErrors {
    my ($f) = @_;
    my $errors = 0;
    my $outfieldRows = $f->{OF};
    for my $pos (keys %$f) {
        next if $pos eq 'P' || ($outfieldRows && $pos =~ /^[789]\z/);
        $errors += $f->{$pos}{e};
    }
    return $errors;
}

# Batters and pitchers of the club. A regular with no games in the field (his fielding
# rows are missing) is marked {open}: he takes an open position when the line-up is
# chosen, in a season with the designated hitter counting as one until then. A batter
# who only pinch-hit is marked {pinch} and kept for the bench.
sub buildRoster {
    my ($s) = @_;
    my %ids = map { $_ => 1 } keys %{$s->{bat}}, keys %{$s->{pit}}, keys %{$s->{app}}, keys %{$s->{fld}};
    my (@batters, @pitchers, @outfieldOnly);
    for my $id (sort keys %ids) {
        my ($games, $pitched, $guessedD) = positionGames($id, $s);
        my $row = $s->{bat}{$id} // {};
        my $batter = {id => $id, games => $games, errors => fieldingErrors($s->{fld}{$id} // {}),
                      map { $_ => $row->{$_} // 0 } @battingCols};
        $batter->{pa} = plateAppearances($batter);
        $batter->{regular} = $batter->{pa} >= $s->{regularPa};
        my $atPositions = $games->{of} // 0;
        $atPositions += $games->{$_} for grep { $_ ne 'of' } keys %$games;
        my $pit = $s->{pit}{$id};
        my $onStaff = $pit && ($atPositions <= $pitched || $pit->{ipouts} >= 60);
        push @pitchers, {id => $id, %$pit} if $onStaff;
        my $pinch = !$atPositions && !$pitched && !$onStaff && $batter->{pa} > 0;
        next unless $batter->{regular} || $pinch || ($atPositions > 0 && !($onStaff && $atPositions < 10));
        my $fielded = grep { $games->{$_} } @fieldPositions, 'of';
        $batter->{open} = $batter->{regular} && !$fielded && !$pitched && (!$games->{D} || $guessedD);
        $batter->{pinch} = $pinch && !$batter->{regular};
        # A regular without games anywhere the line can show: his games count where the
        # season allows, as designated hitter.
        $games->{D} = $batter->{g} if $batter->{regular} && !$atPositions && $s->{dh} && $batter->{g};
        # A pitcher who batted every day in a season without it bats from the bench.
        if (!$atPositions && !$s->{dh} && $pitched) {
            $games->{1} = $pitched;
            # His errors are the ones he made on the mound, the only place he fielded.
            my $mound = ($s->{fld}{$id} // {})->{P};
            $batter->{errors} = $mound->{e} if $mound;
        }
        my $all = $s->{app}{$id} ? $s->{app}{$id}{all} : 0;
        $batter->{g} = $all if $all > $batter->{g};
        $batter->{g} ||= (sort { $b <=> $a } values %$games, 0)[0];
        $batter->{pitched} = $pitched;
        push @outfieldOnly, $batter if $games->{of};
        push @batters, $batter;
    }
    my @turn = (8, 9, 7);
    my $i = 0;
    for my $x (sort { $b->{games}{of} <=> $a->{games}{of} || $a->{id} cmp $b->{id} } @outfieldOnly) {
        $x->{games}{$turn[$i++ % 3]} += delete $x->{games}{of};
    }
    # A batter with more games on the mound than anywhere else is a pitcher: those games
    # are his first group ("-1") and he is never the designated hitter; he starts in the
    # field only where nobody else played, never when he played nowhere.
    for my $x (@batters) {
        my $g = $x->{games};
        next if !$x->{pitched} || grep { $_ ne '1' && $g->{$_} >= $x->{pitched} } keys %$g;
        $g->{1} = $x->{pitched};
        $x->{mound} = 1;
        $x->{pitcherOnly} = !grep { $g->{$_} } @fieldPositions;
    }
    @batters = grep { my @groups = groupsOf($_); $_->{open} || $_->{pinch} || @groups } @batters;
    return (\@batters, \@pitchers);
}

# Positions by games, most first; ties in the order catcher to right field, then D.
sub groupsOf {
    my ($batter) = @_;
    my $g = $batter->{games};
    return sort { $g->{$b} <=> $g->{$a} || $groupRank{$a} <=> $groupRank{$b} }
        grep { exists $groupRank{$_} && $g->{$_} > 0 } keys %$g;
}

# On-base and slugging averages from the counts the team file shows.
sub onBase {
    my ($b) = @_;
    my $d = $b->{ab} + $b->{bb};
    return $d ? ($b->{h} + $b->{bb}) / $d : 0;
}

sub slugging {
    my ($b) = @_;
    return 0 unless $b->{ab};
    return ($b->{h} + $b->{'2b'} + 2 * $b->{'3b'} + 3 * $b->{hr}) / $b->{ab};
}

sub ops { return onBase($_[0]) + slugging($_[0]) }

sub byPa { return $b->{pa} <=> $a->{pa} || $b->{g} <=> $a->{g} || $a->{id} cmp $b->{id} }

# The fielders as {position code => batter}: regulars at their main positions (of all
# their games, the designated hitter's and the pitcher's too), then the other regulars at
# open positions; then everybody else at his main position, then at any position he
# played, pitchers last; then the positions nobody played. Batters $taken stay out.
sub placeFielders {
    my ($batters, $taken) = @_;
    my %filled;
    my $place = sub {
        for my $p (@_) {
            next if $taken->{$p->[0]{id}} || $filled{$p->[1]};
            $taken->{$p->[0]{id}} = 1;
            $filled{$p->[1]} = $p->[0];
        }
    };
    my $order = sub { $b->[2] <=> $a->[2] || $b->[0]{pa} <=> $a->[0]{pa} || $a->[1] <=> $b->[1]
                      || $a->[0]{id} cmp $b->[0]{id} };
    my (@main, @any, @mound, %played);
    for my $x (@$batters) {
        my @fielded = grep { $x->{games}{$_} } @fieldPositions;
        $played{$_} += $x->{games}{$_} for @fielded;
        my @at = map { [$x, $_, $x->{games}{$_}] } @fielded;
        push @{$x->{mound} ? \@mound : \@any}, @at;
        my ($main) = groupsOf($x);
        push @main, [$x, $main, $x->{games}{$main}] if @fielded && $main =~ /^[2-9]\z/;
    }
    $place->(sort $order grep { $_->[0]{regular} } @main);
    # Every other regular, most plate appearances first, takes an open position: one he
    # played, the most games there first, else the one the fewest games were played at.
    # The games his fielding rows lack (all of them for one without any) count there.
    for my $x (sort byPa grep { $_->{regular} && !$_->{mound} && !$taken->{$_->{id}} } @$batters) {
        my @open = sort { ($played{$a} // 0) <=> ($played{$b} // 0) || $a <=> $b } grep { !$filled{$_} } @fieldPositions;
        my ($pos) = ((sort { $x->{games}{$b} <=> $x->{games}{$a} || $a <=> $b } grep { $x->{games}{$_} } @open), @open);
        last unless defined $pos;
        delete $x->{games}{D} if $x->{open};
        my $short = $x->{g};
        $short -= $_ for values %{$x->{games}};
        $x->{games}{$pos} += $short if $short > 0;
        $place->([$x, $pos]);
    }
    $place->(sort $order @main);
    $place->(sort $order @any);
    $place->(sort $order @mound);
    my @rest = sort { ($a->{mound} // 0) <=> ($b->{mound} // 0) || byPa() }
        grep { !$taken->{$_->{id}} && !$_->{pitcherOnly} } @$batters;
    for my $pos (@fieldPositions) {
        next if $filled{$pos} || !@rest;
        $filled{$pos} = shift @rest;
        $taken->{$filled{$pos}{id}} = 1;
    }
    return \%filled;
}

# The batting order of the starters ([batter, position code] each), by the rule written
# at the top: the regulars fill the first five places (topped up from the others when
# fewer than five can), a catcher among them only when he is one of the three best
# hitters of the line-up, and first or second only when he gets on base and runs as a
# leadoff man does.
sub battingOrder {
    my (@starters) = @_;
    my %code = map { $_->[0]{id} => $_->[1] } @starters;
    my $byOps = sub { ops($b) <=> ops($a) || $a->{id} cmp $b->{id} };
    my @all = sort $byOps map { $_->[0] } @starters;
    my %best = map { $_->{id} => 1 } @all[0 .. ($#all < 2 ? $#all : 2)];
    my @may = grep { $code{$_->{id}} != 2 || $best{$_->{id}} } @all;
    my @regulars = grep { $_->{regular} } @may;
    my $first = sub {
        my ($cmp, @list) = @_;
        return (sort { $cmp->($a, $b) || $a->{id} cmp $b->{id} } @list)[0];
    };
    my $bySlugging = sub { slugging($_[1]) <=> slugging($_[0]) };
    my $reach = sub { sprintf('%.3f', onBase($_[1])) <=> sprintf('%.3f', onBase($_[0])) || $_[1]{sb} <=> $_[0]{sb} };
    my %placed;
    # Of the three best sluggers the most home runs bats fourth.
    my $power;
    if (@regulars >= 5) {
        my @sluggers = (sort { $bySlugging->($a, $b) || $a->{id} cmp $b->{id} } @regulars)[0 .. 2];
        $power = $first->(sub { $_[1]{hr} <=> $_[0]{hr} || $bySlugging->(@_) }, @sluggers);
        $placed{$power->{id}} = 1;
    }
    # Leading off: the best on-base average among the faster half of the line-up (by stolen
    # bases); second: the best on-base average left; regulars first. A catcher bats there
    # only with the line-up's best on-base average and one of its three best base stealers.
    my @sb = sort { $b <=> $a } map { $_->{sb} } @all;
    my $fastSb = $sb[$#sb / 2];
    my ($bestObp) = sort { $b <=> $a } map { sprintf('%.3f', onBase($_)) } @all;
    my $thirdSb = $sb[$#sb < 2 ? -1 : 2];
    my @setters = grep { !$placed{$_->{id}} && ($code{$_->{id}} != 2
                         || ($_->{sb} >= $thirdSb && sprintf('%.3f', onBase($_)) >= $bestObp)) } @may;
    my @head;
    for my $regular (1, 0) {
        my @can = grep { !$placed{$_->{id}} && !$_->{regular} == !$regular } @setters;
        my $fast = $first->($reach, grep { $_->{sb} >= $fastSb } @can);
        for my $x (@head ? () : $fast // (), sort { $reach->($a, $b) || $a->{id} cmp $b->{id} } @can) {
            next if $placed{$x->{id}} || @head >= 2;
            push @head, $x;
            $placed{$x->{id}} = 1;
        }
    }
    # Then the best slugging averages left; with the home-run man fourth, the better
    # hitter of the other two third.
    my @heart = sort { $bySlugging->($a, $b) || $a->{id} cmp $b->{id} }
        grep { !$placed{$_->{id}} } @regulars;
    splice @heart, $power ? 2 : 3 if @heart > ($power ? 2 : 3);
    if ($power) {
        my ($better, @other) = sort $byOps @heart;
        @heart = (grep({ defined } $better), $power, @other);
    }
    $placed{$_->{id}} = 1 for @heart;
    my @topUp = grep { !$placed{$_->{id}} } @may;
    @topUp = splice @topUp, 0, 5 - @head - @heart;
    $placed{$_->{id}} = 1 for @topUp;
    return (@head, @heart, @topUp, grep { !$placed{$_->{id}} } @all);
}

# The starters as [batter or undef for an empty place, position code], in batting order,
# and the bench as [batter, position code]. $seasonDh: the season has the designated
# hitter, whatever the line-up.
sub lineUp {
    my ($batters, $withDh, $seasonDh) = @_;
    my (%taken, $kept);
    my $isKept = sub { $kept && $_[0] == $kept ? 1 : 0 };
    my $byDh = sub { $b->{regular} <=> $a->{regular} || $isKept->($b) <=> $isKept->($a)
                     || ($b->{games}{D} // 0) <=> ($a->{games}{D} // 0) || byPa() };
    # A player whose most games are at DH is kept for it while the field is filled (one
    # whose D games only stand for missing fielding rows is not); a regular left over
    # takes his place only when he is not a regular. Never a pitcher.
    ($kept) = sort $byDh grep { !$_->{open} && ((groupsOf($_))[0] // '') eq 'D' } @$batters if $withDh;
    $taken{$kept->{id}} = 1 if $kept;
    my $filled = placeFielders($batters, \%taken);
    my @starters = map { [$filled->{$_}, $_] } grep { $filled->{$_} } @fieldPositions;
    if ($withDh) {
        delete $taken{$kept->{id}} if $kept;
        my ($dh) = sort $byDh grep { !$taken{$_->{id}} && !$_->{mound} } @$batters;
        if ($dh) {
            push @starters, [$dh, 10];
            $taken{$dh->{id}} = 1;
        }
    }
    my %code = map { $_->[0]{id} => $_->[1] } @starters;
    my @lineUp = map { [$_, $code{$_->{id}}] } battingOrder(@starters);
    push @lineUp, [undef, 1] while @lineUp < 9;
    my @bench = sort byPa grep { !$taken{$_->{id}} } @$batters;
    splice @bench, $benchRoom if @bench > $benchRoom;
    return (\@lineUp, [map { [$_, benchCode($_, $seasonDh)] } @bench]);
}

# A bench batter's position code: his position of most games ("D" is 10); one with games
# nowhere is a designated hitter in a season that has one, else a first baseman.
sub benchCode {
    my ($b, $seasonDh) = @_;
    my ($most) = groupsOf($b);
    return $seasonDh ? 10 : 3 unless defined $most;
    return $most eq 'D' ? 10 : $most;
}

# Starters by games started, then innings; then relievers: the closer (most saves) first,
# then by games, then innings.
sub pitchingStaff {
    my ($pitchers) = @_;
    my @starters = grep { $_->{gs} * 2 >= $_->{g} && $_->{gs} > 0 } @$pitchers;
    my %isStarter = map { $_->{id} => 1 } @starters;
    my @relievers = sort { $b->{g} <=> $a->{g} || $b->{ipouts} <=> $a->{ipouts} || $a->{id} cmp $b->{id} }
        grep { !$isStarter{$_->{id}} } @$pitchers;
    my ($closer) = sort { $b->{sv} <=> $a->{sv} || $b->{g} <=> $a->{g} || $b->{ipouts} <=> $a->{ipouts}
                          || $a->{id} cmp $b->{id} } grep { $_->{sv} > 0 } @relievers;
    @relievers = ($closer, grep { $_ != $closer } @relievers) if $closer;
    return ((sort { $b->{gs} <=> $a->{gs} || $b->{ipouts} <=> $a->{ipouts} || $a->{id} cmp $b->{id} } @starters),
            @relievers);
}

# ---------------------------------------------------------------------------------------
# Writing the team file

# Database text is UTF-8 or plain ASCII; team files are single-byte Latin-1. A letter
# beyond Latin-1 takes its plain Latin-1 form: its accents as far as Latin-1 has them
# ("ő" is "ö", "ř" is "r"), a letter with a stroke without it ("Ł" is "L"); typographic
# quotes and dashes their plain ones; anything else becomes "?".
my %plainForm = (map({ $_ => 'L' } "\x{141}", "\x{13F}"), map({ $_ => 'l' } "\x{142}", "\x{140}"),
                 "\x{110}" => 'D', "\x{111}" => 'd', "\x{126}" => 'H', "\x{127}" => 'h', "\x{131}" => 'i',
                 "\x{166}" => 'T', "\x{167}" => 't', "\x{152}" => 'OE', "\x{153}" => 'oe', "\x{132}" => 'IJ',
                 "\x{133}" => 'ij', "\x{14A}" => 'N', "\x{14B}" => 'n', "\x{180}" => 'b', "\x{197}" => 'I',
                 "\x{1B5}" => 'Z', "\x{1B6}" => 'z', map({ $_ => "'" } "\x{2018}", "\x{2019}", "\x{02BC}"),
                 map({ $_ => '"' } "\x{201C}", "\x{201D}"), map({ $_ => '-' } "\x{2010}", "\x{2013}", "\x{2014}"));

sub plainLetter {
    my ($c) = @_;
    return $plainForm{$c} if exists $plainForm{$c};
    my ($base, @marks) = split //, NFD($c);
    s/\x{30B}/\x{308}/ for @marks;    # a double acute is written as an umlaut
    while (1) {
        my $composed = NFC(join '', $base, @marks);
        return $composed if $composed =~ /^[\x00-\xff]+\z/;
        last unless @marks;
        pop @marks;
    }
    return $plainForm{$base} // '?';
}

sub latin1 {
    my ($s) = @_;
    $s //= '';
    my $copy = $s;
    my $u = eval { decode('UTF-8', $copy, Encode::FB_CROAK) };
    return $s unless defined $u;
    $u =~ s/([^\x00-\xff])/plainLetter($1)/ge;
    return encode('ISO-8859-1', $u);
}

sub hasLatinLetter { return $_[0] =~ /[A-Za-z\xC0-\xD6\xD8-\xF6\xF8-\xFF]/ }

sub cap {
    my ($v, $width) = @_;
    my $max = 10**$width - 1;
    return $v < 0 ? 0 : $v > $max ? $max : $v;
}

# A player's name field: "Surname, Given", with a tag after it when one is given, cut to
# 18 characters; the tag always shows: the given name shrinks to its initial, then the
# surname loses its end.
sub nameField {
    my ($p, $tag) = @_;
    my ($last, $first) = (latin1($p->{namelast}), latin1($p->{namefirst}));
    # A name written in another script: the romanised given name, and the player's ID
    # for the surname.
    my $given = latin1($p->{namegiven});
    $first = hasLatinLetter($given) ? $given : '' unless hasLatinLetter($first);
    $last = $p->{id} unless hasLatinLetter($last);
    return sprintf('%-18.18s', "$last, $first") if ($tag // '') eq '';
    my $name = "$last, $first $tag";
    $name = "$last, " . substr($first, 0, 1) . ". $tag" if length $name > 18 && length $first > 2;
    $name = substr($last, 0, 18 - length($name) + length($last)) . substr($name, length $last) if length $name > 18;
    return sprintf('%-18.18s', $name);
}

# What may tell two players of the same name apart: a suffix ("Jr."), the initial of a
# second given name, the year of birth.
sub suffixTag {
    my ($p) = @_;
    return $p->{namesuffix} if $p->{namesuffix} ne '';
    return $p->{namegiven} =~ /\s((?:Jr|Sr)\.?|I{2,3}|IV)\s*\z/ ? $1 : '';
}

sub initialTag {
    my ($p) = @_;
    my @given = split ' ', $p->{namegiven};
    return @given > 1 && $given[1] =~ /^(\w)/ ? "$1." : '';
}

sub birthTag { return $_[0]{birthyear} =~ /^\d{4}\z/ ? "'" . substr($_[0]{birthyear}, 2) : '' }

# The name field of every player listed. Players whose fields would be the same take the
# first kind of tag that gives each of them a different one (one of them may go without);
# when none does, they are numbered.
sub nameFields {
    my ($people) = @_;
    my (%field, %same);
    for my $id (sort keys %$people) {
        $field{$id} = nameField($people->{$id});
        push @{$same{lc $field{$id}}}, $id;
    }
    for my $ids (grep { @$_ > 1 } values %same) {
        my @tags = map { $_ + 1 } 0 .. $#$ids;
        for my $kind (\&suffixTag, \&initialTag, \&birthTag) {
            my @t = map { $kind->($people->{$_}) } @$ids;
            my %seen;
            next if grep { $seen{lc $_}++ } @t;
            @tags = @t;
            last;
        }
        $field{$ids->[$_]} = nameField($people->{$ids->[$_]}, $tags[$_]) for 0 .. $#$ids;
    }
    return \%field;
}

sub hand {
    my ($value) = @_;
    return uc($value // '') =~ /^[LB]/ ? 'L' : 'R';
}

# A batter's line. His games-at-position groups never show more games than his games
# column; one with games nowhere shows none at the position of his code ("000-3").
sub batterLine {
    my ($b, $code, $people, $names) = @_;
    my $p = $people->{$b->{id}};
    my @v = map { cap($b->{$_}, 3) } qw(ab h 2b 3b hr bb so rbi);
    my $g = cap($b->{g}, 3);
    my $line = sprintf('00    %02d %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d', $code,
                       $names->{$b->{id}}, @v, hand($p->{bats}),
                       cap($b->{errors}, 3), cap($b->{sb}, 2), cap($b->{cs}, 2), $g);
    my @groups = grep { defined } (groupsOf($b))[0 .. 2];
    $line .= sprintf(' %03d-%s', ($b->{games}{$_} < $g ? $b->{games}{$_} : $g), $_) for @groups;
    $line .= ' 000-' . ($code == 10 ? 'D' : $code) unless @groups;
    return $line;
}

sub pitcherLine {
    my ($p, $people, $names, $league, $hasExtraBaseHits) = @_;
    my ($d2, $d3) = ($p->{'2b'}, $p->{'3b'});
    unless ($hasExtraBaseHits) {
        ($d2, $d3) = map { $league->{h} ? int($p->{h} * $league->{$_} / $league->{h} + 0.5) : 0 } '2b', '3b';
    }
    my $outs = $p->{ipouts};
    my $era = $outs ? int((2700 * $p->{er} * 2 + $outs) / (2 * $outs)) : $p->{er} ? 999 : 0;
    my $who = $people->{$p->{id}};
    return sprintf('00    01 %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d %3d',
                   $names->{$p->{id}}, cap(int(($outs + 1) / 3), 3), cap($p->{h}, 3),
                   cap($d2, 3), cap($d3, 3), cap($p->{hr}, 3), cap($p->{bb}, 3), cap($p->{so}, 3),
                   cap($era, 3), hand($who->{throws}), cap($p->{w}, 3), cap($p->{l}, 2),
                   cap($p->{sv}, 2), cap($p->{g}, 3), cap($p->{gs}, 3));
}

my $batterTitles = ' AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P';

# Every print and the close are checked: a full disk fails here, before the rename.
sub writeWhole {
    my ($file, @lines) = @_;
    my $folder = getcwd() // '.';
    my $fh;
    ($fh, $temporary) = eval { tempfile('.kalbrix8-XXXXXX', DIR => '.', UNLINK => 0) };
    fail(3, "cannot write $file in $folder: " . ($! || 'the folder cannot be written')) unless $fh;
    # Locked through a handle of its own until it has its name: the program's clean-up at
    # start leaves a file a running builder holds alone.
    my $lock;
    flock($lock, LOCK_EX | LOCK_NB) if open($lock, '<', $temporary);
    binmode $fh;
    my $ok = 1;
    for my $line (@lines) {
        $ok = print $fh "$line\r\n";
        last unless $ok;
    }
    $ok = close($fh) && $ok;
    my $mask = umask;
    $ok &&= chmod(0666 & ~$mask, $temporary);
    $ok &&= rename($temporary, $file);
    fail(3, "cannot write $file in $folder: $!") unless $ok;
    $temporary = undef;
}

# ---------------------------------------------------------------------------------------

sub hasDesignatedHitter {
    my ($league, $year) = @_;
    return ($league eq 'AL' && $year >= 1973) || ($league eq 'NL' && ($year == 2020 || $year >= 2022));
}

# Everything the team is chosen from: the club's rows of the season in every file, the
# league's totals, and the plate appearances that make a regular.
sub readSeason {
    my ($db, $team, $year) = @_;
    my %season = (dh => hasDesignatedHitter($team->{league}, $year));
    @season{qw(bat league)} = readBatting($db, $team, $year);
    @season{qw(pit extraBaseHits leagueSo)} = readPitching($db, $team, $year);
    $season{fld} = readFielding($db->{Fielding}, $team, $year);
    $season{dhRows} = grep { $season{fld}{$_}{D} } keys %{$season{fld}};
    $season{readSplit} = sub {
        my $split = readFielding($db->{OFsplit}, $team, $year);
        my %outfield;
        for my $id (keys %$split) {
            my %fields = map { $_ => $split->{$id}{$_} } grep { /^[789]\z/ } keys %{$split->{$id}};
            $outfield{$id} = \%fields if %fields;
        }
        return \%outfield;
    } if $db->{OFsplit};
    $season{app} = {};
    if ($db->{Appearances}) {
        # A file that lacks the season (or the club) is said as a missing file is.
        ($season{app}, my $seasonRows) = readAppearances($db->{Appearances}, $team, $year);
        my $what = $seasonRows ? "$year $team->{id}" : $year;
        $season{note} = "$db->{Appearances} has no rows for $what; positions are estimated from "
            . "Fielding.csv for $what" unless %{$season{app}};
    } else {
        $season{note} = "$db->{folder} has no Appearances.csv; positions are estimated from the fielding rows";
    }
    my $clubGames = $team->{games};
    unless ($clubGames) {
        $clubGames = $_->{g} > $clubGames ? $_->{g} : $clubGames for values %{$season{bat}};
    }
    $season{regularPa} = 2 * ($clubGames || 1);
    estimateCounts(\%season, $team, $db, $year);
    return \%season;
}

# The team file's lines for a club and season; <type> as on the command line.
sub teamFileLines {
    my ($db, $team, $year, $typeArgument) = @_;
    my $season = readSeason($db, $team, $year);
    my $type = $typeArgument ne '' ? $typeArgument : $season->{dh} ? 1 : 0;
    my ($batters, $pitchers) = buildRoster($season);
    my ($order, $bench) = lineUp($batters, $type, $season->{dh});
    my @staff = pitchingStaff($pitchers);
    my $people = readPeople($db, {map { $_->{id} => 1 } (grep { defined } map { $_->[0] } @$order, @$bench), @staff});
    my $names = nameFields($people);

    my @lines = (sprintf('*A       %s%04d %-12.12s%s', $team->{letter}, $year, $team->{field}, $batterTitles));
    push @lines, map { $_->[0] ? batterLine($_->[0], $_->[1], $people, $names) : '00    01' } @$order;
    push @lines, '*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St';
    push @lines, map { pitcherLine($_, $people, $names, $season->{league}, $season->{extraBaseHits}) } @staff;
    push @lines, '*Bench                     ' . $batterTitles;
    push @lines, map { batterLine($_->[0], $_->[1], $people, $names) } @$bench;
    return {lines => \@lines, type => $type, pitchers => scalar @staff, bench => scalar @$bench,
            note => $season->{note}};
}

# ---------------------------------------------------------------------------------------
# A whole season

sub parseSeasonArguments {
    my @args = @_;
    my $usage = 'usage: kalbrix8.pl --season <year> <league|ALL> [<type>] [--only CLUB,...] [--list]';
    my %arg = (list => 0, only => undef);
    my @plain;
    while (@args) {
        my $a = shift @args;
        if ($a eq '--list') { $arg{list} = 1 }
        elsif ($a eq '--only') {
            fail(1, $usage) unless @args;
            $arg{only} = {map { uc($_) => 1 } grep { $_ ne '' } split /,/, shift @args};
        } else { push @plain, $a }
    }
    fail(1, $usage) if @plain < 2 || @plain > 3;
    my ($year, $league, $type) = (@plain, '');
    fail(1, 'the year must be a number of four digits, not ' . shown($year)) unless $year =~ /^\d{4}\z/;
    fail(1, 'the type must be 0 or 1, not ' . shown($type)) unless $type =~ /^[01]?\z/;
    fail(1, 'the league must be a league code or ALL, not ' . shown($league)) unless $league =~ /^[A-Za-z]{1,3}\z/;
    return (%arg, year => $year + 0, league => uc $league, type => $type);
}

# The clubs asked for, by league and code; a club's file is named as Rostrix's Auto File
# Name names one: the year's last two digits, league, club ("01ALnya.dat").
sub seasonClubs {
    my ($db, $arg) = @_;
    my @clubs = grep { $arg->{league} eq 'ALL' || $_->{league} eq $arg->{league} } seasonTeams($db, $arg->{year});
    fail(1, "no league $arg->{league} in $arg->{year} in $db->{Teams}") unless @clubs;
    $_->{file} = substr($arg->{year}, -2) . $_->{league} . lc($_->{id}) . '.dat' for @clubs;
    @clubs = sort { $a->{league} cmp $b->{league} || $a->{id} cmp $b->{id} } @clubs;
    if ($arg->{only}) {
        my %known = map { $_->{id} => 1 } @clubs;
        my @unknown = sort grep { !$known{$_} } keys %{$arg->{only}};
        fail(1, "no team @unknown in $arg->{year}") if @unknown;
        @clubs = grep { $arg->{only}{$_->{id}} } @clubs;
    }
    return @clubs;
}

# A season the database lacks stops the run before any file is written: every club must
# have batting and pitching rows. Reading the files here also fills the record cache.
sub checkSeasonRows {
    my ($db, $year, @clubs) = @_;
    for my $file (qw(Batting Pitching)) {
        my $csv = openCsv($db->{$file}, qw(playerID yearID teamID));
        my %rows;
        while (defined(my $line = nextRecord($csv, $year))) {
            my $f = splitCsv($csv, $line);
            $rows{uc text($csv, $f, 'teamid')} = 1 if number($csv, $f, 'yearid') == $year;
        }
        my @lacking = map { $_->{id} } grep { !$rows{$_->{id}} } @clubs;
        fail(2, "$db->{$file} has no rows for $year @lacking: the database may be older than the season")
            if @lacking;
    }
}

my $stopAsked = 0;

sub seasonMain {
    my %arg = parseSeasonArguments(@_);
    my $db = chooseDatabase();
    $caching = 1;
    my @clubs = seasonClubs($db, \%arg);
    if ($arg{list}) {
        printf "club %s %s %s %s\n", $_->{file}, $_->{id}, $_->{league}, latin1($_->{name}) for @clubs;
        return;
    }
    # SIGUSR1 asks for a stop once the club being built is written; the first line says
    # the run listens for it.
    $SIG{USR1} = sub { $stopAsked = 1 };
    $| = 1;
    printf "kalbrix8.pl: season %d: %d clubs\n", $arg{year}, scalar @clubs;
    checkSeasonRows($db, $arg{year}, @clubs);
    my ($written, $refused) = (0, 0);
    my %notes;
    for my $i (0 .. $#clubs) {
        my $club = $clubs[$i];
        printf "kalbrix8.pl: building %s (%d of %d)\n", $club->{file}, $i + 1, scalar @clubs;
        $refusing = 1;
        my $built = eval { teamFileLines($db, $club, $arg{year}, $arg{type}) };
        $refusing = 0;
        if (!$built) {
            my $why = ref $@ eq 'HASH' ? $@->{refused} : oneLine("$@");
            print "kalbrix8.pl: refused $club->{file}: $why\n";
            $refused++;
        } else {
            writeWhole($club->{file}, @{$built->{lines}});
            $written++;
            $notes{$built->{note}} //= $i if $built->{note};
            printf "kalbrix8.pl: wrote %s: %s %d (%s), %s, %d pitchers, %d on the bench, from %s\n",
                $club->{file}, latin1($club->{name}), $arg{year}, $club->{league},
                $built->{type} ? 'line-up with a designated hitter' : 'line-up without a designated hitter',
                $built->{pitchers}, $built->{bench}, $db->{folder};
        }
        if ($stopAsked && $i < $#clubs) {
            print "kalbrix8.pl: stopped after $written written, $refused refused, of " . scalar(@clubs) . " clubs\n";
            exit 5;
        }
    }
    print STDERR "kalbrix8.pl: note: $_\n" for sort { $notes{$a} <=> $notes{$b} } keys %notes;
    print "kalbrix8.pl: season $arg{year}: $written written, $refused refused\n";
}

sub main {
    return seasonMain(@ARGV[1 .. $#ARGV]) if @ARGV && $ARGV[0] eq '--season';
    my %arg = parseArguments(@ARGV);
    my $db = chooseDatabase();
    my $team = readTeam($db, \%arg);
    my $built = teamFileLines($db, $team, $arg{year}, $arg{type});
    writeWhole($arg{file}, @{$built->{lines}});
    # Said only once the file is written, so a failure stays the one line on standard error.
    print STDERR "kalbrix8.pl: note: $built->{note}\n" if $built->{note};
    printf "kalbrix8.pl: wrote %s: %s %d (%s), %s, %d pitchers, %d on the bench, from %s\n",
        $arg{file}, latin1($team->{name}), $arg{year}, $team->{league},
        $built->{type} ? 'line-up with a designated hitter' : 'line-up without a designated hitter',
        $built->{pitchers}, $built->{bench}, $db->{folder};
}

main();
