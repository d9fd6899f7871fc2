#include "TextDiff.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>

#include "LineKinds.h"

namespace {

using Index = std::ptrdiff_t;

// The lines of both texts between their identical ends, each as the number of its kind
// (equal lines, equal numbers), with a flag per line for "changed"; the flags have an
// unchanged line before the first and after the last, so that a scan stops there.
struct Side {
    std::vector<int> kinds;
    std::vector<char> flags;
    char* changed() { return flags.data() + 1; }
};

// Whether each line takes part in the search: 0 yes; 1 no, its kind is not in the other
// text at all; 2 perhaps not, its kind is there very often. A "perhaps" line is left
// out only inside a long run of lines left out, where matching it would only scatter
// the change into pieces; elsewhere it is searched after all.
std::vector<char> linesLeftOut(const std::vector<int>& kinds, const std::vector<int>& countsInOther) {
    const Index end = static_cast<Index>(kinds.size());
    Index many = 5;  // about the square root of the number of lines
    for (Index rest = end / 64; (rest >>= 2) > 0;) many *= 2;
    std::vector<char> out(kinds.size());
    for (Index i = 0; i < end; ++i) {
        const Index matches = countsInOther[static_cast<std::size_t>(kinds[static_cast<std::size_t>(i)])];
        out[static_cast<std::size_t>(i)] = matches == 0 ? 1 : matches > many ? 2 : 0;
    }
    char* d = out.data();
    for (Index i = 0; i < end; ++i) {
        if (d[i] == 2) {
            d[i] = 0;  // a "perhaps" that starts a run stays in
            continue;
        }
        if (d[i] == 0) continue;
        // A run of lines left out, from a sure one to the last sure one.
        Index j = i;
        Index perhaps = 0;
        for (; j < end && d[j] != 0; ++j) perhaps += d[j] == 2;
        while (j > i && d[j - 1] == 2) {
            d[--j] = 0;
            --perhaps;
        }
        const Index length = j - i;
        if (perhaps * 4 > length) {
            // Mostly lines that do occur: keep them all in the search.
            for (Index k = i; k < j; ++k)
                if (d[k] == 2) d[k] = 0;
            continue;
        }
        // A long enough stretch of "perhaps" lines stays in the search.
        Index longest = 1;
        for (Index rest = length >> 2; (rest >>= 2) > 0;) longest <<= 1;
        ++longest;
        for (Index k = 0, row = 0; k < length; ++k) {
            if (d[i + k] != 2)
                row = 0;
            else if (++row == longest)
                k -= row;  // back to the stretch's start, to keep it all
            else if (row > longest)
                d[i + k] = 0;
        }
        // Near the run's ends, before three sure lines in a row or the first sure line
        // eight lines in, the "perhaps" lines stay in too.
        const auto keepNearEnd = [&](Index step, Index from) {
            for (Index k = 0, row = 0; k < length; ++k) {
                char& flag = d[from + step * k];
                if (k >= 8 && flag == 1) break;
                if (flag == 2) {
                    row = 0;
                    flag = 0;
                } else if (flag == 0) {
                    row = 0;
                } else if (++row == 3) {
                    break;
                }
            }
        };
        keepNearEnd(1, i);
        i += length - 1;
        keepNearEnd(-1, i);
    }
    return out;
}

// Myers' search for the fewest deletions and insertions that turn x into y, finding
// the middle of the best path from both ends and solving the two halves in turn.
class Search {
public:
    Search(const std::vector<int>& x, const std::vector<int>& y, char* xChanged, char* yChanged,
           const std::vector<Index>& xPlace, const std::vector<Index>& yPlace)
        : x_(x), y_(y), xChanged_(xChanged), yChanged_(yChanged), xPlace_(xPlace), yPlace_(yPlace) {
        const Index diagonals = static_cast<Index>(x.size() + y.size()) + 3;
        forward_.resize(static_cast<std::size_t>(diagonals));
        backward_.resize(static_cast<std::size_t>(diagonals));
        offset_ = static_cast<Index>(y.size()) + 1;
        // Past about the square root of the lines' number (at least 4096) edit steps, a
        // half is split where the search has got furthest, not where it is best.
        tooCostly_ = 1;
        for (Index rest = diagonals; rest != 0; rest >>= 2) tooCostly_ <<= 1;
        tooCostly_ = std::max<Index>(4096, tooCostly_);
    }

