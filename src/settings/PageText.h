#pragma once
// A fetched web page as plain text for a read-only text view: plain text as
// it is, HTML with its tags removed. The result is Windows-1252 with CR LF
// line ends.
#include <cstddef>
#include <string>

namespace vak {

// The most of a page that is shown; a longer page shows its beginning. The
// edit control lays out about half a million characters a second under Wine,
// so this keeps the viewer from freezing for more than a moment or two (our
// own pages are a few KB).
constexpr std::size_t kMaxPageBytes = 1024 * 1024;

// contentType is the server's Content-Type header (may be empty). A body
// longer than kMaxPageBytes is cut there (not inside a UTF-8 character), and
// the text begins with a line that says so.
bool looksLikeHtml(const std::string& body, const std::string& contentType);
std::string pageToText(const std::string& body, const std::string& contentType);

// The text of an HTML document: no tags, comments, scripts or styles; block
// elements and <br> end lines; entities decoded; runs of blanks collapsed.
// Input and output are Windows-1252.
std::string htmlToText(const std::string& html);

}  // namespace vak
