#!/usr/bin/perl
# Writes an invented baseball statistics database in the public history database's CSV
# layout: People.csv, Batting.csv, Pitching.csv, Fielding.csv and Teams.csv with header
# rows. Every name, club and number is made up. The output depends only on the options,
# so the same call always writes the same bytes.
#
#   make-sample-db.pl [--out DIR] [--first-year Y] [--seasons N] [--clubs C] [--leagues AL,NL]
#
# Defaults write the small sample kept beside this script: two leagues of four clubs,
# seasons 2000 and 2001. "--first-year 1871 --seasons 150 --clubs 10" writes a database
# of the full public one's size (about 110,000 batting, 50,000 pitching and 150,000
# fielding rows), which the team builder's benchmark uses.
use strict;
use warnings;
use Getopt::Long;
use File::Basename qw(dirname);

my %opt = (out => dirname(__FILE__), 'first-year' => 2000, seasons => 2, clubs => 4,
           leagues => 'AL,NL');
GetOptions(\%opt, 'out=s', 'first-year=i', 'seasons=i', 'clubs=i', 'leagues=s')
    or die "usage: make-sample-db.pl [--out DIR] [--first-year Y] [--seasons N] [--clubs C] [--leagues AL,NL]\n";
my @leagues = split /,/, $opt{leagues};

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

my @given = qw(Abel Amos Arlo Barney Bert Boyd Cal Clem Cletus Dane Dewey Dex Eben Elmo Emmett
  Ferris Floyd Gage Garnet Hollis Homer Ike Jasper Jethro Lamar Lonnie Luther Merle Milo Monty
  Nash Odell Orrin Otto Percy Quill Rafe Reuben Rollo Rufus Sully Tad Thad Ulric Vance Virgil
  Wade Waldo Wendell Zeb Anselmo Bartolo Chano Eligio Fausto Ignacio Lazaro Nestor Octavio);
my @front = qw(Ash Bram Cald Dun Fen Gar Hal Kes Lind Marl Nor Pell Quar Rad Stam Tull Vor
  Wex Yarn Zell Brock Crane Dorr Frost Grail Hask Jory Kemp Lusk Mott);
my @back = qw(by ford wick ley ton ridge well mont stead holm dale vane croft wood berg
  mere shaw ham sett ow);
my @cityA = qw(Port North Cedar Granite Kestrel Mill Ash Cinder Lake Ridge Iron Salt Copper
  Silver Hollow Fox Elm Pine Stone River Bay Maple Osprey Thistle Wren);
my @cityB = ('Alder', 'ville', ' Falls', 'haven', 'mont', 'brook', ' Harbor', 'field',
  ' Springs', 'ton', 'burg', ' Crossing', ' Point', 'wick', 'stead');
my @nick = qw(Gulls Miners Comets Foxes Pilots Bison Owls Herons Lanterns Stokers Pioneers
  Mariners Rovers Badgers Hawks Clippers Drovers Falcons Rangers Tinkers Ospreys Barons);

# Clubs: invented cities and nicknames, codes of three upper-case letters.
my (%codeUsed, @clubs);
for my $lg (@leagues) {
    for my $c (1 .. $opt{clubs}) {
        my ($city, $code);
        do {
            $city = pick(@cityA) . pick(@cityB);
            ($code = uc $city) =~ s/[^A-Z]//g;
            $code = substr($code, 0, 2) . substr($code, -1);
        } while ($codeUsed{$code}++);
        push @clubs, {code => $code, lg => $lg, name => "$city " . pick(@nick),
                      div => ($c <= ($opt{clubs} + 1) / 2 ? 'E' : 'W'),
                      park => ($c == 1 ? "Field, $city" : "$city Park")};
    }
}

