// Natural order of names: R2 before R10, U1A before U1B. Designators, net,
// pin, rule, command and file names are all compared by CompareNamesNatural.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pl3 {

// One maximal run of a name: a run of ASCII digits (a number token) or a run
// of any other bytes (a text token). Neighbouring tokens differ in kind.
struct NameToken {
  static constexpr std::uint32_t Number = 0;
  static constexpr std::uint32_t Text = 1;

  std::uint32_t kind;   // Text or Number
  std::string text;     // the run, for a text token
  std::int32_t number;  // the run's decimal value, for a number token
  std::uint32_t length;  // the run's length in characters
};

// The tokens of a name in order of appearance; none for an empty name. A
// number run too large for 32 bits holds 2,147,483,647.
std::vector<NameToken> SplitNameTokens(std::string_view name);

// Negative, 0 or positive like a string comparison. Token by token over the
// shorter token list: a number orders before a text, numbers by value, texts
// by unsigned bytes (case-sensitive). When the shorter list agrees with the
// longer one the result is 0 (R1 and R1A, R01 and R1), except that an empty
// first name gives -1 (even against another empty name) and an empty second
// name 1.
//
// This is NOT a strict weak ordering: names that compare 0 are not
// interchangeable (R1A ~ R1 ~ R1B, yet R1A < R1B), and an empty name compares
// below itself. Use it for its three-way answer only; never hand it to
// std::sort, std::set, std::map or any other routine that requires a strict
// weak ordering. Sort with SortNamesNatural / NaturalOrderLess instead.
int CompareNamesNatural(std::string_view a, std::string_view b);

// A total order for sorting and ordered containers that agrees with
// CompareNamesNatural wherever that gives a non-zero answer. Where it gives 0,
// the shorter token list comes first, then equal token lists (R01 and R1)
// are ordered by their bytes, so no two different names are equivalent.
bool NaturalOrderLess(std::string_view a, std::string_view b);

// Sorts items by the natural order of their names (key(item) yields the
// name). The sort is stable and its order total, so the result does not
// depend on the input order of names that CompareNamesNatural calls equal.
template <typename Iterator, typename KeyFn>
void SortNamesNatural(Iterator first, Iterator last, KeyFn key) {
  std::stable_sort(first, last, [&key](const auto& a, const auto& b) {
    return NaturalOrderLess(std::string_view(key(a)), std::string_view(key(b)));
  });
}

inline void SortNamesNatural(std::vector<std::string>& names) {
  SortNamesNatural(names.begin(), names.end(), [](const std::string& s) -> const std::string& { return s; });
}

}  // namespace pl3
