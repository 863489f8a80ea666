#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes an invented baseball statistics database in the CSV layout of the public history
# database as published today: People.csv (a numeric ID column first, rows not in ID
# order), Teams.csv, Batting.csv, Pitching.csv, Fielding.csv (outfielders as "OF" only)
# and Appearances.csv (games at every position, left, centre and right field, designated
# hitter, pinch hitter and pinch runner). Every name, club and number is made up. The
# output depends only on the options, so the same call always writes the same bytes.
#
#   make-sample-db.pl [--out DIR] [--history] [--truth FILE]
#
# Without --history it writes the small sample kept beside this script: two leagues of
# four clubs, seasons 1908, 2000 and 2001. With --history it writes a database of the
# full public one's size and shape: 1871 to 2024, the leagues of each era with their
# numbers of clubs and season lengths (about 117,000 batting, 52,000 pitching, 158,000
# fielding and 110,000 appearances rows, 23,000 people, 3,000 club seasons), in a "core"
# folder, with FieldingOFsplit.csv, and Batting.csv as an R export writes it ("X2B",
# "NA"). --truth writes each player's real main position per club and season beside
# his plate appearances and whether he belongs on the pitching staff.
#
# The quirks a reader meets in the real files are all here: empty fields in early
# seasons, NA, stints of traded players (one returns to his club), designated-hitter
# games counted for National League players in interleague seasons, a two-way player who
# pitches and is the everyday designated hitter, position players with a mop-up inning,
# an everyday player whose fielding rows are missing (in the history his positions are
# missing from Appearances too), names with diacritics, initials and a comma, managers
# with no hand and no debut, clubs sharing a city and a club that moves to another city.
# The history adds batters who only pinch-hit (main position "PH" in the truth); on the
# first club of each league two players of one name, a regular whose rows at his main
# position are mostly missing (even years), a designated hitter who fills in at first
# base, a catcher who gets on base best and never steals, and before 1890 a workhorse
# pitcher who plays the field; and it has the early seasons' gaps: batters' strike-outs
# before 1913, caught stealing before 1951.
use strict;
use warnings;
use utf8;
use Getopt::Long;
use File::Basename qw(dirname);
use File::Path qw(make_path);

my %opt = (out => dirname(__FILE__), history => 0, truth => '');
GetOptions(\%opt, 'out=s', 'history', 'truth=s')
    or die "usage: make-sample-db.pl [--out DIR] [--history] [--truth FILE]\n";
my $history = $opt{history};
my $out = $history ? "$opt{out}/core" : $opt{out};
make_path($out);

# A small linear congruential generator of our own, so no Perl build changes the output.
my $seed = 20011;
sub rnd {    # integer in [0, n)
    my ($n) = @_;
    $seed = ($seed * 1103515245 + 12345) % 2147483648;
    return int(($seed / 2147483648) * $n);
}
sub between { my ($lo, $hi) = @_; return $lo + rnd($hi - $lo + 1); }
sub pick { return $_[rnd(scalar @_)]; }
sub frac { my ($n, $p) = @_; return int($n * $p + 0.5); }
sub chance { my ($n) = @_; return rnd($n) == 0; }

my @given = qw(Abel Amos Arlo Barney Bert Boyd Cal Clem Cletus Dane Dewey Dex Eben Elmo Emmett
  Ferris Floyd Gage Garnet Hollis Homer Ike Jasper Jethro Lamar Lonnie Luther Merle Milo Monty
  Nash Odell Orrin Otto Percy Quill Rafe Reuben Rollo Rufus Sully Tad Thad Ulric Vance Virgil
  Wade Waldo Wendell Zeb Anselmo Bartolo Chano Eligio Fausto Ignacio Lazaro Nestor Octavio
  José Ramón Andrés Joaquín);
my @front = qw(Ash Bram Cald Dun Fen Gar Hal Kes Lind Marl Nor Pell Quar Rad Stam Tull Vor
  Wex Yarn Zell Brock Crane Dorr Frost Grail Hask Jory Kemp Lusk Mott Acu Ibá Nuñ);
my @back = qw(by ford wick ley ton ridge well mont stead holm dale vane croft wood berg
  mere shaw ham sett ow ña ez);
my @cityA = qw(Port North Cedar Granite Kestrel Mill Ash Cinder Lake Ridge Iron Salt Copper
  Silver Hollow Fox Elm Pine Stone River Bay Maple Osprey Thistle Wren);