    void run() {
        struct Part {
            Index xoff, xlim, yoff, ylim;
            bool minimal;
        };
        std::vector<Part> parts{{0, static_cast<Index>(x_.size()), 0, static_cast<Index>(y_.size()), false}};
        while (!parts.empty()) {
            Part p = parts.back();
            parts.pop_back();
            while (p.xoff < p.xlim && p.yoff < p.ylim && same(p.xoff, p.yoff)) ++p.xoff, ++p.yoff;
            while (p.xoff < p.xlim && p.yoff < p.ylim && same(p.xlim - 1, p.ylim - 1)) --p.xlim, --p.ylim;
            if (p.xoff == p.xlim) {
                while (p.yoff < p.ylim) yChanged_[yPlace_[static_cast<std::size_t>(p.yoff++)]] = 1;
            } else if (p.yoff == p.ylim) {
                while (p.xoff < p.xlim) xChanged_[xPlace_[static_cast<std::size_t>(p.xoff++)]] = 1;
            } else {
                const Split s = split(p.xoff, p.xlim, p.yoff, p.ylim, p.minimal);
                parts.push_back({s.x, p.xlim, s.y, p.ylim, s.highMinimal});
                parts.push_back({p.xoff, s.x, p.yoff, s.y, s.lowMinimal});
            }
        }
    }

private:
    struct Split {
        Index x, y;
        bool lowMinimal, highMinimal;
    };

    bool same(Index i, Index j) const { return x_[static_cast<std::size_t>(i)] == y_[static_cast<std::size_t>(j)]; }
    Index& fd(Index d) { return forward_[static_cast<std::size_t>(d + offset_)]; }
    Index& bd(Index d) { return backward_[static_cast<std::size_t>(d + offset_)]; }

    Split split(Index xoff, Index xlim, Index yoff, Index ylim, bool minimal) {
        const Index dmin = xoff - ylim;
        const Index dmax = xlim - yoff;
        const Index fmid = xoff - yoff;
        const Index bmid = xlim - ylim;
        Index fmin = fmid, fmax = fmid, bmin = bmid, bmax = bmid;
        const bool odd = ((fmid - bmid) & 1) != 0;
        constexpr Index kNone = INTPTR_MAX;
        fd(fmid) = xoff;
        bd(bmid) = xlim;
        for (Index cost = 1;; ++cost) {
            // One more step from the start on every diagonal reached.
            if (fmin > dmin)
                fd(--fmin - 1) = -1;
            else
                ++fmin;
            if (fmax < dmax)
                fd(++fmax + 1) = -1;
            else
                --fmax;
            for (Index d = fmax; d >= fmin; d -= 2) {
                const Index low = fd(d - 1), high = fd(d + 1);
                Index xi = low < high ? high : low + 1;
                Index yi = xi - d;
                while (xi < xlim && yi < ylim && same(xi, yi)) ++xi, ++yi;
                fd(d) = xi;
                if (odd && bmin <= d && d <= bmax && bd(d) <= xi) return {xi, yi, true, true};
            }
            // And one from the end.
            if (bmin > dmin)
                bd(--bmin - 1) = kNone;
            else
                ++bmin;
            if (bmax < dmax)
                bd(++bmax + 1) = kNone;
            else
                --bmax;
            for (Index d = bmax; d >= bmin; d -= 2) {
                const Index low = bd(d - 1), high = bd(d + 1);
                Index xi = low < high ? low : high - 1;
                Index yi = xi - d;
                while (xoff < xi && yoff < yi && same(xi - 1, yi - 1)) --xi, --yi;
                bd(d) = xi;
                if (!odd && fmin <= d && d <= fmax && xi <= fd(d)) return {xi, yi, true, true};
            }
            if (minimal || cost < tooCostly_) continue;
            // Too costly: split where either search got furthest along its way.
            Index forwardBest = -1, forwardX = 0;
            for (Index d = fmax; d >= fmin; d -= 2) {
                Index xi = std::min(fd(d), xlim);
                Index yi = xi - d;
                if (ylim < yi) xi = ylim + d, yi = ylim;
                if (forwardBest < xi + yi) forwardBest = xi + yi, forwardX = xi;
            }
            Index backwardBest = kNone, backwardX = 0;
            for (Index d = bmax; d >= bmin; d -= 2) {
                Index xi = std::max(xoff, bd(d));
                Index yi = xi - d;
                if (yi < yoff) xi = yoff + d, yi = yoff;
                if (xi + yi < backwardBest) backwardBest = xi + yi, backwardX = xi;
            }
            if ((xlim + ylim) - backwardBest < forwardBest - (xoff + yoff))
                return {forwardX, forwardBest - forwardX, true, false};
            return {backwardX, backwardBest - backwardX, false, true};
        }
    }

