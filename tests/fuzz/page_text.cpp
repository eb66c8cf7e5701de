// A fetched page as the viewer's text: the input's first line is the
// server's Content-Type, the rest the page's bytes.
//
// No round trip: tags, comments and scripts are gone and blanks collapse. What
// holds is the shape of the text the edit control gets: no NUL, CR LF line
// ends only, and for HTML no blank or line end at its end.
#include "FuzzCheck.h"
#include "settings/PageText.h"

namespace {

bool crLfOnly(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n')) return false;
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string body = vakfuzz::text(data, size);
  const std::string contentType = vakfuzz::takeLine(body);

  const std::string shown = vak::pageToText(body, contentType);
  FUZZ_CHECK(shown.find('\0') == std::string::npos);
  FUZZ_CHECK(crLfOnly(shown));
  if (vak::looksLikeHtml(body, contentType)) {
    FUZZ_CHECK(shown.empty() || (shown.back() != ' ' && shown.back() != '\n'));
  } else {
    // Plain ASCII text keeps every character but NUL; only line ends change.
    bool ascii = true;
    for (char c : body) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      std::string expected;
      for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' || body[i] == '\n') {
          expected += "\r\n";
          if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
        } else if (body[i] != '\0') {
          expected += body[i];
        }
      }
      FUZZ_CHECK(shown == expected);
    }
  }

  // The HTML reading of any bytes, whatever the type says.
  const std::string html = vak::htmlToText(body);
  FUZZ_CHECK(html.find('\0') == std::string::npos);
  FUZZ_CHECK(crLfOnly(html));
  FUZZ_CHECK(html.size() <= 2 * body.size());
  return 0;
}