# Players.
my (@people, %idUsed);
sub newPlayer {
    my ($role, $year, $pos) = @_;
    my $last = pick(@front) . pick(@back);
    my $first = pick(@given);
    # Now and then a suffix, which puts a comma inside the surname field.
    $last .= ', Jr.' if @people % 97 == 7;
    (my $stem = lc $last) =~ s/[^a-z]//g;
    my $id;
    my $n = 1;
    do { $id = substr($stem, 0, 5) . substr(lc $first, 0, 2) . sprintf('%02d', $n++) } while $idUsed{$id}++;
    my $throws = rnd(10) < 3 ? 'L' : 'R';
    my $bats = $throws eq 'L' ? (rnd(10) < 8 ? 'L' : 'B') : (pick('R', 'R', 'R', 'L', 'B'));
    my %p = (id => $id, first => $first, last => $last, bats => $bats, throws => $throws,
             born => $year - between(21, 27), role => $role,
             # Talent, fixed for a career.
             avg => between(215, 320), pow => between(3, 60), eye => between(50, 130),
             speed => between(0, 10), era => between(250, 620), ctl => between(25, 50),
             stuff => between(45, 110), pos => $pos // pick(qw(C 1B 2B 3B SS OF OF OF)),
             alt => pick(qw(1B 2B 3B SS OF C)), years => between(3, 14));
    push @people, \%p;
    return \%p;
}

my (@bat, @pit, @fld, @teams);
my %roster;    # club code => { hitters => [...], pitchers => [...] }
# The first eight hitters of a club are its regulars, one to a position.
my @regularPos = qw(C 1B 2B 3B SS OF OF OF);
for my $club (@clubs) {
    $roster{$club->{code}} = {hitters => [map { newPlayer('H', $opt{'first-year'}, $regularPos[$_]) } 0 .. 19],
                              pitchers => [map { newPlayer('P', $opt{'first-year'}, 'P') } 1 .. 17]};
}

sub battingRow {
    my ($p, $year, $stint, $club, $g, $ab) = @_;
    my $h = frac($ab, $p->{avg} / 1000);
    my $d2 = frac($h, between(15, 25) / 100);
    my $d3 = frac($h, between(0, 4) / 100);
    my $hr = frac($ab, $p->{pow} / 1000);
    $hr = $h - $d2 - $d3 if $hr > $h - $d2 - $d3;
    my $bb = frac($ab, $p->{eye} / 1000);
    my $so = frac($ab, between(10, 24) / 100);
    my $sb = frac($g, $p->{speed} / 40);
    my $cs = frac($sb, 0.3);
    my $rbi = frac($h, 0.35) + $hr;
    my $r = frac($h, 0.4) + $hr;
    push @bat, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $g, $ab, $r, $h, $d2, $d3, $hr,
                $rbi, $sb, $cs, $bb, $so, frac($bb, 0.08), between(0, 6), between(0, 8), between(0, 6),
                frac($ab, 0.02)];
}

sub fieldingRow {
    my ($p, $year, $stint, $club, $pos, $g, $gs) = @_;
    my $e = frac($g, ({C => 6, '1B' => 5, '2B' => 9, '3B' => 11, SS => 13, OF => 4, P => 3}->{$pos}) / 100);
    push @fld, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $pos, $g, $gs, $gs * 26,
                $g * 2, $g, $e, frac($g, 0.1), ($pos eq 'C' ? between(2, 12) : ''), '', '', '', ''];
}

