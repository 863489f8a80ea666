#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# kalbrix8.pl: builds one QRD team file from a baseball statistics database.
#
#   perl kalbrix8.pl <year> <TEAM> <league> <file>.dat <type>
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
#   - "NA" and empty fields are unknown. A count that is unknown is written as 0: in the
#     early seasons this touches batters' strike-outs, caught stealing and the sacrifice
#     flies and hit-by-pitches that count in plate appearances, and fielders' errors. An
#     unknown hand is written as R; a switch hitter bats L.
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
#     count as "D". Errors always come from Fielding.csv. Without Appearances.csv one line
#     on standard error says the positions are estimated.
#   - A regular is a player with at least two plate appearances (AB+BB+HBP+SH+SF) per game
#     the club played. A regular is always among the batters. One with no games in the
#     field counts his games as "D" in a season with the designated hitter; in a season
#     without it a regular who only pitched bats from the bench with his pitching games as
#     a "-1" group and position code 01 (he never starts in the field or as designated
#     hitter). Nobody pinch-hits often enough to be a regular. So is a
#     player with games at a position (or as designated hitter in such a season) unless
#     he is a pitcher with fewer than 10 such games. A player who played more games at
#     other positions than on the mound is on the pitching staff only when he pitched 20
#     innings or more, so a fielder's mop-up inning leaves no pitcher line.
#   - Starters: first every position goes to the player for whom it is his main position
#     (most games there), the most games first; positions left open go to the most games
#     played there by anyone not yet placed; a position nobody played goes to the batter
#     left with the most plate appearances. The designated hitter is the batter left over
#     who is a regular, then has the most "D" games, then the most plate appearances.
#     Nobody starts twice. When too few batters remain, the empty places are the line
#     "00    01", as is the pitcher's turn in a line-up without a designated hitter.
#   - Batting order: the starters who are regulars (when fewer than four, the starters
#     with the most plate appearances make up four) fill the first places; third and
#     fourth the two of them with the best slugging average, the one with more home runs
#     fourth; first the best on-base average of the other regulars, second the next; then
#     the remaining regulars and after them the part-timers, each by on-base plus
#     slugging. So part-timers never bat first to fourth, and bat fifth or sixth only
#     when fewer than six regulars start. The empty places come last.
#   - Pitchers: starters (at least half their games started) by games started, then
#     innings; then relievers by games, then innings.
#   - Bench: the other batters by at bats, then games; the position code is the position
#     of most games ("D" is 10).
#   - The 12-character team name: the city alone ("Oakland") when no other club of that
#     city plays that season (cut to 12). Clubs sharing a city take the first of these
#     that fits in 12 characters and that no other club of the season wants as well: city
#     and nickname ("Chicago Cubs"), the city's initials or first three letters and the
#     nickname ("NY Yankees", "LA Dodgers", "StL Browns"), the nickname alone ("White
#     Sox"), the nickname and the league ("Nationals UA"); else the short form cut to fit,
#     with the club's code. The nickname is the last word of the club's name, or the last
#     two after a colour and the like ("Red Sox", "Blue Jays"); " of Anaheim" and a part
#     in brackets are left off.
#   - Ties are broken by player ID. Values too large for their field are capped (99 for
#     stolen bases). Doubles and triples allowed, when the pitching file has no such
#     columns, are estimated from the league's share of doubles and triples among hits.
#
# Exits 0 after writing the file and one line on standard output. Any failure is one line
# on standard error, nothing written: bad arguments or an unknown year/team/league (1), a
# missing, incomplete or malformed database (2), a file it cannot write, a full disk
# among them (3), anything unforeseen, Perl's own warnings included (4).
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Temp qw(tempfile);
use Cwd qw(getcwd abs_path);
use Encode qw(decode encode);
use Unicode::Normalize qw(NFD);

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

sub openCsv {
    my ($path, @needed) = @_;
    open my $fh, '<:raw', $path or fail(2, "cannot read $path: $!");
    my $csv = {fh => $fh, path => $path, line => 0, start => 1};
    my $header = readRecord($csv);
    fail(2, "$path line 1: the file is empty") unless defined $header;
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
    return $csv;
}

