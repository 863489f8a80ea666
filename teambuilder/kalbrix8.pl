#!/usr/bin/perl
# kalbrix8.pl: builds one QRD team file from a baseball statistics database.
#
#   perl kalbrix8.pl <year> <TEAM> <league> <file>.dat <type>
#
# Writes <file>.dat in the current folder: the team title line, nine starters in batting
# order, the pitchers and the bench, every value in its fixed columns, lines ending in
# CR LF. The file is written whole (a temporary file renamed over it) or not at all.
#
# The database is a folder of CSV files with header rows, in the column layout of the
# widely used public baseball history database: People.csv (or Master.csv), Batting.csv,
# Pitching.csv, Fielding.csv and Teams.csv. It is the "Database" folder named in section
# [Directories] of qrdTeams.ini in the current folder when that folder (or its "core"
# subfolder) holds the five files; otherwise sample-db/ beside this script.
#
# How the team is chosen (the same database and arguments always give the same file):
#   - Only the stints of the team count: a player traded in mid-season appears on each of
#     his teams with that team's numbers; two stints with the same team are added up.
#   - Batters are the players with games at a position other than pitcher, or who batted
#     without pitching. A pitcher who also batted appears only among the pitchers, unless
#     he also played in the field.
#   - Position games come from the fielding rows. Where a team's outfielders have only
#     "OF" rows, they take centre, right and left field in turn, most games first. Games
#     a batter played without a fielding record count as designated-hitter games ("D"),
#     unless the database has "DH" fielding rows for the team, which are then used.
#   - <type> 1 is a line-up with a designated hitter: eight fielders and a DH (position
#     code 10). <type> 0 is a line-up without one: eight fielders, and the pitcher's turn
#     at bat as the ninth line, "00    01" (a starter place with no batter in it).
#     Without a type, AL seasons from 1973 and NL seasons from 2022 get the DH.
#   - Starters: each of catcher, first, second, third, short, left, centre and right goes
#     to the batter with the most games there, the largest game counts being placed first;
#     a place nobody played is taken by the remaining batter with the most games. The
#     designated hitter is the remaining batter with the most "D" games, then at bats.
#   - Batting order: fourth the starter with the most home runs, third the best on-base
#     plus slugging of the rest, first and second the best on-base averages of the rest,
#     then the others by on-base plus slugging; the pitcher's turn is ninth.
#   - Pitchers: starters (at least half their games started) by games started, then
#     innings; then relievers by saves, games, innings.
#   - Bench: the other batters by at bats, then games.
#   - Ties are broken by player ID. Values too large for their field are capped (99 for
#     stolen bases). Doubles and triples allowed, when the pitching file has no such
#     columns, are estimated from the league's share of doubles and triples among hits.
#
# Exits 0 after writing the file and one line on standard output. Exits non-zero with
# one line on standard error, writing nothing, for bad arguments or an unknown
# year/team/league (1), a missing or malformed database (2) or a file it cannot write (3).
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Spec;
use File::Temp qw(tempfile);
use Cwd qw(getcwd);
use Encode qw(decode encode);

sub fail {
    my ($code, $message) = @_;
    print STDERR "kalbrix8.pl: $message\n";
    exit $code;
}

# ---------------------------------------------------------------------------------------
# Arguments