my @cityB = ('Alder', 'ville', ' Falls', 'haven', 'mont', 'brook', ' Harbor', 'field',
  ' Springs', 'ton', 'burg', ' Crossing', ' Point', 'wick', 'stead');
my @nick = ('Gulls', 'Miners', 'Comets', 'Foxes', 'Pilots', 'Bison', 'Owls', 'Herons', 'Lanterns',
  'Stokers', 'Pioneers', 'Mariners', 'Rovers', 'Badgers', 'Hawks', 'Clippers', 'Drovers', 'Falcons',
  'Rangers', 'Tinkers', 'Ospreys', 'Barons', 'Red Stockings', 'White Caps', 'Blue Legs');

# ---------------------------------------------------------------------------------------
# Seasons, leagues and clubs

my @years = $history ? (1871 .. 2024) : (1908, 2000, 2001);

# Clubs in a league in a season, as in the real history.
sub clubsIn {
    my ($lg, $y) = @_;
    return 4 unless $history;
    return $y <= 1875 ? (9, 11, 9, 8, 13)[$y - 1871] : 0 if $lg eq 'NA';
    return $y == 1884 ? 12 : $y == 1882 ? 6 : $y == 1891 ? 9 : 8 if $lg eq 'AA' && $y >= 1882 && $y <= 1891;
    return 12 if $lg eq 'UA' && $y == 1884;
    return 8 if $lg eq 'PL' && $y == 1890;
    return 8 if $lg eq 'FL' && ($y == 1914 || $y == 1915);
    return $y < 1892 ? 8 : $y < 1900 ? 12 : $y < 1962 ? 8 : $y < 1969 ? 10 : $y < 1993 ? 12
        : $y < 1998 ? 14 : $y < 2013 ? 16 : 15 if $lg eq 'NL' && $y >= 1876;
    return $y < 1961 ? 8 : $y < 1969 ? 10 : $y < 1977 ? 12 : $y < 2013 ? 14 : 15 if $lg eq 'AL' && $y >= 1901;
    return 0;
}

sub seasonGames {
    my ($lg, $y) = @_;
    return 60 if $y == 2020;
    return 107 if $y == 1981;
    return 115 if $y == 1994;
    return 30 + ($y - 1871) * 10 if $y <= 1875;
    return 60 + ($y - 1876) * 5 if $y < 1884;
    return 112 + ($y - 1884) * 3 if $y < 1892;
    return 138 if $y < 1904;
    return ($lg eq 'AL' && $y >= 1961) || $y >= 1962 ? 162 : 154;
}

sub hasDh {
    my ($lg, $y) = @_;
    return ($lg eq 'AL' && $y >= 1973) || ($lg eq 'NL' && ($y == 2020 || $y >= 2022));
}

my (%codeUsed, %franchUsed, %cityClubs);
sub newCode {
    my ($city) = @_;
    (my $letters = uc $city) =~ s/[^A-Z]//g;
    my $code = substr($letters, 0, 2) . substr($letters, -1);
    my $n = 0;
    $code = substr($letters, 0, 2) . chr(65 + $n++) while $codeUsed{$code} && $n < 26;
    $code = sprintf('X%02d', $n++ % 100) while $codeUsed{$code};
    $codeUsed{$code} = 1;
    return $code;
}
sub newCity {
    my $city;
    do { $city = pick(@cityA) . pick(@cityB) } while $cityClubs{$city};
    return $city;
}

# A new club; now and then in a city that already has a club of another league.
sub newClub {
    my ($lg, $active, $shareWith) = @_;
    my $city = $shareWith ? $shareWith->{city} : newCity();
    my %names = map { $_->{nick} => 1 } grep { $_->{city} eq $city } @$active;
    my $nick;
    do { $nick = pick(@nick) } while $names{$nick};
    my $code = newCode($city);
    my $franch = $code;
    $franch = "F" . substr($franch, 1) while $franchUsed{$franch}++;
    $cityClubs{$city}++;
    return {code => $code, franch => $franch, lg => $lg, city => $city, nick => $nick,
            park => ($cityClubs{$city} == 1 ? "Field, $city" : "$city Grounds")};
}

sub moveClub {
    my ($club, $city) = @_;
    $cityClubs{$club->{city}}--;
    $club->{city} = $city;
    $club->{code} = newCode($city);
    $cityClubs{$city}++;
    $club->{park} = "$city Park";
}

# ---------------------------------------------------------------------------------------
# Players

