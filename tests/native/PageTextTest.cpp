// Web pages as text for the viewer's text field.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "settings/PageText.h"

using namespace vak;

TEST(PageText, PlainTextKeepsItsLinesAndColumns) {
  const std::string gpl = "    GNU GENERAL PUBLIC LICENSE\n\tVersion 2\n\n<not a tag>\r\nend";
  EXPECT_EQ(pageToText(gpl, "text/plain"), "    GNU GENERAL PUBLIC LICENSE\r\n\tVersion 2\r\n\r\n<not a tag>\r\nend");
  // Lone CRs become line ends too; NUL bytes would cut the field's text.
  EXPECT_EQ(pageToText(std::string("a\rb\0c", 5), ""), "a\r\nbc");
}

TEST(PageText, HtmlIsRecognisedByTypeOrByItsStart) {
  EXPECT_TRUE(looksLikeHtml("x", "text/html; charset=iso-8859-1"));
  EXPECT_TRUE(looksLikeHtml("x", "application/xhtml+xml"));
  EXPECT_FALSE(looksLikeHtml("<html>", "text/plain"));
  EXPECT_TRUE(looksLikeHtml("\r\n  <!DOCTYPE html><p>x", ""));
  EXPECT_TRUE(looksLikeHtml("<HTML><BODY>x", ""));
  EXPECT_FALSE(looksLikeHtml("plain <b>text</b>", ""));
}

TEST(PageText, HtmlLosesTagsScriptsAndCommentsAndKeepsItsStructure) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>VAK</title>\n<style>p { color: red }</style>"
      "<script type=\"text/javascript\">if (a < b) document.write('<p>x</p>');</script></head>\n"
      "<body><!-- old <p>entry</p> -->\n<h2>Version   2.0\n RC3</h2>\n"
      "<p>Fehler&nbsp;behoben &amp; <b>neu</b>: &lt;Sounds&gt;</p>"
      "<ul><li>eins</li><li>zwei</li></ul>Zeile<br>neue Zeile<BR/>"
      "<table><tr><td>a</td><td>b</td></tr></table></body></html>";
  EXPECT_EQ(htmlToText(page),
            "VAK\r\n\r\nVersion 2.0 RC3\r\n\r\nFehler behoben & neu: <Sounds>\r\n\r\neins\r\nzwei\r\n\r\n"
            "Zeile\r\nneue Zeile\r\n\r\na b");
}

TEST(PageText, PreformattedTextKeepsItsBlanks) {
  EXPECT_EQ(htmlToText("<p>a  b</p><pre>x  y\n  z</pre>after"), "a b\r\n\r\nx  y\r\n  z\r\n\r\nafter");
}

TEST(PageText, EntitiesAndCharacterSets) {
  // Named, decimal and hexadecimal references; unknown ones stay as written.
  EXPECT_EQ(htmlToText("&auml;&#246;&#xFC;&szlig;&euro;&copy; &bogus; a&b &#0;"),
            T("äöüß€© &bogus; a&b"));
  // A character Windows-1252 does not have becomes '?'.
  EXPECT_EQ(htmlToText("&#x263A;"), "?");
  // Numeric references hold digits only: no blank, sign or second "0x".
  EXPECT_EQ(htmlToText("&#x0x41; &# 65; &#+65; &#65;"), "&#x0x41; &# 65; &#+65; A");
  // UTF-8 pages, named in the header, in a meta tag, or recognised as such.
  const std::string utf8 = "<p>Gr\xC3\xBC\xC3\x9F" "e</p>";
  EXPECT_EQ(pageToText(utf8, "text/html; charset=UTF-8"), T("Grüße"));
  EXPECT_EQ(pageToText("<meta charset=\"utf-8\">" + utf8, "text/html"), T("Grüße"));
  EXPECT_EQ(pageToText(utf8, "text/html"), T("Grüße"));
  // A Latin-1 page stays as it is.
  EXPECT_EQ(pageToText("<p>Gr\xFC\xDF" "e</p>", "text/html; charset=ISO-8859-1"), T("Grüße"));
  EXPECT_EQ(pageToText("Gr\xFC\xDF" "e", "text/plain"), T("Grüße"));
}

TEST(PageText, CutOffPagesEndCleanly) {
  EXPECT_EQ(htmlToText("<p>text</p><scr"), "text");
  EXPECT_EQ(htmlToText("<p>text</p><script>never closed"), "text");
  EXPECT_EQ(htmlToText("<p>text<!-- open comment"), "text");
  EXPECT_EQ(htmlToText(""), "");
  EXPECT_EQ(htmlToText("&"), "&");
  // Scripts end at their closing tag in any case; a NUL byte is no text, so
  // no empty lines are left after the last one.
  EXPECT_EQ(htmlToText("<SCRIPT>a</p></Script>b<style>x</STYLE >c"), "bc");
  EXPECT_EQ(htmlToText(std::string("<p>a\0</p>\0", 11)), "a");
  // A tab or line break written as a reference is white space like one written out.
  EXPECT_EQ(htmlToText("a&#13;&#10;b&#9;&#xd;"), "a b");
  EXPECT_EQ(htmlToText("<pre>a&#10;b&#xA;</pre>"), "a\r\nb");
}

TEST(PageText, ALongPageShowsItsBeginningAndSaysSo) {
  const std::string notice = T("Die Seite ist größer als 1 MB; angezeigt wird nur ihr Anfang.") + "\r\n\r\n";
  const std::string a(kMaxPageBytes - 3, 'a');
  // UTF-8 recognised by its bytes, with an ü across the cap: cut before it.
  // (Compared as booleans: a failure would print megabytes.)
  EXPECT_TRUE(pageToText("\xC3\xBC" + a + "\xC3\xBC" "b", "text/plain") == notice + T("ü") + a);
  // A page of exactly the cap is whole.
  EXPECT_TRUE(pageToText("\xC3\xBC" + a + "b", "text/html") == T("ü") + a + "b");
}