    const std::vector<int>& x_;
    const std::vector<int>& y_;
    char* xChanged_;
    char* yChanged_;
    const std::vector<Index>& xPlace_;
    const std::vector<Index>& yPlace_;
    std::vector<Index> forward_;
    std::vector<Index> backward_;
    Index offset_ = 0;
    Index tooCostly_ = 0;
};

// Slides each run of changed lines of one side over equal lines: first up, then down,
// as far as it merges with other runs; then back up to where it lines up with a run of
// the other side, if it passed one.
void slideRuns(Side& side, Side& other) {
    char* changed = side.changed();
    const char* otherChanged = other.changed();
    const int* kinds = side.kinds.data();
    const Index end = static_cast<Index>(side.kinds.size());
    Index i = 0;
    Index j = 0;  // the line of the other side that goes with line i
    for (;;) {
        while (i < end && !changed[i]) {
            while (otherChanged[j++]) {
            }
            ++i;
        }
        if (i == end) break;
        Index start = i;
        while (changed[++i]) {
        }
        while (otherChanged[j]) ++j;
        Index lined = end;  // where the run last ended beside a run of the other side
        Index length = 0;
        do {
            length = i - start;
            while (start && kinds[start - 1] == kinds[i - 1]) {
                changed[--start] = 1;
                changed[--i] = 0;
                while (changed[start - 1]) --start;
                while (otherChanged[--j]) {
                }
            }
            lined = otherChanged[j - 1] ? i : end;
            while (i != end && kinds[start] == kinds[i]) {
                changed[start++] = 0;
                changed[i++] = 1;
                while (changed[i]) ++i;
                while (otherChanged[++j]) lined = i;
            }
        } while (length != i - start);
        while (lined < i) {
            changed[--start] = 1;
            changed[--i] = 0;
            while (otherChanged[--j]) {
            }
        }
    }
}

bool endsWithLineFeed(const std::vector<std::string_view>& lines) {
    return lines.empty() || lines.back().ends_with('\n');
}

}  // namespace

std::vector<std::string_view> diffLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t feed = text.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed + 1;
        lines.push_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

LineChanges changedLines(const std::vector<std::string_view>& oldLines,
                         const std::vector<std::string_view>& newLines, int context) {
    const std::size_t n0 = oldLines.size();
    const std::size_t n1 = newLines.size();
    LineChanges result{std::vector<bool>(n0), std::vector<bool>(n1)};

    // The identical lines at both ends, but for `context` of each, take no part: they are
    // found by comparing the lines themselves, so that only the rest is numbered.
    const auto keep = static_cast<std::size_t>(std::max(context, 0));
    std::size_t head = 0;
    while (head < n0 && head < n1 && oldLines[head] == newLines[head]) ++head;
    if (head == n0 && head == n1) return result;
    const std::size_t skip = head > keep ? head - keep : 0;
    std::size_t tail = 0;
    // Texts of which only one ends without a line feed keep their whole ends.
    if (endsWithLineFeed(oldLines) == endsWithLineFeed(newLines))
        while (tail < n0 - skip && tail < n1 - skip && oldLines[n0 - 1 - tail] == newLines[n1 - 1 - tail]) ++tail;
    const std::size_t cut = tail > keep ? tail - keep : 0;

    LineKinds kinds = lineKinds(std::span(oldLines).subspan(skip, n0 - skip - cut),
                                std::span(newLines).subspan(skip, n1 - skip - cut));
    Side x{std::move(kinds.first), {}};
    Side y{std::move(kinds.second), {}};
    x.flags.assign(x.kinds.size() + 2, 0);
    y.flags.assign(y.kinds.size() + 2, 0);

    std::vector<int> inX(static_cast<std::size_t>(kinds.count)), inY(static_cast<std::size_t>(kinds.count));
    for (const int kind : x.kinds) ++inX[static_cast<std::size_t>(kind)];
    for (const int kind : y.kinds) ++inY[static_cast<std::size_t>(kind)];
    const auto searched = [](Side& side, const std::vector<char>& leftOut, std::vector<int>& kindsSearched,
                             std::vector<Index>& places) {
        char* const changed = side.changed();
        const std::size_t end = side.kinds.size();
        for (std::size_t i = 0; i < end; ++i) {
            if (leftOut[i]) {
                changed[i] = 1;
            } else {
                kindsSearched.push_back(side.kinds[i]);
                places.push_back(static_cast<Index>(i));
            }
        }
    };
    std::vector<int> xs, ys;
    std::vector<Index> xPlaces, yPlaces;
    const std::vector<char> xOut = linesLeftOut(x.kinds, inY);
    const std::vector<char> yOut = linesLeftOut(y.kinds, inX);
    searched(x, xOut, xs, xPlaces);
    searched(y, yOut, ys, yPlaces);
    Search(xs, ys, x.changed(), y.changed(), xPlaces, yPlaces).run();
    slideRuns(x, y);
    slideRuns(y, x);

    // Run by run: a bit vector fills a run a word at a time.
    const auto mark = [skip](Side& side, std::vector<bool>& lines) {
        const char* changed = side.changed();
        const Index end = static_cast<Index>(side.kinds.size());
        const auto at = lines.begin() + static_cast<Index>(skip);
        for (Index i = 0; i < end; ++i) {
            if (!changed[i]) continue;
            const Index start = i;
            while (changed[i]) ++i;
            std::fill(at + start, at + i, true);
        }
    };
    mark(x, result.deleted);
    mark(y, result.inserted);
    return result;
}