my (@people, %idUsed);
sub newPerson {
    my ($year, %extra) = @_;
    my $last = pick(@front) . pick(@back);
    my $first = pick(@given);
    $first = pick('A. J.', 'J. T.', 'C. B.') if @people % 89 == 11;
    # Now and then a suffix, which puts a comma inside the surname field.
    $last .= ', Jr.' if @people % 97 == 7;
    (my $stem = lc $last) =~ s/[^a-z]//g;
    (my $g = lc $first) =~ s/[^a-z]//g;
    my $id;
    my $n = 1;
    do { $id = substr($stem, 0, 5) . substr("${g}xx", 0, 2) . sprintf('%02d', $n++) } while $idUsed{$id}++;
    my $throws = rnd(10) < 3 ? 'L' : 'R';
    my $bats = $throws eq 'L' ? (rnd(10) < 8 ? 'L' : 'B') : (pick('R', 'R', 'R', 'L', 'B'));
    ($bats, $throws) = ('', '') if $year < 1885 && chance(6);
    my %p = (id => $id, first => $first, last => $last, bats => $bats, throws => $throws,
             born => $year - between(21, 27), debut => $year, %extra);
    push @people, \%p;
    return \%p;
}

my @regularPos = qw(C 1B 2B 3B SS LF CF RF);
sub newPlayer {
    my ($role, $year, $pos) = @_;
    return newPerson($year, role => $role,
        # Talent, fixed for a career.
        avg => between(215, 320), pow => between(3, 60), eye => between(50, 130),
        speed => between(0, 10), era => between(250, 620), ctl => between(25, 50),
        stuff => between(45, 110), pos => $pos // pick(@regularPos),
        alt => pick(qw(1B 2B 3B SS LF CF RF C)), years => between(1, 10));
}

# Managers and executives: in People with no hand, no debut and no playing rows.
sub newManager {
    my ($year) = @_;
    my $p = newPerson($year - 20, role => 'M');
    @$p{qw(bats throws debut)} = ('', '', '');
    $p->{city} = 'Springfield, Ohio' if chance(2);
}

# ---------------------------------------------------------------------------------------
# Rows

my (@bat, @pit, @fld, @ofs, @app, @teams, @truth);

sub early { my ($year, $from) = @_; return $year < $from }
sub known { my ($year, $from, $v) = @_; return $year < $from ? '' : $v }

# One club season of one player, gathered here and written as rows at the end.
sub battingRow {
    my ($p, $year, $stint, $club, $g, $ab) = @_;
    my $h = frac($ab, $p->{avg} / 1000);
    my $d2 = frac($h, between(15, 25) / 100);
    my $d3 = frac($h, between(0, 4) / 100);
    my $hr = frac($ab, $p->{pow} / 1000 * ($year < 1920 ? 0.3 : 1));
    $hr = $h - $d2 - $d3 if $hr > $h - $d2 - $d3;
    my $bb = frac($ab, $p->{eye} / 1000);
    my $so = frac($ab, between(10, 24) / 100);
    my $sb = frac($g, $p->{speed} / 40);
    my $cs = frac($sb, 0.3);
    my ($hbp, $sh, $sf) = (between(0, 6), between(0, 8), between(0, 6));
    push @bat, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $g, $ab, frac($h, 0.4) + $hr, $h,
                $d2, $d3, $hr, frac($h, 0.35) + $hr, $sb, known($year, 1951, $cs), $bb,
                known($year, 1913, $so), known($year, 1955, frac($bb, 0.08)), known($year, 1887, $hbp),
                known($year, 1894, $sh), known($year, 1954, $sf), known($year, 1939, frac($ab, 0.02))];
    return $ab + $bb + ($year < 1887 ? 0 : $hbp) + ($year < 1894 ? 0 : $sh) + ($year < 1954 ? 0 : $sf);
}

sub fieldingRow {
    my ($p, $year, $stint, $club, $pos, $g, $gs) = @_;
    my $e = frac($g, ({C => 6, '1B' => 5, '2B' => 9, '3B' => 11, SS => 13, OF => 4, P => 3}->{$pos}) / 100
                  * ($year < 1900 ? 3 : 1));
    push @fld, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $pos, $g, known($year, 1954, $gs),
                known($year, 1954, $gs * 26), $g * 2, $g, $e, frac($g, 0.1),
                ($pos eq 'C' ? between(2, 12) : ''), '', '', '', ''];
}

