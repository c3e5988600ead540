#include "geometry/natural_order.h"

#include <limits>

namespace pl3 {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::int32_t ReadNumberRun(std::string_view run) {
  std::int64_t value = 0;
  for (char c : run) {
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}

// Three-way comparison of two tokens: a number before a text, numbers by
// value, texts by unsigned bytes.
int CompareTokens(const NameToken& a, const NameToken& b) {
  if (a.kind != b.kind) return a.kind == NameToken::Number ? -1 : 1;
  if (a.kind == NameToken::Number) {
    if (a.number == b.number) return 0;
    return a.number < b.number ? -1 : 1;
  }
  // std::string compares its chars as unsigned bytes (char_traits<char>).
  const int c = a.text.compare(b.text);
  return c == 0 ? 0 : (c < 0 ? -1 : 1);
}

// The first difference over the shorter of the two token lists, or 0.
int CompareCommonTokens(const std::vector<NameToken>& a, const std::vector<NameToken>& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (const int c = CompareTokens(a[i], b[i]); c != 0) return c;
  }
  return 0;
}

}  // namespace

std::vector<NameToken> SplitNameTokens(std::string_view name) {
  std::vector<NameToken> tokens;
  std::size_t start = 0;
  while (start < name.size()) {
    const bool digits = IsDigit(name[start]);
    std::size_t end = start;
    while (end < name.size() && IsDigit(name[end]) == digits) ++end;
    const std::string_view run = name.substr(start, end - start);
    NameToken token{digits ? NameToken::Number : NameToken::Text, {}, 0, static_cast<std::uint32_t>(run.size())};
    if (digits)
      token.number = ReadNumberRun(run);
    else
      token.text.assign(run);
    tokens.push_back(std::move(token));
    start = end;
  }
  return tokens;
}

int CompareNamesNatural(std::string_view a, std::string_view b) {
  const std::vector<NameToken> ta = SplitNameTokens(a);
  const std::vector<NameToken> tb = SplitNameTokens(b);
  if (const int c = CompareCommonTokens(ta, tb); c != 0) return c;
  if (ta.empty()) return -1;
  if (tb.empty()) return 1;
  return 0;
}

bool NaturalOrderLess(std::string_view a, std::string_view b) {
  const std::vector<NameToken> ta = SplitNameTokens(a);
  const std::vector<NameToken> tb = SplitNameTokens(b);
  if (const int c = CompareCommonTokens(ta, tb); c != 0) return c < 0;
  if (ta.size() != tb.size()) return ta.size() < tb.size();
  return a < b;
}

}  // namespace pl3
