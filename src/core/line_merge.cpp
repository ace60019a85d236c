#include "core/line_merge.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vorn {

namespace {

using Lines = std::vector<std::string_view>;

// The lines of a text, each with its line break (CR LF, LF or CR).
Lines SplitLines(std::string_view text) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string_view WithoutBreak(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

// One change from the base: its lines [from, to) replaced by `lines`.
struct Hunk {
  std::size_t from = 0, to = 0;
  Lines lines;
};

// More different than this (lines inserted and removed, beyond the common start and end) and
// the texts are not merged by lines: the search would cost more than it is worth.
constexpr std::ptrdiff_t kMostDifferentLines = 1000;

// The changes that turn `a` into `b`, in order: the shortest edit script (Myers' greedy search),
// after the lines the two share at their start and end. Nothing when they differ too much.
std::optional<std::vector<Hunk>> Changes(const Lines& a, const Lines& b) {
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  const auto n = static_cast<std::ptrdiff_t>(a.size() - head - tail);
  const auto m = static_cast<std::ptrdiff_t>(b.size() - head - tail);
  auto A = [&](std::ptrdiff_t i) { return a[head + static_cast<std::size_t>(i)]; };
  auto B = [&](std::ptrdiff_t j) { return b[head + static_cast<std::size_t>(j)]; };

  // For each number of differences d, the furthest x reached on each diagonal k = x - y.
  const std::ptrdiff_t most = std::min(n + m, kMostDifferentLines);
  std::vector<std::vector<std::ptrdiff_t>> trace;  // for each d, the diagonals -d..d
  std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * most + 3), 0);
  const std::ptrdiff_t offset = most + 1;
  std::ptrdiff_t found = -1;
  for (std::ptrdiff_t d = 0; d <= most && found < 0; ++d) {
    for (std::ptrdiff_t k = -d; k <= d; k += 2) {
      auto at = [&](std::ptrdiff_t kk) -> std::ptrdiff_t& {
        return v[static_cast<std::size_t>(kk + offset)];
      };
      std::ptrdiff_t x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
      std::ptrdiff_t y = x - k;
      while (x < n && y < m && A(x) == B(y)) ++x, ++y;
      at(k) = x;
      if (x >= n && y >= m) found = d;
    }
    trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
  }
  if (found < 0) return std::nullopt;

  // Back from the end, one difference at a time: each step removed a line of `a` or inserted
  // one of `b`, and equal lines followed it.
  enum class Op { Equal, Remove, Insert };
  std::vector<Op> ops;  // backwards
  std::ptrdiff_t x = n, y = m;
  for (std::ptrdiff_t d = found; d > 0; --d) {
    const std::vector<std::ptrdiff_t>& before = trace[static_cast<std::size_t>(d - 1)];
    auto prev = [&](std::ptrdiff_t kk) { return before[static_cast<std::size_t>(kk + d - 1)]; };
    std::ptrdiff_t k = x - y;
    bool insert = k == -d || (k != d && prev(k - 1) < prev(k + 1));
    std::ptrdiff_t px = prev(insert ? k + 1 : k - 1);
    std::ptrdiff_t py = px - (insert ? k + 1 : k - 1);
    std::ptrdiff_t afterStep = insert ? px : px + 1;
    ops.insert(ops.end(), static_cast<std::size_t>(x - afterStep), Op::Equal);
    ops.push_back(insert ? Op::Insert : Op::Remove);
    x = px;
    y = py;
  }
  ops.insert(ops.end(), static_cast<std::size_t>(x), Op::Equal);
  std::reverse(ops.begin(), ops.end());

  // Removals and insertions next to each other make one change.
  std::vector<Hunk> hunks;
  std::size_t ai = head, bi = head;
  bool open = false;
  for (Op op : ops) {
    if (op == Op::Equal) {
      open = false;
      ++ai, ++bi;
      continue;
    }
    if (!open) hunks.push_back({ai, ai, {}});
    open = true;
    if (op == Op::Remove) {
      hunks.back().to = ++ai;
    } else {
      hunks.back().lines.push_back(b[bi++]);
    }
  }
  return hunks;
}

std::string Joined(const Lines& lines) {
  std::string text;
  for (std::string_view line : lines) text += line;
  return text;
}

// Where `text` is `base` with one stretch put in and nothing taken out: the place, in bytes of
// `base`, and the stretch.
struct Insertion {
  std::size_t at = 0;
  std::string_view text;
};
std::optional<Insertion> InsertionInto(std::string_view base, std::string_view text) {
  if (text.size() < base.size()) return std::nullopt;
  std::size_t at = 0;
  while (at < base.size() && base[at] == text[at]) ++at;
  // Back to the start of a character: a character put in may share its first byte.
  while (at > 0 && at < base.size() && (static_cast<unsigned char>(base[at]) & 0xC0) == 0x80) --at;
  std::size_t length = text.size() - base.size();
  if (text.substr(at + length) != base.substr(at)) return std::nullopt;
  return Insertion{at, text.substr(at, length)};
}

