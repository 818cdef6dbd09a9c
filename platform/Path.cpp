#include "platform/Path.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

namespace platform {

std::string ToNativeSeparators(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::vector<std::string> SplitPathParts(std::string_view path, bool* absolute) {
  if (absolute) *absolute = !path.empty() && IsSeparator(path.front());
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (i > start) parts.emplace_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(FoldCase(a[i]));
    const auto cb = static_cast<unsigned char>(FoldCase(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = FoldCase(c);
  return out;
}

bool MatchWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative match with one backtrack point for the last '*': linear in
  // practice and never recursive, so long hostile patterns cannot blow the stack.
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string_view ParentOf(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return path.substr(0, i - 1 == 0 ? 1 : i - 1);
  }
  return {};
}

std::string_view LastPartOf(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return path.substr(i);
  }
  return path;
}

std::string AbsolutePath(std::string_view path) {
  bool absolute = false;
  std::vector<std::string> parts = SplitPathParts(path, &absolute);
  std::vector<std::string> out;
  if (!absolute) {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) != nullptr) out = SplitPathParts(cwd);
  }
  for (auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(std::move(part));
  }
  std::string result;
  for (const auto& part : out) result += "/" + part;
  return result.empty() ? "/" : result;
}

}  // namespace platform
