#pragma once
// A fetched web page as plain text for a read-only text view: plain text as
// it is, HTML with its tags removed. The result is Windows-1252 with CR LF
// line ends.
#include <string>

namespace vak {

// contentType is the server's Content-Type header (may be empty).
bool looksLikeHtml(const std::string& body, const std::string& contentType);
std::string pageToText(const std::string& body, const std::string& contentType);

// The text of an HTML document: no tags, comments, scripts or styles; block
// elements and <br> end lines; entities decoded; runs of blanks collapsed.
// Input and output are Windows-1252.
std::string htmlToText(const std::string& html);

}  // namespace vak