namespace {

struct Change {
    std::size_t line0, line1, deleted, inserted;
};

// "5", "5,3", or for no lines "4,0": the line before them.
std::string lineRange(std::size_t first, std::size_t last) {
    // first and last are 0-based; last + 1 == first for none.
    if (last + 1 == first) return std::to_string(first) + ",0";
    if (last == first) return std::to_string(first + 1);
    return std::to_string(first + 1) + "," + std::to_string(last - first + 1);
}

void appendLine(std::string& out, char mark, std::string_view line) {
    out.push_back(mark);
    out += line;
    if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string unifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel, int context) {
    const std::vector<std::string_view> oldLines = diffLines(oldText);
    const std::vector<std::string_view> newLines = diffLines(newText);
    return unifiedDiff(oldLines, newLines, changedLines(oldLines, newLines, context), oldLabel, newLabel, context);
}

std::string unifiedDiff(const std::vector<std::string_view>& oldLines, const std::vector<std::string_view>& newLines,
                        const LineChanges& changes, std::string_view oldLabel, std::string_view newLabel,
                        int context) {
    std::vector<Change> script;
    for (std::size_t i0 = 0, i1 = 0; i0 < oldLines.size() || i1 < newLines.size(); ++i0, ++i1) {
        const bool deleted = i0 < oldLines.size() && changes.deleted[i0];
        const bool inserted = i1 < newLines.size() && changes.inserted[i1];
        if (!deleted && !inserted) continue;
        Change change{i0, i1, 0, 0};
        while (i0 < oldLines.size() && changes.deleted[i0]) ++i0;
        while (i1 < newLines.size() && changes.inserted[i1]) ++i1;
        change.deleted = i0 - change.line0;
        change.inserted = i1 - change.line1;
        script.push_back(change);
    }
    if (script.empty()) return {};

    const auto around = static_cast<std::size_t>(std::max(context, 0));
    std::string out = "--- " + std::string(oldLabel) + "\n+++ " + std::string(newLabel) + "\n";
    for (std::size_t first = 0; first < script.size();) {
        // A hunk takes the changes that lie at most twice the context apart.
        std::size_t last = first;
        while (last + 1 < script.size() &&
               script[last + 1].line0 - (script[last].line0 + script[last].deleted) < 2 * around + 1)
            ++last;
        const Change& a = script[first];
        const Change& z = script[last];
        const std::size_t first0 = a.line0 > around ? a.line0 - around : 0;
        const std::size_t first1 = a.line1 > around ? a.line1 - around : 0;
        // One past the last line of each side; the hunk is [first, end).
        const std::size_t end0 = std::min(z.line0 + z.deleted + around, oldLines.size());
        const std::size_t end1 = std::min(z.line1 + z.inserted + around, newLines.size());
        out += "@@ -" + lineRange(first0, end0 - 1) + " +" + lineRange(first1, end1 - 1) + " @@\n";
        std::size_t i = first0;
        std::size_t j = first1;
        for (std::size_t next = first; i < end0 || j < end1;) {
            if (next > last || i < script[next].line0) {
                appendLine(out, ' ', oldLines[i]);
                ++i;
                ++j;
                continue;
            }
            for (std::size_t k = 0; k < script[next].deleted; ++k) appendLine(out, '-', oldLines[i++]);
            for (std::size_t k = 0; k < script[next].inserted; ++k) appendLine(out, '+', newLines[j++]);
            ++next;
        }
        first = last + 1;
    }
    return out;
}
