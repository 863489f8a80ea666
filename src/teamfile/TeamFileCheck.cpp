// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/TeamFileCheck.h"

#include <string_view>

#include "format/TeamLayout.h"
#include "platform/AsciiText.h"

namespace rostrix {

namespace {

using namespace field;

// A count right-aligned in its field: blanks, then digits without a leading zero.
bool countSound(std::string_view c) {
    const std::size_t start = c.find_first_not_of(' ');
    bool ok = start != std::string_view::npos;
    for (std::size_t i = ok ? start : c.size(); i < c.size(); ++i) ok = ok && isAsciiDigit(c[i]);
    return ok && !(c[start] == '0' && start + 1 < c.size());
}

std::optional<FieldFault> codeFault(LineRole role, const TeamField& f, std::string_view text) {
    if (f == kSeason) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!isAsciiDigit(text[i]))
                return FieldFault{i, "the season must be four digits", text.size() - i};
    } else if (f == kPosition) {
        const bool digits = isAsciiDigit(text[0]) && isAsciiDigit(text[1]);
        const int pos = digits ? (text[0] - '0') * 10 + (text[1] - '0') : -1;
        // A batter who only pitched (a pitcher who batted every day in a season without
        // the designated hitter) keeps the pitcher's code on his batter line.
        const bool pitcher = role == LineRole::Pitcher;
        if (pitcher ? pos != 1 : (pos < 1 || pos > 10))
            return FieldFault{0,
                              pitcher ? "a pitcher's position code must be 01"
                                      : "a batter's position code must be 01 to 10",
                              f.width()};
    } else if (!isAsciiDigit(text[0]) || !isAsciiDigit(text[1])) {
        return FieldFault{0, "must be two digits", f.width()};
    }
    return std::nullopt;
}

std::optional<FieldFault> nameFault(const TeamField& f, std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    if (f == kTeamName) {
        // An empty team name is allowed; one that starts with blanks is not.
        if (text[0] == ' ' && end != std::string_view::npos)
            return FieldFault{0, "the team name must be left-aligned", f.width()};
    } else if (text[0] == ' ' || end == std::string_view::npos) {
        return FieldFault{0, "the name must be left-aligned and not empty", f.width()};
    } else if (end + 1 < text.size() && text.substr(0, end + 1).find(',') == std::string::npos) {
        return FieldFault{0, "the name must read \"Surname, Given\"", f.width()};
    }
    return std::nullopt;
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
        if (length(1, {kTitles.last})) fields(1, LineRole::Title);
        std::size_t n = 2;
        for (; n <= kLineUpLines; ++n) {
            if (n > lines_.size()) {
                report(n, 0, "the line-up has fewer than nine starters");
                return problems_;
            }
            if (at(n) != kPlaceholderLine) batterLine(n, false);
        }
        if (n > lines_.size() || sectionOpened(at(n)) != Section::Pitchers) {
            report(n, 0, "the pitcher section line must follow the nine starters");
            return problems_;
        }
        sectionLine(n, kPitcherLineLength);
        for (++n; n <= lines_.size() && sectionOpened(at(n)) != Section::Bench; ++n) {
            if (length(n, {kPitcherLineLength})) fields(n, LineRole::Pitcher);
        }
        if (n > lines_.size()) {
            report(n, 0, "the bench section line is missing");
            return problems_;
        }
        sectionLine(n, kBatterLineLength);
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
        for (std::size_t i = 0; first <= last && i < c.size(); ++i)
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

    // The line's fields left to right and the blanks between them; groups the line leaves
    // off its end are not looked for. A fault that leaves the rest of the line unreadable
    // ends its check.
    void fields(std::size_t n, LineRole role) {
        std::size_t next = 1;
        for (const TeamField& f : fieldsOf(role)) {
            if (f.optional && f.last > at(n).size()) break;
            blanks(n, next, f.first - 1u);
            if (!fieldSound(n, role, f, columns(at(n), f))) return;
            next = f.last + 1u;
        }
    }

    void sectionLine(std::size_t n, std::size_t length) {
        if (this->length(n, {length})) fields(n, LineRole::Section);
    }

    void batterLine(std::size_t n, bool bench) {
        if (lineRole(false, at(n), Section::None) == LineRole::Section ||
            at(n) == kPlaceholderLine) {
            report(n, 1,
                   bench ? "only batter lines may follow the bench section line"
                         : "expected one of the nine starters");
            return;
        }
        // The groups' order and their games are the builder's business; the game only
        // needs each group in its columns.
        if (length(n, {kGroup1.last, kGroup2.last, kGroup3.last})) fields(n, LineRole::Batter);
    }

    bool fieldSound(std::size_t n, LineRole role, const TeamField& f, std::string_view text) {
        if (f.kind == FieldKind::Mark) return markSound(n, role, f, text);
        const auto fault = fieldFault(role, f, text);
        if (fault) report(n, f.first + fault->offset, fault->message, fault->width);
        // A season that is no number leaves nothing after it worth reading.
        return !(fault && f == kSeason);
    }

    bool markSound(std::size_t n, LineRole role, const TeamField& f, std::string_view text) {
        if (f == kTitleMark) {
            if (text != kTeamTitleStart)
                report(n, f.first,
                       "the team title line must start with " + std::string(kTeamTitleStart));
        } else if (f == kSectionWord) {
            // The section's own two characters are what made it a section line.
            const std::string_view word = text.substr(2);
            const std::size_t end = word.find(' ');
            for (std::size_t i = 0; i < word.size(); ++i) {
                const bool inWord = end == std::string_view::npos || i < end;
                if (inWord ? !isAsciiLetter(word[i]) : word[i] != ' ') {
                    report(n, f.first + 2 + i,
                           "the section word must be letters followed by blanks");
                    return false;
                }
            }
        } else if (role == LineRole::Title) {
            if (text != batterTitles())
                report(n, f.first, "the batter column titles are not the standard ones",
                       batterTitles().size());
        } else {
            const std::string_view titles =
                sectionOpened(at(n)) == Section::Pitchers ? pitcherTitles() : batterTitles();
            if (text != titles)
                report(n, f.first, "the column titles are not the standard ones", titles.size());
        }
        return true;
    }

    const std::vector<std::string>& lines_;
    std::size_t keep_;
    std::size_t total_ = 0;
    std::vector<TeamFileProblem> problems_;
};

}  // namespace

std::optional<FieldFault> fieldFault(LineRole role, const TeamField& f, std::string_view text) {
    switch (f.kind) {
        case FieldKind::Mark:
            break;
        case FieldKind::Code:
            return codeFault(role, f, text);
        case FieldKind::Flag:
            if (text[0] != ' ' && !isAsciiLetter(text[0]))
                return FieldFault{0, "the flag must be a letter or blank"};
            break;
        case FieldKind::Letter:
            if (f == kLetter) {
                if (!isAsciiLetter(text[0])) return FieldFault{0, "must be a letter"};
            } else if (text[0] != 'L' && text[0] != 'R') {
                return FieldFault{0, std::string(f.name) + " must be L or R"};
            }
            break;
        case FieldKind::Name:
            return nameFault(f, text);
        case FieldKind::Count:
            if (!countSound(text))
                return FieldFault{
                    0,
                    std::string(f.name) + " must be a right-aligned number without leading zeros",
                    f.width()};
            break;
        case FieldKind::Group:
            if (!readGroup(text))
                return FieldFault{0, "a games-at-position group must read NNN-P, P a digit or D",
                                  f.width()};
            break;
    }
    return std::nullopt;
}

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