# The rest of a record that holds a quote: a quoted field may hold line breaks, so lines
# are joined until the quotes pair up. The line end is taken off.
sub completeRecord {
    my ($csv, $line) = @_;
    my $fh = $csv->{fh};
    my $quotes = ($line =~ tr/"//);
    while ($quotes % 2) {
        my $more = <$fh>;
        fail(2, "$csv->{path} line $csv->{start}: a quoted field is not closed properly")
            unless defined $more;
        $csv->{line}++;
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
    $csv->{start} = ++$csv->{line};
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
# line wherever it is damaged; undef at the end. With a needle, only records holding it
# come back. This loop sees every line of the database, so it is kept lean.
sub nextRecord {
    my ($csv, $needle) = @_;
    my $fh = $csv->{fh};
    my $commas = $csv->{fields} - 1;
    while (defined(my $line = <$fh>)) {
        my $n = ++$csv->{line};
        if (index($line, '"') >= 0) {
            $csv->{start} = $n;
            $line = completeRecord($csv, $line);
            next if $line eq '';
            my $fields = scalar @{splitCsv($csv, $line)};
            fail(2, "$csv->{path} line $n: $fields fields where the header has $csv->{fields}")
                if $fields != $csv->{fields};
            next if defined $needle && index($line, $needle) < 0;
        } elsif (($line =~ tr/,//) != $commas) {
            $line =~ s/[\r\n]+\z//;
            next if $line eq '';
            fail(2, "$csv->{path} line $n: " . (($line =~ tr/,//) + 1) . " fields where the header has $csv->{fields}");
        } else {
            next if defined $needle && index($line, $needle) < 0;
            $csv->{start} = $n;
            $line =~ s/[\r\n]+\z//;
        }
        return $line;
    }
    close $fh;
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
    # Nine digits at most: a count that long is damage, not a number.
    return $v + 0 if $v =~ /^\s*-?\d{1,9}(?:\.0*)?\s*\z/;
    fail(2, "$csv->{path} line $csv->{start}: " . substr($csv->{spelled}{$name}, 0, 60) . " is not a whole number: " . shown($v));
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

sub readTeam {
    my ($db, $arg) = @_;
    my $csv = openCsv($db->{Teams}, qw(yearID lgID teamID name));
    my (@clubs, $found, $inOtherLeague);
    while (defined(my $line = nextRecord($csv, $arg->{year}))) {
        my $f = splitCsv($csv, $line);
        next unless number($csv, $f, 'yearid') == $arg->{year};
        my $club = {id => uc text($csv, $f, 'teamid'), league => leagueOf($csv, $f),
                    name => text($csv, $f, 'name'), games => number($csv, $f, 'g')};
        push @clubs, $club;
        next unless $club->{id} eq $arg->{team};
        if ($arg->{league} ne '' && $club->{league} ne $arg->{league}) {
            $inOtherLeague = $club->{league};
            next;
        }
        my $div = text($csv, $f, 'divid');
        $club->{letter} = $div =~ /^[A-Za-z]\z/ ? uc $div : $club->{league} =~ /^([A-Z])/ ? $1 : 'X';
        $found = $club;
    }
    fail(1, "no season $arg->{year} in $db->{Teams}") unless @clubs;
    if ($found) {
        $found->{field} = teamFields(@clubs)->{$found->{id}};
        return $found;
    }
    fail(1, "no team " . shown($arg->{team}) =~ s/"//gr . " in league $arg->{league} in $arg->{year}; "
        . "$arg->{team} played in $inOtherLeague") if $inOtherLeague;
    fail(1, "no team " . shown($arg->{team}) =~ s/"//gr . " in $arg->{year}; the clubs are "
        . join(' ', sort map { $_->{id} } @clubs));
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

sub readBatting {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Batting}, qw(playerID yearID teamID lgID G AB H 2B 3B HR BB SO RBI SB CS));
    my (%bat, %league);
    scanSeason($csv, $team, $year,
        sub {
            my ($f, $id) = @_;
            $bat{$id}{$_} += number($csv, $f, $_) for @battingCols;
        },
        sub {
            my ($f) = @_;
            $league{$_} += number($csv, $f, $_) for qw(h 2b 3b);
        });
    return (\%bat, \%league);
}

my @pitchingCols = qw(ipouts h hr bb so er w l sv g gs);

sub readPitching {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Pitching}, qw(playerID yearID teamID lgID W L G GS SV IPouts H ER HR BB SO));
    my $hasExtraBaseHits = exists $csv->{col}{'2b'} && exists $csv->{col}{'3b'};
    my %pit;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        $pit{$id}{$_} += number($csv, $f, $_) for @pitchingCols, ($hasExtraBaseHits ? ('2b', '3b') : ());
    });
    return (\%pit, $hasExtraBaseHits);
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

sub readAppearances {
    my ($path, $team, $year) = @_;
    my $csv = openCsv($path, qw(yearID teamID playerID G_p G_c G_1b G_2b G_3b G_ss G_lf G_cf G_rf));
    my %app;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        $app{$id}{$_} += number($csv, $f, $appearanceCols{$_}) for keys %appearanceCols;
    });
    return \%app;
}

# Names and handedness of the players wanted; a player missing from the file is an error.
sub readPeople {
    my ($db, $wanted) = @_;
    my $csv = openCsv($db->{People}, qw(playerID nameFirst nameLast bats throws));
    my $at = $csv->{col}{playerid};
    my %people;
    while (defined(my $line = nextRecord($csv))) {
        if (index($line, '"') < 0) {
            my @start = split /,/, $line, $at + 2;
            next unless $wanted->{$start[$at]};
        }
        my $f = splitCsv($csv, $line);
        my $id = text($csv, $f, 'playerid');
        next unless $wanted->{$id};
        $people{$id} = {map { $_ => text($csv, $f, $_) } qw(namefirst namelast bats throws)};
    }
    my @missing = sort grep { !$people{$_} } keys %$wanted;
    fail(2, "$db->{People} has no row for player " . shown($missing[0])
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
        my @tries = $perCity{lc $city} == 1 ? (substr($city, 0, 12)) : ();
        push @tries, "$city $nick", cityShort($city) . " $nick", $nick, "$nick $c->{league}" if $nick ne '';
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
                my $tail = " $c->{id}";
                my $short = cityShort($c->{city}) . ($c->{nick} ne '' ? " $c->{nick}" : '');
                $field{$c->{id}} = substr($short, 0, 12 - length $tail) . $tail;
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
# Choosing the team

my @fieldPositions = (2 .. 9);
my @groupOrder = (2 .. 9, 'D', 1);
my %groupRank = map { $groupOrder[$_] => $_ } 0 .. $#groupOrder;

sub plateAppearances {
    my ($b) = @_;
    return $b->{ab} + $b->{bb} + $b->{hbp} + $b->{sh} + $b->{sf};
}

# Games at 2..9 and "D" for one player, from Appearances when it has his row; outfield
# games without a split come back in {of} for the club's turn-by-turn estimate.
sub positionGames {
    my ($id, $s) = @_;
    my %games;
    my $a = $s->{app}{$id};
    my $f = $s->{fld}{$id} // {};
    my $split = $s->{split}{$id};
    my $pitched;
    if ($a) {
        $games{$_} = $a->{$_} for @fieldPositions;
        $games{D} = $a->{D} if $s->{dh};
        $pitched = $a->{p};
        if (!grep { $games{$_} } 7, 8, 9) {
            if ($split) { $games{$_} = $split->{$_}{g} // 0 for 7, 8, 9 }
            elsif ($a->{OF}) { $games{of} = $a->{OF} }
        }
    } else {
        $games{$_} = $f->{$_} ? $f->{$_}{g} : 0 for @fieldPositions;
        $pitched = $f->{P} ? $f->{P}{g} : $s->{pit}{$id} ? $s->{pit}{$id}{g} : 0;
        if (!grep { $games{$_} } 7, 8, 9) {
            if ($split) { $games{$_} = $split->{$_}{g} // 0 for 7, 8, 9 }
            elsif ($f->{OF}) { $games{of} = $f->{OF}{g} }
        }
        if ($s->{dh}) {
            if ($s->{dhRows}) {
                $games{D} = $f->{D}{g} if $f->{D};
            } else {
                my $fielded = $pitched + ($games{of} // 0);
                $fielded += $games{$_} for @fieldPositions;
                my $g = $s->{bat}{$id} ? $s->{bat}{$id}{g} : 0;
                $games{D} = $g - $fielded if $g > $fielded;
            }
        }
    }
    $games{$_} //= 0 for @fieldPositions;
    delete $games{D} unless $games{D};
    return (\%games, $pitched);
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

sub buildRoster {
    my ($s) = @_;
    my %ids = map { $_ => 1 } keys %{$s->{bat}}, keys %{$s->{pit}}, keys %{$s->{app}}, keys %{$s->{fld}};
    my (@batters, @pitchers, @outfieldOnly);
    for my $id (sort keys %ids) {
        my ($games, $pitched) = positionGames($id, $s);
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
        next unless $batter->{regular} || ($atPositions > 0 && !($onStaff && $atPositions < 10));
        # A regular without games anywhere the line can show: his games count where the
        # season allows, as designated hitter.
        $games->{D} = $batter->{g} if !$atPositions && $s->{dh} && $batter->{g};
        # A pitcher who batted every day in a season without it bats from the bench.
        if (!$atPositions && !$s->{dh} && $pitched) {
            $games->{1} = $pitched;
            $batter->{pitcherOnly} = 1;
            # His errors are the ones he made on the mound, the only place he fielded.
            my $mound = ($s->{fld}{$id} // {})->{P};
            $batter->{errors} = $mound->{e} if $mound;
        }
        $batter->{g} ||= $s->{app}{$id} ? $s->{app}{$id}{all} : 0;
        $batter->{g} ||= (sort { $b <=> $a } values %$games, 0)[0];
        push @outfieldOnly, $batter if $games->{of};
        push @batters, $batter;
    }
    my @turn = (8, 9, 7);
    my $i = 0;
    for my $x (sort { $b->{games}{of} <=> $a->{games}{of} || $a->{id} cmp $b->{id} } @outfieldOnly) {
        $x->{games}{$turn[$i++ % 3]} += delete $x->{games}{of};
    }
    @batters = grep { my $g = $_->{games}; grep { exists $groupRank{$_} && $g->{$_} > 0 } keys %$g } @batters;
    return (\@batters, \@pitchers);
}

# Positions by games, most first; ties in the order catcher to right field, then D.
sub groupsOf {
    my ($batter) = @_;
    my $g = $batter->{games};
    return sort { $g->{$b} <=> $g->{$a} || $groupRank{$a} <=> $groupRank{$b} }
        grep { exists $groupRank{$_} && $g->{$_} > 0 } keys %$g;
}

sub onBase {
    my ($b) = @_;
    my $d = $b->{ab} + $b->{bb} + $b->{hbp} + $b->{sf};
    return $d ? ($b->{h} + $b->{bb} + $b->{hbp}) / $d : 0;
}

sub slugging {
    my ($b) = @_;
    return 0 unless $b->{ab};
    return ($b->{h} + $b->{'2b'} + 2 * $b->{'3b'} + 3 * $b->{hr}) / $b->{ab};
}

sub ops { return onBase($_[0]) + slugging($_[0]) }

sub byPa { return $b->{pa} <=> $a->{pa} || $b->{g} <=> $a->{g} || $a->{id} cmp $b->{id} }

# The fielders as {position code => batter}.
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
    my (@main, @any);
    for my $x (@$batters) {
        my @fielded = grep { $x->{games}{$_} } @fieldPositions;
        next unless @fielded;
        my ($main) = sort { $x->{games}{$b} <=> $x->{games}{$a} || $a <=> $b } @fielded;
        push @main, [$x, $main, $x->{games}{$main}];
        push @any, map { [$x, $_, $x->{games}{$_}] } @fielded;
    }
    $place->(sort $order @main);
    $place->(sort $order @any);
    my @rest = sort byPa grep { !$taken->{$_->{id}} && !$_->{pitcherOnly} } @$batters;
    for my $pos (@fieldPositions) {
        next if $filled{$pos} || !@rest;
        $filled{$pos} = shift @rest;
        $taken->{$filled{$pos}{id}} = 1;
    }
    return \%filled;
}

# The starters as [batter or undef for an empty place, position code], in batting order.
sub lineUp {
    my ($batters, $withDh) = @_;
    my %taken;
    my $filled = placeFielders($batters, \%taken);
    my @starters = map { [$filled->{$_}, $_] } grep { $filled->{$_} } @fieldPositions;
    if ($withDh) {
        my ($dh) = sort { $b->{regular} <=> $a->{regular} || ($b->{games}{D} // 0) <=> ($a->{games}{D} // 0)
                          || byPa() } grep { !$taken{$_->{id}} && !$_->{pitcherOnly} } @$batters;
        if ($dh) {
            push @starters, [$dh, 10];
            $taken{$dh->{id}} = 1;
        }
    }

    my @top = sort { byPa() } grep { $_->{regular} } map { $_->[0] } @starters;
    my %isTop = map { $_->{id} => 1 } @top;
    if (@top < 4) {
        my @more = sort byPa grep { !$isTop{$_->{id}} } map { $_->[0] } @starters;
        push @top, splice(@more, 0, 4 - @top);
        %isTop = map { $_->{id} => 1 } @top;
    }
    my $best = sub {
        my ($list, $cmp) = @_;
        return unless @$list;
        @$list = sort { $cmp->($a, $b) || $a->{id} cmp $b->{id} } @$list;
        return shift @$list;
    };
    my $power = sub { slugging($_[1]) <=> slugging($_[0]) || $_[1]{hr} <=> $_[0]{hr} };
    my @pool = @top;
    my @heart = grep { defined } $best->(\@pool, $power), $best->(\@pool, $power);
    @heart = reverse @heart if @heart == 2 && $heart[0]{hr} > $heart[1]{hr};
    my $reach = sub { onBase($_[1]) <=> onBase($_[0]) || $_[1]{sb} <=> $_[0]{sb} };
    my @head = grep { defined } $best->(\@pool, $reach), $best->(\@pool, $reach);
    my $byOps = sub { ops($b) <=> ops($a) || $a->{id} cmp $b->{id} };
    my @others = sort $byOps grep { !$isTop{$_->{id}} } map { $_->[0] } @starters;
    my @order = (@head, @heart, sort($byOps @pool), @others);
    my %code = map { $_->[0]{id} => $_->[1] } @starters;
    my @lineUp = map { [$_, $code{$_->{id}}] } @order;
    push @lineUp, [undef, 1] while @lineUp < 9;
    my @bench = sort { $b->{ab} <=> $a->{ab} || $b->{g} <=> $a->{g} || $a->{id} cmp $b->{id} }
        grep { !$taken{$_->{id}} } @$batters;
    return (\@lineUp, \@bench);
}

sub pitchingStaff {
    my ($pitchers) = @_;
    my @starters = grep { $_->{gs} * 2 >= $_->{g} && $_->{gs} > 0 } @$pitchers;
    my %isStarter = map { $_->{id} => 1 } @starters;
    my @relievers = grep { !$isStarter{$_->{id}} } @$pitchers;
    return ((sort { $b->{gs} <=> $a->{gs} || $b->{ipouts} <=> $a->{ipouts} || $a->{id} cmp $b->{id} } @starters),
            (sort { $b->{g} <=> $a->{g} || $b->{ipouts} <=> $a->{ipouts} || $a->{id} cmp $b->{id} } @relievers));
}

# ---------------------------------------------------------------------------------------
# Writing the team file

# Database text is UTF-8 or plain ASCII; team files are single-byte Latin-1. A letter
# beyond Latin-1 loses its accent ("č" is "c"); anything else becomes "?".
sub latin1 {
    my ($s) = @_;
    $s //= '';
    my $copy = $s;
    my $u = eval { decode('UTF-8', $copy, Encode::FB_CROAK) };
    return $s unless defined $u;
    $u =~ s/([^\x00-\xff])/my $d = NFD($1); $d =~ s{\p{Mn}}{}g; $d =~ m{^[\x00-\xff]+\z} ? $d : '?'/ge;
    return encode('ISO-8859-1', $u);
}

sub cap {
    my ($v, $width) = @_;
    my $max = 10**$width - 1;
    return $v < 0 ? 0 : $v > $max ? $max : $v;
}

sub nameField {
    my ($p) = @_;
    return sprintf('%-18.18s', latin1("$p->{namelast}, $p->{namefirst}"));
}

sub hand {
    my ($value) = @_;
    return uc($value // '') =~ /^[LB]/ ? 'L' : 'R';
}

sub batterLine {
    my ($b, $code, $people) = @_;
    my $p = $people->{$b->{id}};
    my @v = map { cap($b->{$_}, 3) } qw(ab h 2b 3b hr bb so rbi);
    my $line = sprintf('00    %02d %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d', $code,
                       nameField($p), @v, hand($p->{bats}),
                       cap($b->{errors}, 3), cap($b->{sb}, 2), cap($b->{cs}, 2), cap($b->{g}, 3));
    my @groups = (groupsOf($b))[0 .. 2];
    $line .= sprintf(' %03d-%s', cap($b->{games}{$_}, 3), $_) for grep { defined } @groups;
    return $line;
}

sub pitcherLine {
    my ($p, $people, $league, $hasExtraBaseHits) = @_;
    my ($d2, $d3) = ($p->{'2b'}, $p->{'3b'});
    unless ($hasExtraBaseHits) {
        ($d2, $d3) = map { $league->{h} ? int($p->{h} * $league->{$_} / $league->{h} + 0.5) : 0 } '2b', '3b';
    }
    my $outs = $p->{ipouts};
    my $era = $outs ? int((2700 * $p->{er} * 2 + $outs) / (2 * $outs)) : $p->{er} ? 999 : 0;
    my $who = $people->{$p->{id}};
    return sprintf('00    01 %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d %3d',
                   nameField($who), cap(int(($outs + 1) / 3), 3), cap($p->{h}, 3),
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

my %arg = parseArguments(@ARGV);
my $db = chooseDatabase();
my $team = readTeam($db, \%arg);
my $year = $arg{year};
my %season = (dh => hasDesignatedHitter($team->{league}, $year));
(@season{qw(bat league)}) = readBatting($db, $team, $year);
my $hasExtraBaseHits;
($season{pit}, $hasExtraBaseHits) = readPitching($db, $team, $year);
$season{fld} = readFielding($db->{Fielding}, $team, $year);
$season{dhRows} = grep { $season{fld}{$_}{D} } keys %{$season{fld}};
if ($db->{OFsplit}) {
    my $split = readFielding($db->{OFsplit}, $team, $year);
    for my $id (keys %$split) {
        my %outfield = map { $_ => $split->{$id}{$_} } grep { /^[789]\z/ } keys %{$split->{$id}};
        $season{split}{$id} = \%outfield if %outfield;
    }
}
if ($db->{Appearances}) {
    $season{app} = readAppearances($db->{Appearances}, $team, $year);
} else {
    $season{app} = {};
}
my $clubGames = $team->{games};
unless ($clubGames) {
    $clubGames = $_->{g} > $clubGames ? $_->{g} : $clubGames for values %{$season{bat}};
}
$season{regularPa} = 2 * ($clubGames || 1);

my $type = $arg{type} ne '' ? $arg{type} : $season{dh} ? 1 : 0;
my ($batters, $pitchers) = buildRoster(\%season);
my ($order, $bench) = lineUp($batters, $type);
my @staff = pitchingStaff($pitchers);
my $people = readPeople($db, {map { $_->{id} => 1 } @$batters, @$pitchers});

my @lines = (sprintf('*A       %s%04d %-12.12s%s', $team->{letter}, $year, $team->{field}, $batterTitles));
push @lines, map { $_->[0] ? batterLine($_->[0], $_->[1], $people) : '00    01' } @$order;
push @lines, '*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St';
push @lines, map { pitcherLine($_, $people, $season{league}, $hasExtraBaseHits) } @staff;
push @lines, '*Bench                     ' . $batterTitles;
push @lines, map {
    my @g = groupsOf($_);
    batterLine($_, $g[0] eq 'D' ? 10 : $g[0], $people)
} @$bench;
writeWhole($arg{file}, @lines);
# Said only once the file is written, so a failure stays the one line on standard error.
print STDERR "kalbrix8.pl: note: $db->{folder} has no Appearances.csv; positions are estimated from the fielding rows\n"
    unless $db->{Appearances};
printf "kalbrix8.pl: wrote %s: %s %d (%s), %s, %d pitchers, %d on the bench, from %s\n",
    $arg{file}, latin1($team->{name}), $year, $team->{league},
    $type ? 'line-up with a designated hitter' : 'line-up without a designated hitter',
    scalar @staff, scalar @$bench, $db->{folder};