sub pitchingRow {
    my ($p, $year, $stint, $club, $g, $gs, $sv, $outs) = @_;
    $outs //= $gs ? $gs * between($year < 1920 ? 24 : 15, $year < 1920 ? 27 : 21) + ($g - $gs) * 3
                  : $g * between(2, 4);
    my $ip = $outs / 3;
    my $er = frac($ip, $p->{era} / 900);
    my $h = frac($ip, between(85, 110) / 100);
    my $hr = frac($ip, between(5, 14) / 100 * ($year < 1920 ? 0.3 : 1));
    my $bb = frac($ip, $p->{ctl} / 100);
    my $so = frac($ip, $p->{stuff} / 100);
    my $w = $gs ? frac($gs, between(25, 55) / 100) : between(0, 6);
    my $l = $gs ? frac($gs, between(25, 50) / 100) : between(0, 5);
    my $era = $outs ? sprintf('%.2f', 27 * $er / $outs) : 'NA';
    push @pit, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $w, $l, $g, $gs,
                frac($gs, 0.1), frac($gs, 0.03), $sv, $outs, $h, $er, $hr, $bb, $so,
                ($year < 1900 ? 'NA' : sprintf('%.3f', $h / ($outs + $h || 1))), $era,
                known($year, 1955, frac($bb, 0.05)), between(0, 8), between(0, 6), between(0, 2),
                known($year, 1900, $outs + $h + $bb), $gs ? 0 : frac($g, 0.4), $er + between(0, 8),
                known($year, 1900, between(0, 5)), known($year, 1954, between(0, 5)),
                known($year, 1939, between(0, 12))];
}

my %appCol = (P => 8, C => 9, '1B' => 10, '2B' => 11, '3B' => 12, SS => 13, LF => 14, CF => 15,
              RF => 16, DH => 18, PH => 19, PR => 20);

# Appearances: one row per player and club season, whatever the stints.
my %appRow;
sub appearances {
    my ($p, $year, $club, %games) = @_;
    my $key = "$year,$p->{id},$club->{code}";
    my $row = $appRow{$key} //= do {
        my $r = [$year, $club->{code}, $club->{lg}, $p->{id}, (0) x 17];
        push @app, $r;
        $r;
    };
    $row->[$appCol{$_}] += $games{$_} for grep { $_ ne 'G' && $_ ne 'GS' } keys %games;
    $row->[4] += $games{G};
    $row->[5] += $games{GS} // 0;
}

my %truthOf;
sub truth {
    my ($p, $year, $club, $pa, $onStaff, $main) = @_;
    my $t = $truthOf{"$year,$p->{id},$club->{code}"} //= do {
        my $r = {year => $year, team => $club->{code}, id => $p->{id}, pa => 0, staff => 0};
        push @truth, $r;
        $r;
    };
    $t->{pa} += $pa;
    $t->{staff} ||= $onStaff;
    $t->{main} //= $main;
}

# A pitcher's season for one club.
sub pitcherSeason {
    my ($p, $year, $stint, $club, $slot, $share, $games, %quirk) = @_;
    my $dh = hasDh($club->{lg}, $year);
    my ($g, $gs, $sv);
    my $starts = frac($games, $year < 1890 ? 0.5 : 0.2);
    if ($slot < 5) { $gs = frac(between(frac($starts, 0.7), $starts), $share); $g = $gs + between(0, 2) }
    elsif ($slot == 5) { $g = frac($games * between(30, 44) / 100, $share); $gs = 0; $sv = frac(between(18, 44) * $games / 162, $share) }
    else { $g = frac($games * between(5, 40) / 100, $share); $gs = $slot < 8 ? between(0, 6) : 0 }
    $g = 1 if $g < 1;
    $g = $gs if $g < $gs;
    pitchingRow($p, $year, $stint, $club, $g, $gs, $sv // between(0, 3));
    fieldingRow($p, $year, $stint, $club, 'P', $g, $gs);
    my %app = (G => $g, GS => $gs, P => $g);
    my $ab = $dh ? between(0, 1) * between(0, 5) : frac($gs * 2 + $g / 4, 1);
    my $bg = $g;
    if ($quirk{twoWay}) {
        # Pitches every sixth day, is the designated hitter on most others.
        my $dhGames = frac($games * between(70, 85) / 100, $share);
        $app{DH} = $dhGames;
        $app{G} += $dhGames;
        $bg += $dhGames;
        $ab = frac($dhGames, between(36, 40) / 10);
    } elsif ($quirk{outfield}) {
        # An early workhorse who plays the outfield (or first base) between starts and
        # bats in every game he plays.
        my $of = frac($games * between(20, 35) / 100, $share);
        my $pos = pick(qw(LF CF RF));
        $pos = '1B' if $quirk{firstBase};
        $app{$pos} = $of;
        $app{G} += $of;
        $bg += $of;
        $ab = frac($g + $of, 3.6);
        fieldingRow($p, $year, $stint, $club, $pos eq '1B' ? '1B' : 'OF', $of, $of);
        push @ofs, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $pos, $of, $of, '', $of * 2, 0, 1, 0]
            if $history && $pos ne '1B';
    }
    my $pa = battingRow($p, $year, $stint, $club, $bg, $ab);
    appearances($p, $year, $club, %app);
    truth($p, $year, $club, $pa, 1);
}