sub parseArguments {
    my @args = @_;
    my $usage = 'usage: kalbrix8.pl <year> <TEAM> <league> <file>.dat <type>';
    fail(1, $usage) if @args < 3;
    my ($year, $team) = splice @args, 0, 2;
    fail(1, "the year must be a number of four digits, not \"$year\"") unless $year =~ /^\d{4}$/;
    # Empty arguments vanish on the command line, so the file name is found by its
    # extension: a league may stand before it, a type after it.
    my ($at) = grep { $args[$_] =~ /\.dat$/i } 0 .. $#args;
    fail(1, "no team file name ending in .dat; $usage") unless defined $at;
    fail(1, $usage) if $at > 1 || @args - $at > 2;
    my $league = $at == 1 ? $args[0] : '';
    my $file = $args[$at];
    my $type = $args[$at + 1] // '';
    fail(1, 'no team file name given') if $file =~ /^\.dat$/i;
    fail(1, "the team file name \"$file\" must not name a folder") if $file =~ m{/};
    fail(1, "the type must be 0 or 1, not \"$type\"") unless $type =~ /^[01]?$/;
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

sub databaseFiles {
    my ($dir) = @_;
    for my $d ($dir, "$dir/core") {
        my ($people) = grep { -f "$d/$_" } qw(People.csv Master.csv);
        next unless $people && !grep { !-f "$d/$_" } qw(Teams.csv Batting.csv Pitching.csv Fielding.csv);
        return ((map { $_ => "$d/$_.csv" } qw(Teams Batting Pitching Fielding)), People => "$d/$people");
    }
    return;
}

sub chooseDatabase {
    my $setting = databaseSetting();
    if ($setting ne '') {
        my %files = databaseFiles($setting);
        return \%files if %files;
        print "kalbrix8.pl: the Database folder $setting does not hold People, Batting, "
            . "Pitching, Fielding and Teams CSV files; using the sample database\n";
    }
    my $sample = File::Spec->rel2abs(dirname(__FILE__)) . '/sample-db';
    return {map { $_ => "$sample/$_.csv" } qw(Teams Batting Pitching Fielding People)};
}

# ---------------------------------------------------------------------------------------
# CSV files

sub openCsv {
    my ($path, @needed) = @_;
    open my $fh, '<:raw', $path or fail(2, "cannot read $path: $!");
    my $header = <$fh>;
    fail(2, "$path line 1: the file is empty") unless defined $header;
    $header =~ s/^\xEF\xBB\xBF//;
    $header =~ s/[\r\n]+\z//;
    my $csv = {fh => $fh, path => $path, line => 1};
    my $names = splitCsv($csv, $header);
    my %col;
    $col{$names->[$_]} //= $_ for 0 .. $#$names;
    $csv->{col} = \%col;
    $csv->{commas} = $#$names;
    for my $name (@needed) {
        fail(2, "$path line 1: no column \"$name\"") unless exists $col{$name};
    }
    return $csv;
}

# One record's fields. Fields may be quoted with double quotes, a doubled quote standing
# for one; a record ends at the line's end.
sub splitCsv {
    my ($csv, $text) = @_;
    return [split /,/, $text, -1] if index($text, '"') < 0;
    my @fields;
    pos($text) = 0;
    while (1) {
        if ($text =~ /\G"((?:[^"]|"")*)"(,|\z)/gc) {
            my ($v, $end) = ($1, $2);
            $v =~ s/""/"/g;
            push @fields, $v;
            last if $end eq '';
        } elsif ($text =~ /\G([^,"]*)(,|\z)/gc) {
            push @fields, $1;
            last if $2 eq '';
        } else {
            fail(2, "$csv->{path} line $csv->{line}: a quoted field is not closed properly");
        }
    }
    return \@fields;
}