sub pitchingRow {
    my ($p, $year, $stint, $club, $g, $gs, $sv) = @_;
    my $outs = $gs ? $gs * between(15, 21) + ($g - $gs) * 3 : $g * between(2, 4);
    my $ip = $outs / 3;
    my $er = frac($ip, $p->{era} / 900);
    my $h = frac($ip, between(85, 110) / 100);
    my $hr = frac($ip, between(5, 14) / 100);
    my $bb = frac($ip, $p->{ctl} / 100);
    my $so = frac($ip, $p->{stuff} / 100);
    my $w = $gs ? frac($gs, between(25, 55) / 100) : between(0, 6);
    my $l = $gs ? frac($gs, between(25, 50) / 100) : between(0, 5);
    my $era = $outs ? sprintf('%.2f', 27 * $er / $outs) : '';
    push @pit, [$p->{id}, $year, $stint, $club->{code}, $club->{lg}, $w, $l, $g, $gs,
                frac($gs, 0.1), frac($gs, 0.03), $sv, $outs, $h, $er, $hr, $bb, $so,
                sprintf('%.3f', $h / ($outs + $h || 1)), $era, frac($bb, 0.05), between(0, 8),
                between(0, 6), between(0, 2), $outs + $h + $bb, $gs ? 0 : frac($g, 0.4),
                $er + between(0, 8), between(0, 5), between(0, 5), between(0, 12)];
}

