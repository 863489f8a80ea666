#!/usr/bin/env python3
"""Writes the expected team and player archives for sample-team.dat, worked out from the
archive formats directly (not by running Rostrix), for a first write into no archive:

archive-golden.dat  the team filed under SECTION: "Line N=<line N>" for every line.
player-golden.dat   "Write all": one section per player name field (columns 10-27, blanks
                    at its ends dropped in the header), holding "Year Team        =" with
                    " P " + the titles (columns 28- of the first line), then
                    "<year> <team>=" (columns 11-14 and 16-27 of the first line) with
                    "<position> <statistics>" (columns 7-8 and 28- of the player line).
                    Lines of 75 characters or fewer and lines whose columns 29-30 read
                    "AB" or "NN" in upper case are skipped.
Every line of both files ends in CR LF.
"""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
SECTION = "/home/u/teams/00OAK.dat"


def team_lines():
    with open(os.path.join(HERE, "sample-team.dat"), "rb") as f:
        data = f.read().decode("latin-1")
    return re.split(r"\r\n|\n|\r", data.rstrip("\r\n"))


def ini_bytes(sections):
    out = []
    for name, entries in sections:
        out.append("[%s]\r\n" % name.strip(" "))
        out.extend("%s=%s\r\n" % (key, value) for key, value in entries)
    return "".join(out).encode("latin-1")


def team_archive(lines):
    return [(SECTION, [("Line %d" % i, line) for i, line in enumerate(lines)])]


def player_archive(lines):
    first = lines[0]
    year, team, titles = first[10:14], first[15:27], first[27:]
    sections = {}  # lower-case name -> (name, {lower-case key: [key, value]})
    for line in lines:
        if len(line) <= 75 or line[28:30].upper() in ("AB", "NN"):
            continue
        name = line[9:27]
        _, entries = sections.setdefault(name.strip(" ").lower(), (name, {}))
        for key, value in (("Year Team        =", " P " + titles),
                           (year + " " + team + "=", line[6:8] + " " + line[27:])):
            entries.setdefault(key.lower(), [key, None])[1] = value
    return [(name, list(entries.values())) for name, entries in sections.values()]


def main():
    lines = team_lines()
    for file_name, sections in (("archive-golden.dat", team_archive(lines)),
                                ("player-golden.dat", player_archive(lines))):
        with open(os.path.join(HERE, file_name), "wb") as f:
            f.write(ini_bytes(sections))


if __name__ == "__main__":
    main()
