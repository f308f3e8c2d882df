// Reading text line by line with a length limit, the way the sensor's
// configuration files have always been read: a line longer than the limit
// is cut there and its remainder comes back as a further line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Takes the next line from `source` (anything with `int Get()` returning a
// byte 0-255 or EOF) into `line`, without its line end. LF and CR LF both end
// a line; a lone CR is an ordinary character. At most `limit` characters are
// taken; a line end that follows a cut line then yields an empty line. For
// the readers a line stops at a NUL byte, as C text does: the rest of that
// line is dropped. Returns false at the end of the source.
template <typename Source>
bool TakeLine(Source& source, std::size_t limit, std::string& line) {
  line.clear();
  // A limit of 0 takes nothing: no line, rather than empty lines forever.
  if (limit == 0) return false;
  std::size_t taken = 0;
  bool seen_nul = false;
  while (taken < limit) {
    int c = source.Get();
    if (c == EOF) {
      return taken > 0;
    }
    if (c == '\r') {
      int next = source.Get();
      if (next == '\n') {
        return true;
      }
      source.Unget(next);
    } else if (c == '\n') {
      return true;
    }
    ++taken;
    seen_nul = seen_nul || c == '\0';
    if (!seen_nul) {
      line.push_back(static_cast<char>(c));
    }
  }
  return true;
}

// A byte source over text held in memory.
class StringSource {
 public:
  explicit StringSource(std::string_view text) : text_(text) {}
  int Get() { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_++]) : EOF; }
  void Unget(int c) {
    if (c != EOF) --pos_;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Splits `text` into lines by the rules of TakeLine.
std::vector<std::string> SplitLines(std::string_view text, std::size_t limit);

// A file opened for reading line by line; closed when the reader goes.
class LineReader {
 public:
  // Opens `windows_path` (mapped to the native file system where needed).
  // A missing file, a directory or an unreadable file gives a reader that is
  // not open.
  LineReader(std::string_view windows_path, std::size_t limit);
  bool IsOpen() const { return file_ != nullptr; }
  // False at the end of the file (or when it is not open).
  bool Next(std::string& line);

  int Get() { return std::getc(file_.get()); }
  void Unget(int c) {
    if (c != EOF) std::ungetc(c, file_.get());
  }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::size_t limit_;
};

// Every line of the file, by the rules of TakeLine; nothing when the file
// cannot be opened.
std::optional<std::vector<std::string>> ReadLines(std::string_view windows_path, std::size_t limit);

}  // namespace platform