# A position player's season for one club: most games at his main position, some at a
# second one, the rest as pinch hitter or runner (or designated hitter where there is one).
sub hitterSeason {
    my ($p, $year, $stint, $club, $slot, $share, $games, %quirk) = @_;
    my $dh = hasDh($club->{lg}, $year);
    my $designated = $dh && $slot == 8 && !$quirk{twoWayClub};
    my $regular = $slot < 8 || $designated;
    my $g = frac($games * ($regular ? between(78, 98) : between(8, 55)) / 100, $share);
    $g = 1 if $g < 1;
    my $ab = frac($g, ($regular ? between(34, 41) : between(15, 30)) / 10);
    if ($quirk{pinchOnly}) {
        # Only ever a pinch hitter: no position, no fielding rows.
        my $pa = battingRow($p, $year, $stint, $club, $g, frac($g, 1.1));
        appearances($p, $year, $club, G => $g, PH => $g);
        truth($p, $year, $club, $pa, 0, 'PH');
        return;
    }
    my $pa = battingRow($p, $year, $stint, $club, $g, $ab);
    my $main = $designated ? 'DH' : $p->{pos};
    my $mainG = frac($g, ($regular ? between(80, 96) : between(55, 85)) / 100);
    $mainG = 1 if $mainG < 1;
    my %app = (G => $g, GS => frac($mainG, 0.9), $main => $mainG);
    my $left = $g - $mainG;
    my $alt = $p->{alt} eq $p->{pos} ? ($p->{pos} eq '1B' ? 'LF' : '1B') : $p->{alt};
    # A designated hitter who fills in at first base on his other days.
    $alt = '1B' if $quirk{dhAlt} && $designated;
    if ($left > 0) {
        my $second = between(0, $left);
        $second = $left if $quirk{dhAlt} && $designated;
        $second ||= 1 if $quirk{partFielding};
        $app{$alt} += $second;
        $left -= $second;
    }
    # Interleague games in the other league's parks count as designated-hitter games.
    if (!$dh && $club->{lg} eq 'NL' && $year >= 1997 && $left > 0 && $regular) {
        my $d = between(0, $left < 3 ? $left : 3);
        $app{DH} += $d;
        $left -= $d;
    }
    if ($left > 0) {
        my $pr = between(0, frac($left, 0.3));
        $app{PR} = $pr;
        $app{PH} = $left - $pr;
    }
    # An everyday player whose rows at his main position are mostly missing, in Fielding
    # and Appearances alike.
    $app{$main} = frac($app{$main}, 0.03) || 1 if $quirk{partFielding};
    # Fielding rows: outfielders as "OF" only, split by field in FieldingOFsplit.
    unless ($quirk{noFielding}) {
        my %field;
        for my $pos (grep { $_ ne 'DH' && $_ ne 'PH' && $_ ne 'PR' && $_ ne 'G' && $_ ne 'GS' } keys %app) {
            next unless $app{$pos};
            $field{$pos =~ /^[LCR]F\z/ ? 'OF' : $pos} += $app{$pos};
        }
        for my $pos (sort keys %field) {
            fieldingRow($p, $year, $stint, $club, $pos, $field{$pos}, frac($field{$pos}, 0.9));
        }
        if ($history) {
            for my $pos (grep { $app{$_} } qw(LF CF RF)) {
                push @ofs, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $pos, $app{$pos},
                            known($year, 1954, $app{$pos}), '', $app{$pos} * 2, 0, frac($app{$pos}, 0.04), 0];
            }
        }
    }
    my $onStaff = 0;
    if ($quirk{mopUp}) {
        pitchingRow($p, $year, $stint, $club, 1, 0, 0, between(1, 6));
        fieldingRow($p, $year, $stint, $club, 'P', 1, 0);
        $app{P} = 1;
    }
    # In the full-size history the positions of a player without fielding rows are
    # missing from Appearances too: only his games are known.
    %app = (G => $app{G}, GS => $app{GS}, PH => $app{PH} // 0, PR => $app{PR} // 0) if $quirk{noFielding} && $history;
    appearances($p, $year, $club, %app);
    truth($p, $year, $club, $pa, $onStaff, ($quirk{noFielding} && $history) || $quirk{partFielding} ? $main : undef);
}

