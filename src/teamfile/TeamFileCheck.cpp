// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamFileCheck.h"

#include <array>
#include <string_view>

#include "teamfile/TeamFile.h"

namespace rostrix {

namespace {

constexpr std::string_view kBatterTitles =
    " AB Hit  2B  3B  HR  BB  SO RBI B ERR SB CS Gam Gam-P Gam-P Gam-P";
constexpr std::string_view kPitcherTitles = "Inn Hit  2B  3B  HR  BB  SO ERA T   W  L  S Gam  St";

struct Field {
    std::size_t first;
    std::size_t last;
    const char* name;
};

// Counts from column 28 on, in the order of their titles. Bats or throws sit at column 60.
constexpr std::array<Field, 12> kBatterCounts{{{28, 30, "at bats"},
                                               {32, 34, "hits"},
                                               {36, 38, "doubles"},
                                               {40, 42, "triples"},
                                               {44, 46, "home runs"},
                                               {48, 50, "walks"},
                                               {52, 54, "strike-outs"},
                                               {56, 58, "runs batted in"},
                                               {62, 64, "errors"},
                                               {66, 67, "stolen bases"},
                                               {69, 70, "caught stealing"},
                                               {72, 74, "games"}}};
constexpr std::array<Field, 13> kPitcherCounts{{{28, 30, "innings"},
                                                {32, 34, "hits"},
                                                {36, 38, "doubles"},
                                                {40, 42, "triples"},
                                                {44, 46, "home runs"},
                                                {48, 50, "walks"},
                                                {52, 54, "strike-outs"},
                                                {56, 58, "earned-run average"},
                                                {62, 64, "wins"},
                                                {66, 67, "losses"},
                                                {69, 70, "saves"},
                                                {72, 74, "games"},
                                                {76, 78, "games started"}}};
constexpr std::size_t kHandColumn = 60;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

class Checker {
public:
    Checker(const std::vector<std::string>& lines, std::size_t keep) : lines_(lines), keep_(keep) {}
    std::size_t total() const { return total_; }

    std::vector<TeamFileProblem> run() {
        if (lines_.empty()) {
            report(1, 0, "the file is empty");
            return problems_;
        }
        titleLine();
        std::size_t n = 2;
        for (; n <= 10; ++n) {
            if (n > lines_.size()) {
                report(n, 0, "the line-up has fewer than nine starters");
                return problems_;
            }
            if (at(n) != kPlaceholderLine) batterLine(n, false);
        }
        if (n > lines_.size() || !at(n).starts_with("*P")) {
            report(n, 0, "the pitcher section line must follow the nine starters");
            return problems_;
        }
        sectionLine(n, 78, kPitcherTitles);
        for (++n; n <= lines_.size() && !at(n).starts_with("*B"); ++n) pitcherLine(n);
        if (n > lines_.size()) {
            report(n, 0, "the bench section line is missing");
            return problems_;
        }
        sectionLine(n, 92, kBatterTitles);
        for (++n; n <= lines_.size(); ++n) batterLine(n, true);
        return problems_;
    }

private:
    const std::string& at(std::size_t n) const { return lines_[n - 1]; }

    void report(std::size_t line, std::size_t column, std::string message, std::size_t width = 1) {
        if (++total_ <= keep_) problems_.push_back({line, column, std::move(message), width});
    }

    // Columns first..last must all be blanks.
    void blanks(std::size_t n, std::size_t first, std::size_t last) {
        const std::string_view c = columns(at(n), {first, last});
        for (std::size_t i = 0; i < c.size(); ++i)
            if (c[i] != ' ') return report(n, first + i, "must be blank");
    }

    // A tab shifts every column after it, so the rest of the line is not read: the tab is
    // the fault to mend first.
    bool length(std::size_t n, std::initializer_list<std::size_t> allowed) {
        if (const std::size_t tab = at(n).find('\t'); tab != std::string::npos) {
            report(n, tab + 1, "a tab character; team files use blanks");
            return false;
        }
        for (std::size_t a : allowed)
            if (at(n).size() == a) return true;
        std::string want;
        for (std::size_t a : allowed) want += (want.empty() ? "" : " or ") + std::to_string(a);
        report(n, 0, "is " + std::to_string(at(n).size()) + " characters long, not " + want);
        return false;
    }

    void titleLine() {
        if (!length(1, {92})) return;
        const std::string& l = at(1);
        if (!l.starts_with("*A")) report(1, 1, "the team title line must start with *A");
        blanks(1, 3, 9);
        if (!isLetter(l[9])) report(1, 10, "must be a letter");
        for (std::size_t c = 11; c <= 14; ++c)
            if (!isDigit(l[c - 1])) return report(1, c, "the season must be four digits", 15 - c);
        blanks(1, 15, 15);
        if (l[15] == ' ' && columns(l, kTeamColumns).find_first_not_of(' ') != std::string::npos)
            report(1, 16, "the team name must be left-aligned", 12);
        if (columnsFrom(l, 28) != kBatterTitles)
            report(1, 28, "the batter column titles are not the standard ones", 65);
    }