# The next record as a line of text, or undef at the end. Every record is checked for
# its number of fields, so a damaged file is named with its line wherever it is damaged.
sub nextLine {
    my ($csv) = @_;
    my $fh = $csv->{fh};
    while (defined(my $line = <$fh>)) {
        $csv->{line}++;
        $line =~ s/[\r\n]+\z//;
        next if $line eq '';
        my $quoted = index($line, '"') >= 0;
        my $n = $quoted ? scalar @{splitCsv($csv, $line)} : ($line =~ tr/,//) + 1;
        fail(2, "$csv->{path} line $csv->{line}: $n fields where the header has "
            . ($csv->{commas} + 1)) if $n != $csv->{commas} + 1;
        return $line;
    }
    close $fh;
    return undef;
}

sub fieldsOf {
    my ($csv, $line) = @_;
    return splitCsv($csv, $line);
}

# A count from a record: empty means unknown and counts as 0.
sub number {
    my ($csv, $fields, $name) = @_;
    my $i = $csv->{col}{$name};
    return 0 unless defined $i;
    my $v = $fields->[$i];
    return 0 if $v eq '';
    fail(2, "$csv->{path} line $csv->{line}: $name is not a whole number: \"$v\"")
        unless $v =~ /^\s*-?\d+\s*$/;
    return $v + 0;
}

sub text {
    my ($csv, $fields, $name) = @_;
    return $fields->[$csv->{col}{$name}];
}

# ---------------------------------------------------------------------------------------
# Reading the season

sub readTeam {
    my ($db, $arg) = @_;
    my $csv = openCsv($db->{Teams}, qw(yearID lgID teamID name));
    my (@clubs, $found, $inOtherLeague);
    while (defined(my $line = nextLine($csv))) {
        my $f = fieldsOf($csv, $line);
        next unless number($csv, $f, 'yearID') == $arg->{year};
        my $id = uc text($csv, $f, 'teamID');
        my $lg = uc text($csv, $f, 'lgID');
        push @clubs, $id;
        next unless $id eq $arg->{team};
        if ($arg->{league} ne '' && $lg ne $arg->{league}) {
            $inOtherLeague = $lg;
            next;
        }
        my $div = exists $csv->{col}{divID} ? text($csv, $f, 'divID') : '';
        $found = {id => $id, league => $lg, name => text($csv, $f, 'name'),
                  letter => ($div =~ /^[A-Za-z]$/ ? uc $div : substr("${lg}X", 0, 1))};
    }
    fail(1, "no season $arg->{year} in $db->{Teams}") unless @clubs;
    return $found if $found;
    fail(1, "no team $arg->{team} in league $arg->{league} in $arg->{year}; "
        . "$arg->{team} played in $inOtherLeague") if $inOtherLeague;
    fail(1, "no team $arg->{team} in $arg->{year}; the clubs are " . join(' ', sort @clubs));
}

# Rows of a stint file for the team and season, handed to $take; $each sees every row of
# the season (for league totals).
sub scanSeason {
    my ($csv, $team, $year, $take, $each) = @_;
    my $mark = ",$year,";
    while (defined(my $line = nextLine($csv))) {
        next if index($line, $mark) < 0 && index($line, '"') < 0 && index($line, "$year,") != 0;
        my $f = fieldsOf($csv, $line);
        next unless number($csv, $f, 'yearID') == $year;
        $each->($f) if $each;
        next unless uc text($csv, $f, 'teamID') eq $team->{id}
            && uc text($csv, $f, 'lgID') eq $team->{league};
        $take->($f, text($csv, $f, 'playerID'));
    }
}

my @battingCols = qw(G AB H 2B 3B HR BB SO RBI SB CS);

sub readBatting {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Batting}, qw(playerID yearID stint teamID lgID), @battingCols);
    my (%bat, %league);
    scanSeason($csv, $team, $year,
        sub {
            my ($f, $id) = @_;
            $bat{$id}{$_} += number($csv, $f, $_) for @battingCols;
        },
        sub {
            my ($f) = @_;
            return unless uc text($csv, $f, 'lgID') eq $team->{league};
            $league{$_} += number($csv, $f, $_) for qw(H 2B 3B);
        });
    return (\%bat, \%league);
}

my @pitchingCols = qw(IPouts H HR BB SO ER W L SV G GS);

sub readPitching {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Pitching}, qw(playerID yearID stint teamID lgID), @pitchingCols);
    my $hasExtraBaseHits = exists $csv->{col}{'2B'} && exists $csv->{col}{'3B'};
    my %pit;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        $pit{$id}{$_} += number($csv, $f, $_) for @pitchingCols, ($hasExtraBaseHits ? ('2B', '3B') : ());
    });
    return (\%pit, $hasExtraBaseHits);
}

my %positionOf = (C => 2, '1B' => 3, '2B' => 4, '3B' => 5, SS => 6, LF => 7, CF => 8, RF => 9,
                  DH => 'D', OF => 'OF', P => 'P');

sub readFielding {
    my ($db, $team, $year) = @_;
    my $csv = openCsv($db->{Fielding}, qw(playerID yearID stint teamID lgID POS G E));
    my %fld;
    scanSeason($csv, $team, $year, sub {
        my ($f, $id) = @_;
        my $pos = $positionOf{uc text($csv, $f, 'POS')} // return;
        $fld{$id}{$pos}{G} += number($csv, $f, 'G');
        $fld{$id}{$pos}{E} += number($csv, $f, 'E');
    });
    return \%fld;
}

# Names and handedness of the players wanted.
sub readPeople {
    my ($db, $wanted) = @_;
    my $csv = openCsv($db->{People}, qw(playerID nameFirst nameLast bats throws));
    my %people;
    while (defined(my $line = nextLine($csv))) {
        my $comma = index($line, ',');
        next unless $wanted->{substr($line, 0, $comma < 0 ? length $line : $comma)}
            || index($line, '"') == 0;
        my $f = fieldsOf($csv, $line);
        my $id = text($csv, $f, 'playerID');
        next unless $wanted->{$id};
        $people{$id} = {map { $_ => text($csv, $f, $_) } qw(nameFirst nameLast bats throws)};
    }
    return \%people;
}

