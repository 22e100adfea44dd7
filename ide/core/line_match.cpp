#include "ide/core/line_match.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "ide/core/source_lines.h"
#include "runtime/vb/strings.h"

namespace ide::source_detail {
namespace {

constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);
// Largest gap (lines before x lines after) that is matched by a full LCS table.
constexpr std::size_t kMaxLcsCells = std::size_t{1} << 20;

struct Range {
  std::size_t alo, ahi, blo, bhi;
};

// Longest common subsequence of two small ranges, by table.
void MatchByTable(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                  const Range& r, std::vector<std::size_t>& match) {
  std::size_t n = r.ahi - r.alo, m = r.bhi - r.blo;
  // len[i * (m + 1) + j]: LCS length of a[alo + i ..) and b[blo + j ..).
  std::vector<std::uint32_t> len((n + 1) * (m + 1), 0);
  auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return len[i * (m + 1) + j]; };
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      at(i, j) = a[r.alo + i] == b[r.blo + j] ? at(i + 1, j + 1) + 1
                                              : std::max(at(i + 1, j), at(i, j + 1));
  for (std::size_t i = 0, j = 0; i < n && j < m;) {
    if (a[r.alo + i] == b[r.blo + j]) {
      match[r.alo + i] = r.blo + j;
      ++i, ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
}

// Lines that occur exactly once on each side, paired and kept in order on both sides (the
// longest increasing run by position after), as anchors to split the range at.
std::vector<std::pair<std::size_t, std::size_t>> UniqueAnchors(
    const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
    const Range& r) {
  struct Seen {
    std::size_t inA = 0, inB = 0, posA = 0, posB = 0;
  };
  std::unordered_map<std::string_view, Seen> seen;
  for (std::size_t i = r.alo; i < r.ahi; ++i) {
    Seen& s = seen[a[i]];
    ++s.inA, s.posA = i;
  }
  for (std::size_t j = r.blo; j < r.bhi; ++j) {
    auto it = seen.find(b[j]);
    if (it != seen.end()) ++it->second.inB, it->second.posB = j;
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (std::size_t i = r.alo; i < r.ahi; ++i) {
    const Seen& s = seen[a[i]];
    if (s.inA == 1 && s.inB == 1) pairs.emplace_back(i, s.posB);
  }
  // Longest increasing subsequence of the b positions (patience sorting).
  std::vector<std::size_t> tails, prev(pairs.size(), kNoMatch);
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    auto pos = std::lower_bound(tails.begin(), tails.end(), pairs[k].second,
                                [&](std::size_t t, std::size_t v) { return pairs[t].second < v; });
    if (pos != tails.begin()) prev[k] = *(pos - 1);
    if (pos == tails.end()) {
      tails.push_back(k);
    } else {
      *pos = k;
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> anchors;
  for (std::size_t k = tails.empty() ? kNoMatch : tails.back(); k != kNoMatch; k = prev[k])
    anchors.push_back(pairs[k]);
  std::reverse(anchors.begin(), anchors.end());
  return anchors;
}

// For each line of `a`, the index of the line of `b` it matches, or kNoMatch. Matches keep the
// order of both sides.
std::vector<std::size_t> MatchLines(const std::vector<std::string_view>& a,
                                    const std::vector<std::string_view>& b) {
  std::vector<std::size_t> match(a.size(), kNoMatch);
  std::vector<Range> work = {{0, a.size(), 0, b.size()}};
  while (!work.empty()) {
    Range r = work.back();
    work.pop_back();
    while (r.alo < r.ahi && r.blo < r.bhi && a[r.alo] == b[r.blo])
      match[r.alo++] = r.blo++;
    while (r.alo < r.ahi && r.blo < r.bhi && a[r.ahi - 1] == b[r.bhi - 1])
      match[--r.ahi] = --r.bhi;
    if (r.alo == r.ahi || r.blo == r.bhi) continue;
    auto anchors = UniqueAnchors(a, b, r);
    if (anchors.empty()) {
      if ((r.ahi - r.alo) * (r.bhi - r.blo) <= kMaxLcsCells) MatchByTable(a, b, r, match);
      continue;
    }
    std::size_t alo = r.alo, blo = r.blo;
    for (auto [i, j] : anchors) {
      match[i] = j;
      work.push_back({alo, i, blo, j});
      alo = i + 1, blo = j + 1;
    }
    work.push_back({alo, r.ahi, blo, r.bhi});
  }
  return match;
}

// The line of `code` that declares `member` nearest to `near`, moved on to the last line of its
// statement. kNoMatch when no line declares it.
std::size_t FindDeclaration(const std::vector<std::string>& code, const std::string& member,
                            std::size_t near) {
  std::size_t best = kNoMatch, bestDistance = 0;
  std::string wanted = vb::LCase(member);
  for (std::size_t i = 0; i < code.size(); ++i) {
    std::size_t distance = i > near ? i - near : near - i;
    if (best != kNoMatch && distance >= bestDistance) continue;
    if (vb::LCase(source_lines::DeclaredName(code[i])) != wanted) continue;
    best = i, bestDistance = distance;
  }
  while (best != kNoMatch && best + 1 < code.size() && source_lines::IsContinued(code[best]))
    ++best;
  return best;
}

}  // namespace

Reattached Reattach(const std::vector<CodeLine>& read, const std::vector<std::string>& code) {
  std::vector<std::string_view> before, after(code.begin(), code.end());
  for (const CodeLine& line : read)
    before.push_back(line.Text);
  std::vector<std::size_t> match = MatchLines(before, after);

  Reattached out{std::vector<LineEnd>(code.size(), LineEnd::kNone),
                 std::vector<std::vector<const RawLine*>>(code.size() + 1)};
  // A matched line keeps its end. Between two matched lines, the changed lines take the ends of
  // the lines they replace, in order (a line edited in place keeps its own end); lines beyond
  // those are new.
  std::vector<bool> matched(code.size(), false);
  for (std::size_t i = 0; i < read.size(); ++i)
    if (match[i] != kNoMatch) matched[match[i]] = true;
  for (std::size_t i = 0, next = 0; i < read.size(); ++i) {
    if (match[i] != kNoMatch) {
      out.Ends[match[i]] = read[i].End;
      next = match[i] + 1;
    } else if (next < code.size() && !matched[next]) {
      out.Ends[next++] = read[i].End;
    }
  }
  // New index of the last matched line so far. kNoMatch + 1 wraps to 0, the place before the
  // first code line.
  std::size_t lastMatched = kNoMatch;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (match[i] != kNoMatch) lastMatched = match[i];
    for (const RawLine& attribute : read[i].Attributes) {
      std::size_t target = lastMatched;
      if (match[i] == kNoMatch) {
        std::string member = source_lines::AttributeMember(attribute.Bytes);
        if (!member.empty()) {
          target = FindDeclaration(code, member, lastMatched + 1);
          if (target == kNoMatch) continue;  // the member is gone
        }
      }
      out.Attached[target + 1].push_back(&attribute);
    }
  }
  return out;
}

}  // namespace ide::source_detail