    void sectionLine(std::size_t n, std::size_t len, std::string_view titles) {
        if (!length(n, {len})) return;
        const std::string_view word = columns(at(n), {3, 27});
        const std::size_t end = word.find(' ');
        for (std::size_t i = 0; i < word.size(); ++i) {
            const bool inWord = end == std::string_view::npos || i < end;
            if (inWord ? !isLetter(word[i]) : word[i] != ' ')
                return report(n, 3 + i, "the section word must be letters followed by blanks");
        }
        if (columnsFrom(at(n), 28) != titles)
            report(n, 28, "the column titles are not the standard ones", len - 27);
    }

    // Columns 1-27: the two digits, the flag, the position code and the name.
    void playerStart(std::size_t n, bool pitcher) {
        const std::string& l = at(n);
        if (!isDigit(l[0]) || !isDigit(l[1])) report(n, 1, "must be two digits", 2);
        blanks(n, 3, 4);
        if (l[4] != ' ' && !isLetter(l[4])) report(n, 5, "the flag must be a letter or blank");
        blanks(n, 6, 6);
        const std::string_view code = columns(l, kPositionColumns);
        const bool digits = isDigit(code[0]) && isDigit(code[1]);
        const int pos = digits ? (code[0] - '0') * 10 + (code[1] - '0') : -1;
        // A batter who only pitched (a pitcher who batted every day in a season without the
        // designated hitter) keeps the pitcher's code on his batter line.
        if (pitcher ? pos != 1 : (pos < 1 || pos > 10))
            report(n, 7,
                   pitcher ? "a pitcher's position code must be 01"
                           : "a batter's position code must be 01 to 10",
                   2);
        blanks(n, 9, 9);
        const std::string_view name = columns(l, kNameColumns);
        const std::size_t end = name.find_last_not_of(' ');
        if (name[0] == ' ' || end == std::string_view::npos)
            report(n, 10, "the name must be left-aligned and not empty", 18);
        else if (end + 1 < name.size() && name.substr(0, end + 1).find(',') == std::string::npos)
            report(n, 10, "the name must read \"Surname, Given\"", 18);
    }

    // A count right-aligned in its field: blanks, then digits without a leading zero.
    void count(std::size_t n, const Field& f) {
        const std::string_view c = columns(at(n), {f.first, f.last});
        const std::size_t start = c.find_first_not_of(' ');
        bool ok = start != std::string_view::npos;
        for (std::size_t i = ok ? start : c.size(); i < c.size(); ++i) ok = ok && isDigit(c[i]);
        if (ok && c[start] == '0' && start + 1 < c.size()) ok = false;
        if (!ok)
            report(n, f.first,
                   std::string(f.name) + " must be a right-aligned number without leading zeros",
                   f.last - f.first + 1);
    }

    template <std::size_t N>
    void counts(std::size_t n, const std::array<Field, N>& fields, const char* hand) {
        std::size_t next = kStatsStartColumn;
        for (const Field& f : fields) {
            if (next <= kHandColumn && kHandColumn < f.first) {
                blanks(n, next, kHandColumn - 1);
                const char h = at(n)[kHandColumn - 1];
                if (h != 'L' && h != 'R')
                    report(n, kHandColumn, std::string(hand) + " must be L or R");
                blanks(n, kHandColumn + 1, f.first - 1);
            } else if (f.first > next) {
                blanks(n, next, f.first - 1);
            }
            count(n, f);
            next = f.last + 1;
        }
    }

    void pitcherLine(std::size_t n) {
        if (!length(n, {78})) return;
        playerStart(n, true);
        counts(n, kPitcherCounts, "throws");
    }

    void batterLine(std::size_t n, bool bench) {
        if (at(n).starts_with("*") || at(n) == kPlaceholderLine) {
            report(n, 1,
                   bench ? "only batter lines may follow the bench section line"
                         : "expected one of the nine starters");
            return;
        }
        if (!length(n, {80, 86, 92})) return;
        playerStart(n, false);
        counts(n, kBatterCounts, "bats");
        // The groups' order and their games are the builder's business; the game only
        // needs each group in its columns.
        for (std::size_t first = 76; first + 4 <= at(n).size(); first += 6) {
            blanks(n, first - 1, first - 1);
            const std::string_view g = columns(at(n), {first, first + 4});
            const bool digits = isDigit(g[0]) && isDigit(g[1]) && isDigit(g[2]);
            if (!digits || g[3] != '-' || !(isDigit(g[4]) || g[4] == 'D'))
                report(n, first, "a games-at-position group must read NNN-P, P a digit or D", 5);
        }
    }

    const std::vector<std::string>& lines_;
    std::size_t keep_;
    std::size_t total_ = 0;
    std::vector<TeamFileProblem> problems_;
};

}  // namespace

std::vector<TeamFileProblem> checkTeamFile(const std::vector<std::string>& lines) {
    return Checker(lines, static_cast<std::size_t>(-1)).run();
}

TeamFileCheckResult checkTeamFile(const std::vector<std::string>& lines, std::size_t listed) {
    Checker checker(lines, listed);
    std::vector<TeamFileProblem> problems = checker.run();
    return {std::move(problems), checker.total()};
}

std::string describeProblems(const std::vector<TeamFileProblem>& problems) {
    std::string out;
    for (const TeamFileProblem& p : problems) {
        out += "line " + std::to_string(p.line);
        if (p.column) out += ", column " + std::to_string(p.column);
        out += ": " + p.message + "\n";
    }
    return out;
}

}  // namespace rostrix
