// The result document in every format with any texts, and the small text
// helpers around it: channel keys, labelled console lines, return-code
// texts.
//
// Input: a control character for the flavour (0 EXEXML, 1 Wendrel,
// 2 Ostrune, 3 Halvaric, 4 Pellmar, 5 an unknown keyword; mod 6), one for a
// return code (minus 2 to 253), one for an indent and one for a width, then
// lines: the option text, a text for the document, then channels as three
// lines each (name, value, unit). The whole input is also the message of an
// error document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/run_options.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "output/channel_key.h"
#include "output/labelled_line.h"
#include "output/result_document.h"
#include "rfc/return_code_text.h"

namespace {

constexpr const char* kFlavours[] = {"EXEXML", "Wendrel", "Ostrune", "Halvaric", "Pellmar", "X"};

// Undoes EscapeXml: the three entities and the character references.
std::string Unescaped(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("&amp;")) {
      plain.push_back('&');
      i += 5;
    } else if (rest.starts_with("&lt;")) {
      plain.push_back('<');
      i += 4;
    } else if (rest.starts_with("&gt;")) {
      plain.push_back('>');
      i += 4;
    } else if (rest.starts_with("&#")) {
      const std::size_t end = rest.find(';');
      fuzz::Require(end != std::string_view::npos && end > 2 && end <= 5,
                    "a character reference is \"&#\", up to three digits and \";\"");
      int code = 0;
      for (char digit : rest.substr(2, end - 2)) {
        fuzz::Require(digit >= '0' && digit <= '9', "a character reference is decimal");
        code = code * 10 + (digit - '0');
      }
      fuzz::Require(code >= 0x80 && code <= 0xFF, "character references stand for bytes 0x80-0xFF");
      plain.push_back(static_cast<char>(code));
      i += end + 1;
    } else {
      plain.push_back(text[i++]);
    }
  }
  return plain;
}

bool IsControl(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// Escaped text is well-formed XML content: no markup, no control
// characters, plain ASCII; and it says what the text says, control
// characters shown as blanks.
void CheckEscaping(std::string_view text) {
  const std::string escaped = output::EscapeXml(text);
  for (char c : escaped) {
    const auto byte = static_cast<unsigned char>(c);
    fuzz::Require(c != '<' && c != '>', "escaped text holds no < or >");
    fuzz::Require(byte < 0x80 && !IsControl(byte), "escaped text is ASCII without controls");
  }
  std::string shown(text);
  for (char& c : shown) {
    if (IsControl(static_cast<unsigned char>(c))) c = ' ';
  }
  fuzz::Require(Unescaped(escaped) == shown, "escaping loses nothing but control characters");
}

void CheckErrorDocument(output::ResultDocument& document, std::string_view message) {
  document.WriteErrorDocument(message);
  const std::string expected =
      "<Prtg>\n<Error>1</Error>\n<Text>" + output::EscapeXml(message) + "</Text>\n</Prtg>\n";
  fuzz::Require(document.text() == expected, "the error document is the PRTG one in any format");
  // Its own text as the message: built aside, so nothing is lost.
  const std::string own = document.text();
  document.WriteErrorDocument(document.text());
  fuzz::Require(document.Take() == "<Prtg>\n<Error>1</Error>\n<Text>" + output::EscapeXml(own) +
                                       "</Text>\n</Prtg>\n",
                "an error document can take the document's own text");
  fuzz::Require(document.text().empty(), "a printed document is empty");
}

void CheckChannelKey(std::string_view name) {
  const std::string key = output::ChannelKey(name);
  fuzz::Require(key.size() == name.size(), "a channel key is as long as its name");
  fuzz::Require(key.find_first_of(" /\\[]*():-") == std::string::npos,
                "a channel key holds none of the replaced characters");
}

void CheckLabelledLine(std::string_view label, std::size_t indent, std::size_t width,
                       std::string_view text) {
  const std::string line = output::LabelledLine(label, indent, width, text);
  const std::size_t column = label.size() > width ? label.size() : width;
  fuzz::Require(line.size() == indent + column + 3 + text.size() + 1,
                "a labelled line is indent, column, \" : \", text and line feed");
  fuzz::Require(line.ends_with('\n') && line.substr(indent, label.size()) == label,
                "a labelled line shows its label after the indent");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::string_view whole = input.rest();
  const char* flavour = kFlavours[input.TakeControl() % 6];
  const int code = static_cast<int>(input.TakeControl()) - 2;
  const std::size_t indent = input.TakeControl();
  const std::size_t width = input.TakeControl();
  const std::string_view options = input.TakeLine();
  const std::string_view text = input.TakeLine();

  fuzz::Require(!rfc::ReturnCodeText(code, text).empty(), "every return code has its text");
  CheckEscaping(text);
  CheckLabelledLine(options, indent, width, text);

  const config::Checked<config::RunOptions> checked = config::ParseRunOptions(std::string(options));
  if (!std::holds_alternative<config::RunOptions>(checked)) return 0;
  output::ResultDocument document(flavour, std::get<config::RunOptions>(checked).channel);
  document.OpenResultDocument();
  document.OpenResultText();
  document.AppendExternal(text);
  document.CloseResultText();
  while (!input.rest().empty()) {
    const std::string_view name = input.TakeLine();
    const std::string_view value = input.TakeLine();
    const std::string_view unit = input.TakeLine();
    CheckChannelKey(name);
    document.WriteChannel(name, value, unit);
  }
  document.CloseResultDocument();
  if (document.format() == output::DocumentFormat::kPrtgXml) {
    fuzz::Require(
        document.text().starts_with("\n<Prtg>\n") && document.text().ends_with("\n</Prtg>\n"),
        "a PRTG document is framed");
  }
  CheckErrorDocument(document, whole);
  return 0;
}