# ---------------------------------------------------------------------------------------
# Choosing the team

my @fieldPositions = (2 .. 9);
my @groupOrder = (2 .. 9, 'D');
my %groupRank = map { $groupOrder[$_] => $_ } 0 .. $#groupOrder;

sub buildRoster {
    my ($bat, $pit, $fld) = @_;
    my %ids = map { $_ => 1 } keys %$bat, keys %$pit, keys %$fld;
    my $hasDhRows = grep { $fld->{$_}{D} } keys %$fld;

    my (@batters, @outfieldOnly);
    for my $id (sort keys %ids) {
        my $f = $fld->{$id} // {};
        my $row = $bat->{$id} // {};
        my $isPitcher = $pit->{$id} || $f->{P};
        my %games = map { $_ => $f->{$_}{G} } grep { /^\d$/ } keys %$f;
        my $fielded = 0;
        $fielded += $games{$_} for keys %games;
        $fielded += $f->{OF}{G} if $f->{OF};
        next if $isPitcher && !$fielded;
        next unless %$row || $fielded;
        my $errors = 0;
        $errors += $f->{$_}{E} for grep { $_ ne 'P' } keys %$f;
        my $batter = {id => $id, games => \%games, errors => $errors,
                      map { $_ => $row->{$_} // 0 } @battingCols};
        if ($hasDhRows) {
            $games{D} = $f->{D}{G} if $f->{D};
        } else {
            my $extra = $batter->{G} - $fielded - ($f->{P} ? $f->{P}{G} : 0);
            $games{D} = $extra if $extra > 0;
        }
        $batter->{G} ||= (sort { $b <=> $a } values %games, 0)[0];
        if ($f->{OF} && !grep { $games{$_} } 7, 8, 9) {
            $batter->{of} = $f->{OF}{G};
            push @outfieldOnly, $batter;
        }
        push @batters, $batter;
    }
    my @turn = (8, 9, 7);
    my $i = 0;
    for my $x (sort { $b->{of} <=> $a->{of} || $a->{id} cmp $b->{id} } @outfieldOnly) {
        $x->{games}{$turn[$i++ % 3]} += $x->{of};
    }
    @batters = grep { hasGames($_) } @batters;

    my @pitchers = map { {id => $_, %{$pit->{$_}}} } keys %$pit;
    return (\@batters, \@pitchers);
}

sub hasGames {
    my ($batter) = @_;
    return grep { $_ > 0 } values %{$batter->{games}};
}

# Positions by games, most first; ties in the order catcher to right field, then D.
sub groupsOf {
    my ($batter) = @_;
    my $g = $batter->{games};
    return sort { $g->{$b} <=> $g->{$a} || $groupRank{$a} <=> $groupRank{$b} }
        grep { $g->{$_} > 0 } keys %$g;
}

sub onBase {
    my ($b) = @_;
    my $d = $b->{AB} + $b->{BB};
    return $d ? ($b->{H} + $b->{BB}) / $d : 0;
}

sub slugging {
    my ($b) = @_;
    return 0 unless $b->{AB};
    return ($b->{H} + $b->{'2B'} + 2 * $b->{'3B'} + 3 * $b->{HR}) / $b->{AB};
}

sub ops { return onBase($_[0]) + slugging($_[0]) }

# The starters as [batter or undef for the pitcher's turn, position code], in batting order.
sub lineUp {
    my ($batters, $withDh) = @_;
    my %byId = map { $_->{id} => $_ } @$batters;
    my (%taken, %filled);
    my @pairs;
    for my $x (@$batters) {
        push @pairs, [$x->{id}, $_, $x->{games}{$_}] for grep { $x->{games}{$_} } @fieldPositions;
    }
    for my $p (sort { $b->[2] <=> $a->[2] || $a->[1] <=> $b->[1] || $a->[0] cmp $b->[0] } @pairs) {
        next if $taken{$p->[0]} || $filled{$p->[1]};
        $taken{$p->[0]} = 1;
        $filled{$p->[1]} = $byId{$p->[0]};
    }
    my @rest = sort { $b->{G} <=> $a->{G} || $b->{AB} <=> $a->{AB} || $a->{id} cmp $b->{id} }
        grep { !$taken{$_->{id}} } @$batters;
    for my $pos (@fieldPositions) {
        next if $filled{$pos} || !@rest;
        $filled{$pos} = shift @rest;
        $taken{$filled{$pos}{id}} = 1;
    }
    my @starters = map { [$filled{$_}, $_] } grep { $filled{$_} } @fieldPositions;
    if ($withDh) {
        my ($dh) = sort { ($b->{games}{D} // 0) <=> ($a->{games}{D} // 0) || $b->{AB} <=> $a->{AB}
                          || $a->{id} cmp $b->{id} } @rest;
        if ($dh) {
            push @starters, [$dh, 10];
            $taken{$dh->{id}} = 1;
        }
    }

    my @order;
    my $takeBest = sub {
        my ($cmp) = @_;
        return unless @starters;
        @starters = sort { $cmp->($a->[0], $b->[0]) || $a->[0]{id} cmp $b->[0]{id} } @starters;
        return shift @starters;
    };
    my $fourth = $takeBest->(sub { $_[1]{HR} <=> $_[0]{HR} || ops($_[1]) <=> ops($_[0]) });
    my $third = $takeBest->(sub { ops($_[1]) <=> ops($_[0]) });
    my $first = $takeBest->(sub { onBase($_[1]) <=> onBase($_[0]) || $_[1]{SB} <=> $_[0]{SB} });
    my $second = $takeBest->(sub { onBase($_[1]) <=> onBase($_[0]) });
    my @others = sort { ops($b->[0]) <=> ops($a->[0]) || $a->[0]{id} cmp $b->[0]{id} } @starters;
    @order = grep { defined } $first, $second, $third, $fourth;
    push @order, @others;
    push @order, [undef, 1] while @order < 9;
    my @bench = sort { $b->{AB} <=> $a->{AB} || $b->{G} <=> $a->{G} || $a->{id} cmp $b->{id} }
        grep { !$taken{$_->{id}} } @$batters;
    return (\@order, \@bench);
}

sub pitchingStaff {
    my ($pitchers) = @_;
    my @starters = grep { $_->{GS} * 2 >= $_->{G} && $_->{GS} > 0 } @$pitchers;
    my %isStarter = map { $_->{id} => 1 } @starters;
    my @relievers = grep { !$isStarter{$_->{id}} } @$pitchers;
    return ((sort { $b->{GS} <=> $a->{GS} || $b->{IPouts} <=> $a->{IPouts} || $a->{id} cmp $b->{id} } @starters),
            (sort { $b->{SV} <=> $a->{SV} || $b->{G} <=> $a->{G} || $b->{IPouts} <=> $a->{IPouts}
                    || $a->{id} cmp $b->{id} } @relievers));
}

# ---------------------------------------------------------------------------------------
# Writing the team file

# Database text is UTF-8 or plain ASCII; team files are single-byte Latin-1.
sub latin1 {
    my ($s) = @_;
    $s //= '';
    my $copy = $s;
    my $u = eval { decode('UTF-8', $copy, Encode::FB_CROAK) };
    return $s unless defined $u;
    return encode('ISO-8859-1', $u, sub { '?' });
}

sub cap {
    my ($v, $width) = @_;
    my $max = 10**$width - 1;
    return $v < 0 ? 0 : $v > $max ? $max : $v;
}

sub nameField {
    my ($people, $id) = @_;
    my $p = $people->{$id};
    return sprintf('%-18.18s', "$id, ") unless $p;
    return sprintf('%-18.18s', latin1("$p->{nameLast}, $p->{nameFirst}"));
}

sub hand {
    my ($value) = @_;
    # A switch hitter is written as a left-handed batter.
    return uc($value // '') =~ /^[LB]/ ? 'L' : 'R';
}

sub batterLine {
    my ($b, $code, $people) = @_;
    my @v = map { cap($b->{$_}, 3) } qw(AB H 2B 3B HR BB SO RBI);
    my $line = sprintf('00    %02d %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d', $code,
                       nameField($people, $b->{id}), @v, hand($people->{$b->{id}}{bats}),
                       cap($b->{errors}, 3), cap($b->{SB}, 2), cap($b->{CS}, 2), cap($b->{G}, 3));
    my @groups = (groupsOf($b))[0 .. 2];
    $line .= sprintf(' %03d-%s', cap($b->{games}{$_}, 3), $_) for grep { defined } @groups;
    return $line;
}

sub pitcherLine {
    my ($p, $people, $league, $hasExtraBaseHits) = @_;
    my ($d2, $d3) = ($p->{'2B'}, $p->{'3B'});
    unless ($hasExtraBaseHits) {
        ($d2, $d3) = map { $league->{H} ? int($p->{H} * $league->{$_} / $league->{H} + 0.5) : 0 } '2B', '3B';
    }
    my $outs = $p->{IPouts};
    my $era = $outs ? int((2700 * $p->{ER} * 2 + $outs) / (2 * $outs)) : $p->{ER} ? 999 : 0;
    return sprintf('00    01 %s%3d %3d %3d %3d %3d %3d %3d %3d %s %3d %2d %2d %3d %3d',
                   nameField($people, $p->{id}), cap(int(($outs + 1) / 3), 3), cap($p->{H}, 3),
                   cap($d2, 3), cap($d3, 3), cap($p->{HR}, 3), cap($p->{BB}, 3), cap($p->{SO}, 3),
                   cap($era, 3), hand($people->{$p->{id}}{throws}), cap($p->{W}, 3), cap($p->{L}, 2),
                   cap($p->{SV}, 2), cap($p->{G}, 3), cap($p->{GS}, 3));
}

my $batterTitles = ' AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P';

sub writeWhole {
    my ($file, @lines) = @_;
    my $folder = getcwd() // '.';
    my ($fh, $temp) = eval { tempfile('.kalbrix8-XXXXXX', DIR => '.', UNLINK => 0) };
    fail(3, "cannot write $file in $folder: " . ($! || 'the folder cannot be written')) unless $fh;
    binmode $fh;
    my $ok = print $fh map { "$_\r\n" } @lines;
    $ok = close($fh) && $ok;
    my $mask = umask;
    $ok &&= chmod(0666 & ~$mask, $temp);
    $ok &&= rename($temp, $file);
    unless ($ok) {
        my $why = $!;
        unlink $temp;
        fail(3, "cannot write $file in $folder: $why");
    }
}

# ---------------------------------------------------------------------------------------

my %arg = parseArguments(@ARGV);
my $db = chooseDatabase();
my $team = readTeam($db, \%arg);
my ($bat, $league) = readBatting($db, $team, $arg{year});
my ($pit, $hasExtraBaseHits) = readPitching($db, $team, $arg{year});
my $fld = readFielding($db, $team, $arg{year});
my $people = readPeople($db, {map { $_ => 1 } keys %$bat, keys %$pit, keys %$fld});

my $type = $arg{type} ne '' ? $arg{type}
    : ($team->{league} eq 'AL' && $arg{year} >= 1973) || ($team->{league} eq 'NL' && $arg{year} >= 2022) ? 1 : 0;
my ($batters, $pitchers) = buildRoster($bat, $pit, $fld);
my ($order, $bench) = lineUp($batters, $type);
my @staff = pitchingStaff($pitchers);

my @lines = (sprintf('*A       %s%04d %-12.12s%s', $team->{letter}, $arg{year}, latin1($team->{name}),
                     $batterTitles));
push @lines, map { $_->[0] ? batterLine($_->[0], $_->[1], $people) : '00    01' } @$order;
push @lines, '*Pitchers                  Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St';
push @lines, map { pitcherLine($_, $people, $league, $hasExtraBaseHits) } @staff;
push @lines, '*Bench                     ' . $batterTitles;
push @lines, map {
    my @g = groupsOf($_);
    batterLine($_, $g[0] eq 'D' ? 10 : $g[0], $people)
} @$bench;
writeWhole($arg{file}, @lines);
printf "kalbrix8.pl: wrote %s: %s %d (%s), %s, %d pitchers, %d on the bench, from %s\n",
    $arg{file}, $team->{name}, $arg{year}, $team->{league},
    $type ? 'line-up with a designated hitter' : 'line-up without a designated hitter',
    scalar @staff, scalar @$bench, dirname($db->{Teams});