# ---------------------------------------------------------------------------------------
# The seasons

my %active;    # league => [clubs]
my %roster;    # franchise => {hitters => [...], pitchers => [...]}
my @leagues = $history ? qw(NA NL AA UA PL AL FL) : qw(AL NL);
my $previous;
for my $year (@years) {
    my $gap = defined $previous && $year - $previous > 1;
    $previous = $year;
    # Clubs come and go with their league's size; a few move to another city.
    for my $lg (@leagues) {
        my $want = clubsIn($lg, $year);
        my $list = $active{$lg} //= [];
        pop @$list while @$list > $want;
        while (@$list < $want) {
            my @elsewhere = grep { $_->{lg} ne $lg && ($cityClubs{$_->{city}} // 0) == 1 } map { @$_ } values %active;
            my $share = @elsewhere && chance(4) ? $elsewhere[rnd(scalar @elsewhere)] : undef;
            push @$list, newClub($lg, [map { @$_ } values %active], $share);
        }
        if ($history) {
            moveClub($_, newCity()) for grep { chance(150) } @$list;
        }
    }
    # The sample's last season: one club moves into the city of a club of the other league.
    moveClub($active{AL}[3], $active{NL}[0]{city}) if !$history && $year == $years[-1];
    my @clubs = map { @{$active{$_}} } grep { $active{$_} && @{$active{$_}} } @leagues;
    newManager($year) for grep { chance(8) } @clubs;
    for my $ci (0 .. $#clubs) {
        my $club = $clubs[$ci];
        my $games = seasonGames($club->{lg}, $year);
        my $r = $roster{$club->{franch}} //= {
            hitters => [map { newPlayer('H', $year, $regularPos[$_]) } 0 .. 7],
            pitchers => [map { newPlayer('P', $year, 'P') } 1 .. 17]};
        push @{$r->{hitters}}, newPlayer('H', $year) while @{$r->{hitters}} < 20;
        # Careers end (all of them across a gap of years); new players take their places.
        for my $list ($r->{hitters}, $r->{pitchers}) {
            for my $i (0 .. $#$list) {
                my $old = $list->[$i];
                $list->[$i] = newPlayer($old->{role}, $year, $i < 8 || $old->{role} eq 'P' ? $old->{pos} : undef)
                    if $gap || --$old->{years} <= 0;
            }
        }
        my $first = $club == $active{$club->{lg}}[0];
        # The first club of each league has two players of one name, a bench player and
        # a regular, with second given names of other initials.
        if ($history && $first) {
            my ($regular, $namesake) = @{$r->{hitters}}[0, 18];
            $regular->{first} =~ s/ .*//;    # the given name's second word is the middle one
            @$namesake{qw(first last)} = @$regular{qw(first last)};
            $regular->{middle} //= 'Amos';
            $namesake->{middle} = $regular->{middle} eq 'Amos' ? 'Barney' : 'Amos';
        }
        # Its catcher gets on base better than anybody and never steals: a leadoff man
        # by on-base average alone.
        @{$r->{hitters}[0]}{qw(avg eye pow speed)} = (330, 130, 10, 0) if $history && $first;
        my $dh = hasDh($club->{lg}, $year);
        my %quirk = $history
            ? (twoWay => $dh && chance(60), mopUp => chance(6), noFielding => chance(30) || ($first && $year % 2),
               outfield => $year < 1890 && (chance(3) || $first), pinchOnly => chance(8) || ($first && $year % 2 == 0),
               partFielding => $first && $year % 2 == 0, dhAlt => $first)
            : (twoWay => $dh && $year == 2001 && $ci == 0, mopUp => $year == 2000 && $ci == 1,
               noFielding => $year == 2001 && $ci == 5, outfield => $year == 1908 && $ci == 2);
        # The tenth hitter of every sixth club is traded in mid-season to the next club;
        # every other time he comes back for the last weeks.
        my $other = $clubs[($ci + 1) % @clubs];
        for my $i (0 .. $#{$r->{hitters}}) {
            my $p = $r->{hitters}[$i];
            my %q = (mopUp => $quirk{mopUp} && $i == 4, noFielding => $quirk{noFielding} && $i == 1,
                     pinchOnly => $quirk{pinchOnly} && $i == 19, partFielding => $quirk{partFielding} && $i == 1,
                     dhAlt => $quirk{dhAlt} && $i == 8, twoWayClub => $quirk{twoWay});
            if ($i == 9 && ($ci + $year) % 6 == 0) {
                my $back = ($ci + $year) % 12 == 0;
                hitterSeason($p, $year, 1, $club, $i, 0.5, $games);
                hitterSeason($p, $year, 2, $other, 12, $back ? 0.3 : 0.5, seasonGames($other->{lg}, $year));
                hitterSeason($p, $year, 3, $club, 12, 0.2, $games) if $back;
            } else {
                hitterSeason($p, $year, 1, $club, $i, 1, $games, %q);
            }
        }
        for my $i (0 .. $#{$r->{pitchers}}) {
            pitcherSeason($r->{pitchers}[$i], $year, 1, $club, $i, 1, $games,
                          twoWay => $quirk{twoWay} && $i == 0, outfield => $quirk{outfield} && $i == 1,
                          firstBase => $quirk{partFielding});
        }
    }
    # Standings: wins follow nothing in particular, but add up within a league.
    for my $lg (@leagues) {
        my @inLg = @{$active{$lg} // []};
        next unless @inLg;
        my $games = seasonGames($lg, $year);
        my @wins = map { between(frac($games, 0.38), frac($games, 0.62)) } @inLg;
        my $sum = 0;
        $sum += $_ for @wins;
        my $shift = int(($sum - @inLg * $games / 2) / @inLg);
        for my $i (0 .. $#inLg) {
            my $c = $inLg[$i];
            my $w = $wins[$i] - $shift;
            my $div = $year < 1969 ? '' : $i < @inLg / 2 ? 'E' : 'W';
            push @teams, [$year, $lg, $c->{code}, $c->{franch}, $div, $i + 1, $games, frac($games, 0.5),
                          $w, $games - $w, ($div ? 'N' : ''), ($year < 1995 ? '' : 'N'), 'N', ($year < 1903 ? '' : 'N'),
                          between(500, 900), between(5000, 5600), between(1200, 1500), between(200, 300),
                          between(20, 60), between(20, 220), between(400, 650), known($year, 1913, between(700, 1400)),
                          between(40, 200), known($year, 1951, between(20, 70)), known($year, 1887, between(20, 60)),
                          known($year, 1954, between(30, 60)), between(500, 900), between(400, 800),
                          sprintf('%.2f', between(300, 500) / 100), between(0, 30), between(5, 20), between(20, 50),
                          $games * 27, between(1200, 1500), between(100, 220), between(400, 600), between(700, 1400),
                          between(80, 160), between(120, 180), sprintf('%.3f', between(975, 988) / 1000),
                          "$c->{city} $c->{nick}", $c->{park}, ($year < 1900 ? '' : between(800000, 3200000)),
                          between(95, 105), between(95, 105), $c->{code}, $c->{code}, $c->{code}];
        }
    }
}

# ---------------------------------------------------------------------------------------
# Writing

sub csvField {
    my ($v) = @_;
    $v //= '';
    return $v unless $v =~ /[",\r\n]/;
    $v =~ s/"/""/g;
    return qq("$v");
}

sub writeCsv {
    my ($name, $header, $rows, %how) = @_;
    my $path = "$out/$name";
    # Names carry UTF-8 letters; the other files are plain ASCII and skip the encoding layer.
    open my $fh, ($how{text} ? '>:raw:encoding(UTF-8)' : '>:raw'), "$path.tmp" or die "cannot write $path.tmp: $!\n";
    print $fh join(',', @$header), "\n";
    for my $row (@$rows) {
        my $line = join ',', map { $_ // '' } @$row;
        # Most rows hold no comma, quote or line break inside a field and go out as they are.
        $line = join ',', map { csvField($_) } @$row if ($line =~ tr/,"\r\n//) != $#$row;
        $line =~ s/(?:^|(?<=,))(?=,|\z)/NA/g if $how{na};
        print $fh $line, "\n";
    }
    close $fh or die "cannot write $path.tmp: $!\n";
    rename "$path.tmp", $path or die "cannot rename $path.tmp: $!\n";
}

# Appearances: the games left unknown in the early seasons, the designated hitter before
# there was one.
for my $row (@app) {
    my $y = $row->[0];
    $row->[6] = $row->[4] - $row->[19] - $row->[20] - ($row->[8] == $row->[4] && hasDh($row->[2], $y) ? $row->[8] : 0);
    $row->[7] = $row->[4] - $row->[18] - $row->[19] - $row->[20];
    $row->[17] = $row->[14] + $row->[15] + $row->[16];
    $row->[5] = 'NA' if $y < 1954;
    $row->[18] = 'NA' if $y < 1973 && !$row->[18];
    @$row[19, 20] = ('NA', 'NA') if $y < 1933;
}

# People are listed by player ID; their ID numbers came in the order they were made.
my $number = 0;
$_->{number} = ++$number for @people;
writeCsv('People.csv',
         [qw(ID playerID birthYear birthMonth birthDay birthCity birthCountry birthState deathYear
             deathMonth deathDay deathCountry deathState deathCity nameFirst nameLast nameGiven
             weight height bats throws debut bbrefID finalGame retroID)],
         [map { [$_->{number}, $_->{id}, $_->{born}, between(1, 12), between(1, 28), $_->{city} // '', 'USA', '',
                 '', '', '', '', '', '', $_->{first}, $_->{last}, "$_->{first} " . ($_->{middle} // pick(@given)),
                 between(160, 240), between(68, 77), $_->{bats}, $_->{throws},
                 ($_->{debut} eq '' ? '' : "$_->{debut}-04-1" . between(0, 9)), $_->{id}, '', ''] }
          sort { $a->{id} cmp $b->{id} } @people], text => 1);
writeCsv('Batting.csv',
         [qw(playerID yearID stint teamID lgID G AB R H), ($history ? qw(X2B X3B) : qw(2B 3B)),
          qw(HR RBI SB CS BB SO IBB HBP SH SF GIDP)],
         \@bat, na => $history);
writeCsv('Pitching.csv',
         [qw(playerID yearID stint teamID lgID W L G GS CG SHO SV), ($history ? 'IPOuts' : 'IPouts'),
          qw(H ER HR BB SO BAOpp ERA IBB WP HBP BK BFP GF R SH SF GIDP)],
         \@pit);
writeCsv('Fielding.csv',
         [qw(playerID yearID stint teamID lgID POS G GS InnOuts PO A E DP PB WP SB CS ZR)],
         \@fld);
writeCsv('Appearances.csv',
         [qw(yearID teamID lgID playerID G_all GS G_batting G_defense G_p G_c G_1b G_2b G_3b G_ss
             G_lf G_cf G_rf G_of G_dh G_ph G_pr)],
         \@app);
writeCsv('FieldingOFsplit.csv', [qw(playerID yearID stint teamID lgID Pos G GS InnOuts PO A E DP)], \@ofs)
    if $history;
writeCsv('Teams.csv',
         [qw(yearID lgID teamID franchID divID Rank G Ghome W L DivWin WCWin LgWin WSWin R AB H 2B
             3B HR BB SO SB CS HBP SF RA ER ERA CG SHO SV IPouts HA HRA BBA SOA E DP FP name park
             attendance BPF PPF teamIDBR teamIDlahman45 teamIDretro)],
         \@teams);

# The truth a test checks a team against: each player's main position per club season.
if ($opt{truth}) {
    my %posOf = (9 => 'C', 10 => '1B', 11 => '2B', 12 => '3B', 13 => 'SS', 14 => 'LF', 15 => 'CF',
                 16 => 'RF', 18 => 'DH', 8 => 'P');
    open my $fh, '>', $opt{truth} or die "cannot write $opt{truth}: $!\n";
    print $fh "yearID,teamID,playerID,main,PA,staff\n";
    for my $t (@truth) {
        my $row = $appRow{"$t->{year},$t->{id},$t->{team}"};
        my ($main) = sort { ($row->[$b] =~ /^\d+$/ ? $row->[$b] : 0) <=> ($row->[$a] =~ /^\d+$/ ? $row->[$a] : 0) || $a <=> $b }
            grep { $_ != 8 || $t->{staff} } keys %posOf;
        print $fh "$t->{year},$t->{team},$t->{id},", $t->{main} // $posOf{$main}, ",$t->{pa},$t->{staff}\n";
    }
    close $fh or die "cannot write $opt{truth}: $!\n";
}
printf "%s: %d people, %d batting, %d pitching, %d fielding, %d appearances, %d teams rows (%d-%d)\n",
    $out, scalar @people, scalar @bat, scalar @pit, scalar @fld, scalar @app, scalar @teams,
    $years[0], $years[-1];