// Two computers typed into the same lines at once without taking anything out (both at the end
// of a line, or each at its own place in it): both stretches go in, at one place in the order
// of their text, so that both computers make the same text of it.
std::optional<std::string> BothInserted(std::string_view base, std::string_view ours,
                                        std::string_view theirs) {
  std::optional<Insertion> a = InsertionInto(base, ours), b = InsertionInto(base, theirs);
  if (!a || !b) return std::nullopt;
  if (b->at < a->at || (b->at == a->at && b->text < a->text)) std::swap(a, b);
  std::string merged(base.substr(0, a->at));
  merged += a->text;
  merged += base.substr(a->at, b->at - a->at);
  merged += b->text;
  merged += base.substr(b->at);
  return merged;
}

}  // namespace

std::optional<std::size_t> LinesChanged(std::string_view a, std::string_view b) {
  std::optional<std::vector<Hunk>> changes = Changes(SplitLines(a), SplitLines(b));
  if (!changes) return std::nullopt;
  std::size_t n = 0;
  for (const Hunk& h : *changes) n += h.to - h.from + h.lines.size();
  return n;
}

std::optional<std::string> MergeLines(std::string_view base, std::string_view ours,
                                      std::string_view theirs) {
  Lines b = SplitLines(base);
  std::optional<std::vector<Hunk>> mine = Changes(b, SplitLines(ours));
  std::optional<std::vector<Hunk>> other = Changes(b, SplitLines(theirs));
  if (!mine || !other) return std::nullopt;

  // The base's lines in order, each change put in at its place; two changes meet where their
  // lines overlap, or where both insert at the same place, and then must be the same change.
  auto meet = [](const Hunk& p, const Hunk& q) {
    if (p.from == p.to && q.from == q.to) return p.from == q.from;
    return p.from < q.to && q.from < p.to;
  };
  std::string merged;
  merged.reserve(std::max(ours.size(), theirs.size()));
  std::size_t at = 0, i = 0, j = 0;
  auto take = [&](const Hunk& h) {
    for (; at < h.from; ++at) merged += b[at];
    for (std::string_view line : h.lines) merged += line;
    at = h.to;
  };
  while (i < mine->size() || j < other->size()) {
    const Hunk* p = i < mine->size() ? &(*mine)[i] : nullptr;
    const Hunk* q = j < other->size() ? &(*other)[j] : nullptr;
    if (p && q && meet(*p, *q)) {
      // Both changed the same lines: the same way, or one side's lines hold the other's (it
      // typed on in a line the other had taken in from it), or both only put text in; else
      // they cannot be merged.
      if (p->from != q->from || p->to != q->to || p->lines.empty() || q->lines.empty()) {
        return std::nullopt;  // a removal against a change is the user's to decide
      }
      std::string mineText = Joined(p->lines), otherText = Joined(q->lines);
      if (HoldsLinesOf(mineText, otherText)) {
        take(*p);
      } else if (HoldsLinesOf(otherText, mineText)) {
        take(*q);
      } else {
        // Only into lines both had: two texts made anew at one place are no one stretch each.
        Lines was(b.begin() + static_cast<std::ptrdiff_t>(p->from),
                  b.begin() + static_cast<std::ptrdiff_t>(p->to));
        std::optional<std::string> both =
            was.empty() ? std::nullopt : BothInserted(Joined(was), mineText, otherText);
        if (!both) return std::nullopt;
        for (; at < p->from; ++at) merged += b[at];
        merged += *both;
        at = p->to;
      }
      ++i, ++j;
    } else if (p && (!q || p->from < q->from || (p->from == q->from && p->from == p->to))) {
      take(*p);  // an insertion goes before a change that starts at the same line
      ++i;
    } else {
      take(*q);
      ++j;
    }
  }
  for (; at < b.size(); ++at) merged += b[at];
  return merged;
}

bool HoldsLinesOf(std::string_view whole, std::string_view part) {
  if (part.size() <= whole.size()) {
    std::size_t head = 0, tail = 0;
    while (head < part.size() && part[head] == whole[head]) ++head;
    while (tail < part.size() - head &&
           part[part.size() - 1 - tail] == whole[whole.size() - 1 - tail]) {
      ++tail;
    }
    if (head + tail == part.size()) return true;
  }
  Lines w = SplitLines(whole), p = SplitLines(part);
  std::size_t i = 0;
  for (std::string_view line : w) {
    if (i < p.size() && WithoutBreak(line) == WithoutBreak(p[i])) ++i;
  }
  return i == p.size();
}

}  // namespace vorn