# One player's season for one club (one stint), scaled by share of the season.
sub season {
    my ($p, $year, $stint, $club, $slot, $share, $dhLeague) = @_;
    if ($p->{role} eq 'P') {
        my ($g, $gs, $sv);
        if ($slot < 5) { $gs = frac(between(24, 34), $share); $g = $gs + between(0, 2) }
        elsif ($slot == 5) { $g = frac(between(50, 72), $share); $gs = 0; $sv = frac(between(18, 44), $share) }
        else { $g = frac(between(8, 65), $share); $gs = $slot < 8 ? between(0, 6) : 0 }
        $g = 1 if $g < 1;
        $g = $gs if $g < $gs;
        pitchingRow($p, $year, $stint, $club, $g, $gs, $sv // between(0, 3));
        fieldingRow($p, $year, $stint, $club, 'P', $g, $gs);
        # Pitchers bat where there is no designated hitter, hardly at all where there is.
        my $ab = $dhLeague ? between(0, 1) * between(0, 5) : frac($gs * 2 + $g / 4, 1);
        battingRow($p, $year, $stint, $club, $g, $ab);
        return;
    }
    my $regular = $slot < 8 || ($dhLeague && $slot == 8);
    my $g = $regular ? frac(between(120, 160), $share) : frac(between(12, 90), $share);
    $g = 1 if $g < 1;
    my $ab = frac($g, ($regular ? between(33, 41) : between(15, 32)) / 10);
    battingRow($p, $year, $stint, $club, $g, $ab);
    # Most games at the main position; some at a second one; the rest as designated hitter
    # or pinch hitter, which leave no fielding row.
    my $main = frac($g, ($dhLeague && $slot == 8 ? 0.2 : between(75, 100) / 100));
    $main = 1 if $main < 1;
    fieldingRow($p, $year, $stint, $club, $p->{pos}, $main, frac($main, 0.9));
    my $left = $g - $main;
    # The designated hitter of a DH league spends the rest of his games there.
    if ($left > 2 && $p->{alt} ne $p->{pos} && !($dhLeague && $slot == 8)) {
        my $second = between(1, $left);
        fieldingRow($p, $year, $stint, $club, $p->{alt}, $second, frac($second, 0.5));
        $left -= $second;
        fieldingRow($p, $year, $stint, $club, 'OF', $left, 0) if $left > 4 && $p->{pos} ne 'OF' && rnd(3) == 0;
    }
}

for my $s (0 .. $opt{seasons} - 1) {
    my $year = $opt{'first-year'} + $s;
    my $traded = 0;
    for my $ci (0 .. $#clubs) {
        my $club = $clubs[$ci];
        my $dh = $club->{lg} eq 'AL' && $year >= 1973;
        my $r = $roster{$club->{code}};
        # Careers end; new players take their places.
        for my $list ($r->{hitters}, $r->{pitchers}) {
            for my $i (0 .. $#$list) {
                my $old = $list->[$i];
                $list->[$i] = newPlayer($old->{role}, $year, $i < 8 || $old->{role} eq 'P' ? $old->{pos} : undef)
                    if $s > 0 && --$old->{years} <= 0;
            }
        }
        # The first hitter of every sixth club is traded in mid-season to the next club.
        my $other = $clubs[($ci + 1) % @clubs];
        for my $i (0 .. $#{$r->{hitters}}) {
            my $p = $r->{hitters}[$i];
            if ($i == 9 && ($ci + $s) % 6 == 0) {
                season($p, $year, 1, $club, $i, 0.5, $dh);
                season($p, $year, 2, $other, 12, 0.5, $other->{lg} eq 'AL' && $year >= 1973);
                $traded++;
            } else {
                season($p, $year, 1, $club, $i, 1, $dh);
            }
        }
        for my $i (0 .. $#{$r->{pitchers}}) {
            season($r->{pitchers}[$i], $year, 1, $club, $i, 1, $dh);
        }
    }
    # Standings: a team's wins follow nothing in particular, but add up within a league.
    for my $lg (@leagues) {
        my @inLg = grep { $_->{lg} eq $lg } @clubs;
        my $games = 162;
        my @wins = map { between(62, 100) } @inLg;
        my $sum = 0;
        $sum += $_ for @wins;
        my $shift = int(($sum - @inLg * $games / 2) / @inLg);
        for my $i (0 .. $#inLg) {
            my $c = $inLg[$i];
            my $w = $wins[$i] - $shift;
            push @teams, [$year, $lg, $c->{code}, $c->{code}, $c->{div}, $i + 1, $games, $games / 2,
                          $w, $games - $w, 'N', 'N', 'N', 'N', $c->{name}, $c->{park},
                          between(800000, 3200000), between(95, 105), between(95, 105)];
        }
    }
}

sub csvField {
    my ($v) = @_;
    $v //= '';
    return $v unless $v =~ /[",\r\n]/;
    $v =~ s/"/""/g;
    return qq("$v");
}

sub writeCsv {
    my ($name, $header, $rows) = @_;
    my $path = "$opt{out}/$name";
    open my $fh, '>', "$path.tmp" or die "cannot write $path.tmp: $!\n";
    print $fh join(',', @$header), "\n";
    print $fh join(',', map { csvField($_) } @$_), "\n" for @$rows;
    close $fh or die "cannot write $path.tmp: $!\n";
    rename "$path.tmp", $path or die "cannot rename $path.tmp: $!\n";
}

my $lastYear = $opt{'first-year'} + $opt{seasons} - 1;
writeCsv('People.csv',
         [qw(playerID birthYear birthMonth birthDay birthCountry birthState birthCity nameFirst
             nameLast nameGiven weight height bats throws)],
         [map { [$_->{id}, $_->{born}, between(1, 12), between(1, 28), 'USA', '', '', $_->{first},
                 $_->{last}, "$_->{first} " . pick(@given), between(160, 240), between(68, 77),
                 $_->{bats}, $_->{throws}] } @people]);
writeCsv('Batting.csv',
         [qw(playerID yearID stint teamID lgID G AB R H 2B 3B HR RBI SB CS BB SO IBB HBP SH SF GIDP)],
         \@bat);
writeCsv('Pitching.csv',
         [qw(playerID yearID stint teamID lgID W L G GS CG SHO SV IPouts H ER HR BB SO BAOpp
             ERA IBB WP HBP BK BFP GF R SH SF GIDP)],
         \@pit);
writeCsv('Fielding.csv',
         [qw(playerID yearID stint teamID lgID POS G GS InnOuts PO A E DP PB WP SB CS ZR)],
         \@fld);
writeCsv('Teams.csv',
         [qw(yearID lgID teamID franchID divID Rank G Ghome W L DivWin WCWin LgWin WSWin name
             park attendance BPF PPF)],
         \@teams);
printf "%s: %d people, %d batting, %d pitching, %d fielding, %d teams rows (%d-%d)\n",
    $opt{out}, scalar @people, scalar @bat, scalar @pit, scalar @fld, scalar @teams,
    $opt{'first-year'}, $lastYear;
